#include "dialogs/qt_user_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "display/canvas.h"

namespace qx40 {

void QtUserDialogs::Prepare(QMessageBox& box, const UserMessage& message) {
    box.setWindowTitle(QString::fromStdString(message.caption));
    box.setText(QString::fromStdString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (message.icon) {
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    box.setStandardButtons(message.buttons == MessageButtons::YesNo
                               ? QMessageBox::Yes | QMessageBox::No
                               : QMessageBox::Ok);
}

MessageAnswer QtUserDialogs::Show(const UserMessage& message) {
    QMessageBox box(parent_);
    Prepare(box, message);
    const int answer = box.exec();
    if (message.buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

QString QtUserDialogs::QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries << parts[i];
    return entries.join(QStringLiteral(";;"));
}

void QtUserDialogs::Prepare(QFileDialog& dialog, const FileRequest& request) {
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setDirectory(QString::fromStdString(request.folder));
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.fileName.empty() && request.fileName.find('*') == std::string::npos)
        dialog.selectFile(QString::fromStdString(request.fileName));
}

std::optional<std::string> QtUserDialogs::ChooseFile(const FileRequest& request) {
    QFileDialog dialog(parent_);
    Prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::uint32_t> QtUserDialogs::ChooseColour(std::uint32_t initial, const std::string& title) {
    // Over the dialog that asks for it, which is modal itself.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent_;
    const QColor chosen =
        QColorDialog::getColor(QColor::fromRgb(Canvas::ToRgb(initial)), parent, QString::fromStdString(title));
    if (!chosen.isValid()) return std::nullopt;
    return Canvas::FromRgb(chosen.rgb());
}

}  // namespace qx40

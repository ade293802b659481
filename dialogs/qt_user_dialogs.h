// Message boxes, file dialogs and the colour chooser of the window, with Qt.
#pragma once

#include <QWidget>

#include "base/user_dialogs.h"

class QFileDialog;
class QMessageBox;

namespace qx40 {

class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer Show(const UserMessage& message) override;
    std::optional<std::string> ChooseFile(const FileRequest& request) override;
    std::optional<std::uint32_t> ChooseColour(std::uint32_t initial, const std::string& title) override;

    // "Text (*.x)|*.x|All (*.*)|*.*" to Qt's "Text (*.x);;All (*.*)".
    static QString QtFilter(const std::string& filter);
    // The box and the dialog as Show and ChooseFile open them. Their standard
    // buttons speak the language of Qt's translations in force.
    static void Prepare(QMessageBox& box, const UserMessage& message);
    static void Prepare(QFileDialog& dialog, const FileRequest& request);

private:
    QWidget* parent_;
};

}  // namespace qx40

// Qt's own texts follow the window's language: the standard buttons of the
// message boxes and the file dialogs, built as the message service builds
// them.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "dialogs/qt_user_dialogs.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

struct Buttons {
    QString yes, no, ok, open, cancel;
};

Buttons ShownButtons() {
    Buttons b;
    QMessageBox question;
    QtUserDialogs::Prepare(question,
                           {"caption", "text", MessageIcon::Question, MessageButtons::YesNo});
    b.yes = Plain(question.button(QMessageBox::Yes)->text());
    b.no = Plain(question.button(QMessageBox::No)->text());
    QMessageBox note;
    QtUserDialogs::Prepare(note, {"caption", "text", MessageIcon::Error, MessageButtons::Ok});
    b.ok = Plain(note.button(QMessageBox::Ok)->text());
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FileRequest request;
    request.title = "title";
    request.filter = "QX40 Data File (*.qxd)|*.qxd";
    QtUserDialogs::Prepare(dialog, request);
    const auto* box = dialog.findChild<QDialogButtonBox*>();
    if (box != nullptr) {
        b.open = Plain(box->button(QDialogButtonBox::Open)->text());
        b.cancel = Plain(box->button(QDialogButtonBox::Cancel)->text());
    }
    return b;
}

TEST(QtTranslations, StandardButtonsSpeakTheWindowsLanguage) {
    ASSERT_TRUE(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
        << "Qt's translations are installed (qt6-translations-l10n)";
    FakeLink fake;
    const std::vector<std::uint8_t> image(1024, 0x11);
    WindowHarness harness("[Common]\nRussian=1\n");
    harness.Build(fake, image, false, NoWait);

    const auto expect = [](const Buttons& b, bool russian) {
        EXPECT_EQ(b.yes.toStdString(), russian ? "Да" : "Yes");
        EXPECT_EQ(b.no.toStdString(), russian ? "Нет" : "No");
        EXPECT_EQ(b.ok.toStdString(), russian ? "OK" : "OK");
        EXPECT_EQ(b.open.toStdString(), russian ? "Открыть" : "Open");
        EXPECT_EQ(b.cancel.toStdString(), russian ? "Отмена" : "Cancel");
    };
    {
        SCOPED_TRACE("at start in Russian");
        expect(ShownButtons(), true);
    }
    harness.Action("Menu_English")->trigger();
    {
        SCOPED_TRACE("switched to English");
        expect(ShownButtons(), false);
    }
    harness.Action("Menu_Russian")->trigger();
    {
        SCOPED_TRACE("switched back to Russian");
        expect(ShownButtons(), true);
    }
    harness.window.reset();
    SCOPED_TRACE("the window gone");
    expect(ShownButtons(), false);
}

}  // namespace
}  // namespace qx40

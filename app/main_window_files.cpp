// Settings and data files from the File menu, the command line and a second
// copy of the program.
#include <QScrollBar>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "files/data_file.h"
#include "files/settings_file.h"

namespace qx40 {
namespace {

std::string WithExtension(const std::string& path, const char* extension) {
    return std::filesystem::path(path).replace_extension(extension).string();
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

// --- Settings files ------------------------------------------------------

void MainWindow::Menu_Open_SettingsClick() {
    const bool ru = session_.State().Common.Russian;
    const ScopeSession::BusyHold busy(session_);
    FileRequest request;
    request.title = Tr(ru, "Open Settings", "Открытие настроек");
    request.folder = DialogFolder();
    request.filter = Tr(ru, "QX40 Settings File (*.qxs)|*.qxs|All Files (*.*)|*.*",
                        "Файлы настроек QX40 (*.qxs)|*.qxs|Все файлы (*.*)|*.*");
    request.defaultExtension = "qxs";
    if (const auto path = dialogs_.ChooseFile(request)) {
        RememberFolder(*path);
        OpenSettingsFile(*path);
    }
}

void MainWindow::OpenSettingsFile(const std::string& path) {
    const bool ru = session_.State().Common.Russian;
    if (!std::ifstream(path)) {
        ShowMessage(Tr(ru, "Open Settings", "Открытие файла настроек"),
                    path + Tr(ru, "\r\nFile not found.", "\r\nФайл не найден."), MessageIcon::Error);
        return;
    }
    const SettingsRefusal refusal = ReadSettings(path, SettingsKind::User, session_.State());
    if (refusal != SettingsRefusal::None) {
        const MessageText m = SettingsRefusalMessage(refusal, path, ru);
        ShowMessage(m.caption, m.text, MessageIcon::Error);
        return;
    }
    ApplyDeviceModel();
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_Save_Settings_AsClick() {
    const bool ru = session_.State().Common.Russian;
    const ScopeSession::BusyHold busy(session_);
    FileRequest request;
    request.save = true;
    request.title = Tr(ru, "Save Settings", "Сохранение файла настроек");
    request.folder = DialogFolder();
    request.filter = Tr(ru, "QX40 Settings File (*.qxs)|*.qxs", "Файл настроек QX40 (*.qxs)|*.qxs");
    request.defaultExtension = "qxs";
    request.fileName = Shared().flags.ShowingFile ? WithExtension(session_.MainFile().name, ".qxs") : "*.qxs";
    if (const auto path = dialogs_.ChooseFile(request)) {
        RememberFolder(*path);
        std::string error;
        if (!WriteSettings(*path, SettingsKind::User, session_.State(), Shared().facts.Get(), error, WriteMode::Replace))
            ShowMessage(Tr(ru, "Save Settings", "Сохранение файла настроек"),
                        *path + Tr(ru, "\r\nCan't open file for writing.", "\r\nНет доступа к файлу."), MessageIcon::Error);
    }
}

// --- Data files ----------------------------------------------------------

void MainWindow::Menu_OpenClick() {
    const bool ru = session_.State().Common.Russian;
    const ScopeSession::BusyHold busy(session_);
    FileRequest request;
    request.title = Tr(ru, "Open", "Открытие данных");
    request.folder = DialogFolder();
    request.filter = Tr(ru, "QX40 Data File (*.qxd)|*.qxd|All Files (*.*)|*.*",
                        "Файлы данных QX40 (*.qxd)|*.qxd|Все файлы (*.*)|*.*");
    request.defaultExtension = "qxd";
    if (const auto path = dialogs_.ChooseFile(request)) {
        RememberFolder(*path);
        OpenDataFile(*path);
    }
}

void MainWindow::OpenDataFile(const std::string& path) {
    const bool ru = session_.State().Common.Russian;
    // The reader leaves the record as it was when the file fails its checks,
    // so an unsaved capture is never lost to a bad file.
    const DataFileError error = ReadDataFile(path, MainRecord());
    if (error != DataFileError::None) {
        const MessageText m = DataFileMessage(error, path, ru);
        ShowMessage(m.caption, m.text, MessageIcon::Error);
        return;
    }
    session_.ShowFile(FileName(path));
    if (MainRecord().Info[fi::DeviceTypeCode] != session_.State().System.Device_Type_Code) {
        modelQuestionArmed_ = false;
        modelChangeForced_ = true;
    }
    // The file is on the screen while the companion question is open.
    ApplySettings();

    const std::string companion = WithExtension(path, ".qxs");
    if (Exists(companion) &&
        dialogs_.Show({Tr(ru, "Open", "Открытие файла данных"),
                       companion + Tr(ru, " found.\r\nOpen settings file?", " найден.\r\nОткрыть сопутствующий файл настроек?"),
                       MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes) {
        const SettingsRefusal refusal = ReadSettings(companion, SettingsKind::User, session_.State());
        if (refusal != SettingsRefusal::None) {
            const MessageText m = SettingsRefusalMessage(refusal, companion, ru);
            ShowMessage(m.caption, m.text, MessageIcon::Error);
        }
        ApplyDeviceModel();
    }
    scrollX_->setValue(0);
    ApplyAndRestart();
    spectrumRequest_ = true;
}

void MainWindow::Menu_Save_AsClick() {
    const bool ru = session_.State().Common.Russian;
    const ScopeSession::BusyHold busy(session_);
    FileRequest request;
    request.save = true;
    request.title = Tr(ru, "Save", "Сохранение данных");
    request.folder = DialogFolder();
    request.filter = Tr(ru, "QX40 Data File (*.qxd)|*.qxd", "Файл данных QX40 (*.qxd)|*.qxd");
    request.defaultExtension = "qxd";
    request.fileName = Shared().flags.ShowingFile ? WithExtension(session_.MainFile().name, ".qxd") : "*.qxd";
    const auto path = dialogs_.ChooseFile(request);
    if (!path) return;
    RememberFolder(*path);
    std::string error;
    if (WriteDataFile(*path, MainRecord(), error) != DataFileError::None) {
        const MessageText m = DataFileMessage(DataFileError::CantWrite, *path, ru);
        ShowMessage(m.caption, m.text, MessageIcon::Error);
        return;
    }
    session_.ShowFile(FileName(*path));
    ApplySettings();

    const std::string companion = WithExtension(*path, ".qxs");
    const std::string caption = Tr(ru, "Save Settings File", "Сохранение сопутствующего файла настроек.");
    if (Exists(companion) &&
        dialogs_.Show({caption,
                       companion + Tr(ru, "\r\nThe file already exists. Replace existing file?", " уже существует.\r\nЗаменить?"),
                       MessageIcon::Warning, MessageButtons::YesNo}) != MessageAnswer::Yes)
        return;
    if (!WriteSettings(companion, SettingsKind::User, session_.State(), Shared().facts.Get(), error, WriteMode::Replace))
        ShowMessage(caption, companion + Tr(ru, "\r\nCan't open file for writing.", "\r\nНет доступа к файлу."),
                    MessageIcon::Error);
}

// --- A second copy of the program ----------------------------------------

void MainWindow::HandleCopyData(int argumentCount, const QString& qpath) {
    const std::string path = qpath.toStdString();
    const auto bringToFront = [this] {
        if (isMinimized()) showNormal();
        raise();
        activateWindow();
    };
    if (argumentCount == 0 || path.empty()) {
        bringToFront();
        return;
    }
    // The display step ends soon: the file waits its turn. Any other busy
    // time (starting, a command, a message box) drops it.
    if (session_.InDisplayStep()) {
        pendingHandOver_ = {argumentCount, path};
        return;
    }
    if (IsBusy()) return;
    const ScopeSession::BusyHold busy(session_);
    bringToFront();
    const bool ru = session_.State().Common.Russian;
    if (std::filesystem::path(path).extension() == ".qxs") {
        if (dialogs_.Show({Tr(ru, "Open Settings", "Открытие файла настроек"),
                           path + Tr(ru, "\r\nOpen settings file?", "\r\nОткрыть файл настроек?"), MessageIcon::Warning,
                           MessageButtons::YesNo}) == MessageAnswer::Yes)
            OpenSettingsFile(path);
    } else if (Shared().flags.RunFlag) {
        ShowMessage(Tr(ru, "Open", "Открытие файла данных"),
                    path + Tr(ru, "\r\nCan't open while running.", "\r\nДля открытия файла данных остановите развертку."),
                    MessageIcon::Error);
    } else if (dialogs_.Show({Tr(ru, "Open", "Открытие файла данных"),
                              path + Tr(ru, "\r\nOpen data file?", "\r\nОткрыть файл данных?"), MessageIcon::Warning,
                              MessageButtons::YesNo}) == MessageAnswer::Yes) {
        OpenDataFile(path);
    }
}

}  // namespace qx40

// The Export menu and the recorder: each export writes the main record as
// its writer in display/export_formats says; the recorder window records the
// roll frames while it is open.

#include "app/main_window.h"
#include "dialogs/recorder_dialog.h"
#include "display/decimal_separator.h"
#include "display/export_formats.h"
#include "recorder/recorder_texts.h"

namespace qx40 {

void MainWindow::Menu_ExportClick(std::string_view menuItem) {
    const ExportFormat* format = ExportFormatFor(menuItem, "");
    if (!format) return;
    const bool ru = session_.State().Common.Russian;
    const std::int32_t model = session_.State().System.Device_Type_Code;
    const ScopeSession::BusyHold busy(session_);
    const std::string title = format->title(ru, model);
    if (!format->hasData(MainRecord())) {
        ShowMessage(title, Tr(ru, "No data for writing.", "Нет данных для записи."),
                    MessageIcon::Error);
        return;
    }
    const std::string recordName = Shared().flags.ShowingFile ? session_.MainFile().name : "";
    const auto path =
        dialogs_.ChooseFile(ExportFileRequest(*format, ru, model, DialogFolder(), recordName));
    if (!path) return;
    RememberFolder(*path);
    // Image writes a PNG for a name that asks for one.
    const ExportFormat* chosen = ExportFormatFor(menuItem, *path);
    const ExportJob job{*path, MainRecord(), dialogs_,
                        model, ru,           LocaleDecimalSeparator()};
    const ExportResult result = chosen->write(job, [this] { return bitmap_; });
    if (const auto message = ExportResultMessage(result, title, ru)) dialogs_.Show(*message);
}

void MainWindow::Menu_RecorderClick() {
    const bool ru = session_.State().Common.Russian;
    const UsbStatus status = session_.Handle().Use([this](UsbHandle h) {
        std::uint32_t rx = 0;
        return session_.Link().GetQueueStatus(h, rx);
    });
    Shared().flags.LastUsbStatus = status;
    if (session_.State().View.Run != RunButton::Run || !Model().derived.RollActive ||
        !Shared().flags.DeviceReady || status != kUsbOk) {
        ShowMessage(RecorderCaption(ru), RecorderRefusalText(ru), MessageIcon::Error);
        return;
    }
    const ScopeSession::BusyHold busy(session_);
    // A window that stays on top would hide the recorder; the apply after
    // it puts the flag back.
    if (windowFlags() & Qt::WindowStaysOnTopHint) {
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        show();
    }
    dialogSet_->recorder->Run(programDir_);
    ApplySettings();
}

}  // namespace qx40

#include "device/device_session.h"

#include <array>

#include "device/usb/instrument_access.h"

namespace qx40 {
namespace {

constexpr std::uint32_t kBaudRate = 2000000;

struct Failure {
    std::atomic<bool> LinkFlags::*flag;
    const char* english;
    const char* russian;
};

// The order in which the recovery questions are asked.
constexpr std::array<Failure, 5> kFailures = {{
    {&LinkFlags::ErrUsbLost, "Recover after USB connection lost.\r\nError code 1",
     "Восстановление после потери связи с устройством.\r\nКод ошибки 1"},
    {&LinkFlags::ErrNoStatus, "Recover after ATMEGA failure.\r\nError code 6",
     "Восстановление после сбоя ATMEGA.\r\nКод ошибки 6"},
    {&LinkFlags::ErrFpgaConfig, "Recover after FPGA configuration failure.\r\nError code 2",
     "Восстановление после сбоя инициализации FPGA.\r\nКод ошибки 2"},
    {&LinkFlags::ErrPower, "Recover after Power failure.\r\nError code 3",
     "Восстановление после сбоя питания устройства.\r\nКод ошибки 3"},
    {&LinkFlags::ErrFpgaLost, "Recover after FPGA configuration lost.\r\nError code 4",
     "Восстановление после потери конфигурации FPGA.\r\nКод ошибки 4"},
}};

std::string DeviceLines(const std::string& description, std::uint32_t index, std::uint32_t location) {
    return "\r\nDescription = '" + description + "'  \r\nDev_Index = " + std::to_string(index) +
           "\r\nDev_Loc = " + std::to_string(location);
}

}  // namespace

DeviceListing ListDevices(UsbLink& link) {
    DeviceListing listing;
    listing.status = link.ListDeviceCount(listing.count);
    if (listing.status != kUsbOk) return listing;
    for (std::uint32_t i = 0; i < listing.count; ++i) {
        ListedDevice d{i, 0, {}};
        if (link.ListDeviceLocation(i, d.location) == kUsbOk && link.ListDeviceDescription(i, d.description) == kUsbOk)
            listing.devices.push_back(std::move(d));
    }
    return listing;
}

DeviceSession::DeviceSession(UsbLink& link, DeviceHandle& handle, SharedLink& shared, UsbStats& stats,
                             UserDialogs& dialogs, const ScopeState& state, std::string programName,
                             bool placeholderImage, SessionHooks hooks)
    : link_(link),
      handle_(handle),
      shared_(shared),
      stats_(stats),
      dialogs_(dialogs),
      state_(state),
      programName_(std::move(programName)),
      placeholderImage_(placeholderImage),
      hooks_(std::move(hooks)) {}

MessageAnswer DeviceSession::Ask(const std::string& caption, const std::string& text, MessageIcon icon,
                                 MessageButtons buttons) {
    return dialogs_.Show({caption, text, icon, buttons});
}

UsbStatus DeviceSession::OpenDevice() { return OpenListed(ListDevices(link_)); }

void DeviceSession::OpenDeviceThen(std::function<void(UsbStatus)> done) {
    Busy(true);
    opening_ = true;
    const auto finish = [this, done = std::move(done)](DeviceListing listing) {
        const UsbStatus status = OpenListed(listing);
        opening_ = false;
        if (done) done(status);
        Busy(false);
    };
    if (hooks_.offload)
        hooks_.offload([this] { return ListDevices(link_); }, finish);
    else
        finish(ListDevices(link_));
}

UsbStatus DeviceSession::OpenListed(const DeviceListing& listing) {
    if (listing.status != kUsbOk) return listing.status;
    if (listing.count == 0) return kUsbDeviceNotFound;
    const bool debug = state_.System.Debug_qx;
    if (debug && listing.count > 1)
        Ask(programName_,
            Tr(Russian(), "Number of devices = ", "Количество устройств = ") + std::to_string(listing.count) + ". ",
            MessageIcon::Warning, MessageButtons::Ok);

    UsbStatus status = kUsbDeviceNotFound;
    UsbHandle opened = kNoHandle;
    // First the instruments that say what they are, then anything else.
    for (const ListedDevice& d : listing.devices) {
        if (opened != kNoHandle) break;
        if (d.description != kInstrumentDescription) continue;
        if (debug && Ask(programName_,
                         Tr(Russian(), "True device found.", "Найдено устройство.") +
                             DeviceLines(d.description, d.index, d.location) +
                             Tr(Russian(), "\r\nOpen ?", "\r\nОткрыть ?"),
                         MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
            continue;
        status = link_.OpenByLocation(d.location, opened);
        if (status != kUsbOk) opened = kNoHandle;
    }
    for (const ListedDevice& d : listing.devices) {
        if (opened != kNoHandle) break;
        if (d.description == kInstrumentDescription) continue;
        if (debug) {
            if (Ask(programName_,
                    Tr(Russian(), "Other device found.", "Найдено другое устройство.") +
                        DeviceLines(d.description, d.index, d.location) +
                        Tr(Russian(), "\r\nTry to open ?", "\r\nПопробовать открыть ?"),
                    MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
                continue;
        } else if (d.description == kOlderModelDescription) {
            Ask(programName_,
                Tr(Russian(), "QX4001 device found. \r\nPlease, use QX4001 software.",
                   "Найдено устройство QX4001. \r\nИспользуйте программу для QX4001."),
                MessageIcon::Error, MessageButtons::Ok);
            continue;
        }
        status = link_.OpenByLocation(d.location, opened);
        if (status != kUsbOk) opened = kNoHandle;
    }
    if (opened == kNoHandle) return status;

    // A bridge that refuses a line setting would stay silent: no frame would
    // ever arrive. The open fails with the refusal instead. The reset and the
    // purges only clear what the bridge holds; they decide nothing.
    link_.ResetDevice(opened);
    UsbStatus line = link_.SetBaudRate(opened, kBaudRate);
    if (line == kUsbOk) line = link_.SetDataCharacteristics(opened, 8, 0, 0);
    if (line == kUsbOk) line = link_.SetFlowControl(opened, 0, 0x13, 0x17);
    if (line == kUsbOk) line = link_.SetTimeouts(opened, 500, 500);
    if (line == kUsbOk) line = link_.SetLatencyTimer(opened, 0);
    if (line == kUsbOk) line = link_.SetEventNotification(opened, kEventRxChar, &shared_.AcquisitionWakeEvent);
    if (line != kUsbOk) {
        link_.Close(opened);
        return line;
    }
    link_.Purge(opened, kPurgeRx | kPurgeTx);
    handle_.Replace([&](UsbHandle& h) {
        if (h != kNoHandle && h != opened) link_.Close(h);
        h = opened;
        return 0;
    });
    return kUsbOk;
}

void DeviceSession::ShowUsbError(UsbStatus status) {
    // An attached instrument this user may not open, or that another program
    // holds, is said so with the remedy, not as a bare status number.
    if (const InstrumentAccess access = link_.Access(); access != InstrumentAccess::Granted) {
        Ask(InstrumentAccessCaption(Russian()), InstrumentAccessText(access, Russian()), MessageIcon::Error,
            MessageButtons::Ok);
        return;
    }
    std::string text;
    if (status == kUsbInvalidHandle)
        text = Tr(Russian(), "Invalid handle.", "Неверный дескриптор.");
    else if (status == kUsbDeviceNotFound)
        text = Tr(Russian(), "Device not found.", "Устройство не найдено.");
    else
        text = Tr(Russian(), "Error - ", "Ошибка - ") + std::to_string(status);
    Ask(Tr(Russian(), "USB Error", "Ошибка USB"), text, MessageIcon::Error, MessageButtons::Ok);
}

std::string DeviceSession::PlaceholderMessage() const {
    return Tr(Russian(),
              "This program carries no FPGA image for a real instrument.\r\n"
              "Put the instrument maker's image in qx40_fpga.bin beside the program or in ~/.config/qx40/,\r\n"
              "or start the program with --fpga-image PATH.",
              "Программа не содержит образа FPGA для настоящего прибора.\r\n"
              "Поместите образ изготовителя прибора в файл qx40_fpga.bin рядом с программой или в ~/.config/qx40/,\r\n"
              "или запустите программу с параметром --fpga-image ПУТЬ.");
}

bool DeviceSession::StartFpgaLoad() {
    if (placeholderImage_ && link_.Kind() == LinkKind::Hardware) {
        CloseDevice();
        Ask(Tr(Russian(), "FPGA image", "Образ FPGA"), PlaceholderMessage(), MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    shared_.flags.FpgaLoadRequest = true;
    return true;
}

void DeviceSession::ClearFailures() {
    shared_.flags.DeviceReady = false;
    shared_.flags.StatusSeen = false;
    for (const Failure& f : kFailures) (shared_.flags.*f.flag) = false;
}

void DeviceSession::OpenOnFirstPaint(std::function<void(UsbStatus)> done) {
    OpenDeviceThen([this, done = std::move(done)](UsbStatus status) {
        shared_.flags.LastUsbStatus = status;
        if (status == kUsbOk && StartFpgaLoad() && hooks_.applyAndRestart) hooks_.applyAndRestart();
        if (done) done(status);
    });
}

UsbStatus DeviceSession::QueueStatus() {
    return handle_.Use([&](UsbHandle h) {
        std::uint32_t rx = 0;
        return link_.GetQueueStatus(h, rx);
    });
}

void DeviceSession::ButtonClicked(DeviceButton button, bool down) {
    Busy(true);
    if (button == DeviceButton::Run) shared_.flags.SingleFlag = false;
    // While an open is under way its end applies whatever the buttons say then.
    if (down && !opening_) {
        shared_.flags.LastUsbStatus = QueueStatus();
        if (shared_.flags.LastUsbStatus != kUsbOk) {
            CloseDevice();
            OpenDeviceThen([this, button](UsbStatus status) {
                shared_.flags.LastUsbStatus = status;
                if (status != kUsbOk) {
                    CloseDevice();
                    if (button == DeviceButton::GenOn && hooks_.applySettings) hooks_.applySettings();
                    ShowUsbError(status);
                    if (hooks_.releaseButton) hooks_.releaseButton(button);
                    if (button == DeviceButton::GenOn && hooks_.applySettings) hooks_.applySettings();
                    return;
                }
                ClearFailures();
                if (!StartFpgaLoad()) {
                    if (hooks_.releaseButton) hooks_.releaseButton(button);
                    return;
                }
                if (button != DeviceButton::GenOn && hooks_.armModelQuestion) hooks_.armModelQuestion();
                if (hooks_.applyAndRestart) hooks_.applyAndRestart();
            });
            Busy(false);
            return;
        }
        if (button != DeviceButton::GenOn && hooks_.armModelQuestion) hooks_.armModelQuestion();
    }
    if (hooks_.applyAndRestart) hooks_.applyAndRestart();
    Busy(false);
}

void DeviceSession::Timer1Timer() {
    stats_.Tick();
    shared_.flags.RedrawRequest = true;
    if (tickRunning_ || opening_) return;  // a message box of the previous tick, or an open, is under way
    tickRunning_ = true;
    Busy(true);

    shared_.flags.LastUsbStatus = QueueStatus();
    if (shared_.flags.LastUsbStatus != kUsbOk && shared_.flags.DeviceReady) shared_.flags.ErrUsbLost = true;

    if (stats_.PerSecond().ChecksumErrors > 4)
        Ask(Tr(Russian(), "Warning", "Предупреждение"),
            Tr(Russian(), "Unstable USB connection.\r\nError code 5",
               "Неустойчивая связь с устройством.\r\nКод ошибки 5"),
            MessageIcon::Warning, MessageButtons::Ok);

    bool anyFailure = false;
    MessageAnswer answer = MessageAnswer::No;
    for (const Failure& f : kFailures) {
        if (!(shared_.flags.*f.flag)) continue;
        anyFailure = true;
        answer = Ask(Tr(Russian(), "Warning", "Предупреждение"), Tr(Russian(), f.english, f.russian),
                     MessageIcon::Warning, MessageButtons::YesNo);
    }
    if (anyFailure) {
        ClearFailures();
        if (answer == MessageAnswer::Yes) {
            ReconnectDevice();
        } else {
            CloseDevice();
            ReleaseAll();
        }
    }
    tickRunning_ = false;
    Busy(false);
}

void DeviceSession::ReleaseAll() {
    if (hooks_.releaseButton)
        for (DeviceButton b : {DeviceButton::Run, DeviceButton::Single, DeviceButton::GenOn}) hooks_.releaseButton(b);
}

void DeviceSession::ReconnectDevice() {
    // The old handle goes before the reopen: a USB device opens only once.
    handle_.Replace([&](UsbHandle& h) {
        if (h != kNoHandle) {
            link_.ResetPort(h);
            link_.Close(h);
        }
        h = kNoHandle;
        return 0;
    });
    // The bridge needs a moment after the port reset; the window goes on meanwhile.
    Busy(true);
    opening_ = true;
    const auto reopen = [this] {
        opening_ = false;
        OpenDeviceThen([this](UsbStatus status) {
            shared_.flags.LastUsbStatus = status;
            if (status == kUsbOk) {
                if (StartFpgaLoad() && hooks_.applyAndRestart) hooks_.applyAndRestart();
                return;
            }
            CloseDevice();
            ShowUsbError(status);
            ReleaseAll();
        });
        Busy(false);
    };
    if (hooks_.runLater)
        hooks_.runLater(std::chrono::milliseconds(1500), reopen);
    else
        reopen();
}

void DeviceSession::CloseDevice() {
    handle_.Replace([&](UsbHandle& h) {
        if (h != kNoHandle) link_.Close(h);
        h = kNoHandle;
        return 0;
    });
}

}  // namespace qx40

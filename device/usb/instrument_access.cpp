#include "device/usb/instrument_access.h"

#include "base/user_dialogs.h"
#include "device/device_session.h"

namespace qx40 {

DeviceDecision DecideDevice(DeviceSpec::Kind requested, std::span<const ListedBridge> bridges) {
    bool attached = false;
    InstrumentAccess blocked = InstrumentAccess::Granted;
    for (const ListedBridge& b : bridges) {
        if (b.description != kInstrumentDescription) continue;
        if (b.access == InstrumentAccess::Granted) return {DeviceSpec::Kind::Usb, b.access};
        if (!attached) blocked = b.access;
        attached = true;
    }
    const bool usb = attached || requested == DeviceSpec::Kind::Usb;
    return {usb ? DeviceSpec::Kind::Usb : DeviceSpec::Kind::Sim, blocked};
}

std::string InstrumentAccessCaption(bool russian) {
    return Tr(russian, "USB Error", "Ошибка USB");
}

std::string InstrumentAccessText(InstrumentAccess access, bool russian) {
    if (access == InstrumentAccess::InUse)
        return Tr(russian,
                  "The instrument is attached, but another program is using it.\r\n"
                  "Close that program (or the other copy of this one), then press RUN.",
                  "Прибор подключён, но его занимает другая программа.\r\n"
                  "Закройте ту программу (или другую копию этой) и нажмите «Пуск».");
    return Tr(russian,
              "The instrument is attached, but this user has no permission to open it.\r\n"
              "An installed program brings the udev rule 70-qx40.rules; for one run from its build "
              "tree install it once, as root (see \"USB permissions\" in README.md):\r\n"
              "cp packaging/70-qx40.rules /etc/udev/rules.d/ && udevadm control --reload && "
              "udevadm trigger\r\n"
              "then unplug the instrument, plug it in again and press RUN.",
              "Прибор подключён, но у этого пользователя нет прав на его открытие.\r\n"
              "Установленная программа приносит правило udev 70-qx40.rules; для программы из папки "
              "сборки установите его один раз от имени root (см. \"USB permissions\" в README.md):\r\n"
              "cp packaging/70-qx40.rules /etc/udev/rules.d/ && udevadm control --reload && "
              "udevadm trigger\r\n"
              "затем отключите прибор, подключите его снова и нажмите «Пуск».");
}

std::string InstrumentAccessSuffix(InstrumentAccess access, bool russian) {
    if (access == InstrumentAccess::Granted) return {};
    return Tr(russian, " [no access to the instrument]", " [нет доступа к прибору]");
}

}  // namespace qx40

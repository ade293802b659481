#include "device/command_sender.h"

#include "device/command_framing.h"

namespace qx40 {

using std::chrono::milliseconds;

CommandSender::CommandSender(UsbLink& link, SharedLink& shared, std::span<const std::uint8_t> fpgaImage,
                             SleepFunction sleep)
    : link_(link), shared_(shared), fpgaImage_(fpgaImage), sleep_(std::move(sleep)) {}

UsbStatus CommandSender::WriteAll(UsbHandle h, std::span<const std::uint8_t> bytes) {
    int stalled = 0;
    while (!bytes.empty()) {
        std::uint32_t written = 0;
        const UsbStatus status =
            link_.Write(h, bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
        if (status != kUsbOk) return status;
        if (written == 0 && ++stalled >= kMaxStalledWrites) return kUsbIoError;
        if (written != 0) stalled = 0;
        bytes = bytes.subspan(std::min<std::size_t>(written, bytes.size()));
    }
    return kUsbOk;
}

void CommandSender::SendSettings(UsbHandle h, const DeviceSettings& image) {
    link_.Purge(h, kPurgeTx);
    std::uint32_t written = 0;
    link_.Write(h, &kCommandStart, 1, written);

    std::uint8_t seq = cmdSeq_.load();
    EncodedCommand command;
    if (shared_.flags.TdcWriteRequest.exchange(false)) {
        const TdcBytes tdc = shared_.mailbox.TakeTdc();
        command = SettingsCommand(image, seq, &tdc);
        shared_.flags.TdcValid = false;
    } else {
        command = SettingsCommand(image, seq, nullptr);
    }
    cmdSeq_ = seq;

    // Nothing received under the old settings may be parsed after this.
    link_.Purge(h, kPurgeRx);
    shared_.flags.LastUsbStatus = WriteAll(h, command.view());
}

void CommandSender::LoadFpga(UsbHandle h, const std::function<void()>& readAndParse,
                             const std::function<bool()>& stop) {
    LinkFlags& f = shared_.flags;
    // Whatever the instrument said before the load says nothing about it.
    f.StatusSeen = false;
    f.DeviceReady = false;
    const auto failed = [&f](UsbStatus status) {
        f.LastUsbStatus = status;
        f.ErrFpgaConfig = true;
        f.RedrawRequest = true;
    };
    link_.Purge(h, kPurgeRx | kPurgeTx);
    const EncodedCommand load = FpgaLoadCommand();
    if (UsbStatus s = WriteAll(h, {&kCommandStart, 1}); s != kUsbOk) return failed(s);
    if (UsbStatus s = WriteAll(h, load.view()); s != kUsbOk) return failed(s);
    sleep_(milliseconds(200));
    link_.Purge(h, kPurgeRx);

    std::array<std::uint8_t, 2 * kChunkBytes> encoded;
    for (std::size_t at = 0; at < fpgaImage_.size(); at += kChunkBytes) {
        if (stop()) return;
        const auto chunk = fpgaImage_.subspan(at, std::min(kChunkBytes, fpgaImage_.size() - at));
        NibbleEncode(chunk, encoded.data());
        if (UsbStatus s = WriteAll(h, {encoded.data(), 2 * chunk.size()}); s != kUsbOk) return failed(s);
    }

    sleep_(milliseconds(200));
    readAndParse();
    if (!f.StatusSeen)
        f.ErrNoStatus = true;
    else if (!f.DeviceReady)
        f.ErrFpgaConfig = true;
    f.RedrawRequest = true;
}

}  // namespace qx40

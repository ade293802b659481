#include "device/acquisition_thread.h"

#include <algorithm>

namespace qx40 {

namespace {
constexpr std::uint32_t kMaxRead = 65000;
constexpr auto kIdleWait = std::chrono::milliseconds(20);
}  // namespace

class AcquisitionThread::Sink : public FrameSink {
public:
    explicit Sink(AcquisitionThread& t) : t_(t) {}
    void OnDataFrame(std::span<const std::uint8_t> samples, const RegisterEcho& echo) override {
        t_.OnDataFrame(samples, echo);
    }
    void OnStatusFrame(const StatusRecord& status) override { t_.OnStatusFrame(status); }

private:
    AcquisitionThread& t_;
};

AcquisitionThread::AcquisitionThread(UsbLink& link, DeviceHandle& handle, SharedLink& shared, UsbStats& stats,
                                     SampleRecord& mainRecord, MainThreadQueue& mainQueue, MainThreadSteps steps,
                                     std::span<const std::uint8_t> fpgaImage, SleepFunction sleep)
    : link_(link),
      handle_(handle),
      shared_(shared),
      stats_(stats),
      main_(mainRecord),
      mainQueue_(mainQueue),
      steps_(std::move(steps)),
      sleep_(sleep),
      sender_(link, shared, fpgaImage, sleep),
      receiver_(stats),
      readBuffer_(kMaxRead) {}

AcquisitionThread::~AcquisitionThread() { Stop(); }

void AcquisitionThread::Start() {
    if (thread_.joinable()) return;
    terminate_ = false;
    finished_ = false;
    thread_ = std::thread([this] { Execute(); });
}

void AcquisitionThread::Stop() {
    if (!thread_.joinable()) return;
    terminate_ = true;
    shared_.AcquisitionWakeEvent.Set();
    // The loop may be waiting for a hand-over; keep serving them until it ends.
    for (;;) {
        mainQueue_.Drain();
        std::unique_lock lock(finishedMutex_);
        if (finishedCv_.wait_for(lock, std::chrono::milliseconds(5), [this] { return finished_; })) break;
    }
    thread_.join();
}

void AcquisitionThread::Execute() {
    while (!terminate_) RunOnce();
    std::lock_guard lock(finishedMutex_);
    finished_ = true;
    finishedCv_.notify_all();
}

void AcquisitionThread::RunOnce() {
    LinkFlags& f = shared_.flags;
    if (!f.RedrawRequest && !f.StatusRequest && !f.FpgaLoadRequest) {
        shared_.AcquisitionWakeEvent.Wait(kIdleWait);
        shared_.AcquisitionWakeEvent.Reset();
    }
    if (f.RedrawRequest || f.StatusRequest) {
        mainQueue_.RunBlocking([this] { SyncToMain(); });
        sleep_(std::chrono::milliseconds(1));
    }
    if (terminate_) return;
    handle_.Use([&](UsbHandle h) {
        if (h == kNoHandle) return;
        // A request made while loading stays set and loads again.
        if (f.FpgaLoadRequest.exchange(false)) {
            readBegin_ = readEnd_ = 0;  // nothing from before the load is parsed after it
            sender_.LoadFpga(h, [&] { ReadAndParse(h); }, [this] { return terminate_.load(); });
        } else if (f.DeviceReady) {
            if (f.SettingsDirty.exchange(false)) {
                const AcquisitionSettings settings = shared_.mailbox.Take();
                receiver_.SetGeometry(settings.decode.SampleCount, settings.decode.SingleChannelMode);
                readBegin_ = readEnd_ = 0;  // the send purges what the driver holds; so do we
                sender_.SendSettings(h, settings.registers);
                singleComplete_ = false;
                f.SettingsChanged = true;
            } else {
                ReadAndParse(h);
            }
        }
    });
}

void AcquisitionThread::ReadAndParse(UsbHandle h) {
    if (readBegin_ == readEnd_) {
        std::uint32_t rx = 0, tx = 0, events = 0;
        if (link_.GetStatus(h, rx, tx, events) != kUsbOk) return;
        stats_.RaiseLargestQueue(rx);
        if (rx == 0) return;
        std::uint32_t got = 0;
        if (link_.Read(h, readBuffer_.data(), std::min(rx, kMaxRead), got) != kUsbOk) return;
        got = std::min(got, kMaxRead);
        stats_.BytesReceived += got;
        readBegin_ = 0;
        readEnd_ = got;
    }
    Sink sink(*this);
    readBegin_ += receiver_.Feed({readBuffer_.data() + readBegin_, readEnd_ - readBegin_}, sink);
}

void AcquisitionThread::OnStatusFrame(const StatusRecord& status) {
    LinkFlags& f = shared_.flags;
    ++stats_.StatusFrames;
    f.IndicatorStatus = true;
    f.StatusSeen = true;
    if (f.DeviceReady) {
        if (status.PowerFailure()) f.ErrPower = true;
        if (!status.FpgaConfigured()) f.ErrFpgaLost = true;
    }
    shared_.facts.Update([&](DeviceFacts& facts) {
        facts.FirmwareVersion = status.FirmwareVersion();
        if (status.FpgaConfigured()) {
            facts.FpgaVersion = status.FpgaVersion();
            facts.DeviceTypeReported = status.DeviceType();
        }
        facts.SerialKnown = true;
        facts.SerialNumber = status.SerialNumber();
        facts.SerialNumberHi = status.SerialNumberHi();
        facts.TdcKnown = true;
        facts.TDC_Rise_A1 = status.Tdc(0);
        facts.TDC_Fall_A1 = status.Tdc(1);
        facts.TDC_Rise_A2 = status.Tdc(2);
        facts.TDC_Fall_A2 = status.Tdc(3);
        facts.VccCentivolts = status.VccCentivolts();
    });
    if (status.FpgaConfigured()) {
        f.DeviceReady = true;
        f.DeviceInfoValid = true;
    }
    f.StatusValid = true;
    f.TdcValid = true;
    if (f.RunFlag) {
        fmData_ = {status.FmSource(), status.FmCount(), status.FmGate(), shared_.mailbox.Take().decode.Time};
        fmFresh_ = true;
    }
    f.StatusRequest = true;
}

void AcquisitionThread::OnDataFrame(std::span<const std::uint8_t> samples, const RegisterEcho& echo) {
    LinkFlags& f = shared_.flags;
    // Older settings, not running, or the single shot of these settings is done.
    if (echo[69] != sender_.CmdSeq() || !f.StatusValid || !f.RunFlag || singleComplete_) return;

    const AcquisitionSettings settings = shared_.mailbox.Take();
    const DeviceFacts facts = shared_.facts.Get();
    const TdcConstants tdc{facts.TDC_Rise_A1, facts.TDC_Fall_A1, facts.TDC_Rise_A2, facts.TDC_Fall_A2};
    decoder_.DecodeFrame(samples, echo, settings.decode, tdc, f.RecorderActive, recorder_, back_);
    std::copy(fmData_.begin(), fmData_.end(), back_.Info.word.begin() + fi::FmData);
    frameReady_ = true;
    ++framesDecoded_;
    ++stats_.FramesAccepted;
    receiver_.PauseAfterFrame();
    f.IndicatorFrame = true;
    f.CalFrameReady = true;
    f.NewFrame = true;
    f.NewFrameData = true;

    // The run state belongs to the main thread: the thread only takes no
    // further frame and tells it; the main thread releases SINGLE and sends
    // the stop, unless RUN was pressed meanwhile.
    if (f.SingleFlag && back_.Info[fi::ValidPoints] == back_.Info[fi::RingLength]) {
        singleComplete_ = true;
        singleShotDone_ = true;
    }
    f.RedrawRequest = true;
}

void AcquisitionThread::SyncToMain() {
    LinkFlags& f = shared_.flags;
    if (f.RedrawRequest.exchange(false)) {
        if (frameReady_) {
            main_.Swap(back_);
            frameReady_ = false;
            f.ShowingFile = false;
        }
        if (fmFresh_ && main_.HasData()) {
            std::copy(fmData_.begin(), fmData_.end(), main_.Info.word.begin() + fi::FmData);
            fmFresh_ = false;
        }
        if (steps_.refreshScreen) steps_.refreshScreen();
        if (f.NewFrame.exchange(false)) ++stats_.FramesShown;
        if (recorder_.Count() >= 1 && f.RecorderActive && steps_.writeRecorder)
            steps_.writeRecorder(recorder_.Pending(), recorder_.Dropped());
        recorder_.Clear();
    }
    if (singleShotDone_.exchange(false) && steps_.singleShotDone) steps_.singleShotDone();
    if (f.StatusRequest.exchange(false) && steps_.drawIndicator) steps_.drawIndicator();
}

}  // namespace qx40

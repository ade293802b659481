#include "device/scope_session.h"

#include "device/apply_operations.h"

namespace qx40 {

ScopeSession::ScopeSession(UsbLink& link, UserDialogs& dialogs, SessionFrontEnd& frontEnd, ScopeSessionConfig config)
    : link_(link),
      dialogs_(dialogs),
      frontEnd_(frontEnd),
      config_(std::move(config)),
      queue_([this] { frontEnd_.Wake(); }) {
    if (!config_.threadSleep)
        config_.threadSleep = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    SessionHooks hooks;
    hooks.setBusy = [this](bool on) { SetBusy(on); };
    hooks.applyAndRestart = [this] { ApplyAndRestart(); };
    hooks.applySettings = [this] { ApplySettings(); };
    hooks.releaseButton = [this](DeviceButton b) { ReleaseButton(b); };
    hooks.armModelQuestion = [this] { frontEnd_.ArmModelQuestion(); };
    // The front end's timer may outlive the session.
    hooks.runLater = [this](std::chrono::milliseconds delay, std::function<void()> fn) {
        frontEnd_.RunLater(delay, [alive = alive_, fn = std::move(fn)] {
            if (*alive) fn();
        });
    };
    hooks.offload = [this](std::function<DeviceListing()> list, std::function<void(DeviceListing)> done) {
        Offload(std::move(list), std::move(done));
    };
    device_ = std::make_unique<DeviceSession>(link, handle_, shared_, stats_, dialogs, model_.state,
                                              config_.programName, config_.placeholderImage, std::move(hooks));
    MainThreadSteps steps;
    steps.refreshScreen = [this] { HandOverRefresh(); };
    steps.drawIndicator = [this] { frontEnd_.DrawIndicator(); };
    steps.singleShotDone = [this] { SingleShotDone(); };
    steps.writeRecorder = [this](std::span<const std::uint8_t> bytes, std::uint64_t lost) {
        if (recorderWrite_) recorderWrite_(bytes, lost);
    };
    thread_ = std::make_unique<AcquisitionThread>(link, handle_, shared_, stats_, main_, queue_, std::move(steps),
                                                  config_.fpgaImage, config_.threadSleep);
}

ScopeSession::~ScopeSession() { Stop(); }

void ScopeSession::Start() {
    qx40::ApplySettings(model_, backgroundLevels_, shared_);  // the image exists before anything is sent
    thread_->Start();
}

void ScopeSession::Stop() {
    if (stopped_) return;
    stopped_ = true;
    *alive_ = false;
    thread_->Stop();
    queue_.Close();
    if (lister_.joinable()) lister_.join();
    device_->CloseDevice();
    std::lock_guard lock(postMutex_);
    posted_.clear();
    deferred_.clear();
}

void ScopeSession::Serve() {
    if (stopped_) return;
    // A modal box of a deferred step lets the next hand-over through, but a
    // hand-over never runs inside another one.
    if (!inHandOver_) {
        inHandOver_ = true;
        queue_.Drain();
        inHandOver_ = false;
    }
    if (runningDeferred_) return;  // the outer loop below picks up what came meanwhile
    runningDeferred_ = true;
    while (!stopped_) {
        std::function<void()> fn;
        {
            std::lock_guard lock(postMutex_);
            if (!posted_.empty()) {
                fn = std::move(posted_.front());
                posted_.pop_front();
            } else if (!deferred_.empty()) {
                fn = std::move(deferred_.front());
                deferred_.pop_front();
            }
        }
        if (!fn) break;
        fn();
    }
    runningDeferred_ = false;
}

void ScopeSession::Defer(std::function<void()> fn) {
    {
        std::lock_guard lock(postMutex_);
        deferred_.push_back(std::move(fn));
    }
    frontEnd_.Wake();
}

void ScopeSession::Post(std::function<void()> fn) {
    {
        std::lock_guard lock(postMutex_);
        posted_.push_back(std::move(fn));
    }
    frontEnd_.Wake();
}

void ScopeSession::Offload(std::function<DeviceListing()> list, std::function<void(DeviceListing)> done) {
    // The device session lists once at a time, so an earlier listing has
    // already sent its result back.
    if (lister_.joinable()) lister_.join();
    lister_ = std::thread([this, list = std::move(list), done = std::move(done)]() mutable {
        DeviceListing listing = list();
        Post([done = std::move(done), listing = std::move(listing)] { done(listing); });
    });
}

void ScopeSession::HandOverRefresh() {
    const bool newFrame = shared_.flags.CalFrameReady.exchange(false) && main_.HasData();
    if (main_.HasData() && main_.Info[fi::FrameCounter] != lastFrameCounter_) {
        lastFrameCounter_ = main_.Info[fi::FrameCounter];
        ++framesShown_;
    }
    frontEnd_.RefreshScreen();
    // While newer settings wait to go out, the frame was taken with older ones.
    if (newFrame && !shared_.flags.SettingsDirty && frameObserver_) {
        const FrameObserver observer = frameObserver_;  // it may replace itself
        observer(main_);
    }
}

void ScopeSession::SingleShotDone() {
    // RUN pressed meanwhile stays down: its settings go out as they are.
    if (model_.state.View.Run != RunButton::Single) return;
    model_.state.View.Run = RunButton::None;
    ApplyAndRestart();  // the stop reaches the instrument
}

void ScopeSession::ReleaseButton(DeviceButton b) {
    RunButton& run = model_.state.View.Run;
    if (b == DeviceButton::GenOn)
        model_.state.Generator.GenOn = false;
    else if ((b == DeviceButton::Run && run == RunButton::Run) || (b == DeviceButton::Single && run == RunButton::Single))
        run = RunButton::None;
    // The flags and the image follow, so nothing acts as if it still ran.
    ApplyAndRestart();
}

void ScopeSession::ApplySettings() {
    qx40::ApplySettings(model_, backgroundLevels_, shared_);
    frontEnd_.StateApplied();
}

void ScopeSession::ApplyAndRestart() {
    qx40::ApplyAndRestart(model_, backgroundLevels_, shared_);
    frontEnd_.StateApplied();
}

void ScopeSession::SendRegisters() { qx40::SendRegisters(model_, shared_); }

void ScopeSession::RequestTdcWrite(const TdcBytes& tdc) {
    shared_.mailbox.PublishTdc(tdc);
    shared_.flags.TdcWriteRequest = true;
}

void ScopeSession::OpenOnFirstPaint(std::function<void(UsbStatus)> done) { device_->OpenOnFirstPaint(std::move(done)); }

void ScopeSession::PressRun(RunButton button) {
    RunButton& run = model_.state.View.Run;
    run = run == button ? RunButton::None : button;
    frontEnd_.StateApplied();  // the button shows its state while the device is checked
    device_->ButtonClicked(button == RunButton::Run ? DeviceButton::Run : DeviceButton::Single, run == button);
}

void ScopeSession::PressGeneratorOn() {
    bool& on = model_.state.Generator.GenOn;
    on = !on;
    frontEnd_.StateApplied();
    device_->ButtonClicked(DeviceButton::GenOn, on);
}

void ScopeSession::SetRecorderSink(RecorderWrite write) {
    recorderWrite_ = std::move(write);
    if (!recorderWrite_) shared_.flags.RecorderActive = false;
}

void ScopeSession::ClearMainRecord() {
    main_.Clear();
    shared_.flags.ShowingFile = false;
    mainFile_.fromFile = false;
    shared_.flags.NewFrameData = true;
}

void ScopeSession::ClearBackgroundRecord() { ClearBackground(background_, backgroundFile_); }

bool ScopeSession::SwapWithBackground() {
    mainFile_.fromFile = shared_.flags.ShowingFile;
    if (!qx40::SwapWithBackground(model_.state, main_, mainFile_, background_, backgroundLevels_, backgroundFile_))
        return false;
    shared_.flags.ShowingFile = mainFile_.fromFile;
    return true;
}

void ScopeSession::ShowFile(std::string name) {
    mainFile_ = {std::move(name), true};
    shared_.flags.ShowingFile = true;
}

}  // namespace qx40

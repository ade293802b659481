#include "device/scope_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "device/usb/fake_link.h"
#include "frame_bytes.h"
#include "scripted_dialogs.h"
#include "sent_settings.h"

namespace qx40 {
namespace {

using testing_support::ConfiguredStatus;
using testing_support::DataFrameBytes;
using testing_support::LastSentRegisters;
using testing_support::ScriptedDialogs;
using testing_support::StatusFrameBytes;
using namespace std::chrono_literals;

// The test thread is the session's main thread; nothing here has a window.
struct TestFrontEnd : SessionFrontEnd {
    void Wake() override { woken = true; }
    void RunLater(std::chrono::milliseconds delay, std::function<void()> fn) override {
        delays.push_back(delay);
        later.push_back(std::move(fn));
    }
    void RefreshScreen() override {
        ++refreshes;
        if (onRefresh) onRefresh();
    }
    void StateApplied() override { ++applied; }

    std::atomic<bool> woken{false};
    std::vector<std::chrono::milliseconds> delays;
    std::vector<std::function<void()>> later;
    std::function<void()> onRefresh;
    int refreshes = 0;
    int applied = 0;
};

// A link whose listing waits until the test lets it go, as a TCP connect
// to a slow host would.
class SlowListingLink : public FakeLink {
public:
    UsbStatus ListDeviceCount(std::uint32_t& count) override {
        std::unique_lock lock(mutex_);
        listing_ = true;
        cv_.wait(lock, [this] { return released_; });
        lock.unlock();
        return FakeLink::ListDeviceCount(count);
    }
    bool Listing() {
        std::lock_guard lock(mutex_);
        return listing_;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool listing_ = false;
    bool released_ = false;
};

class ScopeSessionTest : public testing::Test {
protected:
    ScopeSession& Session() {
        if (!session) {
            ScopeSessionConfig config;
            config.fpgaImage = image;
            // The instrument answers every FPGA load after its second wait.
            config.threadSleep = [this](std::chrono::milliseconds ms) {
                if (ms == 200ms && ++waits % 2 == 0) link().QueueRead(StatusFrameBytes(ConfiguredStatus(31)));
            };
            session = std::make_unique<ScopeSession>(link(), dialogs, frontEnd, config);
            ScopeState& s = session->State();
            s.Common.CH_A2 = s.Common.CH_D1 = s.Common.CH_D2 = false;
            s.Common.SampleCount = SampleCountChoice::Smpl_N_2000;
            s.Common.Russian = false;
            session->Start();
        }
        return *session;
    }
    virtual FakeLink& link() { return fake; }

    // Serves the session as a window's event loop would, until done.
    bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            Session().Serve();
            if (done()) return true;
            std::this_thread::sleep_for(1ms);
        }
        return done();
    }
    void OpenReady() {
        fake.AddDevice({.location = 7, .description = "Digital Oscilloscope QX40"});
        bool opened = false;
        Session().OpenOnFirstPaint([&](UsbStatus s) { opened = s == kUsbOk; });
        // Ready, and the settings of the open have gone out.
        ASSERT_TRUE(ServeUntil(
            [&] { return opened && Session().Shared().flags.DeviceReady && Sent() && Session().Thread().CmdSeq() == 1; }));
    }
    // A full frame of the settings in force, echoing the last sequence number sent.
    std::vector<std::uint8_t> Frame() {
        const DeviceSettings& r = Session().Model().registers;
        RegisterEcho echo{};
        std::copy(r.reg.begin(), r.reg.end(), echo.begin());
        echo[69] = Session().Thread().CmdSeq();
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(Session().Model().derived.SampleCount), 100);
        return DataFrameBytes(static_cast<std::uint8_t>(0x80 | (r.reg[reg::kChanEnable] & 0x0F)), samples, echo);
    }
    bool Sent() { return !Session().Shared().flags.SettingsDirty; }
    bool RunBitSent() { return LastSentRegisters(fake).reg[reg::kChanEnable] & kEnableRun; }

    FakeLink fake;
    ScriptedDialogs dialogs;
    TestFrontEnd frontEnd;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(2048, 0x5A);
    std::atomic<int> waits{0};
    std::unique_ptr<ScopeSession> session;
};

TEST_F(ScopeSessionTest, FinishedSingleShotReleasesSingleAndSendsTheStop) {
    OpenReady();
    Session().PressRun(RunButton::Single);
    ASSERT_TRUE(ServeUntil([&] { return Sent() && Session().Thread().CmdSeq() == 2; }));
    EXPECT_TRUE(RunBitSent());
    fake.QueueRead(Frame());
    ASSERT_TRUE(ServeUntil([&] { return Session().State().View.Run == RunButton::None && Sent(); }));
    ASSERT_TRUE(ServeUntil([&] { return Session().Thread().CmdSeq() == 3; }));
    EXPECT_FALSE(RunBitSent());
    EXPECT_FALSE(Session().Shared().flags.RunFlag);
    EXPECT_EQ(Session().FramesShown(), 1);
}

// RUN pressed after the single shot's last frame was decoded but before the
// main thread heard of it: RUN stays down and the instrument keeps running.
TEST_F(ScopeSessionTest, RunPressedAsTheSingleShotEndsKeepsRunning) {
    OpenReady();
    Session().PressRun(RunButton::Single);
    ASSERT_TRUE(ServeUntil([&] { return Sent() && Session().Thread().CmdSeq() == 2; }));
    fake.QueueRead(Frame());
    // Not served: the thread has decoded the frame and waits in the hand-over.
    for (int i = 0; i < 10000 && Session().Thread().FramesDecoded() == 0; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(Session().Thread().FramesDecoded(), 1);
    Session().PressRun(RunButton::Run);
    ASSERT_TRUE(ServeUntil([&] { return Sent() && Session().Thread().CmdSeq() == 3; }));
    EXPECT_EQ(Session().State().View.Run, RunButton::Run);
    EXPECT_TRUE(Session().Shared().flags.RunFlag);
    EXPECT_TRUE(RunBitSent());
    fake.QueueRead(Frame());
    EXPECT_TRUE(ServeUntil([&] { return Session().Thread().FramesDecoded() == 2; }));
}

// A calibration's frames: each new frame once, inside the hand-over; not a
// display step without a new frame, nor a frame taken while newer settings
// wait to go out.
TEST_F(ScopeSessionTest, FrameObserverSeesEachFrameOfTheSettingsSent) {
    OpenReady();
    std::vector<std::int32_t> seen;  // frame counters
    Session().SetFrameObserver([&](const SampleRecord& r) {
        EXPECT_TRUE(Session().InHandOver());
        seen.push_back(r.Info[fi::FrameCounter]);
    });
    Session().PressRun(RunButton::Run);
    ASSERT_TRUE(ServeUntil([&] { return Sent() && Session().Thread().CmdSeq() == 2; }));
    fake.QueueRead(Frame());
    fake.QueueRead(Frame());
    ASSERT_TRUE(ServeUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2}));
    const int refreshes = frontEnd.refreshes;
    Session().ApplySettings();  // a display step of the same frame
    ASSERT_TRUE(ServeUntil([&] { return frontEnd.refreshes > refreshes; }));
    EXPECT_EQ(seen.size(), 2u);

    fake.QueueRead(Frame());
    // Not served: the thread has decoded the frame and waits in the hand-over.
    for (int i = 0; i < 10000 && Session().Thread().FramesDecoded() < 3; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(Session().Thread().FramesDecoded(), 3);
    Session().ApplyAndRestart();  // new settings, not sent before the hand-over ends
    ASSERT_TRUE(ServeUntil([&] { return Sent() && Session().Thread().CmdSeq() == 3; }));
    EXPECT_EQ(seen.size(), 2u) << "the frame of the old settings";
    fake.QueueRead(Frame());
    ASSERT_TRUE(ServeUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen.back(), 4);

    Session().SetFrameObserver({});
    fake.QueueRead(Frame());
    ASSERT_TRUE(ServeUntil([&] { return Session().FramesShown() == 5; }));
    EXPECT_EQ(seen.size(), 3u);
}

// What the display step wants to ask waits until the hand-over has ended;
// the program counts as busy meanwhile.
TEST_F(ScopeSessionTest, DeferredQuestionsComeAfterTheHandOver) {
    struct Watching : ScriptedDialogs {
        ScopeSession* session = nullptr;
        std::vector<bool> inHandOver;
        MessageAnswer Show(const UserMessage& m) override {
            inHandOver.push_back(session->InHandOver());
            return ScriptedDialogs::Show(m);
        }
    } watching;
    ScopeSessionConfig config;
    ScopeSession s(fake, watching, frontEnd, config);
    watching.session = &s;
    std::vector<bool> busyInStep;
    frontEnd.onRefresh = [&] {
        busyInStep.push_back(s.Busy());
        if (busyInStep.size() == 1) s.Defer([&] { watching.Show({"Warning", "asked", MessageIcon::Warning}); });
    };
    s.Start();
    s.ApplySettings();  // asks for a display step
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (watching.inHandOver.empty() && std::chrono::steady_clock::now() < end) {
        s.Serve();
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(watching.inHandOver, std::vector<bool>{false});
    ASSERT_FALSE(busyInStep.empty());
    EXPECT_TRUE(busyInStep[0]);
    EXPECT_FALSE(s.Busy());
}

class SlowListingTest : public ScopeSessionTest {
protected:
    ~SlowListingTest() override {
        slow.Release();
        session.reset();  // before the link it uses goes
    }
    FakeLink& link() override { return slow; }
    SlowListingLink slow;
};

// Listing the devices may take a connect timeout: the main thread goes on
// serving meanwhile and the open ends when the listing does.
TEST_F(SlowListingTest, TheMainThreadIsFreeWhileTheLinkLists) {
    slow.AddDevice({.location = 7, .description = "Digital Oscilloscope QX40"});
    std::optional<UsbStatus> opened;
    Session().OpenOnFirstPaint([&](UsbStatus s) { opened = s; });
    for (int i = 0; i < 10000 && !slow.Listing(); ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(slow.Listing());
    Session().ApplySettings();
    ASSERT_TRUE(ServeUntil([&] { return frontEnd.refreshes > 0; })) << "display steps go on during the listing";
    EXPECT_TRUE(Session().Busy());
    EXPECT_FALSE(opened);
    slow.Release();
    ASSERT_TRUE(ServeUntil([&] { return opened.has_value(); }));
    EXPECT_EQ(*opened, kUsbOk);
    EXPECT_TRUE(slow.IsOpen(Session().Handle().Get()));
    EXPECT_FALSE(Session().Busy());
}

TEST_F(SlowListingTest, StopEndsWithAListingUnderWay) {
    Session().OpenOnFirstPaint();
    for (int i = 0; i < 10000 && !slow.Listing(); ++i) std::this_thread::sleep_for(1ms);
    std::thread release([this] {
        std::this_thread::sleep_for(20ms);
        slow.Release();
    });
    Session().Stop();  // waits for the listing; its result is dropped
    release.join();
    EXPECT_EQ(Session().Handle().Get(), kNoHandle);
}

// Recovery waits 1.5 s for the bridge through the front end's timer, never
// by sleeping on the main thread; a timer that fires after the session has
// stopped does nothing.
TEST_F(ScopeSessionTest, ReconnectWaitsThroughATimer) {
    OpenReady();
    Session().Shared().flags.ErrPower = true;
    dialogs.answers = {MessageAnswer::Yes};
    Session().Timer1Timer();
    ASSERT_EQ(frontEnd.delays, std::vector<std::chrono::milliseconds>{1500ms});
    EXPECT_EQ(Session().Handle().Get(), kNoHandle);
    frontEnd.later.at(0)();
    EXPECT_TRUE(ServeUntil([&] { return fake.IsOpen(Session().Handle().Get()) && !Session().Busy(); }));

    Session().Shared().flags.ErrPower = true;
    dialogs.answers = {MessageAnswer::Yes};
    Session().Timer1Timer();
    ASSERT_EQ(frontEnd.later.size(), 2u);
    session.reset();
    frontEnd.later.at(1)();  // the session is gone: nothing happens
}

// A failed reopen on RUN releases RUN, and nothing acts as if it ran.
TEST_F(ScopeSessionTest, FailedOpenOnRunReleasesItEverywhere) {
    Session().PressRun(RunButton::Run);
    ASSERT_TRUE(ServeUntil([&] { return !Session().Busy(); }));
    EXPECT_EQ(Session().State().View.Run, RunButton::None);
    EXPECT_FALSE(Session().Shared().flags.RunFlag);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Device not found.");
}

}  // namespace
}  // namespace qx40

// The recorder's File/Start/Stop logic with a stand-in data file and clock,
// and once against the real file.
#include "recorder/recorder_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "recorder/recorder_file.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using namespace std::chrono_literals;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;

// What the stand-in file received, and the failures it is told to give.
struct SinkLog {
    std::vector<std::uint8_t> bytes;
    int writes = 0;
    int flushes = 0;
    bool closed = false;
    std::size_t capacity = SIZE_MAX;  // beyond it every write fails with ENOSPC
    int flushError = 0;
    int openError = 0;
};

class LoggingSink : public RecorderSink {
public:
    explicit LoggingSink(SinkLog& log) : log_(log) {}
    int Write(std::span<const std::uint8_t> bytes, std::size_t& written) override {
        ++log_.writes;
        written = std::min(bytes.size(), log_.capacity - log_.bytes.size());
        log_.bytes.insert(log_.bytes.end(), bytes.begin(),
                          bytes.begin() + static_cast<std::ptrdiff_t>(written));
        return written < bytes.size() ? ENOSPC : 0;
    }
    int Flush() override {
        ++log_.flushes;
        return log_.flushError;
    }
    int Close() override {
        log_.closed = true;
        return 0;
    }

private:
    SinkLog& log_;
};

FrameInfo RollInfo(std::int32_t divider = 1000000) {  // 10 ms a sample
    FrameInfo info;
    info[fi::Divider] = divider;
    info[fi::VoltsDivA1] = 1000000;
    info[fi::ZeroA1] = 128;
    return info;
}

class RecorderSessionTest : public testing::Test {
public:
    RecorderSessionTest() {
        RecorderEnvironment env;
        env.openSink = [this](const std::string& path,
                              int& error) -> std::unique_ptr<RecorderSink> {
            opened.push_back(path);
            if (log.openError) {
                error = log.openError;
                return nullptr;
            }
            return std::make_unique<LoggingSink>(log);
        };
        env.now = [this] { return now; };
        env.dateTime = [](RecorderTime t) {
            return "t+" + std::to_string(
                              std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch())
                                  .count());
        };
        session = std::make_unique<RecorderSession>(active, env);
        session->Show(dir.Path().string(), RollInfo(), false, '.');
    }
    std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t first = 0) {
        std::vector<std::uint8_t> b(n);
        for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(first + i);
        return b;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> c;
        for (const UserMessage& m : dialogs.shown) c.push_back(m.caption);
        return c;
    }

    TempDir dir;
    SinkLog log;
    std::vector<std::string> opened;
    RecorderTime now{1000s};
    std::atomic<bool> active{false};
    ScriptedDialogs dialogs;
    std::unique_ptr<RecorderSession> session;
};

TEST_F(RecorderSessionTest, OpensIdleWithTheDefaultFile) {
    EXPECT_EQ(session->Path(), dir.File("recorder.bin"));
    EXPECT_EQ(session->SizeLabel(), "Size = ...");
    const RecorderButtons b = session->Buttons();
    EXPECT_TRUE(b.file && b.start && b.exit && !b.stop);
    EXPECT_FALSE(session->Stop(dialogs)) << "nothing to stop";
    EXPECT_TRUE(session->Close(dialogs));
    EXPECT_TRUE(dialogs.shown.empty());

    const FileRequest request = session->FileDialog("/home/u");
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Recorder File");
    EXPECT_EQ(request.filter, "Recorder File (*.bin)|*.bin");
    EXPECT_EQ(request.defaultExtension, "bin");
    EXPECT_EQ(request.fileName, "*.bin");
}

TEST_F(RecorderSessionTest, NotReadyWithoutASampleInterval) {
    session->SetFile(dir.File("a.bin"), RollInfo(0));
    EXPECT_EQ(session->InfoLines()[0], "Not ready.");
    EXPECT_FALSE(session->Buttons().start);
    EXPECT_FALSE(session->Start(RollInfo(0), dialogs));
    EXPECT_TRUE(opened.empty());
}

TEST_F(RecorderSessionTest, RecordsEachFrameInOneBlockAndStops) {
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    EXPECT_TRUE(active);
    EXPECT_EQ(session->InfoLines().back(), "Start recording = t+1000");
    const RecorderButtons b = session->Buttons();
    EXPECT_TRUE(!b.file && !b.start && !b.exit && b.stop);

    session->Write(Bytes(300));
    session->Write({});  // a frame that queued nothing
    session->Write(Bytes(200, 7));
    EXPECT_EQ(log.writes, 2);
    EXPECT_EQ(session->Total(), 500u);
    now += 65s;
    session->Tick(dialogs);
    EXPECT_EQ(session->SizeLabel(), "Size = 500 Bytes    Time = 0  00:01:05");

    // No keeps it running, buttons as they were.
    EXPECT_FALSE(session->Stop(dialogs));
    EXPECT_TRUE(active);
    EXPECT_TRUE(session->Buttons().stop);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Warning");
    EXPECT_EQ(dialogs.shown[0].text, "Stop recording?");
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);

    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(session->Stop(dialogs));
    EXPECT_FALSE(active);
    EXPECT_TRUE(log.closed);
    EXPECT_EQ(log.bytes.size(), 500u);
    EXPECT_EQ(log.bytes[300], 7);
    EXPECT_TRUE(session->Buttons().start);
    EXPECT_EQ(session->SizeLabel(), "Size = 500 Bytes    Time = 0  00:01:05")
        << "the final size stays shown";
    EXPECT_EQ(session->InfoLines().back(), "Stop recording = t+1065");
    EXPECT_EQ(
        dir.Read("recorder.txt"),
        "Oscilloscope recorder file = recorder.bin\r\n\r\nSampling rate = 100 Hz\r\n"
        "Peak detector off, bytes per sample = 1\r\nWrite speed = 0.343323 MBytes/hour\r\n\r\n"
        "Time step = 10.00 mS\r\nVoltage step = 31.25 mV\r\nZero level = 128\r\n\r\n"
        "Start recording = t+1000\r\nStop recording = t+1065\r\nSize = 500 Bytes\r\nTime = 0  "
        "00:01:05\r\n");

    session->Write(Bytes(10));
    EXPECT_EQ(log.writes, 2) << "nothing is written after Stop";
}

// The timer flushes, never a write: writes run inside the display hand-over.
TEST_F(RecorderSessionTest, FlushesAtLeastOnceASecond) {
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    session->Write(Bytes(10));
    now += 400ms;
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 0);
    now += 600ms;
    session->Write(Bytes(10));
    EXPECT_EQ(log.flushes, 0) << "a write never waits for the disk";
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 1);
    now += 300ms;
    session->Write(Bytes(10));
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 1);
    now += 700ms;
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 2);
    now += 5s;
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 2) << "nothing new to flush";
    session->Write(Bytes(10));
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 3) << "more than a second since the last: flushed at the next tick";
    now -= 1h;
    session->Write(Bytes(10));
    session->Tick(dialogs);
    EXPECT_EQ(log.flushes, 4) << "a clock set back does not hold the flushes off";
}

TEST_F(RecorderSessionTest, AFullDiskStopsTheRecordingAndKeepsWhatWasWritten) {
    log.capacity = 250;
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    session->Write(Bytes(200));
    session->Write(Bytes(200));  // only 50 fit
    EXPECT_FALSE(active) << "the acquisition thread stops queueing at once";
    EXPECT_TRUE(log.closed);
    EXPECT_TRUE(dialogs.shown.empty()) << "no box inside the display hand-over";
    session->Write(Bytes(200));
    EXPECT_EQ(log.writes, 2);

    now += 2s;
    session->Tick(dialogs);
    ASSERT_GE(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Recorder File");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.shown[0].text,
              dir.File("recorder.bin") +
                  "\r\nThe disk is full.\r\nRecording stopped; 250 bytes were kept.");
    EXPECT_EQ(session->Total(), 250u);
    EXPECT_EQ(session->SizeLabel(), "Size = 250 Bytes    Time = 0  00:00:00")
        << "the time of the failure";
    EXPECT_NE(dir.Read("recorder.txt").find("Size = 250 Bytes"), std::string::npos);
    const RecorderButtons b = session->Buttons();
    EXPECT_TRUE(b.file && b.start && b.exit && !b.stop);
    session->Tick(dialogs);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "reported once";
}

// Bytes the acquisition thread could not queue leave a gap: what follows it
// would be placed at the wrong times, so the recording ends before it.
TEST_F(RecorderSessionTest, BytesLostInTheQueueEndTheRecordingWithWhatCameBefore) {
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    session->Write(Bytes(100));
    session->Write(Bytes(50, 100), 7);
    EXPECT_FALSE(active);
    EXPECT_TRUE(log.closed);
    EXPECT_TRUE(dialogs.shown.empty()) << "no box inside the display hand-over";
    EXPECT_EQ(log.bytes, Bytes(150)) << "the block before the gap is kept whole";

    session->Tick(dialogs);
    ASSERT_GE(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              dir.File("recorder.bin") +
                  "\r\n7 bytes from the instrument were lost.\r\nRecording stopped; 150 bytes were kept.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(dir.Read("recorder.txt").find("Size = 150 Bytes"), std::string::npos);
}

TEST_F(RecorderSessionTest, AFailedFlushStopsTheRecordingInRussian) {
    session->Show(dir.Path().string(), RollInfo(), true, ',');
    log.flushError = EIO;
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    session->Write(Bytes(10));
    now += 1s;
    session->Write(Bytes(10));
    session->Tick(dialogs);
    EXPECT_FALSE(active);
    EXPECT_TRUE(session->Close(dialogs)) << "the window may close";
    ASSERT_GE(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Файл самописца");
    EXPECT_NE(dialogs.shown[0].text.find("Ошибка записи: "), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find("Запись остановлена, сохранено 20 байт."),
              std::string::npos);
    EXPECT_EQ(dir.Read("recorder.txt").rfind("Файл самописца = recorder.bin\r\n", 0), 0u);
}

// The stop question is modal: frames and timer ticks go on behind it.
TEST_F(RecorderSessionTest, AFailureWhileTheStopQuestionIsOpenEndsTheRecordingOnce) {
    class DiskFillsDuringTheQuestion : public UserDialogs {
    public:
        explicit DiskFillsDuringTheQuestion(RecorderSessionTest& t) : t_(t) {}
        MessageAnswer Show(const UserMessage& m) override {
            shown.push_back(m.text);
            if (m.text == "Stop recording?") {
                t_.log.capacity = t_.log.bytes.size();
                t_.session->Write(t_.Bytes(10));
                t_.session->Tick(*this);
            }
            return MessageAnswer::Yes;
        }
        std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
        std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override {
            return std::nullopt;
        }
        std::vector<std::string> shown;

    private:
        RecorderSessionTest& t_;
    } dialogs(*this);

    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    session->Write(Bytes(10));
    EXPECT_TRUE(session->Stop(dialogs));
    ASSERT_EQ(dialogs.shown.size(), 2u) << "the question and the failure, no replace question";
    EXPECT_NE(dialogs.shown[1].find("The disk is full."), std::string::npos);
    EXPECT_EQ(std::count(session->InfoLines().begin(), session->InfoLines().end(),
                         "Stop recording = t+1000"),
              1);
    EXPECT_EQ(session->Total(), 10u);
}

TEST_F(RecorderSessionTest, ReplacingAnExistingFileIsAsked) {
    dir.Write("recorder.bin", "old");
    EXPECT_FALSE(session->Start(RollInfo(), dialogs));
    EXPECT_EQ(dir.Read("recorder.bin"), "old");
    EXPECT_FALSE(active);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Recorder File");
    EXPECT_EQ(dialogs.shown[0].text,
              dir.File("recorder.bin") + "\r\nThe file already exists. Replace existing file?");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(session->SizeLabel(), "Size = ...");

    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(session->Start(RollInfo(), dialogs));
}

TEST_F(RecorderSessionTest, AFileThatCannotBeOpened) {
    log.openError = EACCES;
    EXPECT_FALSE(session->Start(RollInfo(), dialogs));
    EXPECT_FALSE(active);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, dir.File("recorder.bin") + "\r\nCan't open file for writing.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(session->Buttons().start);
}

TEST_F(RecorderSessionTest, ClosingTheWindowWhileRecordingAsks) {
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    EXPECT_FALSE(session->Close(dialogs)) << "No keeps the window open";
    EXPECT_TRUE(active);
    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(session->Close(dialogs));
    EXPECT_FALSE(active);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Warning", "Warning"}));
    EXPECT_TRUE(std::filesystem::exists(dir.File("recorder.txt")));
}

TEST_F(RecorderSessionTest, TextFileQuestionDeclinedKeepsTheOldOne) {
    dir.Write("recorder.txt", "old");
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_TRUE(session->Stop(dialogs));
    EXPECT_EQ(dir.Read("recorder.txt"), "old");
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"Warning", "Save Text File For Recorder File"}));
}

TEST_F(RecorderSessionTest, TheTextFileNeverReplacesTheDataFile) {
    session->SetFile(dir.File("run.txt"), RollInfo());
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(session->Stop(dialogs));
    EXPECT_TRUE(std::filesystem::exists(dir.File("run.txt.txt")));
}

TEST_F(RecorderSessionTest, TwentyFiveHours) {
    ASSERT_TRUE(session->Start(RollInfo(), dialogs));
    now += 25h + 2min + 3s;
    session->Tick(dialogs);
    dialogs.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(session->Stop(dialogs));
    EXPECT_NE(dir.Read("recorder.txt").find("\r\nTime = 1  01:02:03\r\n"), std::string::npos);
    // File clears the shown size; the next Start counts afresh.
    session->SetFile(dir.File("next.bin"), RollInfo());
    EXPECT_EQ(session->SizeLabel(), "Size = ...");
}

TEST(RecorderFile, WritesBlocksAndReportsAFullDisk) {
    TempDir dir;
    int error = 0;
    auto file = OpenRecorderFile(dir.File("r.bin"), error);
    ASSERT_TRUE(file) << error;
    const std::vector<std::uint8_t> block(1000, 0x55);
    std::size_t written = 0;
    EXPECT_EQ(file->Write(block, written), 0);
    EXPECT_EQ(written, 1000u);
    EXPECT_EQ(file->Flush(), 0);
    EXPECT_EQ(file->Close(), 0);
    EXPECT_EQ(dir.Read("r.bin"), std::string(1000, '\x55'));

    EXPECT_FALSE(OpenRecorderFile(dir.File("none/r.bin"), error));
    EXPECT_EQ(error, ENOENT);

    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    auto full = OpenRecorderFile("/dev/full", error);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Write(block, written), ENOSPC);
    EXPECT_EQ(written, 0u);
}

}  // namespace
}  // namespace qx40

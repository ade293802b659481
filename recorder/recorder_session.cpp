#include "recorder/recorder_session.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "files/companion_file.h"
#include "files/file_io.h"
#include "recorder/recorder_file.h"
#include "recorder/recorder_texts.h"

namespace qx40 {
namespace {

constexpr auto kFlushInterval = std::chrono::seconds(1);

std::string LocalDateTime(RecorderTime t) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string FileCaption(bool ru) {
    return Tr(ru, "Recorder File", "Файл самописца");
}

}  // namespace

RecorderEnvironment DefaultRecorderEnvironment() {
    return {OpenRecorderFile, [] { return std::chrono::system_clock::now(); }, LocalDateTime};
}

RecorderSession::RecorderSession(std::atomic<bool>& active, RecorderEnvironment environment)
    : active_(active), env_(std::move(environment)) {}

RecorderSession::~RecorderSession() {
    // A session ended without Stop (the program is closing) keeps its data.
    active_ = false;
    if (sink_) sink_->Close();
}

void RecorderSession::Show(const std::string& folder, const FrameInfo& info, bool russian,
                           char decimalSeparator) {
    russian_ = russian;
    separator_ = decimalSeparator;
    path_ = (std::filesystem::path(folder) / "recorder.bin").string();
    total_ = 0;
    recorded_ = false;
    start_ = end_ = env_.now();
    ShowInfo(info);
}

FileRequest RecorderSession::FileDialog(const std::string& folder) const {
    FileRequest request;
    request.save = true;
    request.title = FileCaption(russian_);
    request.folder = folder;
    request.filter =
        Tr(russian_, "Recorder File (*.bin)|*.bin", "Файл самописца QX40 (*.bin)|*.bin");
    request.defaultExtension = "bin";
    request.fileName = "*.bin";
    return request;
}

void RecorderSession::SetFile(const std::string& path, const FrameInfo& info) {
    path_ = path;
    recorded_ = false;
    ShowInfo(info);
}

void RecorderSession::ShowInfo(const FrameInfo& info) {
    RecorderInfoLines lines = RecorderInfo(info, russian_, separator_);
    info_ = std::move(lines.lines);
    ready_ = lines.ready;
}

bool RecorderSession::Start(const FrameInfo& info, UserDialogs& dialogs) {
    if (!failure_.empty()) {  // a failed recording not reported yet comes first
        Finish(dialogs);
        return false;
    }
    if (Recording() || !ready_) return false;
    if (!MayReplace(dialogs, FileCaption(russian_), path_, russian_)) return false;
    int error = 0;
    std::unique_ptr<RecorderSink> sink = env_.openSink(path_, error);
    if (!sink) {
        dialogs.Show({FileCaption(russian_), CantWriteText(path_, russian_), MessageIcon::Error});
        return false;
    }
    sink_ = std::move(sink);
    total_ = 0;
    unflushed_ = false;
    failure_.clear();
    start_ = end_ = lastFlush_ = env_.now();
    recorded_ = true;
    ShowInfo(info);
    info_.push_back(Tr(russian_, "Start recording = ", "Начало записи = ") + env_.dateTime(start_));
    active_ = true;
    return true;
}

void RecorderSession::Write(std::span<const std::uint8_t> bytes, std::uint64_t lost) {
    if (!Recording()) return;
    if (!bytes.empty()) {
        std::size_t written = 0;
        const int error = sink_->Write(bytes, written);
        total_ += written;
        if (error) return Fail(error);
        // Tick flushes: Write runs inside the display hand-over, which must
        // never wait for the disk.
        unflushed_ = true;
    }
    // Samples after a gap would sit at the wrong times: the file keeps only
    // the unbroken part.
    if (lost > 0)
        Fail(std::to_string(lost) + Tr(russian_, " bytes from the instrument were lost.",
                                       " байт от прибора потеряно."));
}

void RecorderSession::Fail(int error) {
    const bool full = error == ENOSPC || error == EDQUOT;
    Fail(full ? Tr(russian_, "The disk is full.", "Диск заполнен.")
              : Tr(russian_, "Write error: ", "Ошибка записи: ") + std::strerror(error));
}

void RecorderSession::Fail(const std::string& reason) {
    active_ = false;
    if (sink_) {
        sink_->Close();  // what reached the file stays; a second error adds nothing
        sink_.reset();
    }
    end_ = env_.now();
    failure_ = path_ + "\r\n" + reason +
               Tr(russian_, "\r\nRecording stopped; ", "\r\nЗапись остановлена, сохранено ") +
               std::to_string(total_) + Tr(russian_, " bytes were kept.", " байт.");
}

void RecorderSession::Tick(UserDialogs& dialogs) {
    if (Recording()) {
        end_ = env_.now();
        if (unflushed_ && (end_ - lastFlush_ >= kFlushInterval || end_ < lastFlush_)) {
            lastFlush_ = end_;
            unflushed_ = false;
            if (const int e = sink_->Flush()) Fail(e);
        }
    }
    if (!failure_.empty()) Finish(dialogs);
}

bool RecorderSession::Stop(UserDialogs& dialogs) {
    if (!Recording()) return false;
    if (dialogs.Show({Tr(russian_, "Warning", "Предупреждение"),
                      Tr(russian_, "Stop recording?", "Прервать запись самописца?"),
                      MessageIcon::Warning, MessageButtons::YesNo}) != MessageAnswer::Yes)
        return false;
    // Frames are written while the question is open; a failed write may
    // have ended the recording (and the timer reported it) meanwhile.
    if (Recording()) Finish(dialogs);
    return true;
}

bool RecorderSession::Close(UserDialogs& dialogs) {
    if (Recording()) return Stop(dialogs);
    if (!failure_.empty()) Finish(dialogs);
    return true;
}

void RecorderSession::Finish(UserDialogs& dialogs) {
    if (Recording()) {
        active_ = false;
        end_ = env_.now();
        const int error = sink_->Close();
        sink_.reset();
        if (error) Fail(error);  // the last data may not have reached the disk
    }
    if (!failure_.empty()) {
        // Cleared first: the box runs an event loop, and the timer ticks on.
        const std::string text = std::move(failure_);
        failure_.clear();
        dialogs.Show({FileCaption(russian_), text, MessageIcon::Error});
    }
    info_.push_back(Tr(russian_, "Stop recording = ", "Конец записи = ") + env_.dateTime(end_));
    WriteRecorderText(dialogs);
}

void RecorderSession::WriteRecorderText(UserDialogs& dialogs) {
    const std::string name = CompanionPath(path_, ".txt");
    const std::string caption = Tr(russian_, "Save Text File For Recorder File",
                                   "Сохранение сопутствующего текстового файла.");
    if (!MayReplace(dialogs, caption, name, russian_)) return;
    std::string error;
    if (!WriteFileAtomically(
            name, RecorderTextContent(path_, info_, total_, ElapsedSeconds(), russian_), error))
        dialogs.Show({caption, CantWriteText(name, russian_), MessageIcon::Error});
}

std::int64_t RecorderSession::ElapsedSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(end_ - start_).count();
}

std::string RecorderSession::SizeLabel() const {
    return RecorderSizeLabel(recorded_, total_, ElapsedSeconds(), russian_);
}

RecorderButtons RecorderSession::Buttons() const {
    if (Recording()) return {false, false, true, false};
    return {true, ready_, false, true};
}

}  // namespace qx40

#include "dialogs/recorder_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <filesystem>

#include "display/decimal_separator.h"
#include "recorder/recorder_texts.h"

namespace qx40 {
namespace {

struct Caption {
    const char* name;
    const char* english;
    const char* russian;
};

constexpr std::array kCaptions = {
    Caption{"Button_File", "File", "Файл"},
    Caption{"Button_Start", "Start", "Старт"},
    Caption{"Button_Stop", "Stop", "Стоп"},
    Caption{"Button_Exit", "Exit", "Выход"},
};

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TForm_Recorder::TForm_Recorder(ScopeSession& session, UserDialogs& dialogs, QWidget* mainWindow,
                               RecorderEnvironment environment)
    : QDialog(mainWindow),
      session_(session),
      dialogs_(dialogs),
      mainWindow_(mainWindow),
      recorder_(session.Shared().flags.RecorderActive, std::move(environment)) {
    setObjectName("Form_Recorder");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    const auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    editFile_ = new QLineEdit(this);
    editFile_->setObjectName("Edit_File");
    editFile_->setMinimumWidth(320);
    buttonFile_ = button("Button_File");
    memoInfo_ = new QPlainTextEdit(this);
    memoInfo_->setObjectName("Memo_Info");
    memoInfo_->setReadOnly(true);
    memoInfo_->setMinimumHeight(180);
    labelSize_ = new QLabel(this);
    labelSize_->setObjectName("Label_Size");
    buttonStart_ = button("Button_Start");
    buttonStop_ = button("Button_Stop");
    buttonExit_ = button("Button_Exit");

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(editFile_, 1);
    fileRow->addWidget(buttonFile_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttonStart_);
    buttons->addWidget(buttonStop_);
    buttons->addStretch(1);
    buttons->addWidget(buttonExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(memoInfo_, 1);
    layout->addWidget(labelSize_);
    layout->addLayout(buttons);

    connect(buttonFile_, &QPushButton::clicked, this, [this] { Button_FileClick(); });
    connect(buttonStart_, &QPushButton::clicked, this, [this] { Button_StartClick(); });
    connect(buttonStop_, &QPushButton::clicked, this, [this] { Button_StopClick(); });
    connect(buttonExit_, &QPushButton::clicked, this, [this] { reject(); });
    timer1_.setObjectName("Timer1");
    timer1_.setInterval(93);
    connect(&timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TForm_Recorder::~TForm_Recorder() = default;

void TForm_Recorder::Run(std::string& folder) {
    folder_ = &folder;
    // Inside the display hand-over: the session's bytes go straight on.
    session_.SetRecorderSink([this](std::span<const std::uint8_t> bytes, std::uint64_t lost) {
        recorder_.Write(bytes, lost);
    });
    FormShow();
    adjustSize();
    if (mainWindow_) {
        QRect frame = frameGeometry();
        frame.moveCenter(mainWindow_->frameGeometry().center());
        move(frame.topLeft());
    }
    timer1_.start();
    exec();
    timer1_.stop();
    session_.SetRecorderSink({});
    folder_ = nullptr;
}

void TForm_Recorder::FormShow() {
    const bool ru = Russian();
    setWindowTitle(Text(RecorderCaption(ru)));
    for (const Caption& c : kCaptions)
        if (auto* b = findChild<QPushButton*>(c.name))
            b->setText(QString::fromUtf8(ru ? c.russian : c.english));
    recorder_.Show(*folder_, Info(), ru, LocaleDecimalSeparator());
    ShowState();
    buttonExit_->setFocus();
}

void TForm_Recorder::ShowState() {
    const RecorderButtons b = recorder_.Buttons();
    buttonFile_->setEnabled(b.file);
    buttonStart_->setEnabled(b.start);
    buttonStop_->setEnabled(b.stop);
    buttonExit_->setEnabled(b.exit);
    editFile_->setReadOnly(recorder_.Recording());
    if (!editFile_->hasFocus() || recorder_.Recording()) editFile_->setText(Text(recorder_.Path()));
    QStringList lines;
    for (const std::string& line : recorder_.InfoLines()) lines << Text(line);
    const QString info = lines.join('\n');
    if (memoInfo_->toPlainText() != info) memoInfo_->setPlainText(info);
    labelSize_->setText(Text(recorder_.SizeLabel()));
}

void TForm_Recorder::Button_FileClick() {
    const std::optional<std::string> path = dialogs_.ChooseFile(recorder_.FileDialog(*folder_));
    if (!path) return;
    *folder_ = std::filesystem::path(*path).parent_path().string();
    recorder_.SetFile(*path, Info());
    ShowState();
}

void TForm_Recorder::Button_StartClick() {
    // A name typed into the box counts as chosen.
    const std::string typed = editFile_->text().toStdString();
    if (!typed.empty() && typed != recorder_.Path()) recorder_.SetFile(typed, Info());
    recorder_.Start(Info(), dialogs_);
    ShowState();
}

void TForm_Recorder::Button_StopClick() {
    recorder_.Stop(dialogs_);
    ShowState();
}

void TForm_Recorder::Timer1Timer() {
    recorder_.Tick(dialogs_);
    ShowState();
}

void TForm_Recorder::reject() {
    const bool mayClose = recorder_.Close(dialogs_);
    ShowState();
    if (mayClose) QDialog::reject();
}

void TForm_Recorder::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The recorder stands for the program while it is open: minimising it
    // minimises the main window, which takes the recorder along.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) &&
        mainWindow_) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        mainWindow_->showMinimized();
    }
}

}  // namespace qx40

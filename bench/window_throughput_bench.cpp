// The whole program at the instrument's fastest: the main window on the
// simulated instrument with four channels of 10000 points and no frame-rate
// limit, its paint area 1280 x 720. Reports the frames the window showed
// against the frames the instrument sent over the same seconds, and the
// process's CPU time per second of wall time (the simulated instrument's
// own thread included).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "device/usb/sim/simulated_link.h"
#include "base/user_dialogs.h"
#include "resources/fpga_image.h"

namespace {

class NoDialogs : public qx40::UserDialogs {
public:
    qx40::MessageAnswer Show(const qx40::UserMessage&) override { return qx40::MessageAnswer::No; }
    std::optional<std::string> ChooseFile(const qx40::FileRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override { return std::nullopt; }
};

// Runs the event loop as the program does (QTest::qWait would sleep between
// rounds and starve the hand-overs).
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void BM_WindowOnSimulatedInstrument(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "qx40-throughput";
    std::filesystem::create_directories(dir);
    std::ofstream((dir / "qx40.ini").string())
        << "[Common]\nRussian=0\nFPS_NO_LIM=1\nSmpl_N_10000=1\nSinxx=1\n[Scope]\n05uS=1\n";
    qx40::SimulatedLink sim;
    NoDialogs dialogs;
    qx40::MainWindowOptions o;
    o.link = &sim;
    o.dialogs = &dialogs;
    o.settingsPath = (dir / "qx40.ini").string();
    o.fpgaImage = qx40::EmbeddedFpgaImage();
    o.placeholderImage = true;
    qx40::MainWindow window(o);
    window.show();
    // Grow the window until its paint area is 1280 x 720.
    QWidget* paintArea = window.findChild<QWidget*>("Image_M");
    window.resize(window.width() + 1280 - paintArea->width(), window.height() + 720 - paintArea->height());
    RunEventLoop(300);
    if (paintArea->size() != QSize(1280, 720)) state.SkipWithError("paint area is not 1280 x 720");
    window.findChild<QToolButton*>("SpeedButton_Run")->click();
    RunEventLoop(1500);  // FPGA load, settings, the first frames

    for (auto _ : state) {
        const std::int32_t shown0 = window.FramesShown();
        const std::int64_t sent0 = sim.Counters().DataFramesSent;
        const double cpu0 = CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        RunEventLoop(static_cast<int>(state.range(0)) * 1000);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(seconds);
        state.counters["frames_shown_per_s"] = (window.FramesShown() - shown0) / seconds;
        state.counters["frames_sent_per_s"] = static_cast<double>(sim.Counters().DataFramesSent - sent0) / seconds;
        state.counters["cpu_cores"] = (CpuSeconds() - cpu0) / seconds;
    }
    window.close();
}
BENCHMARK(BM_WindowOnSimulatedInstrument)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

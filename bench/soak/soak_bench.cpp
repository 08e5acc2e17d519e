// zarni_soak_bench: the configurator's live run held for a long time (an hour by default) in the real
// main window. The simulated converter (converter-sim, a process of its own, so that its memory and
// threads are not counted as ours) streams at the full packet rate into the real serial port; the
// window is connected by choosing the port, shows the dashboard page, has autocorrection switched on
// with a target grid filled, and is started with its Start action, which also records the run on disk
// as every live run is. Runs with QT_QPA_PLATFORM=offscreen unless another platform is set.
//
// Goals, from the end of the warm-up to the end of the run: resident memory grows by no more than the
// log store's 48 bytes per sample received meanwhile, plus a fixed slack (kMemorySlack, below); no
// more threads, open file handles or timers at the end than after the warm-up; the work of the live
// tick (the whole of one timeout of the window's live tick timer on the main thread) under 2 ms in
// the last minute; the run goes on to the end with no read failure or message shown.

#include "log.h"
#include "main_window.h"
#include "message_box_recorder.h"
#include "numbers.h"
#include "process_census.h"
#include "progress_window.h"
#include "rxtx.h"
#include "simulator_process.h"
#include "timed_application.h"
#include "timer_census.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kDefaultSeconds = 3600;
constexpr std::int64_t kBytesPerSample = 48;
// Resident memory moves in whole pages and the store grows in chunks of 4096 samples (192 KiB); the
// allocator keeps and returns arenas of its own (the tick's copies, Qt's event and paint buffers). A
// few MiB cover that at any run length, while a leak of even one byte per packet (360 KB an hour)
// shows against the 48 of the store in the per-sample figure.
constexpr std::int64_t kMemorySlack = 4 * 1024 * 1024;
constexpr double kWorstTickGoalMs = 2.0;
constexpr auto kLastMinute = 60s;
constexpr auto kProgressEvery = 5min;
// The reader ends one read time-out after the stop.
constexpr auto kReaderEndLimit = 5s;
// The O2 sensor converter-sim wires by default and a target for it everywhere, so that the
// autocorrection finds work to do.
constexpr int kWideBandSensor = 1;
constexpr const char* kTargetAfr = "147";

struct Options {
    int seconds = kDefaultSeconds;
    std::string simulator = ZARNI_CONVERTER_SIM;
};

void printUsage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: zarni_soak_bench [--seconds N] [--simulator PATH]\n"
                 "Holds a live run of the configurator's main window on the simulated converter, with\n"
                 "autocorrection and the run's recording on, and checks memory, threads, open files,\n"
                 "timers and the live tick's work between the end of the warm-up and the end.\n"
                 "  --seconds N       length of the live run, default %d\n"
                 "  --simulator PATH  the converter-sim program, default %s\n",
                 kDefaultSeconds, ZARNI_CONVERTER_SIM);
}

// No value when the program should not run: a usage error (already reported) or --help (helpAsked).
std::optional<Options> parseOptions(int argc, char** argv, bool& helpAsked) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            helpAsked = true;
            return std::nullopt;
        }
        if (arg == "--seconds" && i + 1 < argc) {
            const std::optional<int> seconds = strictInteger(argv[++i]);
            if (!seconds || *seconds < 1) {
                std::fprintf(stderr, "zarni_soak_bench: --seconds takes a whole number from 1 on\n");
                return std::nullopt;
            }
            options.seconds = *seconds;
        } else if (arg == "--simulator" && i + 1 < argc) {
            options.simulator = argv[++i];
        } else {
            std::fprintf(stderr, "zarni_soak_bench: unknown or incomplete option '%s'\n", argv[i]);
            return std::nullopt;
        }
    }
    return options;
}

// A tenth of the run, within 5 s and 60 s: past the connection, the run's first chunk and the
// autocorrection's first 121 samples, short against the run.
Clock::duration warmUp(int seconds) {
    return std::clamp<Clock::duration>(std::chrono::seconds(seconds) / 10, 5s, 60s);
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double mebibytes(std::int64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

template <class T> T& control(QObject& root, const char* name) {
    T* found = root.findChild<T*>(name);
    if (!found)
        throw std::runtime_error(std::string("the window has no control named ") + name);
    return *found;
}

// The main thread's event loop, as the program's own, until the deadline.
void runEventLoopUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left <= 0ms)
        return;
    QEventLoop loop;
    QTimer::singleShot(left, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// As a user connects: the converter's terminal is put in the port list and chosen.
void connect(TForm1& form, const std::string& port) {
    auto& ports = control<QComboBox>(form, "ComComboBox1");
    ports.addItem(QString::fromStdString(port));
    const int index = ports.count() - 1;
    ports.setCurrentIndex(index);
    emit ports.activated(index);
    if (!form.Link()->Connected())
        throw std::runtime_error("the window did not connect to the simulated converter on " + port);
}

// The dashboard page shown, a target grid for the converter's sensor, autocorrection on.
void setUpAutocorrection(TForm1& form) {
    control<QTabWidget>(form, "MainPageControl")
        .setCurrentWidget(&control<QWidget>(form, "DashboardTabSheet"));
    control<QComboBox>(form, "ComboBoxO2").setCurrentIndex(kWideBandSensor);
    control<QLineEdit>(form, "MaskEditO2REF").setText(kTargetAfr);
    control<QPushButton>(form, "ButtonFillLoadTableWithO2RefValue").click();
    auto& autocorrection = control<QCheckBox>(form, "CheckBoxAutocorr");
    if (!autocorrection.isChecked())
        autocorrection.click();
}

bool running(TForm1& form) {
    return control<QAction>(form, "ActionStop").isEnabled() &&
           !control<QAction>(form, "ActionStart").isEnabled();
}

// The machine's load averages over 1, 5 and 15 minutes: the soak shares its cores.
std::string machineLoad() {
    std::ifstream loadavg("/proc/loadavg");
    std::string one, five, fifteen;
    loadavg >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

struct Census {
    ProcessCensus process;
    TimerCensus timers;
    std::size_t samples = 0;
    Clock::time_point at;
    std::chrono::nanoseconds mainThreadCpu{}; // so far
};

Census takeCensus(TForm1& form) {
    return {TakeProcessCensus(), TakeTimerCensus(form), form.LiveData()->Store().Size(), Clock::now(),
            TimedApplication::ThreadCpuTime()};
}

struct Figures {
    Census beforeStart;
    Census warm;
    Census end;
    Clock::duration elapsed{}; // from Start to the end census
    TimedApplication::Worst worstLastMinute;
    TimedApplication::Worst worstWhole;
    std::size_t ticks = 0;
    std::size_t wallOverGoal = 0; // ticks of 2 ms or longer by the wall clock
    std::size_t cpuOverGoal = 0;  // of 2 ms or more of the main thread's processor time
    std::string loadAtStart;
    std::string loadAtEnd;
    bool wentToTheEnd = false;
    bool readerEnded = false;
    QStringList messages;
};

Figures soak(TimedApplication& app, const Options& options) {
    SimulatorProcess simulator(options.simulator);
    MessageBoxRecorder boxes;
    // As the program's entry creates them.
    TForm1 form;
    form.show();
    TForm2 progress(&form);
    progress.FormCreate(form.WorkingTable());
    form.AdoptProgressWindow(&progress);

    connect(form, simulator.SlavePath());
    setUpAutocorrection(form);
    app.TimeEventsOf(&control<QTimer>(form, "LiveTickTimer"));
    // Ten ticks a second, and some to spare for a timer that runs late and catches up.
    app.ReserveTicks(static_cast<std::size_t>(options.seconds) * 11 + 100);

    Figures figures;
    figures.loadAtStart = machineLoad();
    figures.beforeStart = takeCensus(form);
    control<QAction>(form, "ActionStart").trigger();
    const Clock::time_point start = Clock::now();
    if (!running(form))
        throw std::runtime_error("the live run did not start");

    const Clock::time_point warmEnd = start + warmUp(options.seconds);
    const Clock::time_point end = start + std::chrono::seconds(options.seconds);
    auto progressAt = warmEnd;
    bool warmTaken = false;
    while (Clock::now() < end && running(form)) {
        const Clock::time_point next = std::min({end, warmTaken ? progressAt : warmEnd, Clock::now() + 1s});
        runEventLoopUntil(next);
        if (!warmTaken && Clock::now() >= warmEnd) {
            figures.warm = takeCensus(form);
            warmTaken = true;
        }
        if (warmTaken && Clock::now() >= progressAt && Clock::now() < end) {
            const Census now = takeCensus(form);
            const TimedApplication::Worst worst = app.WorstSince(Clock::now() - kLastMinute);
            std::printf("[%5.0f s] samples %zu, resident %.2f MiB, threads %d, files %d; worst tick of "
                        "the last minute %.3f ms (%.3f ms processor); load %s\n",
                        std::chrono::duration<double>(Clock::now() - start).count(), now.samples,
                        mebibytes(now.process.residentBytes), now.process.threads, now.process.openFiles,
                        milliseconds(worst.wall), milliseconds(worst.cpu), machineLoad().c_str());
            std::fflush(stdout);
            progressAt += kProgressEvery;
        }
    }
    figures.wentToTheEnd = running(form) && warmTaken;
    figures.end = takeCensus(form);
    figures.loadAtEnd = machineLoad();
    figures.elapsed = Clock::now() - start;
    figures.worstLastMinute = app.WorstSince(Clock::now() - kLastMinute);
    figures.worstWhole = app.WorstSince(start);
    for (const TimedApplication::Tick& tick : app.Ticks()) {
        figures.wallOverGoal += milliseconds(tick.wall) >= kWorstTickGoalMs ? 1 : 0;
        figures.cpuOverGoal += milliseconds(tick.cpu) >= kWorstTickGoalMs ? 1 : 0;
    }
    figures.ticks = app.Ticks().size();

    control<QAction>(form, "ActionStop").trigger();
    const Clock::time_point stopLimit = Clock::now() + kReaderEndLimit;
    while (form.LiveData()->ReaderRunning() && Clock::now() < stopLimit)
        runEventLoopUntil(Clock::now() + 100ms);
    figures.readerEnded = !form.LiveData()->ReaderRunning();
    for (const MessageBoxRecorder::Box& box : boxes.Boxes())
        figures.messages << box.text;
    return figures;
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

// Prints the table; true when every goal is met.
bool report(const Options& options, const Figures& f) {
    const std::int64_t growth = f.end.process.residentBytes - f.warm.process.residentBytes;
    const std::size_t samples = f.end.samples - f.warm.samples;
    const std::int64_t allowed = kBytesPerSample * static_cast<std::int64_t>(samples) + kMemorySlack;
    const double perSample = samples > 0 ? static_cast<double>(growth) / static_cast<double>(samples) : 0;
    const double seconds = std::chrono::duration<double>(f.elapsed).count();
    // The sign of life arrives too but is not stored.
    const std::size_t packets = f.end.samples + (f.end.samples > 0 ? 1 : 0);

    const bool memoryMet = samples > 0 && growth <= allowed;
    const bool threadsMet = f.end.process.threads <= f.warm.process.threads;
    const bool filesMet = f.end.process.openFiles <= f.warm.process.openFiles;
    const bool timersMet = f.end.timers.timerObjects <= f.warm.timers.timerObjects &&
                           f.end.timers.dispatcherTimers <= f.warm.timers.dispatcherTimers;
    const bool tickMet = f.ticks > 0 && milliseconds(f.worstLastMinute.cpu) < kWorstTickGoalMs;
    const bool runMet = f.wentToTheEnd && f.readerEnded && f.messages.isEmpty();

    std::printf("\nSoak: %d s asked, %.1f s of live run, warm-up %.0f s\n\n", options.seconds, seconds,
                std::chrono::duration<double>(warmUp(options.seconds)).count());
    std::printf("%-44s %12s %12s %12s   %-12s %s\n", "", "before Start", "after warm-up", "end", "goal", "");
    std::printf("%-44s %12zu %12zu %12zu\n", "samples in the log store", f.beforeStart.samples,
                f.warm.samples, f.end.samples);
    std::printf("%-44s %12.2f %12.2f %12.2f\n", "resident memory (VmRSS), MiB",
                mebibytes(f.beforeStart.process.residentBytes), mebibytes(f.warm.process.residentBytes),
                mebibytes(f.end.process.residentBytes));
    std::printf("%-44s %12d %12d %12d   %-12s %s\n", "threads", f.beforeStart.process.threads,
                f.warm.process.threads, f.end.process.threads, "no growth", verdict(threadsMet));
    std::printf("%-44s %12d %12d %12d   %-12s %s\n", "open file handles", f.beforeStart.process.openFiles,
                f.warm.process.openFiles, f.end.process.openFiles, "no growth", verdict(filesMet));
    std::printf("%-44s %12d %12d %12d   %-12s %s\n", "QTimer objects in the window",
                f.beforeStart.timers.timerObjects, f.warm.timers.timerObjects, f.end.timers.timerObjects,
                "no growth", verdict(timersMet));
    std::printf("%-44s %12d %12d %12d\n", "  of them running", f.beforeStart.timers.activeTimerObjects,
                f.warm.timers.activeTimerObjects, f.end.timers.activeTimerObjects);
    std::printf("%-44s %12d %12d %12d\n", "timers the dispatcher runs for the windows",
                f.beforeStart.timers.dispatcherTimers, f.warm.timers.dispatcherTimers,
                f.end.timers.dispatcherTimers);
    std::printf("\n%-44s %12zu\n", "samples from the warm-up to the end", samples);
    std::printf("%-44s %12.3f MiB\n", "resident memory growth meanwhile", mebibytes(growth));
    std::printf("%-44s %12.3f MiB   %-12s %s\n", "  allowed: 48 B a sample + slack", mebibytes(allowed),
                "<= allowed", verdict(memoryMet));
    std::printf("%-44s %12.1f B    (the store: %lld B, slack %.0f MiB)\n", "growth per sample", perSample,
                static_cast<long long>(kBytesPerSample), mebibytes(kMemorySlack));
    std::printf("%-44s %12zu\n", "packets arrived (stored + sign of life)", packets);
    std::printf("%-44s %12.2f\n", "packets per second", seconds > 0 ? packets / seconds : 0.0);
    const double mainWall = std::chrono::duration<double>(f.end.at - f.warm.at).count();
    const double mainCpu = std::chrono::duration<double>(f.end.mainThreadCpu - f.warm.mainThreadCpu).count();
    std::printf("%-44s %12.2f %%  (everything: ticks, drawing, hand-offs)\n",
                "main thread's processor use after the warm-up",
                mainWall > 0 ? 100.0 * mainCpu / mainWall : 0.0);
    std::printf("%-44s %12zu   (%.1f a second)\n", "live ticks timed", f.ticks,
                seconds > 0 ? static_cast<double>(f.ticks) / seconds : 0.0);
    std::printf("\n%-44s %12s %12s   %-12s %s\n", "live tick", "wall *", "processor", "goal", "");
    std::printf("%-44s %12zu %12zu\n", "  ticks of 2 ms or longer", f.wallOverGoal, f.cpuOverGoal);
    std::printf("%-44s %9.3f ms %9.3f ms\n", "  worst, whole run", milliseconds(f.worstWhole.wall),
                milliseconds(f.worstWhole.cpu));
    std::printf("%-44s %9.3f ms %9.3f ms   %-12s %s\n", "  worst, last minute",
                milliseconds(f.worstLastMinute.wall), milliseconds(f.worstLastMinute.cpu), "< 2 ms",
                verdict(tickMet));
    std::printf("%-44s %12s   %-12s %s\n", "the run went on to the end, no message", runMet ? "yes" : "no",
                "yes", verdict(runMet));
    if (!f.wentToTheEnd)
        std::printf("The live run ended before its time.\n");
    if (!f.readerEnded)
        std::printf("The reader did not end after the stop.\n");
    for (const QString& text : f.messages)
        std::printf("Message shown: %s\n", text.toUtf8().constData());
    std::printf("\nMachine load (1, 5, 15 min): %s at Start, %s at the end.\n"
                "* Wall time includes the tick's waits for the commands it sends to leave on the serial\n"
                "  line and for a core of the shared machine; the goal is on the main thread's own work.\n",
                f.loadAtStart.c_str(), f.loadAtEnd.c_str());
    return memoryMet && threadsMet && filesMet && timersMet && tickMet && runMet;
}

} // namespace

int main(int argc, char** argv) {
    bool helpAsked = false;
    const std::optional<Options> options = parseOptions(argc, argv, helpAsked);
    if (!options) {
        printUsage(helpAsked ? stdout : stderr);
        return helpAsked ? 0 : 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its settings and records its runs in per-user folders: temporary ones of this run.
    const QTemporaryDir userFolders;
    if (!userFolders.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", userFolders.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", userFolders.filePath("data").toLocal8Bit());
    TimedApplication app(argc, argv);
    QApplication::setOrganizationName("Zarni");
    QApplication::setApplicationName("ZarniConfigurator");
    try {
        const Figures figures = soak(app, *options);
        return report(*options, figures) ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zarni_soak_bench: %s\n", failure.what());
        return 2;
    }
}

// converter-sim: serves the simulated converter on a pseudo-terminal until interrupted.

#include "simulator_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: converter-sim [--update-mode | --update-frames N] [--o2 TYPE] [--fault NAME]...\n"
                 "Serves a simulated converter on a pseudo-terminal, prints the terminal's path and\n"
                 "serves until interrupted (Ctrl+C).\n"
                 "  --update-mode  act as a converter in firmware-update mode (takes firmware frames)\n"
                 "  --update-frames N\n"
                 "                 the same, then leave update mode after N frames (a whole image)\n"
                 "  --o2 TYPE      the O2 sensor wired: 0 \"0-1V Signal\", 1 \"Innovate MTX-L\" (default),\n"
                 "                 2 \"0-5V Signal\", 3 \"AEM 30-41,42XX\"\n"
                 "  --fault NAME   switch on a fault: %.*s\n",
                 static_cast<int>(kFaultSwitchWords.size()), kFaultSwitchWords.data());
}

} // namespace

int main(int argc, char** argv) {
    FaultSwitches faults;
    bool updateMode = false;
    int framesInImage = 0;
    int o2SensorType = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (arg == "--update-mode") {
            updateMode = true;
        } else if (arg == "--update-frames" && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            updateMode = true;
            framesInImage = std::atoi(argv[++i]);
        } else if (arg == "--o2" && i + 1 < argc && std::string_view(argv[i + 1]).size() == 1 &&
                   argv[i + 1][0] >= '0' && argv[i + 1][0] <= '3') {
            o2SensorType = argv[++i][0] - '0';
        } else if (arg == "--fault" && i + 1 < argc && SetFaultSwitch(faults, argv[i + 1])) {
            ++i;
        } else {
            std::fprintf(stderr, "converter-sim: unknown or incomplete option '%s'\n", argv[i]);
            PrintUsage(stderr);
            return 2;
        }
    }

    // Block the stop signals before the serving thread starts, so only sigtimedwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ConverterModel model(faults);
    model.SetUpdateMode(updateMode, framesInImage);
    model.SetO2SensorType(o2SensorType);
    SimulatorServer server(std::move(model));
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    const timespec poll{0, 100'000'000};
    while (!server.HungUp()) {
        if (sigtimedwait(&stopSignals, nullptr, &poll) >= 0)
            return 0;
    }
    std::fprintf(stderr, "converter-sim: line hung up (fault switch)\n");
    return 1;
}

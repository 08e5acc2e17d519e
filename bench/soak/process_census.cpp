#include "process_census.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

int entries(const char* folder) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        throw std::runtime_error(std::string("cannot read ") + folder + ": " + error.message());
    return static_cast<int>(std::distance(it, std::filesystem::directory_iterator()));
}

std::int64_t residentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        // "VmRSS:     123456 kB"
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    }
    throw std::runtime_error("no VmRSS in /proc/self/status");
}

} // namespace

ProcessCensus TakeProcessCensus() {
    ProcessCensus census;
    census.residentBytes = residentBytes();
    census.threads = entries("/proc/self/task");
    // The listing holds the folder open while it reads it.
    census.openFiles = entries("/proc/self/fd") - 1;
    return census;
}

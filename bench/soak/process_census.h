#pragma once
// What the process holds as the kernel counts it: resident memory, threads and open file handles,
// read from /proc/self.

#include <cstdint>

struct ProcessCensus {
    std::int64_t residentBytes = 0; // VmRSS
    int threads = 0;                // entries of /proc/self/task
    int openFiles = 0; // entries of /proc/self/fd, the one the count reads it through not included
};

// Throws std::runtime_error when /proc cannot be read.
ProcessCensus TakeProcessCensus();

#pragma once
// The samples a freshly started converter streams, replayed from the simulator's model in simulated
// time. The model steps its engine once per packet, so the n-th packet of a run is always the same:
// what the benchmark stored can be checked packet by packet, and a lost or shifted packet shows.

#include "log_sample.h"

#include <cstddef>
#include <vector>

// The first count packets after the start command as samples (no marker, no correction); the first
// of them is the sign of life, which the reader drops.
std::vector<LogSample> ConverterSequence(std::size_t count);

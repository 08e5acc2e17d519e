#pragma once

#include <string>
#include <vector>

// Names of the serial ports present, sorted as text without regard to case (COM10 before COM2).
std::vector<std::string> ListPorts();

// The serial ports of the system in its own order, each platform's (list_ports_posix.cpp,
// list_ports_win32.cpp).
std::vector<std::string> SystemPortNames();

// The ordering ListPorts uses: character by character, letters compared case-blind.
void SortPortNames(std::vector<std::string>& names);

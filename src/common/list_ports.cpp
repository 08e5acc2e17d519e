#include "list_ports.h"

#include <algorithm>
#include <cctype>

void SortPortNames(std::vector<std::string>& names) {
    auto lower = [](unsigned char c) { return static_cast<char>(std::tolower(c)); };
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return lower(x) < lower(y); });
    });
}

std::vector<std::string> ListPorts() {
    std::vector<std::string> names = SystemPortNames();
    SortPortNames(names);
    return names;
}

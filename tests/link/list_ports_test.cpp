#include "list_ports.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ListPorts, SortsAsTextWithoutRegardToCase) {
    std::vector<std::string> names{"COM2", "ttyUSB0", "com10", "COM1", "ttyS0", "ttyACM1"};
    SortPortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "com10", "COM2", "ttyACM1", "ttyS0", "ttyUSB0"}));
}

TEST(ListPorts, EveryPortListedIsADeviceToOpenSortedAsText) {
    const std::vector<std::string> names = ListPorts();
    std::vector<std::string> sorted = names;
    SortPortNames(sorted);
    EXPECT_EQ(names, sorted);
    for (const std::string& name : names) {
#ifdef _WIN32
        EXPECT_TRUE(name.starts_with("COM")) << name;
#else
        EXPECT_TRUE(std::filesystem::exists("/dev/" + name)) << name;
#endif
    }
}

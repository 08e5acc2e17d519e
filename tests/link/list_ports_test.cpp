#include "list_ports.h"

#include <gtest/gtest.h>

TEST(ListPorts, SortsAsTextWithoutRegardToCase) {
    std::vector<std::string> names{"COM2", "ttyUSB0", "com10", "COM1", "ttyS0", "ttyACM1"};
    SortPortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "com10", "COM2", "ttyACM1", "ttyS0", "ttyUSB0"}));
}

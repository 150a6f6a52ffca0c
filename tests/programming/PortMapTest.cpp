#include "programming/PortMap.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(PortMapTest, NamesOutsideComOneToEightAreNotPortIndexes)
{
    const std::pair<const char*, int> cases[] = {
        {"COM1", 0},  {"COM8", 7},   {"COM9", -1},         {"COM0", -1},
        {"com1", -1}, {"COM 1", -1}, {"/dev/ttyUSB0", -1}, {"", -1},
    };
    for (const auto& [name, index] : cases)
        EXPECT_EQ(PortIndexFromName(name), index) << name;
}

TEST(PortMapTest, UsbAdaptersComeFirstThenNumericOrder)
{
    const std::vector<std::string> listed = {"/dev/ttyS10", "/dev/ttyS2",   "/dev/ttyACM0",
                                             "/dev/ttyS0",  "/dev/ttyUSB1", "/dev/ttyUSB0"};
    const std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1",
                                               "/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS10"};
    EXPECT_EQ(OrderSystemPorts(listed), expected);
}

#ifndef _WIN32
TEST(PortMapTest, IniEntryWinsOverTheSystemList)
{
    const std::vector<std::string> listed = {"/dev/ttyS0", "/dev/ttyUSB0"};
    const std::map<std::string, std::string> overrides = {{"COM2", "/tmp/unit"}, {"COM3", ""}};
    struct Case {
        const char* name;
        const char* device;
    };
    const Case cases[] = {
        {"COM1", "/dev/ttyUSB0"},     // first in the ordered list
        {"COM2", "/tmp/unit"},        // from the ini
        {"COM3", "/dev/ttyS2"},       // empty entry ignored; past the list
        {"/dev/pts/4", "/dev/pts/4"}, // a device path stays itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceForPort(c.name, overrides, listed), c.device) << c.name;
}
#endif

TEST(PortMapTest, LabelShowsTheDeviceBesideTheName)
{
    EXPECT_EQ(PortLabel("COM1", "/dev/ttyUSB0"), "COM1 (/dev/ttyUSB0)");
    EXPECT_EQ(PortLabel("COM1", "COM1"), "COM1");
}

} // namespace
} // namespace veskar

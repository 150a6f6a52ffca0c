#include "programming/Frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace veskar {
namespace {

TEST(Frame, KnownFramesAndTheirCrc)
{
    struct Case {
        Byte source;
        Byte command;
        std::uint16_t packet;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {kSourcePc, kCmdLinkFirstPass, 0, {0x16, 0x00, 0x89, 0x00, 0x00, 0x29, 0xBC}},
        {kSourcePc, kCmdEndOfTransfer, 0, {0x16, 0x00, 0x83, 0x00, 0x00, 0x2B, 0x9C}},
        {kSourceUnit, kCmdAcknowledge, 0, {0x16, 0x01, 0x90, 0x00, 0x00, 0x12, 0x6C}},
        {kSourcePc, kCmdData, 3, {0x16, 0x00, 0x20, 0x00, 0x03, 0x08, 0x2C}},
        {kSourcePc, kCmdReadConfig, 7, {0x16, 0x00, 0x40, 0x00, 0x00, 0x17, 0x6C}}, // number only on 0x20
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildFrame(c.source, c.command, c.packet), c.bytes) << int(c.command);
        EXPECT_TRUE(HasValidCrc(c.bytes));
        for (std::size_t i = 0; i < c.bytes.size(); ++i) {
            std::vector<Byte> spoiled = c.bytes;
            spoiled[i] ^= 0x01;
            EXPECT_FALSE(HasValidCrc(spoiled)) << int(c.command) << " byte " << i;
        }
    }
}

} // namespace
} // namespace veskar

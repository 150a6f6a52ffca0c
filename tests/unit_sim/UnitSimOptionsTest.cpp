#include "programming/unit/UnitSimOptions.h"

#include "programming/Frame.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

UnitSimParse Parse(std::vector<std::string_view> arguments, UnitSimOptions& options, std::string& error)
{
    return ParseUnitSimArguments(arguments, options, error);
}

TEST(UnitSimOptionsTest, ReadsEveryOptionAndFault)
{
    UnitSimOptions options;
    std::string error;
    ASSERT_EQ(Parse({"--pty",      "/tmp/ttyV", "--store=/tmp/store",
                     "--realtime", "--trace",   "t.log",
                     "--fault",    "silent",    "--fault=ignore=2",
                     "--fault",    "bad-crc=3", "--fault",
                     "noise",      "--fault",   "echo",
                     "--fault",    "cut=100",   "--fault",
                     "end-at=0",   "--fault",   "wrong-command=4"},
                    options, error),
              UnitSimParse::Run)
        << error;
    EXPECT_EQ(options.ptyPath, "/tmp/ttyV");
    EXPECT_EQ(options.storeFolder, "/tmp/store");
    EXPECT_EQ(options.traceFile, "t.log");
    EXPECT_TRUE(options.realtime);
    const UnitFaults& f = options.faults;
    EXPECT_TRUE(f.silent);
    EXPECT_EQ(f.ignoreFirst, 2);
    EXPECT_EQ(f.corruptReply, 3);
    EXPECT_TRUE(f.noise);
    EXPECT_TRUE(f.echo);
    EXPECT_EQ(f.cutAfterBytes, 100);
    EXPECT_EQ(f.endOfDataAtPacket, 0);
    EXPECT_TRUE(f.wrongCommand);
    EXPECT_EQ(f.wrongCommandReply, 4);
}

TEST(UnitSimOptionsTest, DefaultsLeaveEveryFaultOff)
{
    UnitSimOptions options;
    std::string error;
    ASSERT_EQ(Parse({"--pty", "p", "--fault", "wrong-command"}, options, error), UnitSimParse::Run);
    EXPECT_FALSE(options.realtime);
    EXPECT_TRUE(options.storeFolder.empty());
    EXPECT_EQ(options.faults.endOfDataAtPacket, -1);
    EXPECT_TRUE(options.faults.wrongCommand);
    EXPECT_EQ(options.faults.wrongCommandReply, 0);
    EXPECT_EQ(Parse({"--pty", "p", "--help"}, options, error), UnitSimParse::Help);
}

TEST(UnitSimOptionsTest, RefusesBadUsageWithAMessage)
{
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{}, "--pty PATH is required"},
        {{"--pty"}, "--pty needs a value"},
        {{"--pty", ""}, "--pty needs a value"},
        {{"--pty", "p", "--store"}, "--store needs a value"},
        {{"--pty", "p", "--bogus"}, "unknown option '--bogus' (see --help)"},
        {{"--pty", "p", "--realtime=1"}, "unknown option '--realtime=1' (see --help)"},
        {{"--pty", "p", "--fault", "loud"}, "unknown fault 'loud' (see --help)"},
        {{"--pty", "p", "--fault", "ignore"}, "fault 'ignore' needs a number: ignore=N"},
        {{"--pty", "p", "--fault", "silent=2"}, "fault 'silent' takes no number"},
        {{"--pty", "p", "--fault", "cut=0"},
         "fault 'cut': '0' is not a number from 1 to 9223372036854775807"},
        {{"--pty", "p", "--fault", "bad-crc=x"}, "fault 'bad-crc': 'x' is not a number from 1 to 2147483647"},
        {{"--pty", "p", "--fault", "end-at=65536"},
         "fault 'end-at': '65536' is not a number from 0 to 65535"},
        {{"--pty", "p", "--fault", "ignore=-1"}, "fault 'ignore': '-1' is not a number from 1 to 2147483647"},
        {{"--pty", "p", "--fault", "ignore=2x"}, "fault 'ignore': '2x' is not a number from 1 to 2147483647"},
    };
    for (const auto& [arguments, message] : cases) {
        UnitSimOptions options;
        options.ptyPath = "untouched";
        std::string error;
        EXPECT_EQ(Parse(arguments, options, error), UnitSimParse::Bad) << message;
        EXPECT_EQ(error, message);
        EXPECT_EQ(options.ptyPath, "untouched");
    }
}

TEST(UnitSimOptionsTest, TraceLinesShowShortFramesWholeAndDataFramesShortened)
{
    EXPECT_EQ(TraceLine(0, FrameDirection::FromPc, BuildFrame(kSourcePc, kCmdLinkFirstPass, 0)),
              "0 PC 16 00 89 00 00 29 BC");
    EXPECT_EQ(TraceLine(52, FrameDirection::FromUnit, BuildFrame(kSourceUnit, kCmdAcknowledge, 0)),
              "52 UNIT 16 01 90 00 00 12 6C");
    std::vector<Byte> data(kBlockSize, 0xAB);
    const std::vector<Byte> frame = BuildFrame(kSourceUnit, kCmdData, 0x0102, data);
    char tail[16];
    std::snprintf(tail, sizeof tail, " %02X %02X", frame[frame.size() - 2], frame[frame.size() - 1]);
    EXPECT_EQ(TraceLine(123456, FrameDirection::FromUnit, frame),
              std::string("123456 UNIT 16 01 20 01 02 AB AB ...") + tail);
}

} // namespace
} // namespace veskar

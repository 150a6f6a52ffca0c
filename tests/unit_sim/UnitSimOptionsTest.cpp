#include "programming/unit/UnitSimOptions.h"

#include "programming/Frame.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

TEST(UnitSimOptionsTest, ReadsEveryOptionAndFault)
{
    const std::vector<std::string_view> arguments = {"--pty",      "/tmp/ttyV", "--store=/tmp/store",
                                                     "--realtime", "--trace",   "t.log",
                                                     "--fault",    "silent",    "--fault=ignore=2",
                                                     "--fault",    "bad-crc=3", "--fault",
                                                     "noise",      "--fault",   "echo",
                                                     "--fault",    "cut=100",   "--fault",
                                                     "end-at=0",   "--fault",   "wrong-command=4",
                                                     "--fault",    "slow=6000"};
    UnitSimOptions options;
    std::string error;
    ASSERT_EQ(ParseUnitSimArguments(arguments, options, error), UnitSimParse::Run) << error;
    EXPECT_EQ(options.ptyPath, "/tmp/ttyV");
    EXPECT_EQ(options.storeFolder, "/tmp/store");
    EXPECT_EQ(options.traceFile, "t.log");
    EXPECT_TRUE(options.realtime);
    const UnitFaults expected{.silent = true,
                              .ignoreFirst = 2,
                              .corruptReply = 3,
                              .noise = true,
                              .echo = true,
                              .cutAfterBytes = 100,
                              .endOfDataAtPacket = 0,
                              .wrongCommand = true,
                              .wrongCommandReply = 4,
                              .slowReplyMs = 6000};
    EXPECT_EQ(options.faults, expected);

    const std::vector<std::string_view> plain = {"--pty", "p", "--fault", "wrong-command"};
    ASSERT_EQ(ParseUnitSimArguments(plain, options, error), UnitSimParse::Run);
    EXPECT_EQ(options.faults, UnitFaults{.wrongCommand = true});
    EXPECT_FALSE(options.realtime);
    const std::vector<std::string_view> help = {"--pty", "p", "--help"};
    EXPECT_EQ(ParseUnitSimArguments(help, options, error), UnitSimParse::Help);
    const std::vector<std::string_view> version = {"--version"};
    EXPECT_EQ(ParseUnitSimArguments(version, options, error), UnitSimParse::Version);
}

TEST(UnitSimOptionsTest, BadCrcAloneDamagesEveryReply)
{
    UnitFaults faults;
    std::string error;
    ASSERT_TRUE(ApplyFault("bad-crc", faults, error)) << error;
    EXPECT_EQ(faults, (UnitFaults{.corruptEvery = true}));
}

TEST(UnitSimOptionsTest, RefusesBadUsageWithAMessage)
{
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{}, "--pty PATH is required"},
        {{"--pty"}, "--pty needs a value"},
        {{"--pty", ""}, "--pty needs a value"},
        {{"--pty", "p", "--bogus"}, "unknown option '--bogus' (see --help)"},
        {{"--pty", "p", "--realtime=1"}, "unknown option '--realtime=1' (see --help)"},
        {{"--pty", "p", "--fault", "loud"}, "unknown fault 'loud' (see --help)"},
        {{"--pty", "p", "--fault", "ignore"}, "fault 'ignore' needs a number: ignore=N"},
        {{"--pty", "p", "--fault", "silent=2"}, "fault 'silent' takes no number"},
        {{"--pty", "p", "--fault", "cut=0"},
         "fault 'cut': '0' is not a number from 1 to 9223372036854775807"},
        {{"--pty", "p", "--fault", "end-at=65536"},
         "fault 'end-at': '65536' is not a number from 0 to 65535"},
        {{"--pty", "p", "--fault", "ignore=2x"}, "fault 'ignore': '2x' is not a number from 1 to 2147483647"},
    };
    for (const auto& [arguments, message] : cases) {
        UnitSimOptions options;
        options.ptyPath = "untouched";
        std::string error;
        EXPECT_EQ(ParseUnitSimArguments(arguments, options, error), UnitSimParse::Bad) << message;
        EXPECT_EQ(error, message);
        EXPECT_EQ(options.ptyPath, "untouched");
    }
}

} // namespace
} // namespace veskar

#include "directories/DirectoryCodec.h"
#include "directories/CommandTable.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_literals;

namespace veskar {
namespace {

DirectoryBlock BlockOf(std::string_view bytes, Byte filler = 0)
{
    DirectoryBlock block;
    block.fill(filler);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

LineTable TableOf(std::initializer_list<std::initializer_list<Command>> lines)
{
    LineTable table;
    auto line = table.lines.begin();
    for (const auto& commands : lines)
        std::copy(commands.begin(), commands.end(), (line++)->commands.begin());
    return table;
}

// What a table stores, up to and including the closing 0.
std::string Stored(const LineTable& table)
{
    DirectoryBlock block = BlockOf("", 0xEE);
    EXPECT_TRUE(WriteDirectory(table, block));
    return {block.begin(), block.begin() + static_cast<std::ptrdiff_t>(DirectoryContentLength(block))};
}

TEST(DirectoryCodec, ValueClassesStoredAndReadBack)
{
    const struct {
        Byte opcode;
        std::string value, stored, readBack;
    } cases[] = {
        {kOpDial, "0123*#", "P:123;<&\0"s, "0123*#"},
        {kOpDtmf, "abcd", "Q=>?0&\0"s, "ABCD"},
        {kOpDial, "1!2", "P1!2&\0"s, "1!2"},
        {kOpPatch, "D9", "Z09&\0"s, "D9"},
        {kOpTap, "1234", "H\xB1\xB2\xB3\xB4&\0"s, "1234"},
        {kOpWait, "010", "W010&\0"s, "010"},
        {kOpTwoTone, "123.4/567.8", "T123.4/567.8&\0"s, "123.4/567.8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Stored(TableOf({{Command{c.opcode, c.value}}})), c.stored) << c.value;
        EXPECT_EQ(ReadDirectory(BlockOf(c.stored)).lines[0].commands[0].value, c.readBack) << c.value;
    }
    EXPECT_EQ(Stored(LineTable{}), "&\0"s);
    EXPECT_EQ(ReadDirectory(BlockOf("&\0"s)), LineTable{});
    EXPECT_EQ(ReadDirectory(BlockOf("\0P1"s)), LineTable{});
}

TEST(DirectoryCodec, FiveToneSuffixReadsBackAsACommandOfItsOwn)
{
    EXPECT_EQ(Stored(TableOf({{Command{kOpFiveTone, ".54321U"}}})), "F.54321U&\0"s);
    const LineTable read = ReadDirectory(BlockOf("F.54321U&\0"s));
    EXPECT_EQ(read, TableOf({{Command{kOpFiveTone, ".54321"}, Command{kOpFiveToneSuffix, ""}}}));
    EXPECT_EQ(Stored(read), "F.54321U&\0"s) << "writes back the same bytes";
}

TEST(DirectoryCodec, ByteCountAndUsage)
{
    const LineTable table = TableOf({{Command{kOpDial, "0000"}, Command{kOpWait, "000"}}});
    EXPECT_EQ(Stored(table), "P::::W000&\0"s);
    EXPECT_EQ(DirectoryByteCount(table), 10);
    EXPECT_EQ(UsageFigure(table), 4);
    EXPECT_EQ(UsageFigure(LineTable{}), 0);
    LineTable full;
    for (Line& line : full.lines)
        line.commands[0] = Command{kOpRadio, ""};
    EXPECT_EQ(DirectoryByteCount(full), 40);
    EXPECT_EQ(UsageFigure(full), 40 * 100 / 256) << "the closing 0 is not counted";
}

TEST(DirectoryCodec, ShorterDirectoryLeavesOldBytesBehindItsEnd)
{
    DirectoryBlock block = BlockOf("P123&R&\0"s);
    ASSERT_TRUE(WriteDirectory(TableOf({{Command{kOpRadio, ""}}}), block));
    EXPECT_EQ(std::string(block.begin(), block.begin() + 8), "R&\0"
                                                             "3&R&\0"s);
}

// 255 bytes of lines and the closing 0 fill the block; one byte more is refused
// and leaves the block as it was.
TEST(DirectoryCodec, TablesUpToTheBlockSizeFit)
{
    LineTable table;
    for (std::size_t c = 0; c < 6; ++c)
        table.lines[0].commands[c] = Command{kOpDial, std::string(c < 5 ? 39 : 19, '1')};
    table.lines[1].commands[0] = Command{kOpDial, std::string(32, '2')};
    ASSERT_EQ(DirectoryByteCount(table), 255);
    DirectoryBlock block = BlockOf("", 0x55);
    ASSERT_TRUE(WriteDirectory(table, block));
    EXPECT_EQ(block[255], 0);
    EXPECT_EQ(Stored(ReadDirectory(block)), std::string(block.begin(), block.end()));

    table.lines[1].commands[0].value += '2';
    const DirectoryBlock before = block;
    EXPECT_FALSE(WriteDirectory(table, block));
    EXPECT_EQ(block, before);
}

TEST(DirectoryCodec, MalformedBlocksAreReadWithinTheTable)
{
    std::string manyLines;
    for (int i = 0; i < 25; ++i)
        manyLines += "R&";
    const struct {
        const char* what;
        DirectoryBlock block;
        int lines, commands; // lines in the table, commands in its first line
        Byte opcode;         // of the first command
        std::size_t valueLength;
    } cases[] = {
        {"25 lines", BlockOf(manyLines), 20, 1, kOpRadio, 0},
        {"14 commands", BlockOf(std::string(14, 'R') + "&"), 1, 12, kOpRadio, 0},
        {"no terminator", BlockOf("W" + std::string(255, '7')), 1, 1, kOpWait, kMaxValueLength},
        {"value before any command", BlockOf("12R&\0"s), 1, 1, kOpRadio, 0},
        {"& in the last byte", BlockOf("R", '&'), 1, 1, kOpRadio, 0},
    };
    for (const auto& c : cases) {
        const LineTable table = ReadDirectory(c.block);
        EXPECT_EQ(table.lineCount(), c.lines) << c.what;
        EXPECT_EQ(table.lines[0].commandCount(), c.commands) << c.what;
        EXPECT_EQ(table.lines[0].commands[0].opcode, c.opcode) << c.what;
        EXPECT_EQ(table.lines[0].commands[0].value.size(), c.valueLength) << c.what;
    }
}

// Any block reads without fault; what the encoder writes reads back to the same bytes.
TEST(DirectoryCodec, RandomBlocksDecodeSafelyAndEncoderOutputRoundTrips)
{
    std::mt19937 random(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string opcodes = "FGHKLMNPQRSTUVWXZ&";
    for (int round = 0; round < 2000; ++round) {
        DirectoryBlock block;
        for (Byte& b : block) {
            const auto r = static_cast<std::size_t>(byte(random));
            b = static_cast<Byte>(round % 2 ? r : r < 60 ? opcodes[r % opcodes.size()] : '0' + r % 16);
        }
        DirectoryBlock once = block;
        if (!WriteDirectory(ReadDirectory(block), once))
            continue;
        DirectoryBlock twice = once;
        ASSERT_TRUE(WriteDirectory(ReadDirectory(once), twice));
        ASSERT_EQ(once, twice) << "round " << round;
    }
}

TEST(CommandTable, EveryCommandLetterRoundTrips)
{
    for (const LineCommandInfo& command : kCommands) {
        EXPECT_EQ(ShrinkCommand(command.label), command.opcode);
        EXPECT_EQ(ExpandCommand(command.opcode), command.label);
        EXPECT_TRUE(IsOpcode(command.opcode));
        const LineTable table = TableOf({{Command{command.opcode, std::string(command.defaultValue)}}});
        DirectoryBlock block{};
        ASSERT_TRUE(WriteDirectory(table, block));
        EXPECT_EQ(ReadDirectory(block), table) << command.label;
    }
    EXPECT_EQ(ShrinkCommand("[DIAL]"), 0) << "labels match exactly";
    EXPECT_EQ(ShrinkCommand(" [dial]"), 0);
    EXPECT_EQ(ShrinkCommand(" "), 0x20);
    EXPECT_EQ(ExpandCommand(0x20), " ");
    EXPECT_FALSE(ExpandCommand(0).has_value());
    EXPECT_FALSE(ExpandCommand(kOpFiveToneSuffix).has_value());
    EXPECT_TRUE(IsOpcode(kOpFiveToneSuffix));
    for (Byte b : {Byte{0x20}, Byte{'&'}, Byte{'Y'}, Byte{'I'}, Byte{'O'}, Byte{0}})
        EXPECT_FALSE(IsOpcode(b)) << int(b);
}

TEST(DescriptionText, JoinsLabelsAndValuesAndTrimsPastTheLimit)
{
    Line line = TableOf({{Command{kOpDial, "0123"}, Command{kOpWait, "010"}}}).lines[0];
    EXPECT_EQ(DescriptionText(line), " [DIAL]0123 [WAIT]010");
    EXPECT_FALSE(TrimToDescriptionLimit(line));
    for (std::size_t c = 0; c < 4; ++c)
        line.commands[c] = Command{kOpDial, std::string(30, '5')}; // 37 characters each
    EXPECT_TRUE(TrimToDescriptionLimit(line));
    EXPECT_EQ(line.commandCount(), 3);
    EXPECT_EQ(DescriptionText(line).size(), 111U);
}

} // namespace
} // namespace veskar

#include "directories/CommandTable.h"
#include "directories/DirectoryCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace std::string_literals;

namespace veskar {
namespace {

DirectoryBlock BlockOf(std::initializer_list<Byte> bytes, Byte filler = 0)
{
    DirectoryBlock block;
    block.fill(filler);
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

LineTable TableOf(std::initializer_list<std::initializer_list<Command>> lines)
{
    LineTable table;
    std::size_t l = 0;
    for (const auto& line : lines) {
        std::size_t c = 0;
        for (const Command& command : line)
            table.lines[l].commands[c++] = command;
        ++l;
    }
    return table;
}

std::vector<Byte> Stored(const LineTable& table)
{
    DirectoryBlock block;
    block.fill(0xEE);
    EXPECT_TRUE(WriteDirectory(table, block));
    return {block.begin(), block.begin() + static_cast<std::ptrdiff_t>(DirectoryContentLength(block))};
}

std::vector<Byte> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST(DirectoryCodec, EmptyDirectory)
{
    EXPECT_EQ(Stored(LineTable{}), (std::vector<Byte>{'&', 0}));
    EXPECT_EQ(ReadDirectory(BlockOf({'&', 0})), LineTable{});
    EXPECT_EQ(ReadDirectory(BlockOf({0, 'P', '1'})), LineTable{});
}

TEST(DirectoryCodec, ValueClassesStoredAndReadBack)
{
    struct Case {
        Byte opcode;
        std::string value;
        std::vector<Byte> stored;
        std::string readBack;
    };
    const Case cases[] = {
        {kOpDial, "0123*#", Bytes("P:123;<&\0"s), "0123*#"},
        {kOpDtmf, "abcd", Bytes("Q=>?0&\0"s), "ABCD"},
        {kOpDial, "1!2", Bytes("P1!2&\0"s), "1!2"},
        {kOpPatch, "D9", Bytes("Z09&\0"s), "D9"},
        {kOpTap, "1234", {'H', 0xB1, 0xB2, 0xB3, 0xB4, '&', 0}, "1234"},
        {kOpWait, "010", Bytes("W010&\0"s), "010"},
        {kOpTwoTone, "123.4/567.8", Bytes("T123.4/567.8&\0"s), "123.4/567.8"},
    };
    for (const Case& c : cases) {
        const LineTable table = TableOf({{Command{c.opcode, c.value}}});
        EXPECT_EQ(Stored(table), c.stored) << c.value;
        DirectoryBlock block = BlockOf({});
        std::copy(c.stored.begin(), c.stored.end(), block.begin());
        EXPECT_EQ(ReadDirectory(block).lines[0].commands[0].value, c.readBack) << c.value;
    }
}

TEST(DirectoryCodec, FiveToneSuffixReadsBackAsACommandOfItsOwn)
{
    const LineTable written = TableOf({{Command{kOpFiveTone, ".54321U"}}});
    EXPECT_EQ(Stored(written), Bytes("F.54321U&\0"s));
    const LineTable read = ReadDirectory(BlockOf({'F', '.', '5', '4', '3', '2', '1', 'U', '&', 0}));
    EXPECT_EQ(read.lines[0].commands[0], (Command{kOpFiveTone, ".54321"}));
    EXPECT_EQ(read.lines[0].commands[1], (Command{kOpFiveToneSuffix, ""}));
    EXPECT_EQ(Stored(read), Bytes("F.54321U&\0"s)) << "writes back the same bytes";
}

TEST(DirectoryCodec, ByteCountAndUsage)
{
    const LineTable table = TableOf({{Command{kOpDial, "0000"}, Command{kOpWait, "000"}}});
    EXPECT_EQ(Stored(table), Bytes("P::::W000&\0"s));
    EXPECT_EQ(DirectoryByteCount(table), 10);
    EXPECT_EQ(UsageFigure(table), 4);
    EXPECT_EQ(UsageFigure(LineTable{}), 0);
}

TEST(DirectoryCodec, UsageOfAFullDirectoryDoesNotCountTheEnd)
{
    LineTable table;
    for (Line& line : table.lines)
        line.commands[0] = Command{kOpRadio, ""};
    EXPECT_EQ(DirectoryByteCount(table), 40);
    EXPECT_EQ(UsageFigure(table), 40 * 100 / 256);
}

TEST(DirectoryCodec, ShorterDirectoryLeavesOldBytesBehindItsEnd)
{
    DirectoryBlock block = BlockOf({'P', '1', '2', '3', '&', 'R', '&', 0});
    ASSERT_TRUE(WriteDirectory(TableOf({{Command{kOpRadio, ""}}}), block));
    EXPECT_EQ(std::vector<Byte>(block.begin(), block.begin() + 8), (std::vector<Byte>{'R', '&', 0, '3', '&', 'R', '&', 0}));
}

TEST(DirectoryCodec, WriteRefusesATableThatDoesNotFit)
{
    LineTable table;
    for (int l = 0; l < 7; ++l)
        table.lines[static_cast<std::size_t>(l)].commands[0] = Command{kOpDial, std::string(38, '1')};
    // 7 x (1 + 38 + 1) = 280 bytes: more than the block holds.
    DirectoryBlock block = BlockOf({'R', '&', 0}, 0x55);
    const DirectoryBlock before = block;
    EXPECT_FALSE(WriteDirectory(table, block));
    EXPECT_EQ(block, before);
}

TEST(DirectoryCodec, TablesUpToTheBlockSizeFit)
{
    // 255 bytes of lines plus the closing 0 fill the block exactly.
    LineTable table;
    for (std::size_t c = 0; c < 6; ++c)
        table.lines[0].commands[c] = Command{kOpDial, std::string(c < 5 ? 39 : 58 - 39, '1')};
    table.lines[1].commands[0] = Command{kOpDial, std::string(32, '2')};
    EXPECT_EQ(DirectoryByteCount(table), 255);
    DirectoryBlock block{};
    ASSERT_TRUE(WriteDirectory(table, block));
    EXPECT_EQ(block[255], 0);
    EXPECT_EQ(Stored(ReadDirectory(block)), std::vector<Byte>(block.begin(), block.end()));
}

TEST(DirectoryCodec, MalformedBlocksAreReadWithinTheTable)
{
    struct Case {
        const char* what;
        DirectoryBlock block;
        std::function<void(const LineTable&)> check;
    };
    DirectoryBlock manyLines;
    manyLines.fill(0);
    for (std::size_t i = 0; i < 25; ++i) {
        manyLines[2 * i] = 'R';
        manyLines[2 * i + 1] = '&';
    }
    DirectoryBlock manyCommands = BlockOf({});
    std::fill_n(manyCommands.begin(), 14, 'R');
    manyCommands[14] = '&';
    DirectoryBlock longValue = BlockOf({'W'});
    std::fill(longValue.begin() + 1, longValue.end(), '7');
    const Case cases[] = {
        {"21 lines", manyLines, [](const LineTable& t) { EXPECT_EQ(t.lineCount(), 20); }},
        {"13 commands", manyCommands, [](const LineTable& t) { EXPECT_EQ(t.lines[0].commandCount(), 12); }},
        {"no terminator, 255 value bytes", longValue,
         [](const LineTable& t) { EXPECT_EQ(t.lines[0].commands[0].value.size(), kMaxValueLength); }},
        {"value before any command", BlockOf({'1', '2', 'R', '&', 0}),
         [](const LineTable& t) { EXPECT_EQ(t.lines[0].commands[0], (Command{kOpRadio, ""})); }},
        {"& in the last byte", BlockOf({'R'}, '&'), [](const LineTable& t) { EXPECT_EQ(t.lineCount(), 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(ReadDirectory(c.block));
    }
}

TEST(DirectoryCodec, RandomBlocksDecodeSafelyAndEncoderOutputRoundTrips)
{
    std::mt19937 random(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string opcodes = "FGHKLMNPQRSTUVWXZ&";
    for (int round = 0; round < 2000; ++round) {
        DirectoryBlock block;
        for (Byte& b : block)
            b = round % 2 ? static_cast<Byte>(byte(random))
                          : static_cast<Byte>(byte(random) < 60 ? opcodes[static_cast<std::size_t>(byte(random)) % opcodes.size()]
                                                                : '0' + byte(random) % 16);
        const LineTable table = ReadDirectory(block);
        DirectoryBlock once = block;
        if (!WriteDirectory(table, once))
            continue;
        DirectoryBlock twice = once;
        ASSERT_TRUE(WriteDirectory(ReadDirectory(once), twice));
        ASSERT_EQ(once, twice) << "round " << round;
    }
}

TEST(CommandTable, EveryLabelShrinksAndExpandsToItself)
{
    for (const CommandInfo& command : kCommands) {
        EXPECT_EQ(ShrinkCommand(command.label), command.opcode);
        EXPECT_EQ(ExpandCommand(command.opcode), command.label);
        EXPECT_TRUE(IsOpcode(command.opcode));
        const LineTable table = TableOf({{Command{command.opcode, std::string(command.defaultValue)}}});
        DirectoryBlock block{};
        ASSERT_TRUE(WriteDirectory(table, block));
        EXPECT_EQ(ReadDirectory(block), table) << command.label;
    }
}

TEST(CommandTable, LabelsMatchExactly)
{
    EXPECT_EQ(ShrinkCommand("[DIAL]"), 0);
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

    Line longLine;
    for (std::size_t c = 0; c < 4; ++c)
        longLine.commands[c] = Command{kOpDial, std::string(30, '5')};  // 37 characters each
    EXPECT_TRUE(TrimToDescriptionLimit(longLine));
    EXPECT_EQ(longLine.commandCount(), 3);
    EXPECT_EQ(DescriptionText(longLine).size(), 111U);
}

}  // namespace
}  // namespace veskar

#include "directories/DirectoryEditing.h"
#include "directories/CommandTable.h"
#include "directories/DirectoryTexts.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace veskar {
namespace {

DirectoryBlock BlockOf(const std::string& bytes)
{
    DirectoryBlock block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

// One line per text, each command an opcode letter with its value: "P123 W010".
LineTable TableOf(std::initializer_list<std::string> lines)
{
    std::string stored;
    for (const std::string& line : lines) {
        for (char c : line) {
            if (c != ' ')
                stored += c;
        }
        stored += '&';
    }
    return ReadDirectory(BlockOf(stored + '\0'));
}

Editline Accepted(std::initializer_list<EditRow> rows)
{
    Editline line;
    std::copy(rows.begin(), rows.end(), line.rows.begin());
    line.accepted = true;
    return line;
}

std::string Opcodes(const LineTable& table)
{
    std::string text;
    for (int i = 0; i < table.lineCount(); ++i) {
        for (const Command& command : table.lines[static_cast<std::size_t>(i)].commands) {
            if (command.opcode)
                text += static_cast<char>(command.opcode);
        }
        text += '|';
    }
    return text;
}

TEST(DirectoryWindow, EditOutcomes)
{
    const EditRow dial{" [DIAL]", "123"}, voice{" [VOICE]", ""}, autoAck{" [AUTO ACK]", ""};
    const Editline opened = EditlineOf(TableOf({"R N"}).lines[0]);
    const std::string longValue(39, '1');
    Editline unaccepted = Accepted({dial, voice});
    unaccepted.accepted = false;
    // 19 lines of 13 bytes: 247 bytes.
    const std::initializer_list<std::string> nineteen = {
        "P12345678901", "P12345678901", "P12345678901", "P12345678901", "P12345678901",
        "P12345678901", "P12345678901", "P12345678901", "P12345678901", "P12345678901",
        "P12345678901", "P12345678901", "P12345678901", "P12345678901", "P12345678901",
        "P12345678901", "P12345678901", "P12345678901", "P12345678901"};
    const struct {
        const char* name;
        LineTable table;
        int line;
        Editline opened, result;
        EditResult outcome;
        std::vector<std::string_view> errors;
        std::string opcodes;
    } cases[] = {
        {"stored",
         TableOf({"R N", "R V"}),
         0,
         opened,
         Accepted({dial, voice}),
         EditResult::Stored,
         {},
         "PV|RV|"},
        {"cancelled", TableOf({"R N"}), 0, opened, unaccepted, EditResult::Unchanged, {}, "RN|"},
        {"emptied", TableOf({"R N", "R V"}), 0, opened, Editline{}, EditResult::Removed, {}, "RV|"},
        {"cancelled on the free line",
         TableOf({"R N"}),
         1,
         Editline{},
         Editline{},
         EditResult::Unchanged,
         {},
         "RN|"},
        {"auto ack in the middle",
         TableOf({"R N", "R V", "P1 M", "R"}),
         1,
         opened,
         Accepted({autoAck}),
         EditResult::Stored,
         {},
         "RN|X|"},
        {"trimmed",
         TableOf({"R N"}),
         0,
         opened,
         Accepted({dial, {" [DTMF]", longValue}, {" [DTMF]", longValue}, {" [DTMF]", longValue}}),
         EditResult::Stored,
         {"This directory line has too many entries - excess entries have been deleted."},
         "PQQ|"},
        {"too big",
         TableOf(nineteen),
         19,
         Editline{},
         Accepted({{" [DIAL]", "1234"}}),
         EditResult::Refused,
         {"There are too many entries in this directory - this line is not allowed."},
         "P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|"},
        {"just fits",
         TableOf(nineteen),
         19,
         Editline{},
         Accepted({{" [DIAL]", "123"}}),
         EditResult::Stored,
         {},
         "P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|P|"},
    };
    for (auto c : cases) {
        const EditOutcome outcome = ApplyLineEdit(c.table, c.line, c.opened, c.result);
        EXPECT_EQ(outcome.result, c.outcome) << c.name;
        EXPECT_EQ(outcome.errors, c.errors) << c.name;
        EXPECT_EQ(Opcodes(c.table), c.opcodes) << c.name;
        EXPECT_LE(DirectoryByteCount(c.table), kMaxDirectoryBytes) << c.name;
    }
}

TEST(DirectoryWindow, EditAfterAutoAckIsRefused)
{
    const LineTable table = TableOf({"R N", "X"});
    EXPECT_EQ(EditRefusal(table, 2), "Entries after AUTO ACK are not allowed.");
    EXPECT_EQ(EditRefusal(table, 1), std::nullopt);
    EXPECT_EQ(EditRefusal(table, 0), std::nullopt);
}

TEST(DirectoryWindow, InsertAndDeleteLines)
{
    LineTable table = TableOf({"R N", "R V"});
    EXPECT_EQ(InsertLine(table, 2), LineInsertion::EditFreeLine);
    EXPECT_EQ(InsertLine(table, 1), LineInsertion::EditNewLine);
    EXPECT_EQ(Opcodes(table), "RN|");
    EXPECT_EQ(table.lines[2].commands[1].opcode, kOpVoice);
    UndoInsertLine(table, 1);
    EXPECT_EQ(Opcodes(table), "RN|RV|");

    EXPECT_TRUE(DeleteLine(table, 0));
    EXPECT_EQ(Opcodes(table), "RV|");
    EXPECT_FALSE(DeleteLine(table, 1));
    EXPECT_EQ(FirstFreeLine(table), 1);

    LineTable full;
    full.lines.fill(TableOf({"R N"}).lines[0]);
    EXPECT_EQ(FirstFreeLine(full), 19);
    EXPECT_EQ(InsertLine(full, 3), LineInsertion::Nothing);
    LineTable nineteen = full;
    nineteen.lines[19] = Line{};
    EXPECT_EQ(InsertLine(nineteen, 19), LineInsertion::Nothing);
    EXPECT_EQ(InsertLine(nineteen, 0), LineInsertion::EditNewLine);
    EXPECT_EQ(nineteen.lineCount(), 0);
    EXPECT_EQ(nineteen.lines[19], full.lines[18]);
}

TEST(DirectoryWindow, RowTexts)
{
    EXPECT_EQ(SequenceText(0), "  1  ");
    EXPECT_EQ(SequenceText(8), "  9  ");
    EXPECT_EQ(SequenceText(19), " 20  ");
    EXPECT_EQ(TitleText(LineTable{}), " SEQUENCE            DESCRIPTION OF OPERATION           % USED = 0");
    EXPECT_EQ(TitleText(TableOf({"P:::: W000"})).substr(kDirectoryTitle.size()), "4");
    EXPECT_EQ(DirectoryLetter(3), 'D');
    EXPECT_EQ(CopyQuestion(0, 1), "The contents of Directory B will be replaced with Directory A - Proceed?");

    Image image{};
    image.dir[2][0] = 'R';
    CopyDirectory(image, 2, 0);
    EXPECT_EQ(image.dir[0], image.dir[2]);
    EXPECT_EQ(image.dir[1][0], 0);
}

TEST(DirectoryWindow, StoredBlocksTheWindowCannotShowWhole)
{
    const std::string noEnd(256, 'R');
    std::string manyLines;
    for (int i = 0; i < 21; ++i)
        manyLines += "R&";
    const struct {
        std::string stored;
        std::vector<std::string_view> unshown;
        std::string shown;
    } cases[] = {
        {"&\0"s, {}, ""},
        {"\0"s, {}, ""},
        {"RN&F.54321U&\0"s, {}, "RN|F|"},
        {"R&&N&\0"s, {"an empty line with more lines after it"}, "R|"},
        {"&R&\0"s, {"an empty line with more lines after it"}, ""},
        {manyLines + "\0"s, {"more than 20 lines"}, "R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|R|"},
        {"RVVVVVVVVVVVV&\0"s, {"a line of more than 12 commands"}, "RVVVVVVVVVVV|"},
        {"W" + std::string(40, '1') + "&\0"s, {"a value of more than 39 characters"}, "W|"},
        {"12R&\0"s, {"characters before the first command of a line"}, "R|"},
        {"R&UN&P1&\0"s, {"a command without a label"}, "R|"},
        {"PH1UN&\0"s, {"a command without a label"}, "PH|"},
        {"P1UN&\0"s, {"a command without a label"}, "P|"},
        {noEnd, {"a line of more than 12 commands", "no end mark"}, "RRRRRRRRRRRR|"},
    };
    for (const auto& c : cases) {
        const DirectoryBlock block = BlockOf(c.stored);
        EXPECT_EQ(UnshownEntries(block), c.unshown) << c.stored;
        const LineTable shown = ReadForWindow(block);
        EXPECT_EQ(Opcodes(shown), c.shown) << c.stored;
        if (c.unshown.empty()) {
            DirectoryBlock written = block;
            ASSERT_TRUE(WriteDirectory(shown, written));
            EXPECT_EQ(ReadDirectory(written), ReadDirectory(block)) << c.stored;
        }
    }
}

} // namespace
} // namespace veskar

#include "directories/CommandTable.h"
#include "directories/DirectoryEditing.h"
#include "directories/LineRules.h"

#include <gtest/gtest.h>

#include <random>

namespace veskar {
namespace {

using enum LineCommand;

std::vector<std::string> Labels(const Editline& line)
{
    std::vector<std::string> labels;
    for (const EditRow& row : line.rows) {
        if (!row.label.empty())
            labels.push_back(row.label);
    }
    return labels;
}

Editline Full()
{
    Editline line;
    InsertRow(line, 0, Radio);
    for (int row = 1; row < kMaxCommandsPerLine; ++row)
        InsertRow(line, row, row % 2 ? Voice : Wait);
    return line;
}

TEST(LineEditor, InsertAndDeleteMoveTheRows)
{
    Editline line;
    EXPECT_EQ(LastSelectableRow(line), 0);
    EXPECT_EQ(InsertRow(line, 0, Dial), 1); // appended: the selection moves on
    EXPECT_EQ(line.rows[0], (EditRow{" [DIAL]", "0000"}));
    EXPECT_EQ(InsertRow(line, 1, Dtmf), 2);
    EXPECT_EQ(InsertRow(line, 1, Wait), 1); // in front of the DTMF: the selection stays
    EXPECT_EQ(Labels(line), (std::vector<std::string>{" [DIAL]", " [WAIT]", " [DTMF]"}));
    EXPECT_EQ(line.rows[1].value, "000");
    EXPECT_EQ(LastSelectableRow(line), 3);

    EXPECT_EQ(DeleteRow(line, 1), 1);
    EXPECT_EQ(Labels(line), (std::vector<std::string>{" [DIAL]", " [DTMF]"}));
    EXPECT_EQ(DeleteRow(line, 0), 0);
    EXPECT_TRUE(line.empty());
    EXPECT_EQ(line, Editline{});
}

TEST(LineEditor, AFullLine)
{
    Editline line = Full();
    EXPECT_TRUE(LineFull(line));
    EXPECT_EQ(LastSelectableRow(line), 11);
    InsertRow(line, 1, Dtmf); // the question was answered Yes: row 11 goes
    EXPECT_EQ(line.rows[1].label, " [DTMF]");
    EXPECT_EQ(line.rows[11].label, Full().rows[10].label);

    line = Full();
    const Editline before = line;
    EXPECT_EQ(DeleteRow(line, 4), 4);
    for (int row = 4; row < 11; ++row)
        EXPECT_EQ(line.rows[static_cast<std::size_t>(row)], before.rows[static_cast<std::size_t>(row) + 1]);
    EXPECT_EQ(line.rows[11], EditRow{});
    EXPECT_EQ(DeleteRow(line, 11), 10); // deleting the (empty) last row selects row 10
}

// Every line the rules let the user build and confirm reads back the same
// after the directory window has stored it.
TEST(LineEditor, EveryConfirmedLineReadsBackTheSame)
{
    const LineCommand buttons[] = {Dial,   Radio, Wait,    Voice,    Dtmf,
                                   Answer, Alert, TwoTone, FiveTone, SingleTone};
    const std::vector<std::pair<std::string, std::vector<std::string>>> values = {
        {" [DIAL]", {"0123*#", "1!2", "01 23-45", "9"}},
        {" [DTMF]", {"abcd", "1#", "*9D"}},
        {" [WAIT]", {"254", "010", "5"}},
        {" [2 TONE]", {"100.0/2500.0", "1000./.5e"}},
        {" [5 TONE]", {".12345u", "7.12345", ".00000"}},
        {" [1 TONE]", {"1999.9", "100.0"}},
    };
    std::mt19937 random(20240611);
    int confirmed = 0;
    for (int attempt = 0; attempt < 3000; ++attempt) {
        Editline line;
        int row = 0;
        const int presses = 1 + static_cast<int>(random() % 8);
        for (int press = 0; press < presses; ++press) {
            const LineCommand command = buttons[random() % std::size(buttons)];
            if (CheckInsertion(line, row, command, false).outcome == Insertion::Allowed && !LineFull(line))
                row = InsertRow(line, row, command);
        }
        for (EditRow& each : line.rows) {
            for (const auto& [label, choices] : values) {
                if (each.label == label)
                    each.value = choices[random() % choices.size()];
            }
        }
        if (line.empty() || ConfirmLine(line, [](const LineVerdict&) { return false; }))
            continue;
        ++confirmed;
        LineTable table;
        table.lines[0] = LineOf(line);
        DirectoryBlock block{};
        ASSERT_TRUE(WriteDirectory(table, block));
        EXPECT_TRUE(UnshownEntries(block).empty());
        EXPECT_EQ(EditlineOf(ReadForWindow(block).lines[0]).rows, line.rows)
            << DescriptionText(table.lines[0]);
    }
    EXPECT_GT(confirmed, 300);
}

} // namespace
} // namespace veskar

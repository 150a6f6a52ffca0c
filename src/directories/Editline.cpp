#include "directories/Editline.h"

#include "directories/CommandTable.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr Byte kOpcodeOf[] = {
    kOpDial,  kOpWait,  kOpDtmf,      kOpAlert,      kOpAutoAck, kOpAnswer,   kOpVoice, kOpSignal,
    kOpRadio, kOpPatch, kOpVoicePlus, kOpVoiceMinus, kOpTwoTone, kOpFiveTone, kOpTap,   kOpOneTone,
};

constexpr int kLastRow = kMaxCommandsPerLine - 1;

} // namespace

int Editline::commandCount() const
{
    return static_cast<int>(std::ranges::find_if(rows, [](const EditRow& row) { return row.label.empty(); }) -
                            rows.begin());
}

bool Editline::holds(int row, std::string_view label) const
{
    return row >= 0 && row <= kLastRow && rows[static_cast<std::size_t>(row)].label == label;
}

const LineCommandInfo& InfoOf(LineCommand command)
{
    return *FindLineCommand(kOpcodeOf[static_cast<std::size_t>(command)]);
}

bool LineFull(const Editline& line)
{
    return !line.rows[kLastRow].label.empty();
}

int InsertRow(Editline& line, int row, LineCommand command)
{
    const auto at = line.rows.begin() + row;
    std::move_backward(at, line.rows.end() - 1, line.rows.end());
    const LineCommandInfo& info = InfoOf(command);
    *at = EditRow{std::string(info.label), std::string(info.defaultValue)};
    const bool appended = row < kLastRow && line.rows[static_cast<std::size_t>(row) + 1].label.empty();
    return appended ? row + 1 : row;
}

int DeleteRow(Editline& line, int row)
{
    if (row == 0) {
        line.rows.fill(EditRow{});
        return 0;
    }
    std::move(line.rows.begin() + row + 1, line.rows.end(), line.rows.begin() + row);
    line.rows[kLastRow] = EditRow{};
    return row == kLastRow ? kLastRow - 1 : row;
}

int ValueLimit(std::string_view label)
{
    const LineCommandInfo* info = FindLineCommand(ShrinkCommand(label));
    return info ? std::min(info->valueLimit, static_cast<int>(kMaxValueLength)) : 0;
}

TabStop NextOnTab(const Editline& shown, int row, bool fromValue, int focusedRow)
{
    if (row >= kLastRow)
        return TabStop::Onward;
    const EditRow& at = shown.rows[static_cast<std::size_t>(row)];
    if (!fromValue && !at.value.empty() && ValueLimit(at.label) > 0)
        return TabStop::Value;
    const bool walking = fromValue || !at.label.empty();
    return walking && row <= focusedRow ? TabStop::NextRow : TabStop::Onward;
}

int LastSelectableRow(const Editline& line)
{
    return std::min(line.commandCount(), kLastRow);
}

Editline EditlineOf(const Line& line)
{
    Editline edit;
    std::size_t row = 0;
    for (const Command& command : line.commands) {
        if (command.opcode == 0)
            break;
        if (command.opcode == kOpFiveToneSuffix && row > 0) {
            EditRow& previous = edit.rows[row - 1];
            // A plain value stores its characters unchanged, so writing it back gives the same bytes.
            if (ValueClassOf(ShrinkCommand(previous.label)) == ValueClass::Plain) {
                previous.value += static_cast<char>(kOpFiveToneSuffix) + command.value;
                continue;
            }
        }
        EditRow& target = edit.rows[row++];
        target.label = std::string(ExpandCommand(command.opcode).value_or(""));
        target.value = command.value;
        if (target.label.empty()) {
            target = EditRow{}; // a command without a label ends what the editor can show
            break;
        }
    }
    return edit;
}

Line LineOf(const Editline& edit)
{
    Line line;
    for (std::size_t i = 0; i < edit.rows.size(); ++i) {
        const Byte opcode = ShrinkCommand(edit.rows[i].label);
        if (opcode == 0)
            break;
        line.commands[i] = Command{opcode, edit.rows[i].value};
    }
    return line;
}

} // namespace veskar

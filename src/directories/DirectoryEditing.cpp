#include "directories/DirectoryEditing.h"

#include "directories/CommandTable.h"
#include "directories/DirectoryTexts.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr std::string_view kEmptyLineInside = "an empty line with more lines after it";
constexpr std::string_view kTooManyLines = "more than 20 lines";
constexpr std::string_view kTooManyCommands = "a line of more than 12 commands";
constexpr std::string_view kValueTooLong = "a value of more than 39 characters";
constexpr std::string_view kValueWithoutCommand = "characters before the first command of a line";
constexpr std::string_view kCommandWithoutLabel = "a command without a label";
constexpr std::string_view kNoEnd = "no end mark";

void Note(std::vector<std::string_view>& found, std::string_view what)
{
    if (std::ranges::find(found, what) == found.end())
        found.push_back(what);
}

Line& LineAt(LineTable& table, int line)
{
    return table.lines[static_cast<std::size_t>(line)];
}

} // namespace

char DirectoryLetter(int directory)
{
    return static_cast<char>('A' + directory);
}

int FirstFreeLine(const LineTable& table)
{
    return std::min(table.lineCount(), kLastLine);
}

LineTable ReadForWindow(const DirectoryBlock& block)
{
    const LineTable read = ReadDirectory(block);
    LineTable shown;
    for (int i = 0; i < read.lineCount(); ++i)
        LineAt(shown, i) = LineOf(EditlineOf(read.lines[static_cast<std::size_t>(i)]));
    // A line whose first command has no label is empty now and ends the directory.
    for (int i = shown.lineCount(); i < kMaxLines; ++i)
        LineAt(shown, i) = Line{};
    return shown;
}

std::vector<std::string_view> UnshownEntries(const DirectoryBlock& block)
{
    std::vector<std::string_view> found;
    int lines = 0;
    int commands = 0;
    std::size_t valueLength = 0;
    bool ended = false;
    for (std::size_t i = 0; i < block.size() && !ended; ++i) {
        const Byte byte = block[i];
        if (byte == kDirectoryEnd) {
            ended = true;
        } else if (byte == kLineEnd) {
            ended = i + 1 < block.size() && block[i + 1] == kDirectoryEnd;
            if (!ended && commands == 0)
                Note(found, kEmptyLineInside);
            if (!ended && ++lines == kMaxLines)
                Note(found, kTooManyLines);
            commands = 0;
        } else if (IsOpcode(byte)) {
            if (++commands > kMaxCommandsPerLine)
                Note(found, kTooManyCommands);
            valueLength = 0;
        } else if (commands == 0) {
            Note(found, kValueWithoutCommand);
        } else if (++valueLength > kMaxValueLength) {
            Note(found, kValueTooLong);
        }
    }
    if (!ended)
        Note(found, kNoEnd);
    // A five-tone suffix joins a plain value before it; anywhere else it has no label.
    const LineTable read = ReadDirectory(block);
    for (int i = 0; i < read.lineCount(); ++i) {
        const auto& commands = read.lines[static_cast<std::size_t>(i)].commands;
        for (std::size_t k = 0; k < commands.size() && commands[k].opcode != 0; ++k) {
            if (commands[k].opcode == kOpFiveToneSuffix &&
                (k == 0 || ValueClassOf(commands[k - 1].opcode) != ValueClass::Plain))
                Note(found, kCommandWithoutLabel);
        }
    }
    return found;
}

std::optional<std::string_view> EditRefusal(const LineTable& table, int line)
{
    if (line > 0 && table.lines[static_cast<std::size_t>(line) - 1].commands[0].opcode == kOpAutoAck)
        return kEntriesAfterAutoAck;
    return std::nullopt;
}

EditOutcome ApplyLineEdit(LineTable& table, int line, const Editline& opened, const Editline& result)
{
    if (result.empty()) {
        // Given back empty but as it was opened: cancelled, so nothing goes.
        if (result.rows == opened.rows || !DeleteLine(table, line))
            return {EditResult::Unchanged, {}};
        return {EditResult::Removed, {}};
    }
    if (!result.accepted)
        return {EditResult::Unchanged, {}};

    Line& target = LineAt(table, line);
    const Line kept = target;
    target = LineOf(result);
    EditOutcome outcome{EditResult::Stored, {}};
    if (TrimToDescriptionLimit(target))
        outcome.errors.push_back(kLineTrimmed);
    if (DirectoryByteCount(table) > kMaxDirectoryBytes) {
        outcome.errors.push_back(kDirectoryFull);
        target = kept;
        outcome.result = EditResult::Refused;
        return outcome;
    }
    if (target.commands[0].opcode == kOpAutoAck)
        std::fill(table.lines.begin() + line + 1, table.lines.end(), Line{});
    return outcome;
}

LineInsertion InsertLine(LineTable& table, int line)
{
    if (!table.lines[kLastLine].empty() || line >= kLastLine)
        return LineInsertion::Nothing;
    if (LineAt(table, line).empty())
        return LineInsertion::EditFreeLine;
    const auto at = table.lines.begin() + line;
    std::move_backward(at, table.lines.end() - 1, table.lines.end());
    *at = Line{};
    return LineInsertion::EditNewLine;
}

void UndoInsertLine(LineTable& table, int line)
{
    const auto at = table.lines.begin() + line;
    std::move(at + 1, table.lines.end(), at);
    table.lines[kLastLine] = Line{};
}

bool DeleteLine(LineTable& table, int line)
{
    if (LineAt(table, line).empty())
        return false;
    UndoInsertLine(table, line);
    return true;
}

std::string SequenceText(int line)
{
    return std::string(line < 9 ? "  " : " ") + std::to_string(line + 1) + "  ";
}

std::string TitleText(const LineTable& table)
{
    return std::string(kDirectoryTitle) + std::to_string(UsageFigure(table));
}

std::string CopyQuestion(int from, int to)
{
    return std::string(kCopyQuestionStart) + DirectoryLetter(to) + std::string(kCopyQuestionMiddle) +
           DirectoryLetter(from) + std::string(kCopyQuestionEnd);
}

void CopyDirectory(Image& image, int from, int to)
{
    image.dir[static_cast<std::size_t>(to)] = image.dir[static_cast<std::size_t>(from)];
}

} // namespace veskar

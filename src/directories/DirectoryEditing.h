#pragma once

// What the directory window does to its line table: edit, insert and delete
// lines under the directory's limits, the texts of its rows, and what a stored
// block holds that the window cannot show.

#include "database/Image.h"
#include "directories/Editline.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

inline constexpr int kLastLine = kMaxLines - 1;

[[nodiscard]] char DirectoryLetter(int directory);

// The empty line where a new one is added; the last line when all 20 are used.
[[nodiscard]] int FirstFreeLine(const LineTable& table);

// The block as the window shows it: the lines up to the first empty one, a
// five-tone "U" joined to its code, a command without a label and what
// follows it left out.
[[nodiscard]] LineTable ReadForWindow(const DirectoryBlock& block);

// What the stored block holds that ReadForWindow leaves out, one phrase each;
// empty when the window shows the block whole.
[[nodiscard]] std::vector<std::string_view> UnshownEntries(const DirectoryBlock& block);

// Why line `line` cannot be edited, if it cannot.
[[nodiscard]] std::optional<std::string_view> EditRefusal(const LineTable& table, int line);

enum class EditResult {
    Unchanged, // cancelled, or nothing given back
    Removed,   // every command was taken out: the line goes
    Stored,    // the line holds the edit, trimmed if `errors` says so
    Refused,   // the directory would be too big: the line is as it was
};

struct EditOutcome {
    EditResult result;
    std::vector<std::string_view> errors; // shown in order
};

// Puts what the line editor gave back (`result`, opened with `opened`) into line `line`.
EditOutcome ApplyLineEdit(LineTable& table, int line, const Editline& opened, const Editline& result);

enum class LineInsertion {
    Nothing,      // 20 lines in use, or the last line selected
    EditFreeLine, // the selected line is the free line: edit it
    EditNewLine,  // an empty line was put in at the selection: edit it, undo when it stays empty
};

LineInsertion InsertLine(LineTable& table, int line);
void UndoInsertLine(LineTable& table, int line);
// False when the line is empty.
bool DeleteLine(LineTable& table, int line);

// The sequence column of a row, " 1  " style, and the title row.
[[nodiscard]] std::string SequenceText(int line);
[[nodiscard]] std::string TitleText(const LineTable& table);

[[nodiscard]] std::string CopyQuestion(int from, int to);
void CopyDirectory(Image& image, int from, int to);

} // namespace veskar

#pragma once

// One directory line as the line editor holds it: 12 rows of command label and
// value text, filled from row 0 without gaps. The row mechanics of the editor
// (insert at a row, delete a row) and the conversion from and to the line
// table of the directory window live here, away from any window.

#include "directories/CommandTable.h"
#include "directories/DirectoryCodec.h"

#include <array>
#include <string>

namespace veskar {

struct EditRow {
    std::string label; // a label of the command table, or empty
    std::string value;

    friend bool operator==(const EditRow&, const EditRow&) = default;
};

struct Editline {
    std::array<EditRow, kMaxCommandsPerLine> rows;
    bool accepted = false;

    // Rows in use: the rows before the first empty label.
    [[nodiscard]] int commandCount() const;
    [[nodiscard]] bool empty() const { return rows[0].label.empty(); }
    [[nodiscard]] bool holds(int row, std::string_view label) const;

    friend bool operator==(const Editline&, const Editline&) = default;
};

// The commands a line can hold, in the order of the editor's insert codes.
enum class LineCommand {
    Dial,
    Wait,
    Dtmf,
    Alert,
    AutoAck,
    Answer,
    Voice,
    Signal,
    Radio,
    Patch,
    VoicePlus,
    VoiceMinus,
    TwoTone,
    FiveTone,
    Tap,
    SingleTone,
};

[[nodiscard]] const LineCommandInfo& InfoOf(LineCommand command);

// Inserting drops the command in row 11 when every row is in use.
[[nodiscard]] bool LineFull(const Editline& line);

// Puts the command with its default value into `row`, moving rows row..10 down.
// Returns the row selected afterwards: the next one when the command was appended.
int InsertRow(Editline& line, int row, LineCommand command);

// Row 0 clears the whole line; another row moves the rows after it up.
// Returns the row selected afterwards.
int DeleteRow(Editline& line, int row);

// What a row's value field takes while the user types: nothing for the
// commands without a value, else the command's limit within what a line keeps.
// A longer value that a block holds is kept whole all the same.
[[nodiscard]] int ValueLimit(std::string_view label);

// Where Tab takes the focus from row `row`'s selector (or, `fromValue`, its
// value field) in the line editor; `focusedRow` is the row whose selector had
// the focus last. The walk visits each row's selector, then its value when
// there is one, down to the first free row; Onward leaves the rows.
enum class TabStop { Value, NextRow, Onward };
[[nodiscard]] TabStop NextOnTab(const Editline& shown, int row, bool fromValue, int focusedRow);

// The last row the user can select: the first free row, or 11.
[[nodiscard]] int LastSelectableRow(const Editline& line);

// The line table's line as editor rows. A five-tone "U" suffix, which reads
// back from a block as a command of its own, joins the value before it again.
[[nodiscard]] Editline EditlineOf(const Line& line);
[[nodiscard]] Line LineOf(const Editline& edit);

} // namespace veskar

#pragma once

// The rules of one directory line: whether a command may be inserted at the
// selected row, and the checks that run when the line is confirmed. They see
// only the rows, the selected row and the system's Call Progress setting.

#include "directories/Editline.h"
#include "widgets/Verdict.h"

#include <functional>
#include <string_view>

namespace veskar {

enum class Insertion { Refused, Allowed, NothingToDo };

struct InsertionVerdict {
    Insertion outcome;
    // Refused: the error. Allowed: a notice shown before inserting, or empty.
    std::string_view text;

    friend bool operator==(const InsertionVerdict&, const InsertionVerdict&) = default;
};

[[nodiscard]] InsertionVerdict CheckInsertion(const Editline& line, int row, LineCommand command,
                                              bool useCallProgress);

// True when any row holds TAP.
[[nodiscard]] bool TAPCheck(const Editline& line);

// FloatCheck: 1 to 7 digits and dots, exactly one dot.
[[nodiscard]] bool FloatCheck(std::string_view text);

// The row a confirmation verdict is about; kNoRow for the line as a whole.
inline constexpr int kNoRow = -1;
using LineVerdict = Verdict<int>;

// Shown for every verdict the checks reach. An Error always stops them; for a
// Question, the answer: true (Yes, "change it") stops, false goes on.
using LineAsk = std::function<bool(const LineVerdict&)>;

// Runs the confirmation checks in their order over a line holding at least one
// command. Returns the verdict that stopped them, the line untouched; or
// nothing, the line then holding its cleaned values (no blanks or dashes in
// telephone numbers, A-D upper case, a five-tone "U" suffix upper case).
[[nodiscard]] CheckResult<int> ConfirmLine(Editline& line, const LineAsk& ask);

} // namespace veskar

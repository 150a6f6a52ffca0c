#pragma once

// The text of the user list window: a title line and one row per user, each
// row in pieces drawn one after the other (number, the four codes, warning).

#include "users/UserData.h"

#include <array>
#include <string>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kUserTableTitle =
    " ID   START      STOP       EMERGENCY  INTERROGATE   WARNING";

enum class RowPiece { Number, Start, Stop, Emergency, Interrogate, Warning };
inline constexpr std::size_t kRowPieceCount = 6;

// Row `row` (0-15) of the table.
[[nodiscard]] std::array<std::string, kRowPieceCount> UserRowPieces(int row, const UserData& user);

// The row a press at height `y` selects, with rows `lineHeight` high under a
// two-line title; -1 for the title area and below the table.
[[nodiscard]] int UserRowAt(int y, int lineHeight);

} // namespace veskar

#include "users/UserTable.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr std::size_t kCodeWidth = 8;
constexpr std::string_view kNoCode = "--------";

std::string CodeColumn(std::string_view lead, const std::string& code)
{
    std::string text = code.empty() ? std::string(kNoCode) : code;
    text.resize(kCodeWidth, ' ');
    return std::string(lead) + text;
}

} // namespace

std::array<std::string, kRowPieceCount> UserRowPieces(int row, const UserData& user)
{
    const int number = row + 1;
    const std::string interval = std::to_string(user.record.warningInterval);
    return {
        std::string(number < 10 ? "  " : " ") + std::to_string(number) + "  ",
        CodeColumn(" ", user.code(UserCode::Start)),
        CodeColumn("   ", user.code(UserCode::Stop)),
        CodeColumn("   ", user.code(UserCode::Emergency)),
        CodeColumn("   ", user.code(UserCode::Interrogate)),
        // The number ends eight characters into the piece.
        std::string(interval.size() < 8 ? 8 - interval.size() : 0, ' ') + interval + " min.",
    };
}

int UserRowAt(int y, int lineHeight)
{
    if (lineHeight <= 0 || y <= 2 * lineHeight || y >= 23 * lineHeight)
        return -1;
    return std::min((y - 2 * lineHeight) / lineHeight, kUserCount - 1);
}

} // namespace veskar

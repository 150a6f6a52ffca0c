#pragma once

// The acceptance checks of the user settings form, over what its fields hold.

#include "database/Image.h"
#include "users/UserData.h"
#include "widgets/Verdict.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace veskar {

// The form's controls that a verdict can put the focus into.
enum class UserField { StartCode, StopCode, EmergencyCode, InterrogateCode, WarningInterval, UserName };

[[nodiscard]] constexpr UserField FieldOf(UserCode code)
{
    return static_cast<UserField>(code);
}

// What the form's controls hold, as typed.
struct UserEntries {
    std::array<std::string, kUserCodeCount> codes; // record order
    std::string warningInterval;
    std::string userName;
    std::array<bool, kUserOptions.size()> options; // order of kUserOptions
};

inline constexpr std::size_t kCodeCharactersRead = 9;
inline constexpr std::size_t kIntervalCharactersRead = 4;

[[nodiscard]] UserEntries EntriesFor(const UserData& data);

// The form counts as changed when storing it would give another record.
[[nodiscard]] bool EntriesChanged(const UserEntries& entries, const UserData& data);

struct UserCheck {
    // Shown first and never blocking: a Start Code without a Stop Code.
    std::optional<Verdict<UserField>> notice;
    // The first fault, which keeps the form open; nothing when the entries are accepted.
    CheckResult<UserField> refusal;
    // What the record becomes when there is no refusal.
    UserData accepted;
};

// `index` is the user being edited (0-15) among `users`, whose unsaved edits
// count; `gen` holds the system codes.
[[nodiscard]] UserCheck CheckUserEntries(const UserEntries& entries, const UserData& record, int index,
                                         std::span<const UserData, kUserCount> users, const SystemBlock& gen);

} // namespace veskar

#pragma once

// The text form of a user record that the user editors work on: the four
// codes as symbols ("1D23"), every other byte as stored. Loading it from the
// image and storing it back are the two ends of the user list window.

#include "database/Image.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace veskar {

inline constexpr int kUserCodeCount = 4;

// Record order of the four codes.
enum class UserCode { Start, Stop, Emergency, Interrogate };

// The order in which the checks and warnings walk a user's codes.
inline constexpr std::array<UserCode, kUserCodeCount> kCodeCheckOrder = {
    UserCode::Start, UserCode::Stop, UserCode::Interrogate, UserCode::Emergency};

[[nodiscard]] const CodeField& StoredCode(const UserRecord& user, UserCode code);
[[nodiscard]] CodeField& StoredCode(UserRecord& user, UserCode code);

struct UserData {
    std::array<std::string, kUserCodeCount> codes; // record order; symbols, at most 8
    UserRecord record; // every other byte as stored; its code fields and reserved40 are zero

    [[nodiscard]] const std::string& code(UserCode which) const
    {
        return codes[static_cast<std::size_t>(which)];
    }
    [[nodiscard]] std::string& code(UserCode which) { return codes[static_cast<std::size_t>(which)]; }
};

// Stored digits become symbols; `reserved40` and the code fields are cleared.
[[nodiscard]] UserData LoadUserData(const UserRecord& stored);
// Symbols become digit values with their count; `reserved40` is written as zero.
[[nodiscard]] UserRecord StoreUserData(const UserData& data);

// Whether storing `data` would change what the unit sees of `stored`: a code,
// the name, the option flags or the warning interval.
[[nodiscard]] bool UserDataChanged(const UserData& data, const UserRecord& stored);

// A user option shown as a check box of the user settings form.
struct UserOption {
    int id;                 // control id of the form
    std::string_view label; // as the form shows it
    Byte UserRecord::*field;
    bool shown; // "Speak timer number" travels through the form unseen
};

// In the form's order.
inline constexpr std::array<UserOption, 13> kUserOptions = {{
    {315, "Play the settings at timer startup", &UserRecord::playSettings, true},
    {317, "Ask for Location", &UserRecord::askLocation, true},
    {318, "Ask for Name ", &UserRecord::askName, true},
    {316, "Ask for Timer", &UserRecord::askTimer, true},
    {313, "Ask for Emergency confirmation", &UserRecord::askEmergencyConfirm, true},
    {314, "Ask for confirmation of the settings", &UserRecord::askSettingsConfirm, true},
    {320, "Use voice recording for Name", &UserRecord::useVoiceName, true},
    {321, "Use voice recording for Location", &UserRecord::useVoiceLocation, true},
    {319, "Use DTMF Code for Name", &UserRecord::useDtmfName, true},
    {312, "Use DTMF Code for Location", &UserRecord::useDtmfLocation, true},
    {322, "Allow timer to be changed", &UserRecord::allowTimerChange, true},
    {310, "Enable Callout", &UserRecord::enableCallout, true},
    {311, "Speak timer number", &UserRecord::speakTimerNumber, false},
}};

} // namespace veskar

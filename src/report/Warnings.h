#pragma once

// The configuration warnings: everything the unit accepts but the user should
// look at again before programming it. The lines come in check order and are
// numbered from 0; the blank separators between the groups are lines too.

#include "database/Image.h"

#include <string>
#include <string_view>
#include <vector>

namespace veskar {

namespace warning_text {
inline constexpr std::string_view kNoPhoneNumbers = "There are no phone numbers in any directory.";
inline constexpr std::string_view kRadioCallsOnly = "    (OK if you only want to make radio calls.)";
inline constexpr std::string_view kNoAckCode = "The Acknowledge Code is missing.";
inline constexpr std::string_view kNoAccessCode = "The Access Code is missing.";
inline constexpr std::string_view kDialInOpen =
    "    Remote dial-in operations are available to anyone calling in.";
// "The System " + system code + " Code is the same as the " + user code + " Code for User " + N + "."
inline constexpr std::string_view kSystemCode = "The System ";
inline constexpr std::string_view kSameAs = " Code is the same as the ";
inline constexpr std::string_view kCodeForUser = " Code for User ";
inline constexpr std::string_view kStartWithoutStop = " has a Start Code but no Stop Code.";
inline constexpr std::string_view kAskNameUnusable =
    " has the Ask for Name set but neither Use Voice nor Use Code are enabled.";
inline constexpr std::string_view kAskLocationUnusable =
    " has the Ask for Location set but neither Use Voice nor Use Code are enabled.";
inline constexpr std::string_view kNoInterrogateCode =
    "The Interrogate Code is missing but the radio is being used.";
inline constexpr std::string_view kPublicAddress = "    (OK if used for a Public Address system.)";
inline constexpr std::string_view kTimerBZero =
    "Timer B is set to 0 - Alarms will be automatically acknowledged.  Do you want this?";
inline constexpr std::string_view kAnswerAfterDial1 =
    "Using Call Progress and ANSWER immediately after a Dial command in a directory";
inline constexpr std::string_view kAnswerAfterDial2 =
    "duplicates the requirement for a response by the called party.";
inline constexpr std::string_view kAnswerAfterDial3 =
    "The ANSWER command appears immediately after a Dial command in ";
inline constexpr std::string_view kNoSiteName = "The Corvane VWM does not have a site name";
inline constexpr std::string_view kAutoAckOnly =
    " has Auto Ack as the only entry - no alarms will be reported.";
inline constexpr std::string_view kDialDefault = " has a Dial command with the default value '0000'.";
inline constexpr std::string_view kDialEmpty = " has a Dial command without any numbers.";
inline constexpr std::string_view kDialShort = " has a Dial command with less than 7 digits.";
inline constexpr std::string_view kDtmfDefault = " contains a DTMF command with the default value '0000'.";
inline constexpr std::string_view kDtmfEmpty = " contains a DTMF command with no digits.";
inline constexpr std::string_view kWaitDefault = " contains a Wait command with the default value '0000'.";
inline constexpr std::string_view kWaitEmpty = " contains a Wait command with no value.";
inline constexpr std::string_view kSeparator = "";         // after the system and user warnings
inline constexpr std::string_view kClosingSeparator = " "; // after the directory warnings
} // namespace warning_text

// One warning (one to three lines) or one separator (two lines).
struct WarningItem {
    bool separator;
    std::vector<std::string> lines;
};

[[nodiscard]] std::vector<WarningItem> WarningItems(const Image& image);
// The lines of every item, in order: what the warnings pages show.
[[nodiscard]] std::vector<std::string> WarningLines(const Image& image);
// How many warnings there are, separators not counted.
[[nodiscard]] int WarningCount(const Image& image);

// Whether some directory line begins with a Dial command.
[[nodiscard]] bool AnyPhoneNumber(const Image& image);

// True for the bytes that end a Dial, DTMF or Wait value: the end of the
// line or directory, and every command byte.
[[nodiscard]] bool CheckChar(Byte byte);

} // namespace veskar

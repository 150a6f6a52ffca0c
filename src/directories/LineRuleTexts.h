#pragma once

// The sequencing rules of a directory line as data, and every message of the
// line rules as the user reads them ("\n" is a line break).

#include "directories/CommandTable.h"
#include "directories/Editline.h"

#include <array>
#include <span>
#include <string_view>

namespace veskar {

enum class Rule {
    AutoAck,      // row 0 holds AUTO ACK, or the row after the selected one does
    Wait,         // a first WAIT takes nothing after it
    NotFirst,     // refused below row 0
    First,        // refused at row 0
    FirstTaken,   // refused at row 0 when row 0 holds a command
    SecondTaken,  // refused when row 1 holds a command
    FirstHolds,   // refused when row 0 holds `label`; no text: nothing to do
    FirstLacks,   // refused when row 0 does not hold `label`
    TapPresent,   // refused when any row holds TAP
    TapConflicts, // refused at the first row holding a command TAP cannot go with
    CallProgress, // with Call Progress on, inserting at row 1 is told about first
};

struct InsertionRule {
    Rule rule;
    std::string_view label;
    std::string_view text;
};

inline constexpr std::string_view kAutoAckOnlyEntry =
    "The Auto Ack command must be the only entry on a directory line.";
inline constexpr std::string_view kAutoAckNothingBefore =
    "Auto Ack command cannot have commands before it on the same directory line.";
inline constexpr std::string_view kWaitFirstNoOthers =
    "If Wait is the first entry no other commands can follow.";

inline constexpr std::string_view kCallProgressNotice =
    "Call Progress is enabled in the General section."
    "\nUsing Call Progress and ANSWER immediately after a Dial command duplicates the requirement for a "
    "response by the called party."
    "\nUse the What's This help for the ANSWER command to get a full explanation.";

// What TAP paging cannot share a line with, and the message for each.
inline constexpr std::array<InsertionRule, 6> kTapConflicts = {{
    {Rule::TapConflicts, LabelOf(kOpVoice), "TAP paging cannot be used with a voice command."},
    {Rule::TapConflicts, LabelOf(kOpVoiceMinus), "TAP paging cannot be used with a voice command."},
    {Rule::TapConflicts, LabelOf(kOpVoicePlus), "TAP paging cannot be used with a voice command."},
    {Rule::TapConflicts, LabelOf(kOpDtmf), "TAP paging cannot be used with a DTMF command."},
    {Rule::TapConflicts, LabelOf(kOpSignal), "TAP paging cannot be used with the Signal command."},
    {Rule::TapConflicts, LabelOf(kOpAlert), "TAP paging cannot be used with the Alert command."},
}};

inline constexpr InsertionRule kDialRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::NotFirst, "", "Dial command must be first in the list."},
    {Rule::FirstHolds, LabelOf(kOpDial), ""},
    {Rule::FirstHolds, LabelOf(kOpRadio),
     "There is a Radio command at the first location, a Dial command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpPatch),
     "There is a Patch command at the first location, a Dial command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpAutoAck),
     "There is an Auto Ack command at the first location, a Dial command cannot be inserted in front of it."},
};
inline constexpr InsertionRule kRadioRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::NotFirst, "", "The Radio command must be first in the list."},
    {Rule::FirstHolds, LabelOf(kOpRadio), ""},
    {Rule::FirstHolds, LabelOf(kOpDial),
     "There is a Dial command at the first location, a Radio command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpPatch),
     "There is a Patch command at the first location, a Radio command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpAutoAck),
     "There is an Auto Ack command at the first location, a Radio command cannot be inserted in front of "
     "it."},
};
inline constexpr InsertionRule kWaitRules[] = {
    {Rule::FirstTaken, "", "If Wait is the first command, it cannot have more commands after it."},
    {Rule::AutoAck, "", ""},
};
inline constexpr InsertionRule kVoiceRules[] = {
    {Rule::First, "", "Voice cannot be the first command - use Dial or Radio."},
    {Rule::TapPresent, "", "Voice cannot be used with the TAP paging command."},
    {Rule::Wait, "", ""},
    {Rule::AutoAck, "", ""},
};
inline constexpr InsertionRule kDtmfRules[] = {
    {Rule::Wait, "", ""},
    {Rule::AutoAck, "", ""},
    {Rule::TapPresent, "", "DTMF cannot be used with the TAP paging command."},
    {Rule::First, "", "DTMF cannot be the first command - possibly Dial or Radio first?"},
};
inline constexpr InsertionRule kAnswerRules[] = {
    {Rule::Wait, "", ""},
    {Rule::AutoAck, "", ""},
    {Rule::First, "", "Answer cannot be the first command - Dial first."},
    {Rule::FirstLacks, LabelOf(kOpDial), "The Answer command can only be used after dialing."},
    {Rule::CallProgress, "", kCallProgressNotice},
};
inline constexpr InsertionRule kAlertRules[] = {
    {Rule::Wait, "", ""},
    {Rule::AutoAck, "", ""},
    {Rule::First, "", "Alert cannot be the first command - use Dial or Radio?"},
    {Rule::TapPresent, "", "Alert cannot be used with the TAP paging command."},
};
inline constexpr InsertionRule kTwoToneRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::First, "", "2 Tone cannot be the first command - Radio first."},
    {Rule::FirstHolds, LabelOf(kOpDial), "2 Tone cannot be used after a Dial command."},
};
inline constexpr InsertionRule kFiveToneRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::First, "", "5 Tone cannot be the first command - Radio first."},
    {Rule::FirstHolds, LabelOf(kOpDial), "5 Tone cannot be used with a Dial command."},
};
inline constexpr InsertionRule kSingleToneRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::First, "", "Single Tone cannot be the first command - Radio or Dial first."},
};
inline constexpr InsertionRule kAutoAckRules[] = {
    {Rule::SecondTaken, "", "Auto Ack command cannot have commands preceeding on the same directory line."},
    {Rule::NotFirst, "", "Auto Ack command must be the first and only command on a directory line."},
};
inline constexpr InsertionRule kSignalRules[] = {
    {Rule::Wait, "", ""},
    {Rule::AutoAck, "", ""},
    {Rule::TapPresent, "", "Signal cannot be used with the TAP paging command."},
    {Rule::First, "", "Signal cannot be the first command - possibly Dial or Radio first?"},
};
inline constexpr InsertionRule kPatchRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::NotFirst, "", "The Patch command must be first in the list."},
    {Rule::FirstHolds, LabelOf(kOpPatch), ""},
    {Rule::FirstHolds, LabelOf(kOpDial),
     "There is a Dial command at the first location, a Patch command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpRadio),
     "There is a Radio command at the first location, a Patch command cannot be inserted in front of it."},
    {Rule::FirstHolds, LabelOf(kOpAutoAck),
     "There is an Auto Ack command at the first location, a Patch command cannot be inserted in front of "
     "it."},
};
inline constexpr InsertionRule kVoiceMinusRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::TapPresent, "", "Voice- cannot be used with the TAP paging command."},
    {Rule::First, "", "Voice- cannot be the first command - Dial, Radio or Patch first."},
    {Rule::FirstHolds, LabelOf(kOpTap), "Voice- cannot follow the TAP paging command."},
};
inline constexpr InsertionRule kVoicePlusRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::TapPresent, "", "Voice+ cannot be used with the TAP paging command."},
    {Rule::First, "", "Voice+ cannot be the first command - Dial, Radio or Patch first."},
};
inline constexpr InsertionRule kTapRules[] = {
    {Rule::AutoAck, "", ""},
    {Rule::Wait, "", ""},
    {Rule::TapConflicts, "", ""},
    {Rule::FirstLacks, LabelOf(kOpDial), "TAP paging can only be done after a dial command - Dial first."},
    {Rule::First, "", "TAP paging cannot be the first command - Dial first."},
};

// Indexed by LineCommand.
inline constexpr std::span<const InsertionRule> kInsertionRules[] = {
    kDialRules,    kWaitRules,     kDtmfRules,  kAlertRules,      kAutoAckRules,   kAnswerRules,
    kVoiceRules,   kSignalRules,   kRadioRules, kPatchRules,      kVoicePlusRules, kVoiceMinusRules,
    kTwoToneRules, kFiveToneRules, kTapRules,   kSingleToneRules,
};

// The checks run when a line is confirmed.
inline constexpr std::string_view kDialNeedsAction = "Dial command must be followed by an action.";
inline constexpr std::string_view kSingleDelay = "Dial command cannot be a single '!' delay.";
inline constexpr std::string_view kDialDefault =
    "The DIAL command requires a telephone number - Enter it now?";
inline constexpr std::string_view kDialEmpty = "The DIAL command has no digits - Do you want to change it?";
inline constexpr std::string_view kDialBadDigit =
    "Invalid digit found in the DIAL command, Use 0-9, #, or *.";
inline constexpr std::string_view kRadioNeedsAction = "Radio command must be followed by an action.";
inline constexpr std::string_view kToneAFormat =
    "2 Tone - Invalid tone A, Use the format XXX.X for the frequency.";
inline constexpr std::string_view kToneBFormat =
    "2 Tone - Invalid tone B, Use the format XXX.X for the frequency.";
inline constexpr std::string_view kToneARange =
    "2 Tone - Invalid tone A, Allowed range is between 100 and 2500 Hz.";
inline constexpr std::string_view kToneBRange =
    "2 Tone - Invalid tone B, Allowed range is between 100 and 2500 Hz.";
inline constexpr std::string_view kTwoToneDefault =
    "The 2 Tone command still has default values - Do you want to change it?";
inline constexpr std::string_view kFiveToneFormat =
    "5 Tone - Invalid format, Use the formats .XXXXX (no preamble) or W.XXXXX (preamble) for the code.";
inline constexpr std::string_view kFiveToneDefault =
    "The 5 Tone command still has default values - Do you want to change it?";
inline constexpr std::string_view kSingleToneFormat =
    "Single Tone - Invalid format, Use the formats XXXX.X or XXX.X for the code.";
inline constexpr std::string_view kSingleToneNumbers =
    "Single Tone - Invalid format, Use only numbers for the tone frequency.";
inline constexpr std::string_view kSingleToneLow = "Single Tone - Frequency cannot be less than 100.0 Hz.";
inline constexpr std::string_view kSingleToneHigh =
    "Single Tone - Frequency cannot be greater than 1999.9 Hz.";
inline constexpr std::string_view kSingleToneDefault =
    "The Single Tone command still has default values - Do you want to change it?";
inline constexpr std::string_view kDtmfDefault =
    "The DTMF command still has default values - Do you want to change it?";
inline constexpr std::string_view kDtmfEmpty = "The DTMF command has no digits - Do you want to change it?";
inline constexpr std::string_view kDtmfBadDigit = "Invalid DTMF digit found, Use 0-9, #, *, A, B, C, or D.";
inline constexpr std::string_view kTapDefault = "The TAP paging command has the default code - Enter it now?";
inline constexpr std::string_view kTapEmpty =
    "The TAP paging command has no code - Do you want to change it?";
inline constexpr std::string_view kTapBadDigit = "Invalid digit found in the TAP paging command, Use 0-9.";
inline constexpr std::string_view kPatchBadDigit =
    "Invalid digit found in the Patch command, Use 0-9, #, or *.";
inline constexpr std::string_view kPatchNoHangup = "Patch sequence must end with a DTMF hangup code.";
inline constexpr std::string_view kPatchDefault =
    "The Patch command requires a telephone number - Enter it now?";
inline constexpr std::string_view kPatchEmpty = "The Patch command has no digits - Do you want to change it?";
inline constexpr std::string_view kWaitDefault =
    "The WAIT command still has default values - Do you want to change it?";
inline constexpr std::string_view kWaitEmpty = "The WAIT command has no time - Do you want to change it?";
inline constexpr std::string_view kWaitBadDigit = "Invalid digit found in the WAIT command, use 0-9 only.";
inline constexpr std::string_view kWaitTooLong = "The WAIT interval is too long, it must be less than 255.";

} // namespace veskar

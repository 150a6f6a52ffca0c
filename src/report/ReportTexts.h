#pragma once

// The fixed texts of the summary pages, exactly as printed.

#include "database/Image.h"

#include <array>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kReportHeading =
    "Corvane Veskar Worker Monitor  ---  Drummel Engineering Ltd.";
inline constexpr std::string_view kOperatorTitle = "Operator Summary";
inline constexpr std::string_view kSystemTitle = "System Summary";
inline constexpr std::string_view kDirectoryTitle = "Directory Summary - Page ";
inline constexpr std::string_view kWarningsTitle = "Warnings - Page ";

inline constexpr std::string_view kFlagOn = "  ON  ";
inline constexpr std::string_view kFlagOff = "  OFF ";

struct FunctionSetting {
    Byte UserRecord::*flag;
    std::string_view label;
};

// The "Function Settings:" lines of an operator, in printed order.
inline constexpr std::array<FunctionSetting, 13> kFunctionSettings = {{
    {&UserRecord::enableCallout, "Alarm callout with timeout"},
    {&UserRecord::allowTimerChange, "Let user change timer value"},
    {&UserRecord::speakTimerNumber, "Speak timer number"},
    {&UserRecord::useVoiceName, "Use Voice message for users name"},
    {&UserRecord::useVoiceLocation, "Use Voice message for users location"},
    {&UserRecord::useDtmfName, "Use DTMF code for the users name"},
    {&UserRecord::useDtmfLocation, "Use DTMF code for the users location"},
    {&UserRecord::askName, "Ask for users name when timer is started"},
    {&UserRecord::askLocation, "Ask for users location when timer is started"},
    {&UserRecord::askTimer, "Ask for users timer value when timer is started"},
    {&UserRecord::askEmergencyConfirm, "Ask for emergency confirmation"},
    {&UserRecord::askSettingsConfirm, "Ask for confirmation of the settings"},
    {&UserRecord::playSettings, "Play the settings when entering timer startup"},
}};

inline constexpr std::string_view kEmptyDirectory = "(Empty)";

} // namespace veskar

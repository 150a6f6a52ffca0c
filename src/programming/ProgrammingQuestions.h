#pragma once

// The questions asked before a configuration is written: one for each thing
// the unit will miss, or the general offer to look at the warnings first.

#include "database/Image.h"

#include <string_view>
#include <vector>

namespace veskar {

inline constexpr std::string_view kNoAckCodeQuestion =
    "The configuration does not have an Acknowledge Code  -  The Corvane VWM needs this code to work "
    "properly "
    "unless it is used with a Public Address system.\nDo you want to check the Summary for other warnings "
    "before programming?";
inline constexpr std::string_view kNoAccessCodeQuestion =
    "The configuration does not have an Access Code  -  Output control and programming can be done by anyone "
    "calling in.\nDo you want to check the Summary for other warnings before programming?";
inline constexpr std::string_view kNoPhoneQuestion =
    "There are no phone numbers in any directories.  This is OK if you are not using the Corvane VWM as an "
    "autodialer.\nDo you want to check the Summary for other warnings before programming?";
inline constexpr std::string_view kCheckSummaryQuestion =
    "Do you want to check the Summary for warnings before programming?";
inline constexpr std::string_view kContinueQuestion = "Do you want to continue with programming?";

// The specific questions in the order they are asked; empty when none applies,
// and then kCheckSummaryQuestion is asked instead.
[[nodiscard]] std::vector<std::string_view> MissingItemQuestions(const Image& image);

} // namespace veskar

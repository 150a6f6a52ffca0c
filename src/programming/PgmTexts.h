#pragma once

// Texts of the Programming dialog that are not the engine's.

#include <cstddef>
#include <string_view>

namespace veskar {

// Followed by a line break and what a stop would leave behind.
inline constexpr std::string_view kStopQuestion = "A transfer is running. Do you want to stop it?";

inline constexpr std::string_view kVerifyCaption = "Verify";
inline constexpr std::string_view kUnitMatches = "The unit holds the configuration being edited.";
inline constexpr std::string_view kUnitDiffers =
    "The unit's configuration differs from the one being edited (edited -> unit):";
// Only this many differences are listed; the rest are counted.
inline constexpr std::size_t kDifferencesListed = 30;

} // namespace veskar

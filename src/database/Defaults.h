#pragma once

// Creating, repairing and clearing the whole image, and the constants the
// program writes into every configuration.

#include "database/Image.h"

#include <string_view>

namespace veskar {

// Symbols of the codes the program fills in itself. The unit expects the fixed
// code on every configuration; the other two are only defaults the user may change.
inline constexpr std::string_view kFixedCode = "314159265";
inline constexpr std::string_view kDefaultAckCode = "2580";
inline constexpr std::string_view kDefaultStatusCode = "1470";
inline constexpr std::string_view kDefaultSiteName = "RidIvav Alarm";

inline constexpr Byte kLevelMin = 15;
inline constexpr Byte kLevelMax = 35;
inline constexpr Byte kLevelCentre = 25;
inline constexpr int kDefaultTimerMinutes = 20;

[[nodiscard]] SplitNumber SplitValue(int value);

// Repairs one code field; true when its length byte was out of range.
bool CheckHexDTMF(CodeField& code);

void SetFixedCode(SystemBlock& gen);
void SetDefaultUserOptions(UserRecord& user);

void CreateDatabase(Image& image);
void DefaultValues(Image& image);
void ClearDatabase(Image& image);

}  // namespace veskar

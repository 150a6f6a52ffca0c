#pragma once

// Checks of the values typed into directory lines. Each returns true when it
// finds an invalid character; an empty text is valid.

#include <string>

namespace veskar {

// Telephone numbers: drops blanks and dashes first, then 0-9 * # ! (a pause).
[[nodiscard]] bool CheckPhone(std::string& text);

// Decimal digits only.
[[nodiscard]] bool CheckNumber(const std::string& text);

// DTMF digits 0-9 A-D * # !, with a-d turned to upper case while scanning.
[[nodiscard]] bool CheckDTMF(std::string& text);

// Digits and "." anywhere; "+" or "-" only in front.
[[nodiscard]] bool CheckFloat(const std::string& text);

}  // namespace veskar

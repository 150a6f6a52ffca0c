#pragma once

// How the editing forms read a number typed into a field: only the first
// characters the field is read with count; then the leading decimal integer
// (blanks and a sign allowed in front, text after it ignored). No digits
// reads as 0. Values beyond int saturate, so they still fail a range check.

#include <cstddef>
#include <string_view>

namespace veskar {

[[nodiscard]] int LeadingInteger(std::string_view text, std::size_t charactersRead);

} // namespace veskar

#pragma once

// How the editing forms read a code typed into a field: only the first
// characters the field is read with count; at most 8 symbols, each a DTMF
// digit. Lower-case a-d are taken as A-D.

#include <cstddef>
#include <string>

namespace veskar {

enum class CodeEntryFault { None, TooLong, NotDtmf };

// Cuts `text` to `charactersRead` characters and upper-cases a-d in it.
[[nodiscard]] CodeEntryFault CheckCodeEntry(std::string& text, std::size_t charactersRead);

} // namespace veskar

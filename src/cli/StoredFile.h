#pragma once

// Helpers the sub-commands share for reading data files and printing differences.

#include "database/Image.h"

#include <iosfwd>
#include <string>

namespace veskar::cli {

// Reads a data file as stored: the name and size rules apply, the repair pass
// does not. On refusal the program's message goes to `err`.
[[nodiscard]] bool ReadStored(const std::string& name, Image& image, std::ostream& err);

// Prints `name: before -> after` per differing field; returns how many differ.
std::size_t PrintDifferences(const Image& before, const Image& after, std::ostream& out);

} // namespace veskar::cli

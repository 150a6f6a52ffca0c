#pragma once

// The image as "name = value" entries in image order, for showing and for
// comparing two configurations field by field.

#include "database/FieldTable.h"
#include "database/Image.h"

#include <string>
#include <vector>

namespace veskar {

struct ListingEntry {
    std::string name;
    std::string value;
};

// Distinct bytes give distinct text, so comparing entries compares the fields.
[[nodiscard]] std::vector<ListingEntry> ImageListing(const Image& image);

struct FieldDifference {
    std::string name;
    std::string before;
    std::string after;
};

[[nodiscard]] std::vector<FieldDifference> CompareImages(const Image& before, const Image& after);

} // namespace veskar

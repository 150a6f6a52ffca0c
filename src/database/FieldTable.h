#pragma once

// Every field of the image by name, offset, width and kind: the one place that
// says where a byte lives. Listings and comparisons walk this table.

#include "database/Image.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

enum class FieldKind {
    Code,       // 16-byte code field
    Flag,       // 0 off, anything else on
    Number,     // one unsigned byte
    Split,      // hundreds, tens, units, value
    Level,      // 15-35 around 25
    Word16,     // two bytes, high first
    Name,       // 16 characters padded with blanks
    Reserved,   // bytes the editors never show
    Directory,  // 256-byte directory block
};

struct FieldSpec {
    std::string_view name;
    std::size_t offset;  // within its block
    std::size_t width;
    FieldKind kind;
};

struct Field {
    std::string name;    // "user3.stopCode", "gen.timerA", "dirB"
    std::size_t offset;  // within the image
    std::size_t width;
    FieldKind kind;

    [[nodiscard]] std::span<const Byte> in(const Image& image) const
    {
        return image.bytes().subspan(offset, width);
    }
};

[[nodiscard]] std::span<const FieldSpec> UserRecordFields();
[[nodiscard]] std::span<const FieldSpec> SystemBlockFields();

// The whole image in image order: users 1-16, the system block, directories A-D.
[[nodiscard]] const std::vector<Field>& ImageFields();

// How many fields of the table hold different bytes in the two images.
[[nodiscard]] std::size_t ChangedFieldCount(const Image& before, const Image& after);

}  // namespace veskar

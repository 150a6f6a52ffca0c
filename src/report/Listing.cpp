#include "report/Listing.h"

#include "database/Codes.h"
#include "database/Defaults.h"
#include "directories/CommandTable.h"
#include "directories/DirectoryCodec.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace veskar {

namespace {

constexpr std::string_view kNoEntry = "(none)";
constexpr std::string_view kEmptyDirectory = "(empty)";

std::string Hex(std::span<const Byte> bytes)
{
    std::string text;
    for (Byte byte : bytes) {
        char cell[4];
        std::snprintf(cell, sizeof cell, "%02X", byte);
        if (!text.empty())
            text += ' ';
        text += cell;
    }
    return text;
}

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<Byte>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// As the repair sees codes: at most 8 digits, only the fixed code has its 9.
bool IsTidyCode(std::span<const Byte> bytes, std::size_t maxDigits)
{
    CodeField code;
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<Byte*>(&code));
    if (code.length > maxDigits)
        return false;
    const auto digitsEnd = code.digits.begin() + code.length;
    return std::all_of(code.digits.begin(), digitsEnd, [](Byte d) { return d <= 15; }) &&
           std::all_of(digitsEnd, code.digits.end(), [](Byte d) { return d == 0; });
}

std::string CodeValue(std::span<const Byte> bytes, std::size_t maxDigits)
{
    if (!IsTidyCode(bytes, maxDigits))
        return "invalid [" + Hex(bytes) + "]";
    if (bytes[15] == 0)
        return std::string(kNoEntry);
    std::string text(bytes.begin(), bytes.begin() + bytes[15]);
    Data2DTMF(text.data(), static_cast<int>(text.size()));
    return text;
}

std::string SplitValueText(std::span<const Byte> bytes)
{
    const SplitNumber split{bytes[0], bytes[1], bytes[2], bytes[3]};
    const SplitNumber tidy = SplitValue(split.value);
    std::string text = std::to_string(split.value);
    if (split.hundreds != tidy.hundreds || split.tens != tidy.tens || split.units != tidy.units)
        text += " (digits " + Hex(bytes.first(3)) + ")";
    return text;
}

std::string NameValue(std::span<const Byte> bytes)
{
    std::string text(bytes.begin(), bytes.end());
    text.erase(text.find_last_not_of(' ') + 1);
    return Quoted(text);
}

std::string ScalarValue(const Field& field, std::span<const Byte> bytes)
{
    switch (field.kind) {
    case FieldKind::Code:
        return CodeValue(bytes, field.name == "gen.fixedCode" ? kMaxCodeDigits + 1 : kMaxCodeDigits);
    case FieldKind::Flag:
    case FieldKind::Number:
    case FieldKind::Level: return std::to_string(bytes[0]);
    case FieldKind::Split: return SplitValueText(bytes);
    case FieldKind::Word16: {
        const int stored = (bytes[0] << 8) | bytes[1];
        return std::to_string(stored) + " (" + std::to_string(stored / 16) + " minutes)";
    }
    case FieldKind::Name: return NameValue(bytes);
    case FieldKind::Reserved: return Hex(bytes);
    case FieldKind::Directory: break;
    }
    return Hex(bytes);
}

std::string OpcodeText(Byte opcode)
{
    const auto label = ExpandCommand(opcode);
    return label ? std::string(*label) : " [" + std::string(1, static_cast<char>(opcode)) + "]";
}

// Every line the block holds, up to where it ends, as stored: an empty line
// with more after it, a 21st line, a 13th command or a long value are listed
// too, though the directory window leaves them out.
std::vector<std::string> StoredLines(std::span<const Byte> block)
{
    std::vector<std::string> lines;
    std::string text;
    ValueClass valueClass = ValueClass::Plain;
    for (std::size_t i = 0; i < block.size() && block[i] != kDirectoryEnd; ++i) {
        const Byte byte = block[i];
        if (byte == kLineEnd) {
            lines.push_back(std::exchange(text, {}));
            valueClass = ValueClass::Plain;
            if (i + 1 < block.size() && block[i + 1] == kDirectoryEnd)
                break;
        } else if (IsOpcode(byte)) {
            text += OpcodeText(byte);
            valueClass = ValueClassOf(byte);
        } else {
            text += DecodeValueByte(valueClass, byte);
        }
    }
    if (!text.empty())
        lines.push_back(text); // no end mark after the last line
    if (lines.size() == 1 && lines.front().empty())
        lines.clear(); // "&" alone: the empty directory
    return lines;
}

std::vector<ListingEntry> DirectoryLines(const Field& field, std::span<const Byte> bytes)
{
    std::vector<ListingEntry> entries;
    const std::vector<std::string> lines = StoredLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i)
        entries.push_back({field.name + ".line" + std::to_string(i + 1), Quoted(lines[i])});
    return entries;
}

// Directories compare line by line; an empty one simply has no lines.
std::vector<ListingEntry> ComparableEntries(const Field& field, const Image& image)
{
    if (field.kind == FieldKind::Directory)
        return DirectoryLines(field, field.in(image));
    return {{field.name, ScalarValue(field, field.in(image))}};
}

DirectoryBlock BlockOf(const Field& field, const Image& image)
{
    DirectoryBlock block;
    std::ranges::copy(field.in(image), block.begin());
    return block;
}

std::span<const Byte> StoredContent(const DirectoryBlock& block)
{
    return std::span<const Byte>(block).first(DirectoryContentLength(block));
}

std::vector<ListingEntry> FieldEntries(const Field& field, const Image& image)
{
    std::vector<ListingEntry> entries = ComparableEntries(field, image);
    if (field.kind == FieldKind::Directory && entries.empty())
        entries.push_back({field.name, std::string(kEmptyDirectory)});
    return entries;
}

} // namespace

std::vector<ListingEntry> ImageListing(const Image& image)
{
    std::vector<ListingEntry> listing;
    for (const Field& field : ImageFields())
        std::ranges::move(FieldEntries(field, image), std::back_inserter(listing));
    return listing;
}

std::vector<FieldDifference> CompareImages(const Image& before, const Image& after)
{
    std::vector<FieldDifference> differences;
    for (const Field& field : ImageFields()) {
        const auto a = ComparableEntries(field, before);
        const auto b = ComparableEntries(field, after);
        bool listed = false;
        for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            const std::string& name = i < a.size() ? a[i].name : b[i].name;
            const std::string valueA = i < a.size() ? a[i].value : std::string(kNoEntry);
            const std::string valueB = i < b.size() ? b[i].value : std::string(kNoEntry);
            if (valueA != valueB) {
                differences.push_back({name, valueA, valueB});
                listed = true;
            }
        }
        if (listed)
            continue;
        if (field.kind == FieldKind::Directory) {
            // Lines that read the same can still be stored differently.
            const DirectoryBlock blockA = BlockOf(field, before);
            const DirectoryBlock blockB = BlockOf(field, after);
            if (!std::ranges::equal(StoredContent(blockA), StoredContent(blockB))) {
                differences.push_back(
                    {field.name + ".stored", Hex(StoredContent(blockA)), Hex(StoredContent(blockB))});
                continue;
            }
        }
        // Every byte goes to the unit: one that reads the same in the listing still differs.
        const auto bytesA = field.in(before);
        const auto bytesB = field.in(after);
        for (std::size_t i = 0; i < field.width; ++i) {
            if (bytesA[i] == bytesB[i])
                continue;
            char offset[16];
            std::snprintf(offset, sizeof offset, "offset 0x%03zX", field.offset + i);
            differences.push_back({offset, Hex(bytesA.subspan(i, 1)), Hex(bytesB.subspan(i, 1))});
        }
    }
    return differences;
}

} // namespace veskar

#pragma once

// A directory's stored form (a 256-byte block of opcodes, value bytes, "&"
// line ends and a closing 0) and the line table the directory window edits.

#include "database/Image.h"
#include "directories/CommandTable.h"

#include <array>
#include <string>

namespace veskar {

inline constexpr int kMaxLines = 20;
inline constexpr int kMaxCommandsPerLine = 12;
inline constexpr std::size_t kMaxValueLength = 39;
inline constexpr int kMaxDirectoryBytes = 252;
inline constexpr std::size_t kMaxDescriptionLength = 118;

struct Command {
    Byte opcode = 0;  // 0 = empty slot
    std::string value;

    friend bool operator==(const Command&, const Command&) = default;
};

struct Line {
    std::array<Command, kMaxCommandsPerLine> commands;

    [[nodiscard]] bool empty() const { return commands[0].opcode == 0; }
    [[nodiscard]] int commandCount() const;

    friend bool operator==(const Line&, const Line&) = default;
};

struct LineTable {
    std::array<Line, kMaxLines> lines;

    [[nodiscard]] int lineCount() const;

    friend bool operator==(const LineTable&, const LineTable&) = default;
};

[[nodiscard]] LineTable ReadDirectory(const DirectoryBlock& block);

// A value byte as the character it stands for in a value of this class.
[[nodiscard]] char DecodeValueByte(ValueClass valueClass, Byte stored);

// Rewrites the block up to its new closing 0; the bytes after it keep what they
// held. A table that does not fit in the block is refused and the block left as it was.
[[nodiscard]] bool WriteDirectory(const LineTable& table, DirectoryBlock& block);

// Bytes the lines take when stored, the closing 0 not counted.
[[nodiscard]] int DirectoryByteCount(const LineTable& table);
[[nodiscard]] int LineByteCount(const Line& line);

// The "% USED =" figure of the directory window.
[[nodiscard]] int UsageFigure(const LineTable& table);

// Labels and values of the line's commands, joined without separators.
[[nodiscard]] std::string DescriptionText(const Line& line);

// Drops the first command that takes the description past its limit, and all
// after it. True when anything was dropped.
bool TrimToDescriptionLimit(Line& line);

// The meaningful bytes of a block: up to and including its closing 0.
[[nodiscard]] std::size_t DirectoryContentLength(const DirectoryBlock& block);

}  // namespace veskar

#include "directories/DirectoryCodec.h"

#include "database/Codes.h"
#include "directories/CommandTable.h"

#include <algorithm>
#include <vector>

namespace veskar {

namespace {

constexpr Byte kTextBit = 0x80;

Byte EncodeValueChar(ValueClass valueClass, char symbol)
{
    switch (valueClass) {
    case ValueClass::Digit: return SymbolToStoredChar(symbol);
    case ValueClass::Text: return static_cast<Byte>(static_cast<Byte>(symbol) | kTextBit);
    case ValueClass::Plain: break;
    }
    return static_cast<Byte>(symbol);
}

std::vector<Byte> EncodeLines(const LineTable& table)
{
    std::vector<Byte> bytes;
    for (const Line& line : table.lines) {
        if (line.empty())
            break;
        for (const Command& command : line.commands) {
            if (command.opcode == 0)
                break;
            bytes.push_back(command.opcode);
            const ValueClass valueClass = ValueClassOf(command.opcode);
            for (char symbol : command.value)
                bytes.push_back(EncodeValueChar(valueClass, symbol));
        }
        bytes.push_back(kLineEnd);
    }
    if (bytes.empty())
        bytes.push_back(kLineEnd);
    bytes.push_back(kDirectoryEnd);
    return bytes;
}

}  // namespace

char DecodeValueByte(ValueClass valueClass, Byte stored)
{
    switch (valueClass) {
    case ValueClass::Digit: return StoredCharToSymbol(stored);
    case ValueClass::Text: return static_cast<char>(stored & 0x7F);
    case ValueClass::Plain: break;
    }
    return static_cast<char>(stored);
}

int Line::commandCount() const
{
    return static_cast<int>(std::ranges::find(commands, Byte{0}, &Command::opcode) - commands.begin());
}

int LineTable::lineCount() const
{
    return static_cast<int>(std::ranges::find_if(lines, &Line::empty) - lines.begin());
}

LineTable ReadDirectory(const DirectoryBlock& block)
{
    LineTable table;
    int line = 0;
    int slot = -1;  // no current command
    ValueClass valueClass = ValueClass::Plain;

    for (std::size_t i = 0; i < block.size(); ++i) {
        const Byte byte = block[i];
        if (byte == kDirectoryEnd)
            break;
        if (byte == kLineEnd) {
            if (i + 1 < block.size() && block[i + 1] == kDirectoryEnd)
                break;
            ++line;
            slot = -1;
            continue;
        }
        const bool lineFits = line < kMaxLines;
        if (IsOpcode(byte)) {
            ++slot;
            if (lineFits && slot < kMaxCommandsPerLine)
                table.lines[static_cast<std::size_t>(line)].commands[static_cast<std::size_t>(slot)].opcode = byte;
            valueClass = ValueClassOf(byte);
            continue;
        }
        if (!lineFits || slot < 0 || slot >= kMaxCommandsPerLine)
            continue;
        std::string& value = table.lines[static_cast<std::size_t>(line)].commands[static_cast<std::size_t>(slot)].value;
        if (value.size() < kMaxValueLength)
            value.push_back(DecodeValueByte(valueClass, byte));
    }
    return table;
}

bool WriteDirectory(const LineTable& table, DirectoryBlock& block)
{
    const std::vector<Byte> bytes = EncodeLines(table);
    if (bytes.size() > block.size())
        return false;
    std::ranges::copy(bytes, block.begin());
    return true;
}

int LineByteCount(const Line& line)
{
    int count = 1;  // the closing "&"
    for (const Command& command : line.commands) {
        if (command.opcode == 0)
            break;
        count += 1 + static_cast<int>(command.value.size());
    }
    return count;
}

int DirectoryByteCount(const LineTable& table)
{
    int count = 0;
    for (const Line& line : table.lines) {
        if (line.empty())
            break;
        count += LineByteCount(line);
    }
    return count;
}

int UsageFigure(const LineTable& table)
{
    int used = DirectoryByteCount(table);
    if (table.lineCount() < kMaxLines)
        ++used;
    return used * 100 / static_cast<int>(kDirectoryBlockSize);
}

std::string DescriptionText(const Line& line)
{
    std::string text;
    for (const Command& command : line.commands) {
        if (command.opcode == 0)
            break;
        text += ExpandCommand(command.opcode).value_or("");
        text += command.value;
    }
    return text;
}

bool TrimToDescriptionLimit(Line& line)
{
    std::size_t length = 0;
    for (Command& command : line.commands) {
        if (command.opcode == 0)
            return false;
        length += ExpandCommand(command.opcode).value_or("").size() + command.value.size();
        if (length > kMaxDescriptionLength) {
            const auto first = line.commands.begin() + (&command - line.commands.data());
            std::fill(first, line.commands.end(), Command{});
            return true;
        }
    }
    return false;
}

std::size_t DirectoryContentLength(const DirectoryBlock& block)
{
    const auto end = std::ranges::find(block, kDirectoryEnd);
    return end == block.end() ? block.size() : static_cast<std::size_t>(end - block.begin()) + 1;
}

}  // namespace veskar

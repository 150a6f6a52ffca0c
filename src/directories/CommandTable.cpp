#include "directories/CommandTable.h"

#include <algorithm>

namespace veskar {

const LineCommandInfo* FindLineCommand(Byte opcode)
{
    const auto* found = std::ranges::find(kCommands, opcode, &LineCommandInfo::opcode);
    return found == std::end(kCommands) ? nullptr : found;
}

bool IsOpcode(Byte byte)
{
    return byte == kOpFiveToneSuffix || FindLineCommand(byte) != nullptr;
}

ValueClass ValueClassOf(Byte opcode)
{
    const LineCommandInfo* command = FindLineCommand(opcode);
    return command ? command->valueClass : ValueClass::Plain;
}

Byte ShrinkCommand(std::string_view label)
{
    if (label == kBlankLabel)
        return kBlankOpcode;
    const auto* found = std::ranges::find(kCommands, label, &LineCommandInfo::label);
    return found == std::end(kCommands) ? 0 : found->opcode;
}

std::optional<std::string_view> ExpandCommand(Byte opcode)
{
    if (opcode == kBlankOpcode)
        return kBlankLabel;
    const LineCommandInfo* command = FindLineCommand(opcode);
    if (!command)
        return std::nullopt;
    return command->label;
}

}  // namespace veskar

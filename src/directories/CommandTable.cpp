#include "directories/CommandTable.h"

#include <algorithm>

namespace veskar {

const CommandInfo* FindCommand(Byte opcode)
{
    const auto* found = std::ranges::find(kCommands, opcode, &CommandInfo::opcode);
    return found == std::end(kCommands) ? nullptr : found;
}

bool IsOpcode(Byte byte)
{
    return byte == kOpFiveToneSuffix || FindCommand(byte) != nullptr;
}

ValueClass ValueClassOf(Byte opcode)
{
    const CommandInfo* command = FindCommand(opcode);
    return command ? command->valueClass : ValueClass::Plain;
}

Byte ShrinkCommand(std::string_view label)
{
    if (label == kBlankLabel)
        return kBlankOpcode;
    const auto* found = std::ranges::find(kCommands, label, &CommandInfo::label);
    return found == std::end(kCommands) ? 0 : found->opcode;
}

std::optional<std::string_view> ExpandCommand(Byte opcode)
{
    if (opcode == kBlankOpcode)
        return kBlankLabel;
    const CommandInfo* command = FindCommand(opcode);
    if (!command)
        return std::nullopt;
    return command->label;
}

}  // namespace veskar

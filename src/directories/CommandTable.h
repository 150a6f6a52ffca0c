#pragma once

// The callout commands of a directory line: label, opcode byte, how the value
// is stored, and what the line editor inserts and accepts.

#include "database/DirectoryBytes.h"
#include "database/Image.h"

#include <optional>
#include <span>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kBlankLabel = " ";

enum class ValueClass {
    Plain,  // stored unchanged
    Digit,  // DTMF symbols as stored characters (0x30 + digit value)
    Text,   // each character with bit 7 set
};

struct LineCommandInfo {
    std::string_view label;
    Byte opcode;
    ValueClass valueClass;
    std::string_view defaultValue;
    int valueLimit;  // characters the editor accepts; 0 = not editable
};

inline constexpr LineCommandInfo kCommands[] = {
    {" [DIAL]", kOpDial, ValueClass::Digit, "0000", 40},
    {" [RADIO]", kOpRadio, ValueClass::Plain, "", 0},
    {" [WAIT]", kOpWait, ValueClass::Plain, "000", 3},
    {" [VOICE]", kOpVoice, ValueClass::Plain, "", 0},
    {" [VOICE+]", kOpVoicePlus, ValueClass::Plain, "", 0},
    {" [VOICE-]", kOpVoiceMinus, ValueClass::Plain, "", 0},
    {" [DTMF]", kOpDtmf, ValueClass::Digit, "0000", 40},
    {" [ANSWER]", kOpAnswer, ValueClass::Plain, "", 0},
    {" [ALERT]", kOpAlert, ValueClass::Plain, "", 0},
    {" [2 TONE]", kOpTwoTone, ValueClass::Plain, "123.4/567.8", 15},
    {" [5 TONE]", kOpFiveTone, ValueClass::Plain, ".54321", 7},
    {" [1 TONE]", kOpOneTone, ValueClass::Plain, "1234.5", 7},
    {" [TAP]", kOpTap, ValueClass::Text, "0000", 12},
    {" [PATCH]", kOpPatch, ValueClass::Digit, "0000", 40},
    {" [AUTO ACK]", kOpAutoAck, ValueClass::Plain, "", 0},
    {" [SIGNAL]", kOpSignal, ValueClass::Plain, "", 0},
};

// The labelled command with this opcode, if any.
[[nodiscard]] const LineCommandInfo* FindLineCommand(Byte opcode);

// The label of a labelled command, at compile time.
[[nodiscard]] constexpr std::string_view LabelOf(Byte opcode)
{
    for (const LineCommandInfo& command : kCommands)
        if (command.opcode == opcode)
            return command.label;
    return {};
}

// True for the bytes that start a command in a stored directory.
[[nodiscard]] bool IsOpcode(Byte byte);

[[nodiscard]] ValueClass ValueClassOf(Byte opcode);

// Label to opcode: 0x20 for " ", 0 for any text that is not a label.
[[nodiscard]] Byte ShrinkCommand(std::string_view label);

// Opcode to label; nothing (and the output untouched) for bytes without one.
[[nodiscard]] std::optional<std::string_view> ExpandCommand(Byte opcode);

}  // namespace veskar

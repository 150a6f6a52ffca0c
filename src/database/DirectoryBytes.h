#pragma once

// The bytes a directory block is made of: the command letters, the line
// separator and the block's end. The directory codec gives them meaning; the
// defaults and the repair pass only need to write and find them.

#include "database/Image.h"

namespace veskar {

inline constexpr Byte kOpDial = 'P';
inline constexpr Byte kOpRadio = 'R';
inline constexpr Byte kOpWait = 'W';
inline constexpr Byte kOpVoice = 'V';
inline constexpr Byte kOpVoicePlus = 'G';
inline constexpr Byte kOpVoiceMinus = 'L';
inline constexpr Byte kOpDtmf = 'Q';
inline constexpr Byte kOpAnswer = 'M';
inline constexpr Byte kOpAlert = 'N';
inline constexpr Byte kOpTwoTone = 'T';
inline constexpr Byte kOpFiveTone = 'F';
inline constexpr Byte kOpOneTone = 'K';
inline constexpr Byte kOpTap = 'H';
inline constexpr Byte kOpPatch = 'Z';
inline constexpr Byte kOpAutoAck = 'X';
inline constexpr Byte kOpSignal = 'S';
// The "U" suffix of a five-tone code reads back as a command of its own, without a label.
inline constexpr Byte kOpFiveToneSuffix = 'U';

inline constexpr Byte kLineEnd = '&';
inline constexpr Byte kDirectoryEnd = 0x00;
inline constexpr Byte kBlankOpcode = 0x20;

} // namespace veskar

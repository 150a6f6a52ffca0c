#pragma once

// Frames on the serial line, both directions:
//   0x16, source, command, packet number (2 bytes, high first), [4096 data bytes], CRC high, CRC low.
// The CRC has the Modbus parameters but is sent high byte first.

#include "database/Image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veskar {

inline constexpr Byte kFrameStart = 0x16;
inline constexpr Byte kSourcePc = 0x00;
inline constexpr Byte kSourceUnit = 0x01;

inline constexpr Byte kCmdLinkFirstPass = 0x89;
inline constexpr Byte kCmdLinkSecondPass = 0x88;
inline constexpr Byte kCmdWriteConfig = 0x00;
inline constexpr Byte kCmdWriteVoices = 0x01;
inline constexpr Byte kCmdWriteVocab = 0x02;
inline constexpr Byte kCmdReadConfig = 0x40;
inline constexpr Byte kCmdReadVoices = 0x41;
inline constexpr Byte kCmdData = 0x20;
inline constexpr Byte kCmdEndOfTransfer = 0x83;
inline constexpr Byte kCmdAcknowledge = 0x90;

inline constexpr std::size_t kFrameHeaderSize = 5;
inline constexpr std::size_t kBlockSize = 4096;
inline constexpr std::size_t kShortFrameSize = kFrameHeaderSize + 2;
inline constexpr std::size_t kDataFrameSize = kFrameHeaderSize + kBlockSize + 2;

[[nodiscard]] std::uint16_t Crc16(std::span<const Byte> bytes);

// `data` is empty or one 4096-byte block. The packet number is written only for
// data frames (command 0x20); every other frame carries 0 there.
[[nodiscard]] std::vector<Byte> BuildFrame(Byte source, Byte command, std::uint16_t packetNumber,
                                           std::span<const Byte> data = {});

// True when the last two bytes are the CRC of the others, high byte first.
[[nodiscard]] bool HasValidCrc(std::span<const Byte> frame);

[[nodiscard]] inline Byte FrameCommand(std::span<const Byte> frame) { return frame[2]; }
[[nodiscard]] inline std::uint16_t FramePacketNumber(std::span<const Byte> frame)
{
    return static_cast<std::uint16_t>((frame[3] << 8) | frame[4]);
}

}  // namespace veskar

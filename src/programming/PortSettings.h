#pragma once

// "Veskar.cfg": 16 bytes, byte 0 the serial port index (0 = COM1 .. 7 = COM8).
// The other bytes mean nothing to the program and are written back as read.

#include "database/Image.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veskar {

inline constexpr std::string_view kPortSettingsFile = "Veskar.cfg";
inline constexpr int kPortCount = 8;

struct PortSettings {
    std::array<Byte, 16> bytes{};

    // A foreign file may hold any index; anything past COM8 means COM1.
    [[nodiscard]] int portIndex() const { return bytes[0] < kPortCount ? bytes[0] : 0; }
    void setPortIndex(int index) { bytes[0] = static_cast<Byte>(index); }
};

[[nodiscard]] std::string PortName(int index);  // "COM1" .. "COM8"

// Reads the first 16 bytes (a shorter file leaves the rest zero).
[[nodiscard]] std::optional<PortSettings> ReadPortSettings(const std::filesystem::path& path);
[[nodiscard]] bool WritePortSettings(const std::filesystem::path& path, const PortSettings& cfg);

}  // namespace veskar

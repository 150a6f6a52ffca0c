#pragma once

// The five audio levels. A stored level byte of 25 is 0 dBm; each step is 2 dB,
// upwards for the transmit levels and downwards for the receive levels.
// The dialog works in set-points 0..20 (dBm + 20), top of the slider = 20.

#include "database/Image.h"

#include <array>
#include <string>
#include <string_view>

namespace veskar {

enum class LevelKind { Transmit, Receive };

struct LevelSlot {
    std::string_view column; // heading above the slider
    std::string_view group;  // "Radio" or "Phone"
    LevelKind kind;
    Byte SystemBlock::*field;
};

// Slider order of the dialog.
inline constexpr std::array<LevelSlot, 5> kLevelSlots = {{
    {"Tx Tone", "Radio", LevelKind::Transmit, &SystemBlock::levelTxTone},
    {"Tx Voice", "Radio", LevelKind::Transmit, &SystemBlock::levelTxVoice},
    {"Tx DTMF", "Radio", LevelKind::Transmit, &SystemBlock::levelTxDtmf},
    {"Receive", "Radio", LevelKind::Receive, &SystemBlock::levelRadioRx},
    {"Receive", "Phone", LevelKind::Receive, &SystemBlock::levelPhoneRx},
}};

inline constexpr int kSetPointMax = 20;

// The dBm value of a stored level as text: "+4", "0", "-6". The caller adds " dBm".
[[nodiscard]] std::string CalculateLevel(Byte level, bool transmit);

// Set-point of a stored level. One outside the slider's reach from below (a
// negative set-point) becomes the top; one above 20 is returned as it is.
[[nodiscard]] int SetPointFromLevel(Byte level, LevelKind kind);
[[nodiscard]] Byte LevelFromSetPoint(int setPoint, LevelKind kind);

// "+4 dBm", "0 dBm", "-8 dBm" for a set-point.
[[nodiscard]] std::string SetPointText(int setPoint);

// Slider position for a set-point, clamped to the slider.
[[nodiscard]] int SliderValue(int setPoint);

} // namespace veskar

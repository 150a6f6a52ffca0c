#pragma once

// What the system settings form shows of the system block, as text and list
// positions, and how it goes back into the block. The Modbus pair travels
// with it: the nested Modbus form edits it, the system form stores it.

#include "database/Image.h"

#include <array>
#include <string>
#include <string_view>

namespace veskar {

inline constexpr int kSystemCodeCount = 4;

// The order of the form, of its checks and of the clash warnings.
enum class SystemCode { Access, Acknowledge, Interrogate, DirectoryControl };

inline constexpr std::array<CodeField SystemBlock::*, kSystemCodeCount> kSystemCodeFields = {
    &SystemBlock::accessCode, &SystemBlock::ackCode, &SystemBlock::statusCode, &SystemBlock::dirChangeCode};

// The address and the baud code, as the system block holds them.
struct Modbusdata {
    Byte address;
    Byte baud;

    friend bool operator==(const Modbusdata&, const Modbusdata&) = default;
};

// A list with nothing selected; its stored value is kept.
inline constexpr int kNoSelection = -1;

inline constexpr std::array<std::string_view, 8> kTimesAItems = {"1", "2", "3", "4", "5", "6", "7", "8"};
inline constexpr std::array<std::string_view, 10> kRingsItems = {"Never", "1", "2", "3", "4",
                                                                 "5",     "6", "7", "8", "Auto Ack"};
inline constexpr int kAutoAckItem = 9;
inline constexpr Byte kAutoAckRings = 12;

// What the form's controls hold.
struct SystemEntries {
    std::string siteName;
    std::array<std::string, kSystemCodeCount> codes; // order of SystemCode
    std::string timerA;
    std::string timerB;
    std::string defaultTimer;
    int timesA = kNoSelection; // list positions
    int rings = kNoSelection;
    bool pulseDial = false;
    bool squelchHigh = false;
    bool radioWarning = false;
    bool useAckRequest = false;
    bool useCallProgress = false;
    bool useRecordedSiteId = false;
    Modbusdata mbus{};

    [[nodiscard]] const std::string& code(SystemCode which) const
    {
        return codes[static_cast<std::size_t>(which)];
    }
    [[nodiscard]] std::string& code(SystemCode which) { return codes[static_cast<std::size_t>(which)]; }
};

// Characters of each control that OK and the change detection read.
inline constexpr std::size_t kSiteNameCharactersRead = 19;
inline constexpr std::size_t kSystemCodeCharactersRead = 15;
inline constexpr std::size_t kTimerCharactersRead = 15;
inline constexpr std::size_t kDefaultTimerCharactersRead = 5;

// The position of a stored value in its list; kNoSelection when it has none.
[[nodiscard]] int TimesAItem(Byte timesA);
[[nodiscard]] int RingsItem(Byte rings);

[[nodiscard]] SystemEntries LoadSystemEntries(const SystemBlock& gen);

// Whether storing the entries would give `gen` other settings. Numbers count
// as typed, never cut to a byte, so 300 is a change from a stored 44.
[[nodiscard]] bool SystemEntriesChanged(const SystemEntries& entries, const SystemBlock& gen);

// Writes checked entries into `gen`; a list with no selection keeps its stored value.
void StoreSystemEntries(const SystemEntries& entries, SystemBlock& gen);

} // namespace veskar

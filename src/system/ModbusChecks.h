#pragma once

// The Modbus settings form over a copy of the Modbus pair: its entries, change
// detection and the address check.

#include "system/SystemData.h"
#include "widgets/Verdict.h"

#include <array>
#include <string>
#include <string_view>

namespace veskar {

// The Modbus form: the address as typed and the selected baud rate item.
struct ModbusEntries {
    std::string address;
    int baud = kNoSelection;
};

inline constexpr std::array<std::string_view, 6> kBaudItems = {"300", "600", "1200", "2400", "4800", "9600"};
inline constexpr std::size_t kAddressCharactersCompared = 5;
inline constexpr std::size_t kAddressCharactersRead = 15;

enum class ModbusField { Address };

[[nodiscard]] ModbusEntries LoadModbusEntries(const Modbusdata& data);
[[nodiscard]] bool ModbusEntriesChanged(const ModbusEntries& entries, const Modbusdata& data);
[[nodiscard]] CheckResult<ModbusField> CheckModbusEntries(const ModbusEntries& entries);
// Checked entries; a baud code no item stands for is kept while nothing is selected.
[[nodiscard]] Modbusdata StoreModbusEntries(const ModbusEntries& entries, const Modbusdata& data);

} // namespace veskar

#include "system/ModbusChecks.h"

#include "system/SystemMessages.h"
#include "widgets/EntryNumber.h"

namespace veskar {

ModbusEntries LoadModbusEntries(const Modbusdata& data)
{
    return {std::to_string(data.address), data.baud < kBaudItems.size() ? data.baud : kNoSelection};
}

bool ModbusEntriesChanged(const ModbusEntries& entries, const Modbusdata& data)
{
    return LeadingInteger(entries.address, kAddressCharactersCompared) != data.address ||
           (entries.baud != kNoSelection && entries.baud != data.baud);
}

CheckResult<ModbusField> CheckModbusEntries(const ModbusEntries& entries)
{
    const int address = LeadingInteger(entries.address, kAddressCharactersRead);
    if (address < 1)
        return Verdict<ModbusField>{MessageKind::Error, std::string(kModbusAddressBelowOne),
                                    ModbusField::Address};
    if (address > 255)
        return Verdict<ModbusField>{MessageKind::Error, std::string(kModbusAddressAbove255),
                                    ModbusField::Address};
    return std::nullopt;
}

Modbusdata StoreModbusEntries(const ModbusEntries& entries, const Modbusdata& data)
{
    const int address = LeadingInteger(entries.address, kAddressCharactersRead);
    return {static_cast<Byte>(address),
            entries.baud == kNoSelection ? data.baud : static_cast<Byte>(entries.baud)};
}

} // namespace veskar

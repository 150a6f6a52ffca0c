#include "system/SystemData.h"

#include "database/Codes.h"
#include "database/Defaults.h"
#include "widgets/EntryNumber.h"

#include <algorithm>
#include <cctype>

namespace veskar {

namespace {

// The option flags of the form and the bytes that hold them.
struct Flag {
    bool SystemEntries::*entry;
    Byte SystemBlock::*stored;
};

constexpr std::array<Flag, 6> kFlags = {{
    {&SystemEntries::squelchHigh, &SystemBlock::squelchHigh},
    {&SystemEntries::radioWarning, &SystemBlock::radioWarning},
    {&SystemEntries::useRecordedSiteId, &SystemBlock::useRecordedSiteId},
    {&SystemEntries::pulseDial, &SystemBlock::pulseDial},
    {&SystemEntries::useAckRequest, &SystemBlock::useAckRequest},
    {&SystemEntries::useCallProgress, &SystemBlock::useCallProgress},
}};

constexpr Byte kHashDigit = 12;

int TimesAValue(int item, const SystemBlock& gen)
{
    return item == kNoSelection ? gen.timesA : item + 1;
}

int RingsValue(int item, const SystemBlock& gen)
{
    if (item == kNoSelection)
        return gen.ringsBeforeAnswer;
    return item == kAutoAckItem ? kAutoAckRings : item;
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

long StoredDefaultTimer(const SystemBlock& gen)
{
    return (gen.defaultTimer[0] << 8) | gen.defaultTimer[1];
}

// The Acknowledge Code followed by "#": what the unit takes as the 60 minute acknowledgement.
CodeField Ack60Code(const CodeField& ack)
{
    CodeField code = ack;
    code.digits[ack.length] = kHashDigit;
    code.length = static_cast<Byte>(ack.length + 1);
    return code;
}

} // namespace

int TimesAItem(Byte timesA)
{
    return timesA >= 1 && timesA <= kTimesAItems.size() ? timesA - 1 : kNoSelection;
}

int RingsItem(Byte rings)
{
    if (rings == kAutoAckRings)
        return kAutoAckItem;
    return rings < kAutoAckItem ? rings : kNoSelection;
}

SystemEntries LoadSystemEntries(const SystemBlock& gen)
{
    SystemEntries entries;
    entries.siteName = NameToText(gen.siteName);
    for (int i = 0; i < kSystemCodeCount; ++i)
        entries.codes[static_cast<std::size_t>(i)] =
            CodeToText(gen.*kSystemCodeFields[static_cast<std::size_t>(i)]);
    entries.defaultTimer = std::to_string(DefaultTimerMinutes(gen));
    entries.timerA = std::to_string(gen.timerA.value);
    entries.timerB = std::to_string(gen.timerB.value);
    entries.timesA = TimesAItem(gen.timesA);
    entries.rings = RingsItem(gen.ringsBeforeAnswer);
    for (const Flag& flag : kFlags)
        entries.*flag.entry = gen.*flag.stored != 0;
    entries.mbus = {gen.modbusAddress, gen.modbusBaud};
    return entries;
}

bool SystemEntriesChanged(const SystemEntries& entries, const SystemBlock& gen)
{
    if (NameFromText(entries.siteName.substr(0, kNameLength)) != gen.siteName)
        return true;
    for (int i = 0; i < kSystemCodeCount; ++i) {
        const std::string typed =
            UpperCase(entries.codes[static_cast<std::size_t>(i)].substr(0, kSystemCodeCharactersRead));
        if (typed != CodeToText(gen.*kSystemCodeFields[static_cast<std::size_t>(i)]))
            return true;
    }
    const long minutes = LeadingInteger(entries.defaultTimer, kDefaultTimerCharactersRead);
    if (minutes * 16 != StoredDefaultTimer(gen))
        return true;
    if (LeadingInteger(entries.timerA, kTimerCharactersRead) != gen.timerA.value ||
        LeadingInteger(entries.timerB, kTimerCharactersRead) != gen.timerB.value)
        return true;
    if (RingsValue(entries.rings, gen) != gen.ringsBeforeAnswer ||
        TimesAValue(entries.timesA, gen) != gen.timesA)
        return true;
    for (const Flag& flag : kFlags) {
        if (entries.*flag.entry != (gen.*flag.stored != 0))
            return true;
    }
    return entries.mbus != Modbusdata{gen.modbusAddress, gen.modbusBaud};
}

void StoreSystemEntries(const SystemEntries& entries, SystemBlock& gen)
{
    gen.siteName = NameFromText(entries.siteName);
    for (int i = 0; i < kSystemCodeCount; ++i) {
        gen.*kSystemCodeFields[static_cast<std::size_t>(i)] =
            CodeFromText(entries.codes[static_cast<std::size_t>(i)]);
    }
    gen.ack60Code = Ack60Code(gen.ackCode);
    gen.timerA = SplitValue(LeadingInteger(entries.timerA, kTimerCharactersRead));
    gen.timerB = SplitValue(LeadingInteger(entries.timerB, kTimerCharactersRead));
    gen.ringsBeforeAnswer = static_cast<Byte>(RingsValue(entries.rings, gen));
    gen.timesA = static_cast<Byte>(TimesAValue(entries.timesA, gen));
    gen.squelchHigh = entries.squelchHigh ? 1 : 0;
    gen.reserved89 = 0;
    gen.radioWarning = entries.radioWarning ? 1 : 0;
    gen.useRecordedSiteId = entries.useRecordedSiteId ? 1 : 0;
    SetDefaultTimerMinutes(gen, LeadingInteger(entries.defaultTimer, kDefaultTimerCharactersRead));
    gen.pulseDial = entries.pulseDial ? 1 : 0;
    gen.useAckRequest = entries.useAckRequest ? 1 : 0;
    gen.useCallProgress = entries.useCallProgress ? 1 : 0;
    gen.modbusAddress = entries.mbus.address;
    gen.modbusBaud = entries.mbus.baud;
}

} // namespace veskar

#include "system/SystemChecks.h"

#include "database/Codes.h"
#include "directories/CodeEntry.h"
#include "system/SystemMessages.h"
#include "widgets/EntryNumber.h"

namespace veskar {

namespace {

// User codes in record order, as the clash warnings walk them.
constexpr std::array<CodeField UserRecord::*, 4> kUserCodeFields = {
    &UserRecord::startCode, &UserRecord::stopCode, &UserRecord::emergencyCode, &UserRecord::interrogateCode};

Verdict<SystemField> Error(std::string_view text, SystemField focus)
{
    return {MessageKind::Error, std::string(text), focus};
}

struct Range {
    SystemField field;
    std::size_t charactersRead;
    int lowest;
    int highest;
    std::string_view belowLowest;
    std::string_view aboveHighest;
};

constexpr std::array<Range, 3> kRanges = {{
    {SystemField::TimerA, kTimerCharactersRead, 1, 249, kTimerABelowOne, kTimerAAbove249},
    {SystemField::TimerB, kTimerCharactersRead, 0, 249, kTimerBBelowZero, kTimerBAbove249},
    {SystemField::DefaultTimer, kDefaultTimerCharactersRead, 1, kDefaultTimerMaxMinutes,
     kDefaultTimerBelowOne, kDefaultTimerAboveLimit},
}};

const std::string& RangeText(const SystemEntries& entries, SystemField field)
{
    switch (field) {
    case SystemField::TimerA: return entries.timerA;
    case SystemField::TimerB: return entries.timerB;
    default: return entries.defaultTimer;
    }
}

} // namespace

CheckResult<SystemField> CheckSystemEntries(const SystemEntries& entries)
{
    if (entries.siteName.substr(0, kSiteNameCharactersRead).size() > kNameLength)
        return Error(kSiteNameTooLong, SystemField::SiteName);

    for (int i = 0; i < kSystemCodeCount; ++i) {
        const auto code = static_cast<SystemCode>(i);
        const SystemCodeMessages& messages = kSystemCodeMessages[static_cast<std::size_t>(i)];
        std::string text = entries.code(code);
        switch (CheckCodeEntry(text, kSystemCodeCharactersRead)) {
        case CodeEntryFault::TooLong: return Error(messages.tooLong, FieldOf(code));
        case CodeEntryFault::NotDtmf: return Error(messages.notDtmf, FieldOf(code));
        case CodeEntryFault::None: break;
        }
    }

    for (const Range& range : kRanges) {
        const int value = LeadingInteger(RangeText(entries, range.field), range.charactersRead);
        if (value < range.lowest)
            return Error(range.belowLowest, range.field);
        if (value > range.highest)
            return Error(range.aboveHighest, range.field);
    }
    return std::nullopt;
}

std::vector<Verdict<SystemField>> UserCodeClashes(const SystemEntries& entries,
                                                  std::span<const UserRecord, kUserCount> users)
{
    std::vector<Verdict<SystemField>> warnings;
    for (int s = 0; s < kSystemCodeCount; ++s) {
        const auto code = static_cast<SystemCode>(s);
        const CodeField system = CodeFromText(entries.code(code).substr(0, kMaxCodeDigits));
        for (int n = 0; n < kUserCount; ++n) {
            for (std::size_t u = 0; u < kUserCodeFields.size(); ++u) {
                if (!SameCode(system, users[static_cast<std::size_t>(n)].*kUserCodeFields[u]))
                    continue;
                const SystemClashText& text = kSystemClashTexts[static_cast<std::size_t>(s)][u];
                const std::string number = std::to_string(n + 1);
                warnings.push_back(
                    {MessageKind::Warning,
                     std::string(text.first) + number + "." + std::string(text.second) + number + ".",
                     FieldOf(code)});
            }
        }
    }
    return warnings;
}

} // namespace veskar

#include "users/UserChecks.h"

#include "database/Codes.h"
#include "directories/CodeEntry.h"
#include "users/UserMessages.h"
#include "widgets/EntryNumber.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr std::array<CodeField SystemBlock::*, 4> kSystemCodeFields = {
    &SystemBlock::accessCode, &SystemBlock::ackCode, &SystemBlock::statusCode, &SystemBlock::dirChangeCode};

Verdict<UserField> Refusal(MessageKind kind, std::string_view text, UserField focus)
{
    return {kind, std::string(text), focus};
}

std::string Numbered(std::string_view first, std::string_view second, int user)
{
    const std::string number = std::to_string(user);
    return std::string(first) + number + "." + std::string(second) + number + ".";
}

// A typed code: cut to what the field is read with, then checked; a-d become A-D.
CheckResult<UserField> CheckCode(std::string& text, UserCode code)
{
    const CodeEntryMessages& messages = kCodeEntryMessages[static_cast<std::size_t>(code)];
    switch (CheckCodeEntry(text, kCodeCharactersRead)) {
    case CodeEntryFault::TooLong: return Refusal(MessageKind::Error, messages.tooLong, FieldOf(code));
    case CodeEntryFault::NotDtmf: return Refusal(MessageKind::Error, messages.notDtmf, FieldOf(code));
    case CodeEntryFault::None: break;
    }
    return std::nullopt;
}

CheckResult<UserField> CheckOwnCodes(const UserData& user)
{
    for (const OwnPairMessage& pair : kOwnPairMessages) {
        const std::string& a = user.code(pair.first);
        if (!a.empty() && a == user.code(pair.second))
            return Refusal(MessageKind::Error, pair.text, FieldOf(pair.focus));
    }
    return std::nullopt;
}

const UserClashMessage& ClashMessage(UserCode own, UserCode other)
{
    return *std::ranges::find_if(kUserClashMessages,
                                 [&](const UserClashMessage& m) { return m.own == own && m.other == other; });
}

CheckResult<UserField> CheckOtherUsers(const UserData& user, int index,
                                       std::span<const UserData, kUserCount> users)
{
    for (UserCode own : kCodeCheckOrder) {
        const std::string& x = user.code(own);
        if (x.empty())
            continue;
        for (int n = 0; n < kUserCount; ++n) {
            if (n == index)
                continue;
            for (UserCode other : kCodeCheckOrder) {
                if (users[static_cast<std::size_t>(n)].code(other) != x)
                    continue;
                const UserClashMessage& message = ClashMessage(own, other);
                return Refusal(MessageKind::Warning, Numbered(message.first, message.second, n + 1),
                               FieldOf(own));
            }
        }
    }
    return std::nullopt;
}

CheckResult<UserField> CheckSystemCodes(const UserData& user, const SystemBlock& gen)
{
    for (UserCode own : kCodeCheckOrder) {
        const CodeField code = CodeFromText(user.code(own));
        for (const SystemClashMessage& message : kSystemClashMessages) {
            const CodeField& system = gen.*kSystemCodeFields[static_cast<std::size_t>(message.system)];
            if (message.own == own && SameCode(code, system))
                return Refusal(MessageKind::Warning, message.text, FieldOf(own));
        }
    }
    return std::nullopt;
}

} // namespace

UserEntries EntriesFor(const UserData& data)
{
    UserEntries entries;
    entries.codes = data.codes;
    entries.warningInterval = std::to_string(data.record.warningInterval);
    entries.userName = NameToText(data.record.userName);
    for (std::size_t i = 0; i < kUserOptions.size(); ++i)
        entries.options[i] = data.record.*kUserOptions[i].field != 0;
    return entries;
}

bool EntriesChanged(const UserEntries& entries, const UserData& data)
{
    for (int i = 0; i < kUserCodeCount; ++i) {
        const auto code = static_cast<UserCode>(i);
        if (entries.codes[static_cast<std::size_t>(i)].substr(0, kMaxCodeDigits) != data.code(code))
            return true;
    }
    if (NameFromText(entries.userName) != data.record.userName)
        return true;
    if (LeadingInteger(entries.warningInterval, kIntervalCharactersRead) != data.record.warningInterval)
        return true;
    for (std::size_t i = 0; i < kUserOptions.size(); ++i) {
        if (entries.options[i] != (data.record.*kUserOptions[i].field != 0))
            return true;
    }
    return false;
}

UserCheck CheckUserEntries(const UserEntries& entries, const UserData& record, int index,
                           std::span<const UserData, kUserCount> users, const SystemBlock& gen)
{
    UserCheck check{std::nullopt, std::nullopt, record};
    UserData& user = check.accepted;

    for (int i = 0; i < kUserCodeCount; ++i) {
        const auto code = static_cast<UserCode>(i);
        std::string text = entries.codes[static_cast<std::size_t>(i)];
        if ((check.refusal = CheckCode(text, code)))
            return check;
        user.code(code) = text;
    }

    user.record.userName = NameFromText(entries.userName);

    const int interval = LeadingInteger(entries.warningInterval, kIntervalCharactersRead);
    if (interval < 1)
        check.refusal = Refusal(MessageKind::Error, kIntervalBelowOne, UserField::WarningInterval);
    else if (interval > 255)
        check.refusal = Refusal(MessageKind::Error, kIntervalAbove255, UserField::WarningInterval);
    if (check.refusal)
        return check;

    if ((check.refusal = CheckOwnCodes(user)) || (check.refusal = CheckOtherUsers(user, index, users)))
        return check;

    if (!user.code(UserCode::Start).empty() && user.code(UserCode::Stop).empty())
        check.notice = Refusal(MessageKind::Warning, kStartWithoutStop, UserField::StopCode);

    if ((check.refusal = CheckSystemCodes(user, gen)))
        return check;

    user.record.warningInterval = static_cast<Byte>(interval);
    for (std::size_t i = 0; i < kUserOptions.size(); ++i)
        user.record.*kUserOptions[i].field = entries.options[i] ? 1 : 0;
    return check;
}

} // namespace veskar

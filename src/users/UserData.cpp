#include "users/UserData.h"

#include "database/Codes.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr std::array<CodeField UserRecord::*, kUserCodeCount> kCodeFields = {
    &UserRecord::startCode, &UserRecord::stopCode, &UserRecord::emergencyCode, &UserRecord::interrogateCode};

// The option flags and the warning interval lie together, from allowTimerChange to useDtmfLocation.
std::span<const Byte> OptionBytes(const UserRecord& user)
{
    const auto* first = &user.allowTimerChange;
    const auto* last = &user.useDtmfLocation;
    return {first, static_cast<std::size_t>(last - first) + 1};
}

} // namespace

const CodeField& StoredCode(const UserRecord& user, UserCode code)
{
    return user.*kCodeFields[static_cast<std::size_t>(code)];
}

CodeField& StoredCode(UserRecord& user, UserCode code)
{
    return user.*kCodeFields[static_cast<std::size_t>(code)];
}

UserData LoadUserData(const UserRecord& stored)
{
    UserData data{{}, stored};
    data.record.reserved40.fill(0);
    for (int i = 0; i < kUserCodeCount; ++i) {
        const auto code = static_cast<UserCode>(i);
        data.code(code) = CodeToText(StoredCode(stored, code));
        StoredCode(data.record, code) = CodeField{};
    }
    return data;
}

UserRecord StoreUserData(const UserData& data)
{
    UserRecord stored = data.record;
    stored.reserved40.fill(0);
    for (int i = 0; i < kUserCodeCount; ++i) {
        const auto code = static_cast<UserCode>(i);
        StoredCode(stored, code) = CodeFromText(data.code(code));
    }
    return stored;
}

bool UserDataChanged(const UserData& data, const UserRecord& stored)
{
    const UserRecord wanted = StoreUserData(data);
    for (int i = 0; i < kUserCodeCount; ++i) {
        const auto code = static_cast<UserCode>(i);
        const CodeField& a = StoredCode(wanted, code);
        const CodeField& b = StoredCode(stored, code);
        if (a.length != b.length ||
            !std::equal(a.digits.begin(), a.digits.begin() + a.length, b.digits.begin()))
            return true;
    }
    return wanted.userName != stored.userName ||
           !std::ranges::equal(OptionBytes(wanted), OptionBytes(stored));
}

} // namespace veskar

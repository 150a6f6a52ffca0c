#include "users/UserChecks.h"
#include "users/UserMessages.h"

#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <functional>

namespace veskar {
namespace {

// Sixteen users without codes, and system codes no test code uses unless it means to.
struct UserSetting {
    UserSetting()
    {
        Image image;
        CreateDatabase(image);
        for (std::size_t i = 0; i < kUserCount; ++i) {
            users[i] = LoadUserData(image.User[i]);
            users[i].codes = {};
        }
        gen = image.gen;
        gen.accessCode = CodeFromText("9990");
        gen.ackCode = CodeFromText("9991");
        gen.statusCode = CodeFromText("9992");
        gen.dirChangeCode = CodeFromText("9993");
        entries = EntriesFor(users[0]);
        entries.warningInterval = "30";
    }

    [[nodiscard]] UserCheck Check(int index = 0) const
    {
        return CheckUserEntries(entries, users[index], index, users, gen);
    }

    void SetCodes(std::string start, std::string stop, std::string emergency, std::string interrogate)
    {
        entries.codes = {std::move(start), std::move(stop), std::move(emergency), std::move(interrogate)};
    }

    std::array<UserData, kUserCount> users;
    SystemBlock gen{};
    UserEntries entries;
};

class UserChecksTest : public ::testing::Test, public UserSetting {};

struct RefusalCase {
    const char* what;
    std::function<void(UserEntries&, std::array<UserData, kUserCount>&, SystemBlock&)> setUp;
    MessageKind kind;
    std::string text;
    UserField focus;
};

TEST_F(UserChecksTest, FirstFaultIsReportedWithItsFocus)
{
    using E = UserEntries;
    using U = std::array<UserData, kUserCount>;
    using S = SystemBlock;
    const auto codes = [](const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
        return [=](E& e, U&, S&) { e.codes = {a, b, c, d}; };
    };
    const RefusalCase cases[] = {
        {"nine characters", codes("123456789", "", "", ""), MessageKind::Error,
         "The Start Code cannot be greater than 8 characters.", UserField::StartCode},
        {"long before bad characters", codes("12345678x", "", "", ""), MessageKind::Error,
         "The Start Code cannot be greater than 8 characters.", UserField::StartCode},
        {"pause", codes("1!2", "", "", ""), MessageKind::Error,
         "The Start Code must consist of valid DTMF digits: 0-9, A-D, * or #.", UserField::StartCode},
        {"Start before Stop", codes("1 2", "123456789", "", ""), MessageKind::Error,
         "The Start Code must consist of valid DTMF digits: 0-9, A-D, * or #.", UserField::StartCode},
        {"Stop long", codes("", "123456789", "", ""), MessageKind::Error,
         "The Stop Code cannot be greater than 8 characters.", UserField::StopCode},
        {"Stop letter", codes("", "12E", "", ""), MessageKind::Error,
         "The Stop Code must consist of valid DTMF digits: 0-9, A-D, * or #.", UserField::StopCode},
        {"Emergency long", codes("", "", "000000000000", ""), MessageKind::Error,
         "The Emergency Code cannot be greater than 8 characters.", UserField::EmergencyCode},
        {"Emergency blank", codes("", "", " ", ""), MessageKind::Error,
         "The Emergency Code must consist of valid DTMF digits: 0-9, A-D, * or #.", UserField::EmergencyCode},
        {"Interrogate long", codes("", "", "", "*********"), MessageKind::Error,
         "The Interrogate Code cannot be greater than 8 characters.", UserField::InterrogateCode},
        {"Interrogate e", codes("", "", "", "1e"), MessageKind::Error,
         "The Interrogate Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         UserField::InterrogateCode},
        {"codes before interval",
         [](E& e, U&, S&) {
             e.codes[3] = "x";
             e.warningInterval = "0";
         },
         MessageKind::Error, "The Interrogate Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         UserField::InterrogateCode},
        {"interval before own pairs",
         [](E& e, U&, S&) {
             e.codes = {"12", "12", "", ""};
             e.warningInterval = "256";
         },
         MessageKind::Error, "The Warning Interval cannot be greater than 255 minutes",
         UserField::WarningInterval},
        {"Start/Stop", codes("12", "12", "12", "12"), MessageKind::Error,
         "The Start Code and Stop Code cannot be the same.", UserField::StopCode},
        {"Start/Interrogate", codes("12", "", "12", "12"), MessageKind::Error,
         "The Start Code and Interrogate Code cannot be the same.", UserField::InterrogateCode},
        {"Start/Emergency", codes("12", "", "12", ""), MessageKind::Error,
         "The Start Code and Emergency Code cannot be the same.", UserField::EmergencyCode},
        {"Stop/Interrogate", codes("", "12", "12", "12"), MessageKind::Error,
         "The Stop Code and Interrogate Code cannot be the same.", UserField::InterrogateCode},
        {"Stop/Emergency", codes("", "12", "12", ""), MessageKind::Error,
         "The Stop Code and Emergency Code cannot be the same.", UserField::EmergencyCode},
        {"Interrogate/Emergency focuses Interrogate", codes("", "", "12", "12"), MessageKind::Error,
         "The Interrogate Code and Emergency Code cannot be the same.", UserField::InterrogateCode},
        {"lower case is the same code", codes("1a", "1A", "", ""), MessageKind::Error,
         "The Start Code and Stop Code cannot be the same.", UserField::StopCode},
        {"own pair before other users",
         [](E& e, U& u, S&) {
             e.codes = {"5", "", "", "5"};
             u[3].code(UserCode::Start) = "5";
         },
         MessageKind::Error, "The Start Code and Interrogate Code cannot be the same.",
         UserField::InterrogateCode},
        {"Stop against user 2's Interrogate, odd length",
         [](E& e, U& u, S&) {
             e.codes[1] = "123";
             u[1].code(UserCode::Interrogate) = "123";
         },
         MessageKind::Warning,
         "The Stop Code is the same as the Interrogate Code for User 2.\n Change this Stop Code or the "
         "Interrogate Code for User 2.",
         UserField::StopCode},
        {"Emergency against user 16's Stop, even length, the odd wording",
         [](E& e, U& u, S&) {
             e.codes[2] = "1D23";
             u[15].code(UserCode::Stop) = "1D23";
         },
         MessageKind::Warning,
         "The Emergency Code is the same as the Stop Code for User 16.\n Change this Emergency or the Stop "
         "Code for User 16.",
         UserField::EmergencyCode},
        {"lowest user first, then that user's codes in order",
         [](E& e, U& u, S&) {
             e.codes[0] = "77";
             u[9].code(UserCode::Start) = "77";
             u[4].code(UserCode::Emergency) = "77";
             u[4].code(UserCode::Interrogate) = "77";
         },
         MessageKind::Warning,
         "The Start Code is the same as the Interrogate Code for User 5.\n Change this Start Code or the "
         "Interrogate Code for User 5.",
         UserField::StartCode},
        {"own codes walked Start, Stop, Interrogate, Emergency",
         [](E& e, U& u, S&) {
             e.codes = {"", "", "41", "42"};
             u[1].code(UserCode::Start) = "41";
             u[2].code(UserCode::Start) = "42";
         },
         MessageKind::Warning,
         "The Interrogate Code is the same as the Start Code for User 3.\n Change this Interrogate Code or "
         "the "
         "Start Code for User 3.",
         UserField::InterrogateCode},
        {"other users before the system",
         [](E& e, U& u, S& s) {
             e.codes[0] = "66";
             u[1].code(UserCode::Stop) = "66";
             s.accessCode = CodeFromText("66");
         },
         MessageKind::Warning,
         "The Start Code is the same as the Stop Code for User 2.\n Change this Start Code or the Stop Code "
         "for User 2.",
         UserField::StartCode},
        {"Start against Status says Interrogate",
         [](E& e, U&, S& s) {
             e.codes = {"9992", "1", "", ""};
             s.statusCode = CodeFromText("9992");
         },
         MessageKind::Warning,
         "The Start Code is the same as the System Interrogate Code. \n Change the Start Code or the "
         "Interrogate Code in System.",
         UserField::StartCode},
        {"Emergency against Status says Status", codes("", "", "9992", ""), MessageKind::Warning,
         "The Emergency Code is the same as the System Status Code. \n Change the Emergency Code or the "
         "Status "
         "Code in System.",
         UserField::EmergencyCode},
        {"Stop 1D23 against the Directory Control Code 1d23",
         [](E& e, U&, S& s) {
             e.codes[1] = "1d23";
             s.dirChangeCode = CodeFromText("1D23");
         },
         MessageKind::Warning,
         "The Stop Code is the same as the System Directory Control Code. \n Change the Stop Code or the "
         "Directory Control Code in System.",
         UserField::StopCode},
        {"system codes walked Access first", codes("", "", "", "9990"), MessageKind::Warning,
         "The Interrogate Code is the same as the System Access Code. \n Change the Interrogate Code or the "
         "Access Code in System.",
         UserField::InterrogateCode},
        {"Acknowledge", codes("", "9991", "", ""), MessageKind::Warning,
         "The Stop Code is the same as the System Acknowledge Code. \n Change the Stop Code or the "
         "Acknowledge Code in System.",
         UserField::StopCode},
    };
    for (const RefusalCase& c : cases) {
        UserSetting fresh;
        c.setUp(fresh.entries, fresh.users, fresh.gen);
        const UserCheck check = fresh.Check();
        ASSERT_TRUE(check.refusal) << c.what;
        EXPECT_EQ(check.refusal->kind, c.kind) << c.what;
        EXPECT_EQ(check.refusal->text, c.text) << c.what;
        EXPECT_EQ(check.refusal->focus, c.focus) << c.what;
    }
}

// Every pair of roles across two users picks its own message and names the other user twice.
TEST_F(UserChecksTest, EveryCrossUserPairHasItsMessage)
{
    for (const UserClashMessage& message : kUserClashMessages) {
        UserSetting fresh;
        fresh.entries.codes[static_cast<std::size_t>(message.own)] = "8080";
        fresh.users[6].code(message.other) = "8080";
        const UserCheck check = fresh.Check(11);
        ASSERT_TRUE(check.refusal);
        EXPECT_EQ(check.refusal->text,
                  std::string(message.first) + "7." + std::string(message.second) + "7.");
        EXPECT_EQ(check.refusal->focus, FieldOf(message.own));
    }
}

TEST_F(UserChecksTest, EveryRoleAgainstEverySystemCodeHasItsMessage)
{
    constexpr std::array<CodeField SystemBlock::*, 4> fields = {
        &SystemBlock::accessCode, &SystemBlock::ackCode, &SystemBlock::statusCode,
        &SystemBlock::dirChangeCode};
    for (const SystemClashMessage& message : kSystemClashMessages) {
        UserSetting fresh;
        fresh.entries.codes[static_cast<std::size_t>(message.own)] = "*#";
        fresh.gen.*fields[static_cast<std::size_t>(message.system)] = CodeFromText("*#");
        const UserCheck check = fresh.Check();
        ASSERT_TRUE(check.refusal);
        EXPECT_EQ(check.refusal->text, message.text);
        EXPECT_EQ(check.refusal->kind, MessageKind::Warning);
    }
}

TEST_F(UserChecksTest, CodesThatOnlyBeginAlikeOrAreEmptyNeverClash)
{
    const auto clear = [](const UserSetting& t) {
        const UserCheck check = t.Check(2);
        return !check.refusal;
    };
    UserSetting prefix;
    prefix.SetCodes("12", "123", "1", "1234");
    prefix.users[0].code(UserCode::Start) = "12345";
    prefix.gen.accessCode = CodeFromText("123456");
    prefix.gen.statusCode = CodeFromText("1D");
    prefix.users[1].code(UserCode::Stop) = "12345678";
    EXPECT_TRUE(clear(prefix));

    UserSetting empty;
    empty.SetCodes("", "", "", "");
    empty.gen.accessCode = CodeField{};
    EXPECT_TRUE(clear(empty));

    UserSetting near;
    near.SetCodes("", "1D23", "", "");
    near.gen.dirChangeCode = CodeFromText("1D99");
    EXPECT_TRUE(clear(near));

    // The user's own stored row holds the same codes and is skipped.
    UserSetting own;
    own.SetCodes("11", "22", "33", "44");
    own.users[2].codes = {"11", "22", "33", "44"};
    EXPECT_TRUE(clear(own));
}

TEST_F(UserChecksTest, WarningIntervalIsTheLeadingNumberOfFourCharacters)
{
    struct Case {
        const char* typed;
        int stored; // 0 for the too-small message, 256 for the too-large one
    };
    const Case cases[] = {
        {"0", 0},     {"-5", 0}, {"abc", 0}, {"", 0},       {"256", 256}, {"1000", 256}, {"25599", 256},
        {"12ab", 12}, {" 7", 7}, {"+9", 9},  {"00255", 25}, {"1", 1},     {"255", 255},
    };
    for (const Case& c : cases) {
        entries.warningInterval = c.typed;
        const UserCheck check = Check();
        if (c.stored == 0 || c.stored == 256) {
            ASSERT_TRUE(check.refusal) << c.typed;
            EXPECT_EQ(check.refusal->text, c.stored == 0
                                               ? "The Warning Interval cannot be less than 1 minute"
                                               : "The Warning Interval cannot be greater than 255 minutes")
                << c.typed;
            EXPECT_EQ(check.refusal->focus, UserField::WarningInterval);
        } else {
            ASSERT_FALSE(check.refusal) << c.typed << ": " << check.refusal->text;
            EXPECT_EQ(check.accepted.record.warningInterval, c.stored) << c.typed;
        }
    }
}

TEST_F(UserChecksTest, AcceptedEntriesBecomeTheRecord)
{
    SetCodes("1a", "", "*#", "d0");
    entries.userName = "Ann";
    entries.options.fill(true);
    const UserCheck check = Check();
    ASSERT_FALSE(check.refusal);
    ASSERT_TRUE(check.notice);
    EXPECT_EQ(check.notice->text, "There is a Start Code but no Stop Code.");
    EXPECT_EQ(check.notice->kind, MessageKind::Warning);
    const UserData& user = check.accepted;
    EXPECT_EQ(user.codes, (std::array<std::string, 4>{"1A", "", "*#", "D0"}));
    EXPECT_EQ(NameToText(user.record.userName), "Ann");
    EXPECT_EQ(user.record.userName[15], ' ');
    for (const UserOption& option : kUserOptions)
        EXPECT_EQ(user.record.*option.field, 1) << option.label;
}

TEST_F(UserChecksTest, StartWithoutStopIsShownAlongsideALaterRefusal)
{
    SetCodes("5", "", "9993", "");
    const UserCheck check = Check();
    EXPECT_TRUE(check.notice);
    ASSERT_TRUE(check.refusal);
    EXPECT_EQ(check.refusal->focus, UserField::EmergencyCode);

    SetCodes("5", "6", "", "");
    EXPECT_FALSE(Check().notice);
}

TEST_F(UserChecksTest, ChangesAreSeenAsStoringWouldSeeThem)
{
    users[0].codes = {"1234", "", "", ""};
    users[0].record.warningInterval = 30;
    users[0].record.userName = NameFromText("Bob");
    const UserEntries loaded = EntriesFor(users[0]);
    EXPECT_FALSE(EntriesChanged(loaded, users[0]));

    const std::vector<std::function<void(UserEntries&)>> edits = {
        [](UserEntries& e) { e.codes[0] = "12"; },
        [](UserEntries& e) { e.codes[2] = "1"; },
        [](UserEntries& e) { e.userName = ""; },
        [](UserEntries& e) { e.warningInterval = "31"; },
        [](UserEntries& e) { e.options[5] = !e.options[5]; },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        UserEntries edited = loaded;
        edits[i](edited);
        EXPECT_TRUE(EntriesChanged(edited, users[0])) << i;
    }
    UserEntries same = loaded;
    same.warningInterval = "30 min";
    same.userName = "Bob   ";
    EXPECT_FALSE(EntriesChanged(same, users[0]));
}

} // namespace
} // namespace veskar

#include "system/SystemChecks.h"
#include "system/SystemMessages.h"

#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <functional>

namespace veskar {
namespace {

// Entries that pass every check, changed one field at a time.
SystemEntries Passing()
{
    Image image;
    CreateDatabase(image);
    return LoadSystemEntries(image.gen);
}

struct RefusalCase {
    const char* what;
    std::function<void(SystemEntries&)> setUp;
    std::string_view text; // empty: accepted
    SystemField focus;
};

TEST(SystemChecksTest, FirstFaultInTheFormsOrder)
{
    using E = SystemEntries;
    const auto code = [](SystemCode which, const std::string& text) { return [=](E& e) { e.code(which) = text; }; };
    const RefusalCase cases[] = {
        {"defaults", [](E&) {}, "", {}},
        {"site name of 16", [](E& e) { e.siteName = std::string(16, 'x'); }, "", {}},
        {"site name of 17", [](E& e) { e.siteName = std::string(17, 'x'); }, kSiteNameTooLong,
         SystemField::SiteName},
        {"site name before codes",
         [](E& e) {
             e.siteName = std::string(20, 'x');
             e.code(SystemCode::Access) = "!";
         },
         kSiteNameTooLong, SystemField::SiteName},
        {"Access long", code(SystemCode::Access, "123456789"),
         "The Access Code cannot be greater than 8 characters.", SystemField::Access},
        {"Access pause", code(SystemCode::Access, "12!"),
         "The Access Code must consist of valid DTMF digits: 0-9, A-D, * or #.", SystemField::Access},
        {"Access lower case", code(SystemCode::Access, "abcd*#09"), "", {}},
        {"Acknowledge long", code(SystemCode::Acknowledge, "000000000"),
         "The Acknowledge Code cannot be greater than 8 characters.", SystemField::Acknowledge},
        {"Acknowledge letter", code(SystemCode::Acknowledge, "1E"),
         "The Acknowledge Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         SystemField::Acknowledge},
        {"Acknowledge of 8", code(SystemCode::Acknowledge, "12345678"), "", {}},
        {"Acknowledge empty", code(SystemCode::Acknowledge, ""), "", {}},
        {"Interrogate long", code(SystemCode::Interrogate, "#########"),
         "The Interrogate Code cannot be greater than 8 characters.", SystemField::Interrogate},
        {"Interrogate blank", code(SystemCode::Interrogate, "1 2"),
         "The Interrogate Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         SystemField::Interrogate},
        {"Directory Control long", code(SystemCode::DirectoryControl, "1234567890123456"),
         "The Directory Change Code cannot be greater than 8 characters.", SystemField::DirectoryControl},
        {"Directory Control pause", code(SystemCode::DirectoryControl, "!"),
         "The Directory Change Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         SystemField::DirectoryControl},
        {"codes before timers",
         [](E& e) {
             e.code(SystemCode::DirectoryControl) = "x";
             e.timerA = "0";
         },
         "The Directory Change Code must consist of valid DTMF digits: 0-9, A-D, * or #.",
         SystemField::DirectoryControl},
        {"Timer A 0", [](E& e) { e.timerA = "0"; }, kTimerABelowOne, SystemField::TimerA},
        {"Timer A empty", [](E& e) { e.timerA = ""; }, kTimerABelowOne, SystemField::TimerA},
        {"Timer A 1", [](E& e) { e.timerA = "1"; }, "", {}},
        {"Timer A 249", [](E& e) { e.timerA = "249"; }, "", {}},
        {"Timer A 250", [](E& e) { e.timerA = "250"; }, kTimerAAbove249, SystemField::TimerA},
        {"Timer A before Timer B",
         [](E& e) {
             e.timerA = "250";
             e.timerB = "-1";
         },
         kTimerAAbove249, SystemField::TimerA},
        {"Timer B empty", [](E& e) { e.timerB = ""; }, "", {}},
        {"Timer B 0", [](E& e) { e.timerB = "0"; }, "", {}},
        {"Timer B -1", [](E& e) { e.timerB = "-1"; }, kTimerBBelowZero, SystemField::TimerB},
        {"Timer B 249", [](E& e) { e.timerB = "249"; }, "", {}},
        {"Timer B 250", [](E& e) { e.timerB = "250"; }, kTimerBAbove249, SystemField::TimerB},
        {"Timer B before Default Timer",
         [](E& e) {
             e.timerB = "250";
             e.defaultTimer = "0";
         },
         kTimerBAbove249, SystemField::TimerB},
        {"Default Timer 0", [](E& e) { e.defaultTimer = "0"; }, kDefaultTimerBelowOne,
         SystemField::DefaultTimer},
        {"Default Timer empty", [](E& e) { e.defaultTimer = ""; }, kDefaultTimerBelowOne,
         SystemField::DefaultTimer},
        {"Default Timer 1", [](E& e) { e.defaultTimer = "1"; }, "", {}},
        {"Default Timer 4095", [](E& e) { e.defaultTimer = "4095"; }, "", {}},
        {"Default Timer 4096", [](E& e) { e.defaultTimer = "4096"; }, kDefaultTimerAboveLimit,
         SystemField::DefaultTimer},
        {"Default Timer 65535", [](E& e) { e.defaultTimer = "65535"; }, kDefaultTimerAboveLimit,
         SystemField::DefaultTimer},
        {"Default Timer 65536 read as 65536", [](E& e) { e.defaultTimer = "65536"; }, kDefaultTimerAboveLimit,
         SystemField::DefaultTimer},
        {"Default Timer six characters read as five", [](E& e) { e.defaultTimer = "040950"; }, "", {}},
    };
    for (const RefusalCase& c : cases) {
        SystemEntries entries = Passing();
        c.setUp(entries);
        const CheckResult<SystemField> verdict = CheckSystemEntries(entries);
        if (c.text.empty()) {
            EXPECT_FALSE(verdict) << c.what << ": " << verdict->text;
            continue;
        }
        ASSERT_TRUE(verdict) << c.what;
        EXPECT_EQ(verdict->kind, MessageKind::Error) << c.what;
        EXPECT_EQ(verdict->text, c.text) << c.what;
        EXPECT_EQ(verdict->focus, c.focus) << c.what;
    }
}

struct ClashSetting {
    ClashSetting()
    {
        Image image;
        CreateDatabase(image);
        users = image.User;
        entries = LoadSystemEntries(image.gen);
        entries.codes = {};
    }
    [[nodiscard]] std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Verdict<SystemField>& v : UserCodeClashes(entries, users)) {
            EXPECT_EQ(v.kind, MessageKind::Warning);
            texts.push_back(v.text);
        }
        return texts;
    }
    std::array<UserRecord, kUserCount> users;
    SystemEntries entries;
};

TEST(SystemClashTest, EveryClashInOrderOfUsersThenTheirCodes)
{
    ClashSetting s;
    s.entries.code(SystemCode::Access) = "1d2";
    s.users[4].startCode = CodeFromText("1D2");
    s.users[2].stopCode = CodeFromText("1D2");
    s.users[2].emergencyCode = CodeFromText("1D"); // a beginning is not the same code
    s.users[6].interrogateCode = CodeFromText("1D23");
    const std::vector<Verdict<SystemField>> clashes = UserCodeClashes(s.entries, s.users);
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(clashes[0].text, "The Access Code is the same as the Stop Code for User 3.\n Change the Access "
                               "Code or the Stop Code for User 3.");
    EXPECT_EQ(clashes[1].text,
              "The Access Code is the same as the Start Code for User 5.\n Change the Access "
              "Code or the Start Code for User 5.");
    EXPECT_EQ(clashes[0].focus, SystemField::Access);
}

TEST(SystemClashTest, EachSystemCodeAgainstEachUserCode)
{
    struct Case {
        SystemCode system;
        CodeField UserRecord::*user;
        std::string text;
        SystemField focus;
    };
    const Case cases[] = {
        {SystemCode::Access, &UserRecord::emergencyCode,
         "The Access Code is the same as the Emergency Code for User 16.\n Change the Access Code or the "
         "Emergency Code for User 16.",
         SystemField::Access},
        {SystemCode::Acknowledge, &UserRecord::interrogateCode,
         "The Acknowledge Code is the same as the Interrogate Code for User 16.\n Change the Acknowledge "
         "Code or "
         "the Interrogate Code for User 16.",
         SystemField::Acknowledge},
        {SystemCode::Interrogate, &UserRecord::stopCode,
         "The Interrogate Code is the same as the Stop Code for User 16.\n Change the Interrogate Code or "
         "the "
         "Stop Code for User 16.",
         SystemField::Interrogate},
        {SystemCode::DirectoryControl, &UserRecord::startCode,
         "The Directory Change Code is the same as the Start Code for User 16.\n Change the Directory Change "
         "Code or the Start Code for User 16.",
         SystemField::DirectoryControl},
    };
    for (const Case& c : cases) {
        ClashSetting s;
        s.entries.code(c.system) = "*#AB";
        s.users[15].*c.user = CodeFromText("*#AB");
        const std::vector<Verdict<SystemField>> clashes = UserCodeClashes(s.entries, s.users);
        ASSERT_EQ(clashes.size(), 1u) << c.text;
        EXPECT_EQ(clashes[0].text, c.text);
        EXPECT_EQ(clashes[0].focus, c.focus);
    }
}

TEST(SystemClashTest, SeveralSystemCodesWarnInTheirOrder)
{
    ClashSetting s;
    s.entries.code(SystemCode::DirectoryControl) = "44";
    s.entries.code(SystemCode::Acknowledge) = "55";
    s.users[0].startCode = CodeFromText("44");
    s.users[15].stopCode = CodeFromText("55");
    const std::vector<Verdict<SystemField>> clashes = UserCodeClashes(s.entries, s.users);
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(clashes[0].focus, SystemField::Acknowledge);
    EXPECT_EQ(clashes[1].focus, SystemField::DirectoryControl);
}

TEST(SystemClashTest, EmptyCodesClashWithNothing)
{
    ClashSetting s;
    EXPECT_TRUE(s.Texts().empty());
}

} // namespace
} // namespace veskar

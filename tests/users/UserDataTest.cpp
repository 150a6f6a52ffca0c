#include "users/UserData.h"
#include "users/UserTable.h"

#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

UserRecord StoredUser()
{
    Image image;
    CreateDatabase(image);
    UserRecord user = image.User[0];
    user.startCode = CodeFromText("1D23");
    user.interrogateCode = CodeFromText("*#0");
    // Bytes after the count are not part of the code.
    user.stopCode.digits = {4, 5, 6, 7};
    user.stopCode.length = 2;
    user.reserved40.fill(0x5A);
    return user;
}

TEST(UserData, LoadsStoredDigitsAsSymbolsAndStoresThemBack)
{
    const UserRecord stored = StoredUser();
    const UserData data = LoadUserData(stored);
    EXPECT_EQ(data.codes, (std::array<std::string, 4>{"1D23", "45", "", "*#0"}));
    for (UserCode code : kCodeCheckOrder)
        EXPECT_EQ(StoredCode(data.record, code).length, 0);
    EXPECT_EQ(data.record.reserved40[0], 0);
    EXPECT_FALSE(UserDataChanged(data, stored));

    const UserRecord back = StoreUserData(data);
    EXPECT_EQ(back.startCode.length, 4);
    EXPECT_EQ((std::array<Byte, 4>{back.startCode.digits[0], back.startCode.digits[1],
                                   back.startCode.digits[2], back.startCode.digits[3]}),
              (std::array<Byte, 4>{1, 0, 2, 3}));
    EXPECT_EQ(back.stopCode.length, 2);
    EXPECT_EQ(back.stopCode.digits[2], 0);
    EXPECT_EQ(back.emergencyCode.length, 0);
    for (Byte b : back.reserved40)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(back.userName, stored.userName);
}

TEST(UserData, ChangeMeansWhatTheUnitWouldSee)
{
    const UserRecord stored = StoredUser();
    struct Case {
        const char* what;
        void (*edit)(UserData&);
        bool changed;
    };
    const Case cases[] = {
        {"code shortened", [](UserData& d) { d.code(UserCode::Start) = "1D"; }, true},
        {"code added", [](UserData& d) { d.code(UserCode::Emergency) = "5"; }, true},
        {"name", [](UserData& d) { d.record.userName[0] = 'X'; }, true},
        {"option", [](UserData& d) { d.record.enableCallout ^= 1; }, true},
        {"interval", [](UserData& d) { d.record.warningInterval = 99; }, true},
        {"hidden option", [](UserData& d) { d.record.speakTimerNumber ^= 1; }, true},
        {"reserved bytes are not a change", [](UserData& d) { d.record.reserved40.fill(7); }, false},
    };
    for (const Case& c : cases) {
        UserData data = LoadUserData(stored);
        c.edit(data);
        EXPECT_EQ(UserDataChanged(data, stored), c.changed) << c.what;
    }
}

TEST(UserTable, RowsLineUpUnderTheTitle)
{
    UserData user = LoadUserData(StoredUser());
    user.record.warningInterval = 5;
    const auto row = UserRowPieces(0, user);
    EXPECT_EQ(row[0], "  1  ");
    EXPECT_EQ(row[1], " 1D23    ");
    EXPECT_EQ(row[2], "   45      ");
    EXPECT_EQ(row[3], "   --------");
    EXPECT_EQ(row[4], "   *#0     ");
    EXPECT_EQ(row[5], "       5 min.");

    user.record.warningInterval = 255;
    const auto last = UserRowPieces(15, user);
    EXPECT_EQ(last[0], " 16  ");
    EXPECT_EQ(last[5], "     255 min.");
    std::string line;
    for (const std::string& piece : last)
        line += piece;
    // Each column starts under its heading.
    EXPECT_EQ(line.find("1D23"), kUserTableTitle.find("START"));
    EXPECT_EQ(line.find("--------"), kUserTableTitle.find("EMERGENCY"));
    EXPECT_EQ(line.find("*#0"), kUserTableTitle.find("INTERROGATE"));
}

TEST(UserTable, PressHeightPicksARow)
{
    struct Case {
        int y;
        int row;
    };
    const Case cases[] = {{0, -1},   {20, -1},  {21, 0},   {29, 0},  {30, 1},
                          {179, 15}, {200, 15}, {229, 15}, {230, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(UserRowAt(c.y, 10), c.row) << c.y;
}

} // namespace
} // namespace veskar

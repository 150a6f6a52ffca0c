#include "system/SystemData.h"

#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace veskar {
namespace {

SystemBlock NewBlock()
{
    Image image;
    CreateDatabase(image);
    return image.gen;
}

std::vector<Byte> Digits(const CodeField& code)
{
    return {code.digits.begin(), code.digits.begin() + code.length};
}

TEST(SystemDataTest, LoadShowsTheStoredSettings)
{
    SystemBlock gen = NewBlock();
    gen.accessCode = CodeFromText("1D23");
    gen.siteName = NameFromText("North gate");
    SetDefaultTimerMinutes(gen, 4095);
    gen.timerA = SplitValue(249);
    gen.timerB = SplitValue(0);
    gen.timesA = 8;
    gen.ringsBeforeAnswer = 12;
    gen.squelchHigh = 2; // any non-zero byte is on
    gen.pulseDial = 1;
    gen.modbusAddress = 7;
    gen.modbusBaud = 3;

    const SystemEntries e = LoadSystemEntries(gen);
    EXPECT_EQ(e.siteName, "North gate");
    EXPECT_EQ(e.code(SystemCode::Access), "1D23");
    EXPECT_EQ(e.code(SystemCode::Acknowledge), kDefaultAckCode);
    EXPECT_EQ(e.defaultTimer, "4095");
    EXPECT_EQ(e.timerA, "249");
    EXPECT_EQ(e.timerB, "0");
    EXPECT_EQ(e.timesA, 7);
    EXPECT_EQ(e.rings, kAutoAckItem);
    EXPECT_TRUE(e.squelchHigh);
    EXPECT_TRUE(e.pulseDial);
    EXPECT_EQ(e.mbus, (Modbusdata{7, 3}));
}

TEST(SystemDataTest, ListPositionsOfStoredValues)
{
    struct Case {
        Byte stored;
        int timesA;
        int rings;
    };
    const Case cases[] = {{0, kNoSelection, 0},
                          {1, 0, 1},
                          {8, 7, 8},
                          {9, kNoSelection, kNoSelection},
                          {12, kNoSelection, kAutoAckItem},
                          {255, kNoSelection, kNoSelection}};
    for (const Case& c : cases) {
        EXPECT_EQ(TimesAItem(c.stored), c.timesA) << int(c.stored);
        EXPECT_EQ(RingsItem(c.stored), c.rings) << int(c.stored);
    }
}

TEST(SystemDataTest, StoreWritesEveryField)
{
    SystemBlock gen = NewBlock();
    const SystemBlock before = gen;
    SystemEntries e = LoadSystemEntries(gen);
    e.siteName = "Depot";
    e.codes = {"1d23", "12345678", "*#", ""};
    e.timerA = "123";
    e.timerB = "";
    e.defaultTimer = "20";
    e.timesA = 0;
    e.rings = kAutoAckItem;
    e.pulseDial = true;
    e.squelchHigh = true;
    e.radioWarning = false;
    e.useAckRequest = false;
    e.useCallProgress = false;
    e.useRecordedSiteId = false;
    e.mbus = {255, 0};
    StoreSystemEntries(e, gen);

    EXPECT_EQ(NameToText(gen.siteName), "Depot");
    EXPECT_EQ(gen.siteName[15], ' ');
    EXPECT_EQ(Digits(gen.accessCode), (std::vector<Byte>{1, 0, 2, 3}));
    EXPECT_EQ(CodeToText(gen.accessCode), "1D23");
    EXPECT_EQ(gen.ackCode.length, 8);
    EXPECT_EQ(Digits(gen.ack60Code), (std::vector<Byte>{1, 2, 3, 4, 5, 6, 7, 8, 12}));
    EXPECT_EQ(Digits(gen.statusCode), (std::vector<Byte>{11, 12}));
    EXPECT_EQ(gen.dirChangeCode.length, 0);
    EXPECT_EQ(gen.timerA.hundreds, 1);
    EXPECT_EQ(gen.timerA.tens, 2);
    EXPECT_EQ(gen.timerA.units, 3);
    EXPECT_EQ(gen.timerA.value, 123);
    EXPECT_EQ(gen.timerB.value, 0);
    EXPECT_EQ(gen.defaultTimer[0], 1);
    EXPECT_EQ(gen.defaultTimer[1], 64);
    EXPECT_EQ(gen.timesA, 1);
    EXPECT_EQ(gen.ringsBeforeAnswer, 12);
    EXPECT_EQ(gen.reserved89, 0);
    EXPECT_EQ(gen.pulseDial, 1);
    EXPECT_EQ(gen.squelchHigh, 1);
    EXPECT_EQ(gen.radioWarning, 0);
    EXPECT_EQ(gen.useAckRequest, 0);
    EXPECT_EQ(gen.useCallProgress, 0);
    EXPECT_EQ(gen.useRecordedSiteId, 0);
    EXPECT_EQ(gen.modbusAddress, 255);
    EXPECT_EQ(gen.modbusBaud, 0);
    // What the form does not edit stays.
    EXPECT_EQ(gen.fixedCode.length, before.fixedCode.length);
    EXPECT_EQ(gen.split3.value, before.split3.value);
    EXPECT_EQ(gen.levelTxTone, before.levelTxTone);
    EXPECT_EQ(gen.reserved98, before.reserved98);
}

TEST(SystemDataTest, StoredNumbersAndCodes)
{
    struct Case {
        const char* what;
        std::function<void(SystemEntries&)> set;
        std::function<bool(const SystemBlock&)> stored;
    };
    const Case cases[] = {
        {"empty Acknowledge gives the one-digit 60 minute code",
         [](SystemEntries& e) { e.code(SystemCode::Acknowledge) = ""; },
         [](const SystemBlock& g) {
             return g.ackCode.length == 0 && g.ack60Code.length == 1 && g.ack60Code.digits[0] == 12;
         }},
        {"one-digit Acknowledge", [](SystemEntries& e) { e.code(SystemCode::Acknowledge) = "D"; },
         [](const SystemBlock& g) {
             return Digits(g.ack60Code) == std::vector<Byte>{0, 12};
         }},
        {"lower-case a-d as A-D", [](SystemEntries& e) { e.code(SystemCode::Interrogate) = "abcd"; },
         [](const SystemBlock& g) { return CodeToText(g.statusCode) == "ABCD"; }},
        {"Default Timer 1", [](SystemEntries& e) { e.defaultTimer = "1"; },
         [](const SystemBlock& g) { return g.defaultTimer[0] == 0 && g.defaultTimer[1] == 16; }},
        {"Default Timer 4095", [](SystemEntries& e) { e.defaultTimer = "4095"; },
         [](const SystemBlock& g) { return g.defaultTimer[0] == 0xFF && g.defaultTimer[1] == 0xF0; }},
        {"Default Timer of six characters read as five", [](SystemEntries& e) { e.defaultTimer = "002000"; },
         [](const SystemBlock& g) { return DefaultTimerMinutes(g) == 200; }},
        {"Rings Never", [](SystemEntries& e) { e.rings = 0; },
         [](const SystemBlock& g) { return g.ringsBeforeAnswer == 0; }},
        {"Times A 8", [](SystemEntries& e) { e.timesA = 7; },
         [](const SystemBlock& g) { return g.timesA == 8; }},
        {"Timer B 249", [](SystemEntries& e) { e.timerB = "249"; },
         [](const SystemBlock& g) { return g.timerB.hundreds == 2 && g.timerB.value == 249; }},
    };
    for (const Case& c : cases) {
        SystemBlock gen = NewBlock();
        SystemEntries e = LoadSystemEntries(gen);
        c.set(e);
        StoreSystemEntries(e, gen);
        EXPECT_TRUE(c.stored(gen)) << c.what;
    }
}

TEST(SystemDataTest, AnUnlistedValueIsKeptWhileNothingIsSelected)
{
    SystemBlock gen = NewBlock();
    gen.timesA = 9;
    gen.ringsBeforeAnswer = 10;
    const SystemEntries e = LoadSystemEntries(gen);
    EXPECT_FALSE(SystemEntriesChanged(e, gen));
    StoreSystemEntries(e, gen);
    EXPECT_EQ(gen.timesA, 9);
    EXPECT_EQ(gen.ringsBeforeAnswer, 10);
}

TEST(SystemDataTest, LoadThenStoreChangesNothingTheUnitSees)
{
    SystemBlock gen = NewBlock();
    gen.accessCode = CodeFromText("D1D");
    gen.modbusBaud = 7; // reads as 9600
    SystemBlock stored = gen;
    const SystemEntries e = LoadSystemEntries(gen);
    EXPECT_FALSE(SystemEntriesChanged(e, gen));
    StoreSystemEntries(e, stored);
    stored.reserved89 = gen.reserved89;
    EXPECT_EQ(std::memcmp(&stored, &gen, sizeof gen), 0);
}

TEST(SystemDataTest, EachEditCountsAsAChange)
{
    struct Case {
        const char* what;
        std::function<void(SystemEntries&)> edit;
        bool changed;
    };
    const Case cases[] = {
        {"site name", [](SystemEntries& e) { e.siteName = "Other"; }, true},
        {"site name cut to 16",
         [](SystemEntries& e) { e.siteName = std::string(kDefaultSiteName) + "    x"; }, false},
        {"trailing blank of the site name", [](SystemEntries& e) { e.siteName += " "; }, false},
        {"code", [](SystemEntries& e) { e.code(SystemCode::DirectoryControl) = "1"; }, true},
        {"code digit", [](SystemEntries& e) { e.code(SystemCode::Acknowledge) = "2581"; }, true},
        {"code in lower case", [](SystemEntries& e) { e.code(SystemCode::DirectoryControl) = "ad"; }, false},
        {"code typed longer", [](SystemEntries& e) { e.code(SystemCode::Acknowledge) = "25800"; }, true},
        {"Default Timer", [](SystemEntries& e) { e.defaultTimer = "21"; }, true},
        {"Default Timer that would wrap to the stored bytes",
         [](SystemEntries& e) { e.defaultTimer = "4116"; }, true},
        {"Default Timer with text after", [](SystemEntries& e) { e.defaultTimer = "20x"; }, false},
        {"Timer A", [](SystemEntries& e) { e.timerA = "3"; }, true},
        {"Timer A beyond a byte", [](SystemEntries& e) { e.timerA = "258"; }, true},
        {"Timer B", [](SystemEntries& e) { e.timerB = "9"; }, true},
        {"Times A", [](SystemEntries& e) { e.timesA = 0; }, true},
        {"Rings", [](SystemEntries& e) { e.rings = kAutoAckItem; }, true},
        {"squelch", [](SystemEntries& e) { e.squelchHigh = !e.squelchHigh; }, true},
        {"radio warning", [](SystemEntries& e) { e.radioWarning = !e.radioWarning; }, true},
        {"recorded site ID", [](SystemEntries& e) { e.useRecordedSiteId = !e.useRecordedSiteId; }, true},
        {"dialing", [](SystemEntries& e) { e.pulseDial = !e.pulseDial; }, true},
        {"acknowledge request", [](SystemEntries& e) { e.useAckRequest = !e.useAckRequest; }, true},
        {"call progress", [](SystemEntries& e) { e.useCallProgress = !e.useCallProgress; }, true},
        {"Modbus address", [](SystemEntries& e) { e.mbus.address = 1; }, true},
        {"Modbus baud", [](SystemEntries& e) { e.mbus.baud = 0; }, true},
    };
    SystemBlock gen = NewBlock();
    gen.dirChangeCode = CodeFromText("AD");
    for (const Case& c : cases) {
        SystemEntries e = LoadSystemEntries(gen);
        c.edit(e);
        EXPECT_EQ(SystemEntriesChanged(e, gen), c.changed) << c.what;
    }
}

} // namespace
} // namespace veskar

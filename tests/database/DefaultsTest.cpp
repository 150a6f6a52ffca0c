#include "database/Codes.h"
#include "database/Defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

namespace veskar {
namespace {

CodeField RawCode(std::initializer_list<Byte> digits, Byte length)
{
    CodeField code{};
    std::copy(digits.begin(), digits.end(), code.digits.begin());
    code.length = length;
    return code;
}

TEST(CheckHexDTMF, RepairsOrClears)
{
    struct Case {
        const char* what;
        CodeField in;
        CodeField out;
        bool lengthBad;
    };
    const Case cases[] = {
        {"length 9", RawCode({1, 2, 3}, 9), CodeField{}, true},
        {"length 0xFF", RawCode({1}, 0xFF), CodeField{}, true},
        {"digit 16 inside", RawCode({1, 2, 16}, 3), CodeField{}, false},
        {"digit 0x80 inside", RawCode({0x80}, 1), CodeField{}, false},
        {"junk after the length", RawCode({5, 6, 7}, 2), RawCode({5, 6}, 2), false},
        {"digit 16 after the length", RawCode({5, 16}, 1), RawCode({5}, 1), false},
        {"eight digits with D", RawCode({0, 15, 0, 15, 0, 15, 0, 15}, 8), RawCode({0, 15, 0, 15, 0, 15, 0, 15}, 8), false},
    };
    for (const Case& c : cases) {
        CodeField code = c.in;
        EXPECT_EQ(CheckHexDTMF(code), c.lengthBad) << c.what;
        EXPECT_EQ(std::memcmp(&code, &c.out, sizeof code), 0) << c.what;
    }
}

TEST(SplitValue, DigitsThenValue)
{
    const SplitNumber big = SplitValue(249);
    EXPECT_EQ(big.hundreds, 2);
    EXPECT_EQ(big.tens, 4);
    EXPECT_EQ(big.units, 9);
    EXPECT_EQ(big.value, 249);
    const SplitNumber small = SplitValue(7);
    EXPECT_EQ(small.hundreds, 0);
    EXPECT_EQ(small.tens, 0);
    EXPECT_EQ(small.units, 7);
}

Image NewImage()
{
    Image image{};
    CreateDatabase(image);
    return image;
}

TEST(DefaultValues, RepairsEachOutOfRangeField)
{
    struct Case {
        const char* what;
        std::function<void(Image&)> spoil;
        std::function<bool(const Image&)> repaired;
    };
    const Case cases[] = {
        {"start code length 9", [](Image& i) { i.User[0].startCode = RawCode({1}, 9); },
         [](const Image& i) { return i.User[0].startCode.length == 0; }},
        {"stop code digit 16", [](Image& i) { i.User[3].stopCode = RawCode({1, 16}, 2); },
         [](const Image& i) { return i.User[3].stopCode.length == 0 && i.User[3].stopCode.digits[0] == 0; }},
        {"interrogate code of user 16", [](Image& i) { i.User[15].interrogateCode = RawCode({}, 200); },
         [](const Image& i) { return i.User[15].interrogateCode.length == 0; }},
        {"timer A 0", [](Image& i) { i.gen.timerA = SplitNumber{}; },
         [](const Image& i) { return i.gen.timerA.value == 2 && i.gen.timerA.units == 2; }},
        {"times A 0", [](Image& i) { i.gen.timesA = 0; }, [](const Image& i) { return i.gen.timesA == 3; }},
        {"times A 9", [](Image& i) { i.gen.timesA = 9; }, [](const Image& i) { return i.gen.timesA == 3; }},
        {"access code length 9", [](Image& i) { i.gen.accessCode = RawCode({1}, 9); },
         [](const Image& i) { return i.gen.accessCode.length == 0; }},
        {"status code digit 20", [](Image& i) { i.gen.statusCode = RawCode({20}, 1); },
         [](const Image& i) { return i.gen.statusCode.length == 0; }},
        {"ack60 length 9", [](Image& i) { i.gen.ack60Code = RawCode({1}, 9); },
         [](const Image& i) { return i.gen.ack60Code.length == 0; }},
        {"ack60 digits are not looked at", [](Image& i) { i.gen.ack60Code = RawCode({99}, 1); },
         [](const Image& i) { return i.gen.ack60Code.digits[0] == 99; }},
        {"fixed code overwritten", [](Image& i) { i.gen.fixedCode = RawCode({7, 7}, 2); },
         [](const Image& i) { return i.gen.fixedCode.length == 9 && CodeToText(i.gen.fixedCode) == kFixedCode; }},
        {"level 14", [](Image& i) { i.gen.levelTxDtmf = 14; }, [](const Image& i) { return i.gen.levelTxDtmf == 25; }},
        {"level 36", [](Image& i) { i.gen.levelSpare4 = 36; }, [](const Image& i) { return i.gen.levelSpare4 == 25; }},
        {"level 15 stays", [](Image& i) { i.gen.levelPhoneRx = 15; }, [](const Image& i) { return i.gen.levelPhoneRx == 15; }},
        {"timer B 0 stays", [](Image& i) { i.gen.timerB = SplitNumber{}; }, [](const Image& i) { return i.gen.timerB.value == 0; }},
        {"modbus address stays", [](Image& i) { i.gen.modbusAddress = 0; }, [](const Image& i) { return i.gen.modbusAddress == 0; }},
    };
    for (const Case& c : cases) {
        Image image = NewImage();
        c.spoil(image);
        DefaultValues(image);
        EXPECT_TRUE(c.repaired(image)) << c.what;
    }
}

TEST(DefaultValues, FixedCodeIsTheProgramConstant)
{
    Image image{};
    DefaultValues(image);
    std::string digits(image.gen.fixedCode.digits.begin(), image.gen.fixedCode.digits.begin() + 9);
    Data2DTMF(digits.data(), 9);
    EXPECT_EQ(digits, kFixedCode);
    EXPECT_EQ(image.gen.fixedCode.digits[9], 0);
}

void ExpectTidyCode(const CodeField& code, const std::string& what)
{
    ASSERT_LE(code.length, kMaxCodeDigits) << what;
    for (std::size_t i = 0; i < code.digits.size(); ++i) {
        if (i < code.length)
            EXPECT_LE(code.digits[i], 15) << what;
        else
            EXPECT_EQ(code.digits[i], 0) << what;
    }
}

void ExpectInvariants(const Image& image)
{
    for (int u = 0; u < kUserCount; ++u) {
        const UserRecord& user = image.User[static_cast<std::size_t>(u)];
        const std::string who = "user " + std::to_string(u + 1);
        ExpectTidyCode(user.startCode, who + " start");
        ExpectTidyCode(user.stopCode, who + " stop");
        ExpectTidyCode(user.emergencyCode, who + " emergency");
        ExpectTidyCode(user.interrogateCode, who + " interrogate");
    }
    const SystemBlock& gen = image.gen;
    ExpectTidyCode(gen.accessCode, "access");
    ExpectTidyCode(gen.ackCode, "ack");
    ExpectTidyCode(gen.statusCode, "status");
    ExpectTidyCode(gen.dirChangeCode, "dir change");
    EXPECT_LE(gen.ack60Code.length, kMaxCodeDigits);
    EXPECT_EQ(gen.fixedCode.length, 9);
    EXPECT_NE(gen.timerA.value, 0);
    EXPECT_GE(gen.timesA, 1);
    EXPECT_LE(gen.timesA, 8);
    SystemBlock copy = gen;
    for (Byte* level : LevelBytes(copy)) {
        EXPECT_GE(*level, kLevelMin);
        EXPECT_LE(*level, kLevelMax);
    }
}

// Random images are mostly out of range; small lengths are mixed in so that
// the digit checks below the length get exercised too.
TEST(DefaultValues, IdempotentAndWithinInvariantsOnRandomImages)
{
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        Image image{};
        for (Byte& b : image.bytes())
            b = static_cast<Byte>(byte(random));
        if (round % 2 == 0) {
            for (UserRecord& user : image.User)
                user.startCode.length = static_cast<Byte>(byte(random) % 10);
            image.gen.ackCode.length = static_cast<Byte>(byte(random) % 10);
        }
        DefaultValues(image);
        ExpectInvariants(image);
        const Image once = image;
        DefaultValues(image);
        ASSERT_EQ(image, once) << "round " << round;
        if (HasFailure())
            break;
    }
}

TEST(ClearDatabase, KeepsCodesAndNamesResetsOptionsAndDirectories)
{
    Image image = NewImage();
    image.User[2].startCode = CodeFromText("1234");
    image.User[2].userName = NameFromText("Ann");
    image.User[2].warningInterval = 90;
    image.User[2].askName = 0;
    image.gen.accessCode = CodeFromText("99");
    image.gen.siteName = NameFromText("Quarry");
    image.gen.timerB = SplitValue(30);
    SetDefaultTimerMinutes(image.gen, 5);
    image.dir[1][0] = 'P';

    ClearDatabase(image);

    EXPECT_EQ(CodeToText(image.User[2].startCode), "1234");
    EXPECT_EQ(NameToText(image.User[2].userName), "Ann");
    EXPECT_EQ(CodeToText(image.gen.accessCode), "99");
    EXPECT_EQ(NameToText(image.gen.siteName), "Quarry");
    EXPECT_EQ(image.gen.timerB.value, 30);
    EXPECT_EQ(image.User[2].warningInterval, 5);
    EXPECT_EQ(image.User[2].askName, 1);
    EXPECT_EQ(DefaultTimerMinutes(image.gen), 20);
    for (const DirectoryBlock& block : image.dir) {
        EXPECT_EQ(block[0], '&');
        EXPECT_TRUE(std::all_of(block.begin() + 1, block.end(), [](Byte b) { return b == 0; }));
    }
}

TEST(CreateDatabase, DefaultsTheUnitExpects)
{
    const Image image = NewImage();
    EXPECT_EQ(std::string(image.gen.siteName.begin(), image.gen.siteName.end()), "RidIvav Alarm   ");
    EXPECT_EQ(CodeToText(image.gen.ack60Code), std::string(kDefaultAckCode) + "#");
    EXPECT_EQ(image.User[0].reserved51, 30);
    EXPECT_EQ(std::string(image.dir[0].begin(), image.dir[0].begin() + 5), std::string("RNV&\0", 5));
    Image repaired = image;
    DefaultValues(repaired);
    EXPECT_EQ(repaired, image) << "a new image needs no repair";
}

}  // namespace
}  // namespace veskar

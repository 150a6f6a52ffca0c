#include "database/Defaults.h"
#include "database/Codes.h"
#include "database/FieldTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace std::string_literals;

namespace veskar {
namespace {

Image NewImage()
{
    Image image{};
    CreateDatabase(image);
    return image;
}

TEST(SplitValue, DigitsThenValue)
{
    const std::pair<int, SplitNumber> cases[] = {
        {249, {2, 4, 9, 249}}, {7, {0, 0, 7, 7}}, {100, {1, 0, 0, 100}}};
    for (const auto& [value, split] : cases) {
        const SplitNumber got = SplitValue(value);
        EXPECT_EQ(std::memcmp(&got, &split, sizeof split), 0) << value;
    }
}

// Each row spoils one byte of a field of a new image and looks at one byte of
// the same field after the repair. Byte 15 of a code field is its length.
TEST(DefaultValues, RepairsEachOutOfRangeField)
{
    struct Case {
        const char* field;
        std::size_t at;
        Byte spoilt;
        std::size_t checkAt;
        Byte expected;
    };
    // clang-format off
    const Case cases[] = {
        {"user1.startCode", 15, 9, 15, 0},         {"user4.stopCode", 15, 0xFF, 15, 0},
        {"user9.emergencyCode", 15, 9, 15, 0},     {"user16.interrogateCode", 15, 200, 15, 0},
        {"user1.startCode", 15, 8, 15, 8},         {"gen.accessCode", 15, 9, 15, 0},
        {"gen.statusCode", 1, 16, 15, 0},          {"gen.statusCode", 1, 20, 0, 0},
        {"gen.ackCode", 3, 0x80, 15, 0},           {"gen.ackCode", 6, 16, 6, 0},
        {"gen.ackCode", 2, 15, 15, 4},             {"gen.ackCode", 2, 15, 2, 15},
        {"gen.dirChangeCode", 15, 9, 15, 0},       {"gen.ack60Code", 15, 9, 15, 0},
        {"gen.ack60Code", 0, 99, 0, 99},           {"gen.fixedCode", 15, 2, 15, 9},
        {"gen.fixedCode", 0, 7, 0, 3},             {"gen.timerA", 3, 0, 3, 2},
        {"gen.timerA", 3, 0, 2, 2},                {"gen.timesA", 0, 0, 0, 3},
        {"gen.timesA", 0, 9, 0, 3},                {"gen.timesA", 0, 8, 0, 8},
        {"gen.levelTxDtmf", 0, 14, 0, 25},         {"gen.levelSpare4", 0, 36, 0, 25},
        {"gen.levelPhoneRx", 0, 15, 0, 15},        {"gen.levelTxTone", 0, 35, 0, 35},
        {"gen.timerB", 3, 0, 3, 0},                {"gen.modbusAddress", 0, 0, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto field = std::ranges::find(ImageFields(), std::string_view(c.field), &Field::name);
        ASSERT_NE(field, ImageFields().end()) << c.field;
        Image image = NewImage();
        image.bytes()[field->offset + c.at] = c.spoilt;
        DefaultValues(image);
        EXPECT_EQ(image.bytes()[field->offset + c.checkAt], c.expected)
            << c.field << " byte " << c.at << " = " << int(c.spoilt);
    }
}

void ExpectInvariants(const Image& image)
{
    std::vector<const CodeField*> codes = {&image.gen.accessCode, &image.gen.ackCode, &image.gen.statusCode,
                                           &image.gen.dirChangeCode};
    for (const UserRecord& user : image.User)
        codes.insert(codes.end(),
                     {&user.startCode, &user.stopCode, &user.emergencyCode, &user.interrogateCode});
    for (const CodeField* code : codes) {
        ASSERT_LE(code->length, kMaxCodeDigits);
        for (std::size_t i = 0; i < code->digits.size(); ++i)
            EXPECT_LE(code->digits[i], i < code->length ? 15 : 0) << "digit " << i;
    }
    const SystemBlock& gen = image.gen;
    EXPECT_LE(gen.ack60Code.length, kMaxCodeDigits);
    static const CodeField kFixed = NewImage().gen.fixedCode;
    EXPECT_EQ(std::memcmp(&gen.fixedCode, &kFixed, sizeof kFixed), 0) << "fixed code";
    EXPECT_NE(gen.timerA.value, 0);
    EXPECT_TRUE(gen.timesA >= 1 && gen.timesA <= 8);
    SystemBlock copy = gen;
    for (Byte* level : LevelBytes(copy))
        EXPECT_TRUE(*level >= kLevelMin && *level <= kLevelMax);
}

// Random images are mostly out of range; small lengths are mixed in so that
// the digit checks below the length get exercised too.
TEST(DefaultValues, IdempotentAndWithinInvariantsOnRandomImages)
{
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000 && !HasFailure(); ++round) {
        SCOPED_TRACE(round);
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
        ASSERT_EQ(image, once);
    }
}

TEST(ClearDatabase, KeepsCodesAndNamesResetsOptionsAndDirectories)
{
    Image image = NewImage();
    UserRecord& user = image.User[2];
    user.startCode = CodeFromText("1234");
    user.userName = NameFromText("Ann");
    user.warningInterval = 90;
    user.askName = 0;
    image.gen.accessCode = CodeFromText("99");
    image.gen.siteName = NameFromText("Quarry");
    image.gen.timerB = SplitValue(30);
    SetDefaultTimerMinutes(image.gen, 5);
    image.dir[1][0] = 'P';
    Image expected = image;
    expected.User[2].warningInterval = 5;
    expected.User[2].askName = 1;
    SetDefaultTimerMinutes(expected.gen, 20);
    for (DirectoryBlock& block : expected.dir)
        block = DirectoryBlock{'&'};

    ClearDatabase(image);
    EXPECT_EQ(image, expected);
}

TEST(CreateDatabase, DefaultsTheUnitExpectsWhereFilesExpectThem)
{
    const Image image = NewImage();
    const auto bytes = image.bytes();
    EXPECT_EQ(bytes[2048 + 0x0F], 9) << "fixed code length opens the system block";
    EXPECT_EQ(bytes[2048 + 0x99], 0x01) << "default timer, 20 minutes x 16, high byte first";
    EXPECT_EQ(bytes[2048 + 0x9A], 0x40);
    EXPECT_EQ(std::string(bytes.begin() + 2304, bytes.begin() + 2309), "RNV&\0"s) << "directory A";
    EXPECT_EQ(bytes[2304 + 256], '&') << "directory B is empty";
    EXPECT_EQ(std::string(image.gen.siteName.begin(), image.gen.siteName.end()), "RidIvav Alarm   ");
    EXPECT_EQ(CodeToText(image.gen.ack60Code), std::string(kDefaultAckCode) + "#");
    EXPECT_EQ(image.User[0].reserved51, 30);
    Image repaired = image;
    DefaultValues(repaired);
    EXPECT_EQ(repaired, image) << "a new image needs no repair";
}

}  // namespace
}  // namespace veskar

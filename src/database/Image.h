#pragma once

// The configuration image: 16 user records, the system block and four
// directory blocks, one contiguous 3328-byte run. The layout is a stored
// format (data files and the unit use these exact bytes), so every member
// is a byte or a byte array and the offsets are checked below.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veskar {

using Byte = std::uint8_t;

inline constexpr int kUserCount = 16;
inline constexpr int kDirectoryCount = 4;
inline constexpr std::size_t kUserRecordSize = 128;
inline constexpr std::size_t kSystemBlockSize = 256;
inline constexpr std::size_t kDirectoryBlockSize = 256;
inline constexpr std::size_t kImageSize = 3328;

inline constexpr std::size_t kMaxCodeDigits = 8;
inline constexpr std::size_t kNameLength = 16;

// 15 digit values (0-15, 0 meaning "D") and the digit count.
struct CodeField {
    std::array<Byte, 15> digits;
    Byte length;
};

// Hundreds, tens and units digits, then the value as one byte.
struct SplitNumber {
    Byte hundreds;
    Byte tens;
    Byte units;
    Byte value;
};

using NameField = std::array<Byte, kNameLength>;

struct UserRecord {
    CodeField startCode;
    CodeField stopCode;
    CodeField emergencyCode;
    CodeField interrogateCode;
    std::array<Byte, 16> reserved40;
    Byte reserved50;
    Byte reserved51;
    Byte allowTimerChange;
    Byte speakTimerNumber;
    Byte enableCallout;
    Byte askEmergencyConfirm;
    Byte useDtmfName;
    Byte useVoiceName;
    Byte useVoiceLocation;
    Byte warningInterval;
    Byte askName;
    Byte askLocation;
    Byte askTimer;
    Byte playSettings;
    Byte askSettingsConfirm;
    Byte useDtmfLocation;
    std::array<Byte, 16> reserved60;
    NameField userName;
};

struct SystemBlock {
    CodeField fixedCode;
    CodeField accessCode;
    CodeField ackCode;
    CodeField ack60Code;
    CodeField statusCode;
    CodeField dirChangeCode;
    std::array<Byte, 16> reserved60;
    SplitNumber timerA;
    SplitNumber timerB;
    SplitNumber split3;
    SplitNumber split4;
    Byte timesA;
    Byte squelchHigh;
    Byte useAckRequest;
    Byte ringsBeforeAnswer;
    Byte pulseDial;
    Byte radioWarning;
    Byte reserved86;
    Byte useRecordedSiteId;
    Byte sendFlags;
    Byte reserved89;
    Byte useCallProgress;
    Byte reserved8b;
    Byte fixed8c;
    Byte levelTxTone;
    Byte levelTxDtmf;
    Byte levelTxVoice;
    Byte levelRadioRx;
    Byte levelSpare1;
    Byte levelSpare2;
    Byte levelSpare3;
    Byte levelPhoneRx;
    Byte levelSpare4;
    Byte modbusAddress;
    Byte modbusBaud;
    Byte reserved98;
    std::array<Byte, 2> defaultTimer;  // minutes x 16, high byte first
    std::array<Byte, 85> reserved9b;
    NameField siteName;
};

using DirectoryBlock = std::array<Byte, kDirectoryBlockSize>;

struct Image {
    std::array<UserRecord, kUserCount> User;
    SystemBlock gen;
    std::array<DirectoryBlock, kDirectoryCount> dir;

    [[nodiscard]] std::span<Byte, kImageSize> bytes();
    [[nodiscard]] std::span<const Byte, kImageSize> bytes() const;
    void assign(std::span<const Byte, kImageSize> source);

    friend bool operator==(const Image&, const Image&);
};

static_assert(sizeof(CodeField) == 16);
static_assert(sizeof(SplitNumber) == 4);
static_assert(sizeof(UserRecord) == kUserRecordSize);
static_assert(sizeof(SystemBlock) == kSystemBlockSize);
static_assert(sizeof(Image) == kImageSize);

static_assert(offsetof(UserRecord, stopCode) == 0x10);
static_assert(offsetof(UserRecord, emergencyCode) == 0x20);
static_assert(offsetof(UserRecord, interrogateCode) == 0x30);
static_assert(offsetof(UserRecord, reserved40) == 0x40);
static_assert(offsetof(UserRecord, reserved50) == 0x50);
static_assert(offsetof(UserRecord, allowTimerChange) == 0x52);
static_assert(offsetof(UserRecord, warningInterval) == 0x59);
static_assert(offsetof(UserRecord, useDtmfLocation) == 0x5F);
static_assert(offsetof(UserRecord, reserved60) == 0x60);
static_assert(offsetof(UserRecord, userName) == 0x70);

static_assert(offsetof(SystemBlock, accessCode) == 0x10);
static_assert(offsetof(SystemBlock, ack60Code) == 0x30);
static_assert(offsetof(SystemBlock, dirChangeCode) == 0x50);
static_assert(offsetof(SystemBlock, timerA) == 0x70);
static_assert(offsetof(SystemBlock, split4) == 0x7C);
static_assert(offsetof(SystemBlock, timesA) == 0x80);
static_assert(offsetof(SystemBlock, sendFlags) == 0x88);
static_assert(offsetof(SystemBlock, fixed8c) == 0x8C);
static_assert(offsetof(SystemBlock, levelTxTone) == 0x8D);
static_assert(offsetof(SystemBlock, levelRadioRx) == 0x90);
static_assert(offsetof(SystemBlock, levelPhoneRx) == 0x94);
static_assert(offsetof(SystemBlock, levelSpare4) == 0x95);
static_assert(offsetof(SystemBlock, modbusAddress) == 0x96);
static_assert(offsetof(SystemBlock, defaultTimer) == 0x99);
static_assert(offsetof(SystemBlock, reserved9b) == 0x9B);
static_assert(offsetof(SystemBlock, siteName) == 0xF0);

static_assert(offsetof(Image, gen) == 0x800);
static_assert(offsetof(Image, dir) == 0x900);

// The nine level bytes, in image order.
[[nodiscard]] std::array<Byte*, 9> LevelBytes(SystemBlock& gen);

[[nodiscard]] int DefaultTimerMinutes(const SystemBlock& gen);
void SetDefaultTimerMinutes(SystemBlock& gen, int minutes);

[[nodiscard]] int ModbusBaudRate(Byte code);

}  // namespace veskar

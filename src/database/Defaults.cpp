#include "database/Defaults.h"

#include "database/Codes.h"
#include "database/DirectoryBytes.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr Byte kTimerADefault = 2;
constexpr Byte kTimesADefault = 3;
constexpr Byte kTimesAMax = 8;
constexpr Byte kHashDigitValue = 12;

void ClearCode(CodeField& code)
{
    code = CodeField{};
}

// Length above 8 or a bad digit empties the code.
void RepairCode(CodeField& code)
{
    if (code.length > kMaxCodeDigits || CheckHexDTMF(code))
        ClearCode(code);
}

void ClearDirectory(DirectoryBlock& block)
{
    block.fill(0);
    block[0] = kLineEnd;
}

}  // namespace

SplitNumber SplitValue(int value)
{
    const auto byte = static_cast<Byte>(value);
    return SplitNumber{static_cast<Byte>(byte / 100), static_cast<Byte>(byte % 100 / 10),
                       static_cast<Byte>(byte % 10), byte};
}

bool CheckHexDTMF(CodeField& code)
{
    const auto length = static_cast<signed char>(code.length);
    if (length < 0 || length > static_cast<signed char>(kMaxCodeDigits)) {
        ClearCode(code);
        return true;
    }
    const auto digitsEnd = code.digits.begin() + length;
    const bool badDigit = std::any_of(code.digits.begin(), digitsEnd, [](Byte digit) {
        const auto value = static_cast<signed char>(digit);
        return value < 0 || value > 15;
    });
    if (badDigit)
        ClearCode(code);
    else
        std::fill(digitsEnd, code.digits.end(), Byte{0});
    return false;
}

void SetFixedCode(SystemBlock& gen)
{
    gen.fixedCode = CodeField{};
    for (std::size_t i = 0; i < kFixedCode.size(); ++i)
        gen.fixedCode.digits[i] = SymbolToDigitValue(kFixedCode[i]);
    gen.fixedCode.length = static_cast<Byte>(kFixedCode.size());
}

void SetDefaultUserOptions(UserRecord& user)
{
    user.allowTimerChange = 1;
    user.speakTimerNumber = 0;
    user.enableCallout = 1;
    user.askEmergencyConfirm = 1;
    user.useDtmfName = 0;
    user.useDtmfLocation = 0;
    user.useVoiceName = 1;
    user.useVoiceLocation = 1;
    user.warningInterval = 5;
    user.askName = 1;
    user.askLocation = 1;
    user.askTimer = 1;
    user.playSettings = 1;
    user.askSettingsConfirm = 1;
}

void CreateDatabase(Image& image)
{
    std::ranges::fill(image.bytes(), Byte{0});

    for (UserRecord& user : image.User) {
        user.reserved51 = 30;
        SetDefaultUserOptions(user);
        user.userName = NameFromText("");
    }

    SystemBlock& gen = image.gen;
    gen.siteName = NameFromText(kDefaultSiteName);
    SetFixedCode(gen);
    gen.ackCode = CodeFromText(kDefaultAckCode);
    gen.ack60Code = gen.ackCode;
    gen.ack60Code.digits[gen.ackCode.length] = kHashDigitValue;
    gen.ack60Code.length = static_cast<Byte>(gen.ackCode.length + 1);
    gen.statusCode = CodeFromText(kDefaultStatusCode);

    gen.timerA = SplitValue(2);
    gen.timerB = SplitValue(10);
    gen.split3 = SplitValue(10);
    gen.split4 = SplitValue(1);
    gen.timesA = 3;

    gen.squelchHigh = 0;
    gen.useAckRequest = 1;
    gen.ringsBeforeAnswer = 4;
    gen.pulseDial = 0;
    gen.radioWarning = 1;
    gen.reserved86 = 0;
    gen.useRecordedSiteId = 1;
    gen.sendFlags = 0;
    gen.reserved89 = 1;
    gen.useCallProgress = 1;
    gen.reserved8b = 0;
    gen.fixed8c = 60;
    for (Byte* level : LevelBytes(gen))
        *level = kLevelCentre;
    gen.modbusAddress = 100;
    gen.modbusBaud = 5;
    gen.reserved98 = 1;
    SetDefaultTimerMinutes(gen, kDefaultTimerMinutes);

    for (DirectoryBlock& block : image.dir)
        ClearDirectory(block);
    const Byte defaultLine[] = {kOpRadio, kOpAlert, kOpVoice, kLineEnd};
    std::ranges::copy(defaultLine, image.dir[0].begin());
}

void DefaultValues(Image& image)
{
    for (UserRecord& user : image.User) {
        RepairCode(user.startCode);
        RepairCode(user.stopCode);
        RepairCode(user.emergencyCode);
        RepairCode(user.interrogateCode);
    }

    SystemBlock& gen = image.gen;
    if (gen.timerA.value == 0)
        gen.timerA = SplitValue(kTimerADefault);
    if (gen.timesA == 0 || gen.timesA > kTimesAMax)
        gen.timesA = kTimesADefault;

    RepairCode(gen.accessCode);
    RepairCode(gen.ackCode);
    RepairCode(gen.statusCode);
    RepairCode(gen.dirChangeCode);
    if (gen.ack60Code.length > kMaxCodeDigits)
        ClearCode(gen.ack60Code);

    SetFixedCode(gen);

    for (Byte* level : LevelBytes(gen)) {
        if (*level < kLevelMin || *level > kLevelMax)
            *level = kLevelCentre;
    }
}

void ClearDatabase(Image& image)
{
    for (DirectoryBlock& block : image.dir)
        ClearDirectory(block);
    SetFixedCode(image.gen);
    DefaultValues(image);
    for (UserRecord& user : image.User)
        SetDefaultUserOptions(user);
    SetDefaultTimerMinutes(image.gen, kDefaultTimerMinutes);
}

}  // namespace veskar

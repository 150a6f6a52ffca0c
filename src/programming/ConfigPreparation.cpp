#include "programming/ConfigPreparation.h"

#include "database/Defaults.h"
#include "directories/CommandTable.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr Byte kFixed8c = 60;
constexpr Byte kLevelSpare4Value = 30;
// A line separator this close to the end of a block has no room for a line after it.
constexpr std::size_t kLastSeparatorScanned = 250;

void ClampLevel(Byte& level)
{
    if (level < kLevelMin || level > kLevelMax)
        level = kLevelCentre;
}

} // namespace

bool CodesPresent(const SystemBlock& gen)
{
    return gen.ackCode.length != 0 && gen.accessCode.length != 0;
}

// A block ends at its closing 0: a Dial left behind it by a shorter directory
// is no phone number, for the question, the warnings and the flag sent alike.
bool PhonePresent(const Image& image)
{
    for (const DirectoryBlock& block : image.dir) {
        const auto content =
            static_cast<std::size_t>(std::ranges::find(block, kDirectoryEnd) - block.begin());
        if (content > 0 && block[0] == kOpDial)
            return true;
        for (std::size_t j = 0; j <= kLastSeparatorScanned && j + 1 < content; ++j)
            if (block[j] == kLineEnd && block[j + 1] == kOpDial)
                return true;
    }
    return false;
}

void PrepareForSending(Image& image, bool codesPresent, bool phonePresent)
{
    SystemBlock& gen = image.gen;
    SetFixedCode(gen);
    gen.fixed8c = kFixed8c;
    for (Byte* level : {&gen.levelTxTone, &gen.levelTxDtmf, &gen.levelTxVoice, &gen.levelRadioRx,
                        &gen.levelSpare1, &gen.levelSpare2, &gen.levelSpare3, &gen.levelPhoneRx})
        ClampLevel(*level);
    gen.levelSpare4 = kLevelSpare4Value;
    gen.sendFlags =
        static_cast<Byte>((codesPresent ? kSendFlagCodes : 0) | (phonePresent ? kSendFlagPhone : 0));
}

void SetPlusDefaults(SystemBlock& gen)
{
    for (Byte* level :
         {&gen.levelTxTone, &gen.levelTxVoice, &gen.levelTxDtmf, &gen.levelRadioRx, &gen.levelPhoneRx})
        ClampLevel(*level);
    gen.levelSpare1 = kLevelCentre;
    gen.levelSpare2 = kLevelCentre;
    gen.levelSpare3 = kLevelCentre;
    gen.levelSpare4 = kLevelSpare4Value;
    gen.fixed8c = kFixed8c;
    SetFixedCode(gen);
}

Image ExpectedInUnit(Image image)
{
    PrepareForSending(image, CodesPresent(image.gen), PhonePresent(image));
    SetPlusDefaults(image.gen);
    DefaultValues(image);
    return image;
}

} // namespace veskar

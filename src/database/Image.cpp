#include "database/Image.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace veskar {

static_assert(std::is_trivially_copyable_v<Image>);
static_assert(std::is_standard_layout_v<Image>);

std::span<Byte, kImageSize> Image::bytes()
{
    return std::span<Byte, kImageSize>(reinterpret_cast<Byte*>(this), kImageSize);
}

std::span<const Byte, kImageSize> Image::bytes() const
{
    return std::span<const Byte, kImageSize>(reinterpret_cast<const Byte*>(this), kImageSize);
}

void Image::assign(std::span<const Byte, kImageSize> source)
{
    std::memcpy(this, source.data(), kImageSize);
}

bool operator==(const Image& a, const Image& b)
{
    return std::ranges::equal(a.bytes(), b.bytes());
}

std::array<Byte*, 9> LevelBytes(SystemBlock& gen)
{
    return {&gen.levelTxTone,  &gen.levelTxDtmf,  &gen.levelTxVoice,
            &gen.levelRadioRx, &gen.levelSpare1,  &gen.levelSpare2,
            &gen.levelSpare3,  &gen.levelPhoneRx, &gen.levelSpare4};
}

int DefaultTimerMinutes(const SystemBlock& gen)
{
    return ((gen.defaultTimer[0] << 8) | gen.defaultTimer[1]) / 16;
}

void SetDefaultTimerMinutes(SystemBlock& gen, int minutes)
{
    const unsigned stored = static_cast<unsigned>(minutes) * 16U;
    gen.defaultTimer[0] = static_cast<Byte>((stored >> 8) & 0xFF);
    gen.defaultTimer[1] = static_cast<Byte>(stored & 0xFF);
}

int ModbusBaudRate(Byte code)
{
    static constexpr std::array<int, 5> kRates{300, 600, 1200, 2400, 4800};
    return code < kRates.size() ? kRates[code] : 9600;
}

}  // namespace veskar

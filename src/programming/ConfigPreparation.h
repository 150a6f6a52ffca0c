#pragma once

// What the unit needs in a configuration before it is sent: the fixed code,
// levels it can use, and flags saying whether codes and phone numbers exist.
// The Programming dialog's warnings ask about the same two facts.

#include "database/Image.h"

namespace veskar {

// Both the access code and the acknowledge code are set.
[[nodiscard]] bool CodesPresent(const SystemBlock& gen);

// Some directory starts a line with a dial command.
[[nodiscard]] bool PhonePresent(const Image& image);

inline constexpr Byte kSendFlagCodes = 2;
inline constexpr Byte kSendFlagPhone = 4;

// Done to the image itself before the port is touched; the adjustments stay.
void PrepareForSending(Image& image, bool codesPresent, bool phonePresent);

// Done again once the unit has answered the link request, just before the
// image is copied into the data packet.
void SetPlusDefaults(SystemBlock& gen);

// What the unit holds once `image` has been written and read back: the copy
// sent is adjusted before sending, and every read is repaired.
[[nodiscard]] Image ExpectedInUnit(Image image);

} // namespace veskar

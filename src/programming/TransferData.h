#pragma once

// What a transfer sends and where received voices go. The engine only sees
// these; opening, checking and keeping files is TransferFiles' job.

#include "database/Image.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace veskar {

class TransferSource {
  public:
    virtual ~TransferSource() = default;
    [[nodiscard]] virtual std::uintmax_t size() const = 0;
    // Fills `into` with the next bytes, zeros past the end; false on a read error.
    [[nodiscard]] virtual bool Read(std::span<Byte> into) = 0;
};

class VoiceSink {
  public:
    virtual ~VoiceSink() = default;
    [[nodiscard]] virtual bool Append(std::span<const Byte> blocks) = 0;
    // Stores everything appended at `target`; false when it could not be stored.
    [[nodiscard]] virtual bool Keep(const std::filesystem::path& target) = 0;
};

} // namespace veskar

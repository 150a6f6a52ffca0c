#pragma once

// The simulated unit's memory kept as files in one folder, so what a test or a
// demo wrote into the unit is still there at the next run:
//   config.bin   the configuration block, 4096 bytes
//   vocab.bin    the vocabulary, whole 4096-byte blocks
//   voices.bin   the voice memory, whole 4096-byte blocks

#include "programming/unit/SimulatedUnit.h"

#include <filesystem>
#include <string>

namespace veskar {

inline constexpr const char* kStoreConfigurationFile = "config.bin";
inline constexpr const char* kStoreVocabularyFile = "vocab.bin";
inline constexpr const char* kStoreVoicesFile = "voices.bin";

// Loads the store into `memory`. A missing folder is created and a missing file
// is written with the fresh unit's content. A file that cannot be read or has
// an impossible size is an error: `error` says which and why, `memory` and the
// files stay as they were.
[[nodiscard]] bool LoadUnitStore(const std::filesystem::path& folder, UnitMemory& memory, std::string& error);

// Writes the three files, each through a temporary file that replaces it only
// once complete, so a failed save leaves the previous file whole.
[[nodiscard]] bool SaveUnitStore(const std::filesystem::path& folder, const UnitMemory& memory,
                                 std::string& error);

} // namespace veskar

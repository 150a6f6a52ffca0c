#pragma once

// Every file the program writes goes through here: a save follows a link to
// its target, refuses a read-only file, stages the bytes under a fresh name
// created exclusively beside the target and replaces it only once they are on
// disk; a killed save's leftover is removed by the next save of that file.

#include "database/Image.h"

#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace veskar {

enum class WriteOutcome {
    Written,
    OpenFailed,    // nothing was written: refused, read-only, or no way to stage the bytes
    WriteFailed,   // the bytes did not all reach the disk; the old file is whole
    InPlaceFailed, // only a write in place was possible (read-only folder) and it failed part way
};

// Replaces `path` (or a link's target) whole. When the folder cannot be written
// but the file can, the file is rewritten in place and flushed.
[[nodiscard]] WriteOutcome WriteReplacing(const std::filesystem::path& path, std::span<const Byte> bytes);

// Creates `path` whole, only where nothing is (a dangling link counts as something).
[[nodiscard]] WriteOutcome WriteNew(const std::filesystem::path& path, std::span<const Byte> bytes);

// Whether WriteReplacing could write there now, checked without touching anything.
[[nodiscard]] bool CanWriteReplacing(const std::filesystem::path& path);

[[nodiscard]] bool WriteFileReplacing(const std::filesystem::path& path, std::span<const Byte> bytes);

// A file without a name in `folder` (where the system has them; otherwise one
// created exclusively, private to the user, and unlinked at once). It vanishes
// with its descriptor on every path out, a crash included.
class ScratchFile {
  public:
    [[nodiscard]] static std::optional<ScratchFile> Create(const std::filesystem::path& folder);
    ScratchFile(ScratchFile&& other) noexcept;
    ScratchFile& operator=(ScratchFile&& other) noexcept;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile();

    [[nodiscard]] bool Append(std::span<const Byte> bytes);
    [[nodiscard]] std::optional<std::vector<Byte>> ReadAll() const;

  private:
    explicit ScratchFile(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace veskar

#pragma once

// Every file the program reads or writes goes through here. Only regular files
// are read, replaced or appended to: a device, a pipe, a socket or a folder is
// refused for what it is, and opening never waits on a pipe. A save follows a
// link to its target, refuses a read-only file, stages the bytes under a fresh
// name created exclusively beside the target and replaces it only once they
// are on disk; a killed save's leftover is removed by the next save of that file.

#include "database/Image.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace veskar {

// Why a file could not be read or written, told beside the program's message.
enum class FileProblem {
    None,
    Missing,       // nothing of that name
    MissingFolder, // the folder it would go in is not there
    NoPermission,
    ReadOnly, // a read-only file or file system
    Exists,   // something is there already (a new file only)
    IsDirectory,
    IsPipe,
    IsDevice,
    IsSocket,
    EndlessLink, // links that never reach a file
    DiskFull,
    TooLarge, // the file system or a size limit refused more bytes
    Failed,   // anything else the system refused
};

// "is a named pipe", "no such folder", ...
[[nodiscard]] std::string_view FileProblemText(FileProblem problem);

// `message` with "(reason)" after it, a blank between unless it ends in one;
// `message` alone when there is no reason.
[[nodiscard]] std::string WithReason(std::string message, FileProblem problem);

enum class WriteOutcome {
    Written,
    OpenFailed,    // nothing was written: refused, read-only, or no way to stage the bytes
    WriteFailed,   // the bytes did not all reach the disk; the old file is whole
    InPlaceFailed, // only a write in place was possible (read-only folder) and it failed part way
};

struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Written;
    FileProblem problem = FileProblem::None;
};

// Replaces `path` (or a link's target) whole. When the folder cannot be written
// but the file can, the file is rewritten in place and flushed.
[[nodiscard]] WriteResult WriteReplacing(const std::filesystem::path& path, std::span<const Byte> bytes);

// Creates `path` whole, only where nothing is (a dangling link counts as something).
[[nodiscard]] WriteResult WriteNew(const std::filesystem::path& path, std::span<const Byte> bytes);

// Why WriteReplacing could not write there now (None: it could), checked without touching anything.
[[nodiscard]] FileProblem CheckReplacing(const std::filesystem::path& path);

[[nodiscard]] bool WriteFileReplacing(const std::filesystem::path& path, std::span<const Byte> bytes);

// Whether both name one existing file (same device and inode), links followed.
[[nodiscard]] bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A regular file open for reading; never a pipe or a device, whatever the name
// stood for when it was looked at.
class ReadFile {
  public:
    [[nodiscard]] static std::optional<ReadFile> Open(const std::filesystem::path& path,
                                                      FileProblem& problem);
    ReadFile(ReadFile&& other) noexcept;
    ReadFile& operator=(ReadFile&& other) noexcept;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;
    ~ReadFile();

    // The size when it was opened.
    [[nodiscard]] std::uintmax_t size() const { return m_size; }
    // Fills `into` as far as the file goes; how many bytes, nothing on a read error.
    [[nodiscard]] std::optional<std::size_t> Read(std::span<Byte> into);

  private:
    ReadFile(int fd, std::uintmax_t size) : m_fd(fd), m_size(size) {}
    int m_fd = -1;
    std::uintmax_t m_size = 0;
};

// A regular file open for appending as a stream, created when missing, every
// line on disk once flushed.
class AppendFile : public std::ostream {
  public:
    AppendFile();
    ~AppendFile() override;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    [[nodiscard]] FileProblem Open(const std::filesystem::path& path);
    void Close();
    [[nodiscard]] bool is_open() const { return m_buffer.fd >= 0; }

  private:
    struct Buffer : std::streambuf {
        int fd = -1;
        char bytes[4096];
        void Attach(int descriptor);
        void Detach();
        int overflow(int c) override;
        int sync() override;
    };
    Buffer m_buffer;
};

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

#include "database/FileWriting.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veskar {

namespace {

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool WriteAll(int fd, std::span<const Byte> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

constexpr std::string_view kWritingMark = ".writing-";
constexpr int kMaxLinkDepth = 40;

// A save through a symbolic link replaces the file the link leads to, not the link.
std::filesystem::path FollowLinks(std::filesystem::path target)
{
    std::error_code error;
    for (int depth = 0; depth < kMaxLinkDepth && std::filesystem::is_symlink(target, error); ++depth) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// A link that leads nowhere in the end (a loop, or too deep) has no file to
// write; replacing the link would lose it.
bool EndlessLink(const std::filesystem::path& target)
{
    std::error_code ignored;
    return std::filesystem::is_symlink(target, ignored);
}

// A save killed midway leaves "<name>.writing-<pid>-<n>"; the next save of the
// same file removes those whose writer is gone.
void RemoveStaleTemporaries(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::string prefix = target.filename().string() + std::string(kWritingMark);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !entry.is_regular_file(error))
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            std::filesystem::remove(entry.path(), error);
    }
}

// A fresh temporary file beside `target`, never an existing file or a planted link.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += std::string(kWritingMark) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A file with no write permission is not the user's to replace, even for root.
bool ReadOnly(const std::filesystem::path& target)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0)
        return false;
    return (existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0;
}

// Directory entry of the rename made durable too; failure here is not fatal.
void SyncFolderOf(const std::filesystem::path& target)
{
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The folder refused the temporary file, but the file itself can still be
// rewritten where it is.
bool OnlyInPlace(const std::filesystem::path& target, int createError)
{
    std::error_code ignored;
    return (createError == EACCES || createError == EPERM) &&
           std::filesystem::is_regular_file(target, ignored);
}

// A writable file in a folder the user cannot write to: no temporary file can
// go beside it, so it is rewritten where it is and flushed.
WriteOutcome WriteInPlace(const std::filesystem::path& target, std::span<const Byte> bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return WriteOutcome::OpenFailed;
    const bool complete = WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
                          ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return complete && closed ? WriteOutcome::Written : WriteOutcome::InPlaceFailed;
}

// Renames only onto a free name; a file system without that kind of rename
// gets a hard link, which never replaces either.
int MoveIntoFreeName(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    if (::link(from.c_str(), to.c_str()) != 0)
        return -1;
    ::unlink(from.c_str());
    return 0;
}

} // namespace

WriteOutcome WriteReplacing(const std::filesystem::path& requested, std::span<const Byte> bytes)
{
    const std::filesystem::path target = FollowLinks(requested);
    if (ReadOnly(target) || EndlessLink(target))
        return WriteOutcome::OpenFailed;
    RemoveStaleTemporaries(target);
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return OnlyInPlace(target, errno) ? WriteInPlace(target, bytes) : WriteOutcome::OpenFailed;

    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    ::fchmod(fd, mode);

    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return WriteOutcome::WriteFailed;
    }
    SyncFolderOf(target);
    return WriteOutcome::Written;
}

// A new file appears whole under its name, or not at all, and never in place
// of anything there, a link to nowhere included.
WriteOutcome WriteNew(const std::filesystem::path& target, std::span<const Byte> bytes)
{
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return WriteOutcome::OpenFailed;
    ::fchmod(fd, 0666 & ~CurrentUmask());
    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed) {
        ::unlink(temporary.c_str());
        return WriteOutcome::WriteFailed;
    }
    if (MoveIntoFreeName(temporary, target) != 0) {
        const bool taken = errno == EEXIST;
        ::unlink(temporary.c_str());
        return taken ? WriteOutcome::OpenFailed : WriteOutcome::WriteFailed;
    }
    SyncFolderOf(target);
    return WriteOutcome::Written;
}

bool CanWriteReplacing(const std::filesystem::path& path)
{
    const std::filesystem::path target = FollowLinks(path);
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored) || ReadOnly(target) || EndlessLink(target))
        return false;
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return OnlyInPlace(target, errno);
    ::close(fd);
    ::unlink(temporary.c_str());
    return true;
}

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const Byte> bytes)
{
    return WriteReplacing(path, bytes) == WriteOutcome::Written;
}

// ---- scratch files ----

std::optional<ScratchFile> ScratchFile::Create(const std::filesystem::path& folder)
{
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    // File systems without unnamed files get a name that is unlinked at once.
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            const std::filesystem::path name =
                folder / ("scratch" + std::string(kWritingMark) + std::to_string(::getpid()) + "-" +
                          std::to_string(attempt));
            fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0)
                ::unlink(name.c_str());
            else if (errno != EEXIST)
                break;
        }
    }
    if (fd < 0)
        return std::nullopt;
    return ScratchFile(fd);
}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

ScratchFile::~ScratchFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ScratchFile::Append(std::span<const Byte> bytes)
{
    return m_fd >= 0 && WriteAll(m_fd, bytes);
}

std::optional<std::vector<Byte>> ScratchFile::ReadAll() const
{
    if (m_fd < 0)
        return std::nullopt;
    std::vector<Byte> bytes;
    Byte chunk[65536];
    for (;;) {
        const ssize_t got = ::pread(m_fd, chunk, sizeof chunk, static_cast<off_t>(bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

} // namespace veskar

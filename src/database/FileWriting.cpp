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

// What the system's refusal means to the user.
FileProblem ProblemOf(int error)
{
    switch (error) {
    case ENOENT: return FileProblem::Missing;
    case ENOTDIR: return FileProblem::MissingFolder;
    case EACCES:
    case EPERM: return FileProblem::NoPermission;
    case EROFS:
    case ETXTBSY: return FileProblem::ReadOnly;
    case EEXIST: return FileProblem::Exists;
    case EISDIR: return FileProblem::IsDirectory;
    case ENXIO: return FileProblem::IsPipe; // a pipe or socket nobody reads
    case ELOOP: return FileProblem::EndlessLink;
    case ENOSPC:
    case EDQUOT: return FileProblem::DiskFull;
    case EFBIG: return FileProblem::TooLarge;
    default: return FileProblem::Failed;
    }
}

// A file being written goes into a folder: a missing name there means the folder is missing.
FileProblem WritingProblemOf(int error)
{
    return error == ENOENT ? FileProblem::MissingFolder : ProblemOf(error);
}

// What stands there, when it is not a regular file.
FileProblem KindProblem(mode_t mode)
{
    if (S_ISREG(mode))
        return FileProblem::None;
    if (S_ISDIR(mode))
        return FileProblem::IsDirectory;
    if (S_ISFIFO(mode))
        return FileProblem::IsPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileProblem::IsDevice;
    if (S_ISSOCK(mode))
        return FileProblem::IsSocket;
    return FileProblem::Failed;
}

// What is at `path`, links followed: None for a regular file or nothing at all.
FileProblem KindAt(const std::filesystem::path& path)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        return KindProblem(existing.st_mode);
    return errno == ENOENT ? FileProblem::None : WritingProblemOf(errno);
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
FileProblem WriteRefusal(const std::filesystem::path& target)
{
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0)
        return FileProblem::None;
    if ((existing.st_mode & 0222) == 0)
        return FileProblem::ReadOnly;
    return ::access(target.c_str(), W_OK) != 0 ? ProblemOf(errno) : FileProblem::None;
}

// Why a save must not touch `target` (a link's end) at all.
FileProblem RefusedTarget(const std::filesystem::path& target)
{
    if (EndlessLink(target))
        return FileProblem::EndlessLink;
    if (const FileProblem kind = KindAt(target); kind != FileProblem::None)
        return kind;
    return WriteRefusal(target);
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
WriteResult WriteInPlace(const std::filesystem::path& target, std::span<const Byte> bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {WriteOutcome::OpenFailed, ProblemOf(errno)};
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return {WriteOutcome::OpenFailed, KindProblem(opened.st_mode)};
    }
    const bool complete =
        WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    if (complete && closed)
        return {};
    return {WriteOutcome::InPlaceFailed, ProblemOf(complete ? errno : error)};
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

WriteResult WriteReplacing(const std::filesystem::path& requested, std::span<const Byte> bytes)
{
    const std::filesystem::path target = FollowLinks(requested);
    if (const FileProblem refused = RefusedTarget(target); refused != FileProblem::None)
        return {WriteOutcome::OpenFailed, refused};
    RemoveStaleTemporaries(target);
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0) {
        const int error = errno;
        if (OnlyInPlace(target, error))
            return WriteInPlace(target, bytes);
        return {WriteOutcome::OpenFailed, WritingProblemOf(error)};
    }

    struct stat existing {};
    const mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    ::fchmod(fd, mode);

    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    // Something else may have taken the name meanwhile: not ours to replace either.
    FileProblem problem = !complete ? ProblemOf(writeError)
                          : !closed ? ProblemOf(errno)
                                    : KindAt(target);
    if (problem == FileProblem::None && ::rename(temporary.c_str(), target.c_str()) != 0)
        problem = ProblemOf(errno);
    if (problem != FileProblem::None) {
        ::unlink(temporary.c_str());
        return {WriteOutcome::WriteFailed, problem};
    }
    SyncFolderOf(target);
    return {};
}

// A new file appears whole under its name, or not at all, and never in place
// of anything there, a link to nowhere included.
WriteResult WriteNew(const std::filesystem::path& target, std::span<const Byte> bytes)
{
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return {WriteOutcome::OpenFailed, WritingProblemOf(errno)};
    ::fchmod(fd, 0666 & ~CurrentUmask());
    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed) {
        const FileProblem problem = ProblemOf(complete ? errno : error);
        ::unlink(temporary.c_str());
        return {WriteOutcome::WriteFailed, problem};
    }
    if (MoveIntoFreeName(temporary, target) != 0) {
        const bool taken = errno == EEXIST;
        const FileProblem problem = ProblemOf(errno);
        ::unlink(temporary.c_str());
        if (!taken)
            return {WriteOutcome::WriteFailed, problem};
        const FileProblem kind = KindAt(target);
        return {WriteOutcome::OpenFailed, kind == FileProblem::None ? FileProblem::Exists : kind};
    }
    SyncFolderOf(target);
    return {};
}

FileProblem CheckReplacing(const std::filesystem::path& path)
{
    const std::filesystem::path target = FollowLinks(path);
    if (const FileProblem refused = RefusedTarget(target); refused != FileProblem::None)
        return refused;
    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0) {
        const int error = errno;
        return OnlyInPlace(target, error) ? FileProblem::None : WritingProblemOf(error);
    }
    ::close(fd);
    ::unlink(temporary.c_str());
    return FileProblem::None;
}

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const Byte> bytes)
{
    return WriteReplacing(path, bytes).outcome == WriteOutcome::Written;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string_view FileProblemText(FileProblem problem)
{
    switch (problem) {
    case FileProblem::None: return "";
    case FileProblem::Missing: return "no such file";
    case FileProblem::MissingFolder: return "no such folder";
    case FileProblem::NoPermission: return "no permission";
    case FileProblem::ReadOnly: return "read-only";
    case FileProblem::Exists: return "already exists";
    case FileProblem::IsDirectory: return "is a directory";
    case FileProblem::IsPipe: return "is a named pipe";
    case FileProblem::IsDevice: return "is a device";
    case FileProblem::IsSocket: return "is a socket";
    case FileProblem::EndlessLink: return "links that lead to no file";
    case FileProblem::DiskFull: return "disk full";
    case FileProblem::TooLarge: return "file too large";
    case FileProblem::Failed: return "refused by the system";
    }
    return "";
}

std::string WithReason(std::string message, FileProblem problem)
{
    if (problem == FileProblem::None)
        return message;
    if (!message.ends_with(' '))
        message += ' ';
    return message + "(" + std::string(FileProblemText(problem)) + ")";
}

// ---- reading ----

namespace {

// Opened only after a look at what is there, so a device is never opened at
// all, and checked again on the descriptor; O_NONBLOCK keeps a pipe put there
// meanwhile from holding the open.
int OpenRegular(const std::filesystem::path& path, int flags, FileProblem& problem)
{
    problem = KindAt(path);
    if (problem != FileProblem::None)
        return -1;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        problem = (flags & O_CREAT) ? WritingProblemOf(errno) : ProblemOf(errno);
        return -1;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        problem = KindProblem(opened.st_mode);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

std::optional<ReadFile> ReadFile::Open(const std::filesystem::path& path, FileProblem& problem)
{
    const int fd = OpenRegular(path, O_RDONLY, problem);
    if (fd < 0)
        return std::nullopt;
    struct stat opened {};
    ::fstat(fd, &opened);
    return ReadFile(fd, static_cast<std::uintmax_t>(opened.st_size));
}

ReadFile::ReadFile(ReadFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_size(other.m_size)
{
}

ReadFile& ReadFile::operator=(ReadFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

ReadFile::~ReadFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<std::size_t> ReadFile::Read(std::span<Byte> into)
{
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t got = ::read(m_fd, into.data() + done, into.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// ---- appending ----

AppendFile::AppendFile() : std::ostream(nullptr)
{
    rdbuf(&m_buffer);
    setstate(std::ios::badbit); // nothing to write to until opened
}

AppendFile::~AppendFile()
{
    Close();
}

FileProblem AppendFile::Open(const std::filesystem::path& path)
{
    Close();
    FileProblem problem = FileProblem::None;
    // Like a save, a read-only file is not written, even by root.
    if (const FileProblem refused = WriteRefusal(FollowLinks(path)); refused != FileProblem::None)
        return refused;
    const int fd = OpenRegular(path, O_WRONLY | O_APPEND | O_CREAT, problem);
    if (fd < 0)
        return problem;
    m_buffer.Attach(fd);
    clear();
    return FileProblem::None;
}

void AppendFile::Close()
{
    if (m_buffer.fd < 0)
        return;
    m_buffer.Detach();
    setstate(std::ios::badbit);
}

void AppendFile::Buffer::Attach(int descriptor)
{
    fd = descriptor;
    setp(bytes, bytes + sizeof bytes);
}

void AppendFile::Buffer::Detach()
{
    sync();
    ::close(fd);
    fd = -1;
    setp(nullptr, nullptr);
}

int AppendFile::Buffer::overflow(int c)
{
    if (sync() != 0)
        return traits_type::eof();
    if (c != traits_type::eof()) {
        *pptr() = static_cast<char>(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int AppendFile::Buffer::sync()
{
    if (fd < 0)
        return -1;
    const std::span<const Byte> pending(reinterpret_cast<const Byte*>(pbase()),
                                        static_cast<std::size_t>(pptr() - pbase()));
    const bool written = WriteAll(fd, pending);
    setp(bytes, bytes + sizeof bytes);
    return written ? 0 : -1;
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

ScratchFile::ScratchFile(ScratchFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1))
{
}

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

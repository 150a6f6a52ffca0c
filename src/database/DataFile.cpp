#include "database/DataFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veskar {

namespace {

constexpr std::size_t kExamined = 100;

bool WriteAll(int fd, std::span<const Byte> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".writing-" + std::to_string(::getpid());
    return temporary;
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

enum class WriteOutcome { Written, OpenFailed, WriteFailed };

WriteOutcome WriteReplacing(const std::filesystem::path& target, std::span<const Byte> bytes)
{
    const std::filesystem::path temporary = TemporaryBeside(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return WriteOutcome::OpenFailed;

    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);

    const bool complete = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return WriteOutcome::WriteFailed;
    }
    SyncFolderOf(target);
    return WriteOutcome::Written;
}

}  // namespace

std::string_view FileErrorText(FileError error)
{
    switch (error) {
    case FileError::None: return "";
    case FileError::CannotOpen: return " CANNOT OPEN FILE ";
    case FileError::CannotWrite: return " CANNOT WRITE FILE - THE FILE ON DISK IS UNCHANGED ";
    case FileError::NeedDatExtension: return " FILE NAME MUST HAVE .DAT EXTENSION ";
    case FileError::WrongSize: return " FILE IS NOT THE CORRECT SIZE ";
    }
    return "";
}

bool CheckFileExt(std::string_view name)
{
    const std::string_view examined = name.substr(0, std::min(name.size(), kExamined));
    constexpr std::string_view kExtension = ".dat";
    if (examined.size() < kExtension.size())
        return false;
    for (std::size_t i = 0; i + kExtension.size() <= examined.size(); ++i) {
        const bool match = std::equal(kExtension.begin(), kExtension.end(), examined.begin() + i,
                                      [](char want, char have) {
                                          return want == std::tolower(static_cast<unsigned char>(have));
                                      });
        if (match)
            return true;
    }
    return false;
}

FileError ReadImageFile(const std::filesystem::path& path, Image& image, SizeRule rule)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return FileError::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return FileError::CannotOpen;

    std::array<Byte, kImageSize + 1> buffer{};
    file.read(reinterpret_cast<char*>(buffer.data()), buffer.size());
    if (file.bad())
        return FileError::CannotOpen;
    const auto length = static_cast<std::size_t>(file.gcount());
    if (rule == SizeRule::Exact && length != kImageSize)
        return FileError::WrongSize;

    image.assign(std::span<const Byte, kImageSize>(buffer.data(), kImageSize));
    return FileError::None;
}

FileError WriteImageFile(const std::filesystem::path& path, const Image& image)
{
    switch (WriteReplacing(path, image.bytes())) {
    case WriteOutcome::Written: return FileError::None;
    case WriteOutcome::OpenFailed: return FileError::CannotOpen;
    case WriteOutcome::WriteFailed: return FileError::CannotWrite;
    }
    return FileError::CannotWrite;
}

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const Byte> bytes)
{
    return WriteReplacing(path, bytes) == WriteOutcome::Written;
}

}  // namespace veskar

#include "database/DataFile.h"

#include "database/FileWriting.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string>

namespace veskar {

namespace {

constexpr std::size_t kExamined = 100;

}  // namespace

std::string_view FileErrorText(FileError error)
{
    switch (error) {
    case FileError::None: return "";
    case FileError::CannotOpen: return " CANNOT OPEN FILE ";
    case FileError::CannotWrite: return " CANNOT WRITE FILE - THE FILE ON DISK IS UNCHANGED ";
    case FileError::NeedDatExtension: return " FILE NAME MUST HAVE .DAT EXTENSION ";
    case FileError::WrongSize: return " FILE IS NOT THE CORRECT SIZE ";
    case FileError::InPlaceWriteFailed:
        return " CANNOT WRITE FILE - THE FOLDER IS READ-ONLY AND THE FILE ON DISK MAY BE INCOMPLETE ";
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

bool DataFileNameHolds(const std::string& path)
{
    return CheckFileExt(path) || CheckFileExt(std::filesystem::path(path).filename().string());
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
    case WriteOutcome::InPlaceFailed: return FileError::InPlaceWriteFailed;
    }
    return FileError::CannotWrite;
}

FileError CreateImageFile(const std::filesystem::path& path, const Image& image)
{
    switch (WriteNew(path, image.bytes())) {
    case WriteOutcome::Written: return FileError::None;
    case WriteOutcome::OpenFailed: return FileError::CannotOpen;
    default: return FileError::CannotWrite;
    }
}

FileError CheckWritable(const std::filesystem::path& path)
{
    return CanWriteReplacing(path) ? FileError::None : FileError::CannotOpen;
}

}  // namespace veskar

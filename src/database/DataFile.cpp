#include "database/DataFile.h"

#include "database/FileWriting.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

namespace veskar {

namespace {

constexpr std::size_t kExamined = 100;

} // namespace

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
        const bool match =
            std::equal(kExtension.begin(), kExtension.end(), examined.begin() + i, [](char want, char have) {
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

FileResult FileResultOf(const WriteResult& result)
{
    switch (result.outcome) {
    case WriteOutcome::Written: return {};
    case WriteOutcome::OpenFailed: return {FileError::CannotOpen, result.problem};
    case WriteOutcome::WriteFailed: return {FileError::CannotWrite, result.problem};
    case WriteOutcome::InPlaceFailed: return {FileError::InPlaceWriteFailed, result.problem};
    }
    return {FileError::CannotWrite, result.problem};
}

std::string FileResultLine(const std::string& name, const FileResult& result)
{
    return WithReason(name + ":" + std::string(FileErrorText(result.error)), result.problem);
}

FileResult ReadImageFile(const std::filesystem::path& path, Image& image, SizeRule rule)
{
    FileProblem problem = FileProblem::None;
    std::optional<ReadFile> file = ReadFile::Open(path, problem);
    if (!file)
        return {FileError::CannotOpen, problem};

    std::array<Byte, kImageSize + 1> buffer{};
    const std::optional<std::size_t> length = file->Read(buffer);
    if (!length)
        return {FileError::CannotOpen, FileProblem::Failed};
    if (rule == SizeRule::Exact && *length != kImageSize)
        return FileError::WrongSize;

    image.assign(std::span<const Byte, kImageSize>(buffer.data(), kImageSize));
    return {};
}

FileResult WriteImageFile(const std::filesystem::path& path, const Image& image)
{
    return FileResultOf(WriteReplacing(path, image.bytes()));
}

FileResult CreateImageFile(const std::filesystem::path& path, const Image& image)
{
    return FileResultOf(WriteNew(path, image.bytes()));
}

FileResult CheckWritable(const std::filesystem::path& path)
{
    const FileProblem problem = CheckReplacing(path);
    return problem == FileProblem::None ? FileResult{} : FileResult{FileError::CannotOpen, problem};
}

} // namespace veskar

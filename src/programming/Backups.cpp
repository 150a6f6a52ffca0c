#include "programming/Backups.h"

#include <array>

namespace veskar {

namespace {

std::string Stamp(const std::tm& local)
{
    std::array<char, 32> stamp{};
    std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &local);
    return stamp.data();
}

} // namespace

std::string LocalTimeStamp(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return Stamp(local);
}

std::filesystem::path BackupPath(const std::tm& local, BackupKind kind)
{
    return std::filesystem::path(kBackupFolder) /
           (Stamp(local) + (kind == BackupKind::Write ? "-write.dat" : "-read.dat"));
}

BackupResult WriteBackup(const std::filesystem::path& folder, const Image& image, BackupKind kind,
                         std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    std::error_code ignored;
    std::filesystem::create_directories(folder / kBackupFolder, ignored);
    const std::filesystem::path path = folder / BackupPath(local, kind);
    return {path, WriteImageFile(path, image)};
}

std::string BackupFailureText(const BackupResult& result)
{
    return FileResultLine("The backup " + result.path.string() + " could not be written", result.error) +
           "\nThe transfer goes on without it.";
}

} // namespace veskar

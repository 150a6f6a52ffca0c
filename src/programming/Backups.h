#pragma once

// A copy of every configuration sent to or read from the unit, kept in the
// working folder as backups/YYYYMMDD-HHMMSS-write.dat or -read.dat.

#include "database/DataFile.h"
#include "database/Image.h"

#include <ctime>
#include <filesystem>
#include <string>

namespace veskar {

inline constexpr std::string_view kBackupFolder = "backups";

enum class BackupKind { Write, Read };

// "20261207-103512" for `when`, in local time.
[[nodiscard]] std::string LocalTimeStamp(std::time_t when);

// "backups/20261207-103512-write.dat" for `local`, a broken-down local time.
[[nodiscard]] std::filesystem::path BackupPath(const std::tm& local, BackupKind kind);

struct BackupResult {
    std::filesystem::path path;
    FileResult error;
};

// Written like a save, into `folder`/backups (created when missing).
[[nodiscard]] BackupResult WriteBackup(const std::filesystem::path& folder, const Image& image,
                                       BackupKind kind, std::time_t when);

// What to tell the user when a backup could not be written; the transfer goes on.
[[nodiscard]] std::string BackupFailureText(const BackupResult& result);

} // namespace veskar

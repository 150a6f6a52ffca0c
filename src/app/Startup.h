#pragma once

// Start-up of the document: the port settings file and the default data file
// in the working directory are read, or created with defaults, and the user is
// told about a created file a little later, once the window is up.

#include "database/Document.h"
#include "programming/PortSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace veskar {

inline constexpr std::string_view kDefaultDataFile = "Veskar.dat";

inline constexpr std::string_view kApplicationName = "Corvane Veskar Worker Monitor Programming Utility";
inline constexpr std::string_view kTitleNoFile = " Corvane Veskar Worker Monitor Programmer";
inline constexpr std::string_view kTitlePrefix = " Corvane Veskar Worker Monitor Programmer  -  ";

inline constexpr std::string_view kSaveBeforeOpenQuery = "Do you want to save changed data?";
inline constexpr std::string_view kEraseQuery = "All data will be erased - Continue?";
inline constexpr std::string_view kSaveBeforeCloseQuery =
    "Do you want to save changed data before closing application?";

inline constexpr std::string_view kCfgCreatedNotice = " CANNOT OPEN VESKAR.CFG FILE - DEFAULT CREATED.";
inline constexpr std::string_view kDatCreatedNotice = " CANNOT OPEN VESKAR.DAT FILE - DEFAULT CREATED.";

// Bits of StartupFailures.
inline constexpr unsigned kCfgReadFailed = 1;
inline constexpr unsigned kDatReadFailed = 2;

// The notices become due this long after the program started.
inline constexpr long long kNoticeDelayMs = 1000;

struct StartupOutcome {
    unsigned StartupFailures = 0;
    // File errors to show at once (a default file that could not even be created).
    std::vector<FileError> errors;
};

// Reads or creates both files in `folder`.
[[nodiscard]] StartupOutcome InitFile(Document& document, PortSettings& cfg, const std::string& folder = ".");

// The delayed notices, in the order they are shown.
[[nodiscard]] std::vector<std::string_view> StartupNotices(unsigned startupFailures);

// What the notices do to the document once shown. A data file that had to be
// created gets a fresh configuration; a created port settings file alone
// leaves the configuration that was just read alone.
void ApplyStartupNotices(Document& document, unsigned startupFailures);

[[nodiscard]] std::string MainTitle(const std::string& workingFile);

// The status bar after opening a file the repair pass had to change.
[[nodiscard]] std::string RepairedFieldsText(std::size_t fields);

// The recent-files list: newest first, no repeats, at most `limit` entries.
inline constexpr int kRecentFileLimit = 4;
[[nodiscard]] std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string& name,
                                                     int limit = kRecentFileLimit);
[[nodiscard]] std::vector<std::string> RemoveRecentFile(std::vector<std::string> list,
                                                        const std::string& name);

} // namespace veskar

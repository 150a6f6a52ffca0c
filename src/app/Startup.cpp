#include "app/Startup.h"

#include <algorithm>
#include <filesystem>

namespace veskar {

StartupOutcome InitFile(Document& document, PortSettings& cfg, const std::string& folder)
{
    const std::filesystem::path base(folder);
    StartupOutcome outcome;

    if (const auto read = ReadPortSettings(base / kPortSettingsFile)) {
        cfg = *read;
    } else {
        // The notice tells of a default that was created; a failed creation
        // is told by the file error alone.
        cfg = PortSettings{};
        if (WritePortSettings(base / kPortSettingsFile, cfg))
            outcome.StartupFailures |= kCfgReadFailed;
        else
            outcome.errors.push_back(FileError::CannotOpen);
        document.DatabaseChanged = false;
    }

    const std::string dat = (base / kDefaultDataFile).string();
    const std::string shown = folder == "." ? std::string(kDefaultDataFile) : dat;
    if (document.LoadStartupFile(dat) == FileError::None) {
        document.workingFile = shown;
    } else {
        std::error_code ignored;
        if (std::filesystem::exists(dat, ignored)) {
            // There but unreadable: the user's file, not ours to replace, and
            // nothing was created, so only the file error is told.
            document.CreateDatabase();
            document.DatabaseChanged = false;
            outcome.errors.push_back(FileError::CannotOpen);
        } else if (const FileError error = document.CreateStartupFile(dat); error == FileError::None) {
            outcome.StartupFailures |= kDatReadFailed;
        } else {
            outcome.errors.push_back(error);
        }
    }
    return outcome;
}

std::vector<std::string_view> StartupNotices(unsigned startupFailures)
{
    std::vector<std::string_view> notices;
    if (startupFailures & kCfgReadFailed)
        notices.push_back(kCfgCreatedNotice);
    if (startupFailures & kDatReadFailed)
        notices.push_back(kDatCreatedNotice);
    return notices;
}

void ApplyStartupNotices(Document& document, unsigned startupFailures)
{
    if (startupFailures & kDatReadFailed)
        document.CreateDatabase();
}

std::string MainTitle(const std::string& workingFile)
{
    if (workingFile.empty())
        return std::string(kTitleNoFile);
    return std::string(kTitlePrefix) + workingFile;
}

std::string RepairedFieldsText(std::size_t fields)
{
    return fields == 1 ? "The file was repaired: 1 field was set to its default."
                       : "The file was repaired: " + std::to_string(fields) + " fields were set to their defaults.";
}

std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string& name, int limit)
{
    list = RemoveRecentFile(std::move(list), name);
    list.insert(list.begin(), name);
    if (limit >= 0 && list.size() > static_cast<std::size_t>(limit))
        list.resize(static_cast<std::size_t>(limit));
    return list;
}

std::vector<std::string> RemoveRecentFile(std::vector<std::string> list, const std::string& name)
{
    list.erase(std::remove(list.begin(), list.end(), name), list.end());
    return list;
}

} // namespace veskar

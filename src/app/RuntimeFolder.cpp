#include "app/RuntimeFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace veskar {

namespace {

bool Private(const std::string& folder)
{
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 0777) == 0700;
}

} // namespace

void EnsureRuntimeFolder()
{
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set)
        return;
    std::error_code ignored;
    const std::string temp = std::filesystem::temp_directory_path(ignored).string();
    std::string folder = temp + "/veskar-runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    if (!Private(folder)) {
        // Taken by someone else: a fresh one of our own.
        std::string pattern = temp + "/veskar-runtime-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return;
        folder = pattern;
    }
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

} // namespace veskar

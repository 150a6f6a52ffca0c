#include "system/CallProgress.h"

#include "directories/CommandTable.h"
#include "system/SystemMessages.h"

namespace veskar {

namespace {

bool AnswersAfterDial(const DirectoryBlock& block)
{
    bool dialling = false;
    for (const Byte byte : block) {
        if (byte == kDirectoryEnd)
            break;
        if (dialling && byte == kOpAnswer)
            return true;
        // A Dial that ends the stepping of another starts its own.
        if (byte == kOpDial)
            dialling = true;
        else if (kDialStepEnders.find(static_cast<char>(byte)) != std::string_view::npos)
            dialling = false;
    }
    return false;
}

} // namespace

std::vector<int> DirectoriesAnsweringAfterDial(std::span<const DirectoryBlock, kDirectoryCount> dir)
{
    std::vector<int> affected;
    for (int d = 0; d < kDirectoryCount; ++d) {
        if (AnswersAfterDial(dir[static_cast<std::size_t>(d)]))
            affected.push_back(d);
    }
    return affected;
}

std::string CallProgressWarning(const std::vector<int>& directories)
{
    if (directories.empty())
        return {};
    std::string text(kAnswerAfterDialStart);
    text += directories.size() == 1 ? kOneDirectory : kSeveralDirectories;
    for (std::size_t i = 0; i < directories.size(); ++i) {
        if (i > 0)
            text += i + 1 == directories.size() ? kLastDirectorySeparator : kDirectorySeparator;
        text += static_cast<char>('A' + directories[i]);
    }
    if (directories.size() > 1)
        text += kDirectoryListEnd;
    text += kAnswerAfterDialEnd;
    return text;
}

} // namespace veskar

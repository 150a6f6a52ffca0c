#include "report/Overview.h"

#include "report/Paging.h"
#include "report/Warnings.h"

#include <algorithm>

namespace veskar {

namespace {

constexpr std::size_t kSystemLinesShown = 4;   // site and the access, acknowledge and status codes
constexpr std::size_t kOperatorLinesShown = 3; // name, then the four codes
constexpr std::size_t kDirectoryHeadingLines = 2;
const std::string kNone = "(none)";

bool HasCode(const UserRecord& user)
{
    return user.startCode.length || user.stopCode.length || user.emergencyCode.length ||
           user.interrogateCode.length;
}

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::vector<std::string> Texts(const Block& block, std::size_t from, std::size_t to)
{
    std::vector<std::string> texts;
    for (std::size_t i = from; i < std::min(to, block.lines.size()); ++i) {
        if (!block.lines[i].text.empty())
            texts.push_back(Trimmed(block.lines[i].text));
    }
    return texts;
}

} // namespace

std::vector<OverviewSection> BuildOverview(const Image& image, std::string_view fileName)
{
    std::vector<OverviewSection> sections;

    OverviewSection system{OverviewTarget::System,
                           "File: " + (fileName.empty() ? kNone : std::string(fileName)),
                           Texts(SystemBlocks(image).front(), 0, kSystemLinesShown)};
    sections.push_back(std::move(system));

    OverviewSection users{OverviewTarget::Users, {}, {}};
    const std::vector<Block> operators = OperatorBlocks(image);
    for (std::size_t n = 0; n < operators.size(); ++n) {
        if (!HasCode(image.User[n]))
            continue;
        const std::vector<std::string> lines = Texts(operators[n], 0, kOperatorLinesShown);
        users.lines.insert(users.lines.end(), lines.begin(), lines.end());
    }
    const auto withCodes = std::ranges::count_if(image.User, HasCode);
    users.heading = "Users with codes: " + std::to_string(withCodes);
    if (withCodes == 0)
        users.lines.push_back(kNone);
    sections.push_back(std::move(users));

    const std::vector<Block> directories = DirectoryBlocks(image);
    for (std::size_t d = 0; d < directories.size(); ++d) {
        const Block& block = directories[d];
        sections.push_back(OverviewSection{
            static_cast<OverviewTarget>(static_cast<int>(OverviewTarget::DirA) + d), block.lines.front().text,
            Texts(block, kDirectoryHeadingLines, block.lines.size())});
    }

    OverviewSection list{OverviewTarget::Warnings, "Warnings: " + std::to_string(WarningCount(image)), {}};
    for (const WarningItem& item : WarningItems(image)) {
        if (!item.separator)
            list.lines.insert(list.lines.end(), item.lines.begin(), item.lines.end());
    }
    if (list.lines.empty())
        list.lines.push_back(kNone);
    sections.push_back(std::move(list));
    return sections;
}

} // namespace veskar

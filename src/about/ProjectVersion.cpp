#include "about/ProjectVersion.h"

#include "about/BuildInfo.h"

namespace veskar {

std::optional<VersionBlock> ProgramVersionBlock()
{
    VersionBlock block{
        {"ProductName", kBuildProductName},
        {"ProductVersion", kBuildProductVersion},
        {"LegalCopyright", kBuildCopyright},
        {"LegalTrademarks", kBuildTrademarks},
    };
    // Without a commit (a build outside the repository) the build line stays empty.
    if (!std::string_view(kBuildCommit).empty())
        block["SpecialBuild"] = std::string("Build ") + kBuildCommit + " of " + kBuildCommitDate;
    return block;
}

TProjectRCVersion::TProjectRCVersion(std::optional<VersionBlock> block) : m_block(std::move(block))
{
}

bool TProjectRCVersion::Get(const char* entry, std::string& out) const
{
    if (!m_block)
        return false;
    const auto found = m_block->find(entry);
    if (found == m_block->end())
        return false;
    out = found->second;
    return true;
}

bool TProjectRCVersion::GetProductName(std::string& out) const
{
    return Get("ProductName", out);
}

bool TProjectRCVersion::GetProductVersion(std::string& out) const
{
    return Get("ProductVersion", out);
}

bool TProjectRCVersion::GetCopyright(std::string& out) const
{
    return Get("LegalCopyright", out);
}

bool TProjectRCVersion::GetTrademark(std::string& out) const
{
    return Get("LegalTrademarks", out);
}

bool TProjectRCVersion::GetDebug(std::string& out) const
{
    return Get("SpecialBuild", out);
}

AboutLines MakeAboutLines(const TProjectRCVersion& version)
{
    AboutLines lines;
    std::string name;
    std::string number;
    if (version.GetProductName(name) && version.GetProductVersion(number))
        lines.product = name + " " + lines.product + " " + number;
    std::string text;
    if (version.GetCopyright(text))
        lines.copyright = text;
    if (version.GetTrademark(text))
        lines.trademark = text;
    if (version.GetDebug(text))
        lines.build = text;
    return lines;
}

std::string VersionText(std::string_view program)
{
    const AboutLines lines = MakeAboutLines(TProjectRCVersion());
    std::string text = std::string(program) + " " + lines.product + "\n";
    if (!lines.build.empty())
        text += lines.build + "\n";
    return text;
}

} // namespace veskar

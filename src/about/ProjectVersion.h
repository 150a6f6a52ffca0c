#pragma once

// The program's version entries and the about box lines made from them.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace veskar {

// Named text entries: ProductName, ProductVersion, LegalCopyright,
// LegalTrademarks, SpecialBuild. An entry may be missing.
using VersionBlock = std::map<std::string, std::string>;

// The block built into this program (project version, commit and its date).
[[nodiscard]] std::optional<VersionBlock> ProgramVersionBlock();

class TProjectRCVersion {
  public:
    explicit TProjectRCVersion(std::optional<VersionBlock> block = ProgramVersionBlock());

    // Each: true and the entry's text, or false and `out` untouched.
    [[nodiscard]] bool GetProductName(std::string& out) const;
    [[nodiscard]] bool GetProductVersion(std::string& out) const;
    [[nodiscard]] bool GetCopyright(std::string& out) const;
    [[nodiscard]] bool GetTrademark(std::string& out) const;
    [[nodiscard]] bool GetDebug(std::string& out) const;

  private:
    [[nodiscard]] bool Get(const char* entry, std::string& out) const;
    std::optional<VersionBlock> m_block;
};

inline constexpr const char* kAboutTitle = "About the Corvane Veskar Worker Monitor";
inline constexpr const char* kAboutProgramLine = "Corvane Veskar Worker Monitor Programmer";

struct AboutLines {
    std::string product = "Version"; // "<ProductName> Version <ProductVersion>"
    std::string copyright;
    std::string trademark;
    std::string build; // bottom right
};

[[nodiscard]] AboutLines MakeAboutLines(const TProjectRCVersion& version);

// What `program --version` prints: "program <product line>", then the build line when there is one.
[[nodiscard]] std::string VersionText(std::string_view program);

} // namespace veskar

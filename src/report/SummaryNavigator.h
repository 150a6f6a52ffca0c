#pragma once

// Which summary page is shown and where Next Page and Last Page lead. A mode
// covers one kind of page, or (All) the operator, system and directory pages
// one after the other; Next Page steps through them in that order, Last Page
// back one page within a kind, or to the first page of the kind before. The
// commands are available exactly when there is a page to go to.

#include "report/ReportModel.h"

#include <array>
#include <vector>

namespace veskar {

enum class SummaryMode { All, Operators, System, Directories, Warnings };

class SummaryNavigator {
  public:
    using PageCounts = std::array<int, 4>; // by PageKind

    explicit SummaryNavigator(SummaryMode mode = SummaryMode::Operators);

    // The first page of the mode.
    void Choose(SummaryMode mode);
    // After the configuration changed: the same kind and page where it still exists.
    void SetPageCounts(const PageCounts& counts);

    void Next();
    void Previous();
    [[nodiscard]] bool HasNext() const;
    [[nodiscard]] bool HasPrevious() const;

    [[nodiscard]] SummaryMode mode() const { return m_mode; }
    [[nodiscard]] PageKind kind() const;
    [[nodiscard]] int page() const; // within its kind

    [[nodiscard]] static std::vector<PageKind> KindsOf(SummaryMode mode);

  private:
    [[nodiscard]] int PageTotal() const;

    SummaryMode m_mode;
    PageCounts m_counts{1, 1, 1, 1};
    int m_position = 0; // among all pages of the mode
};

} // namespace veskar

#include "report/SummaryNavigator.h"

#include <algorithm>

namespace veskar {

namespace {

int CountOf(const SummaryNavigator::PageCounts& counts, PageKind kind)
{
    return std::max(1, counts[static_cast<std::size_t>(kind)]);
}

} // namespace

SummaryNavigator::SummaryNavigator(SummaryMode mode) : m_mode(mode)
{
}

std::vector<PageKind> SummaryNavigator::KindsOf(SummaryMode mode)
{
    switch (mode) {
    case SummaryMode::All: return {PageKind::Operators, PageKind::System, PageKind::Directories};
    case SummaryMode::Operators: return {PageKind::Operators};
    case SummaryMode::System: return {PageKind::System};
    case SummaryMode::Directories: return {PageKind::Directories};
    case SummaryMode::Warnings: return {PageKind::Warnings};
    }
    return {};
}

void SummaryNavigator::Choose(SummaryMode mode)
{
    m_mode = mode;
    m_position = 0;
}

void SummaryNavigator::SetPageCounts(const PageCounts& counts)
{
    const PageKind shownKind = kind();
    const int shownPage = page();
    m_counts = counts;
    int position = 0;
    for (PageKind k : KindsOf(m_mode)) {
        if (k == shownKind) {
            m_position = position + std::min(shownPage, CountOf(m_counts, k) - 1);
            return;
        }
        position += CountOf(m_counts, k);
    }
}

int SummaryNavigator::PageTotal() const
{
    int total = 0;
    for (PageKind k : KindsOf(m_mode))
        total += CountOf(m_counts, k);
    return total;
}

void SummaryNavigator::Next()
{
    if (HasNext())
        ++m_position;
}

// From the first page of a kind, Last Page goes to the first page of the kind
// before it: in All, from the system page back to the first operator page.
void SummaryNavigator::Previous()
{
    if (!HasPrevious())
        return;
    if (page() > 0) {
        --m_position;
        return;
    }
    const std::vector<PageKind> kinds = KindsOf(m_mode);
    const auto shown = std::ranges::find(kinds, kind());
    m_position -= CountOf(m_counts, *(shown - 1));
}

bool SummaryNavigator::HasNext() const
{
    return m_position + 1 < PageTotal();
}

bool SummaryNavigator::HasPrevious() const
{
    return m_position > 0;
}

PageKind SummaryNavigator::kind() const
{
    int position = m_position;
    const std::vector<PageKind> kinds = KindsOf(m_mode);
    for (PageKind k : kinds) {
        if (position < CountOf(m_counts, k))
            return k;
        position -= CountOf(m_counts, k);
    }
    return kinds.back();
}

int SummaryNavigator::page() const
{
    int position = m_position;
    for (PageKind k : KindsOf(m_mode)) {
        if (position < CountOf(m_counts, k))
            return position;
        position -= CountOf(m_counts, k);
    }
    return 0;
}

} // namespace veskar

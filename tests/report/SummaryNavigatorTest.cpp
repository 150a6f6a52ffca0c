#include "report/SummaryNavigator.h"

#include <gtest/gtest.h>

#include <utility>

namespace veskar {
namespace {

using Stop = std::pair<PageKind, int>;

std::vector<Stop> WalkForward(SummaryNavigator& navigator)
{
    std::vector<Stop> stops{{navigator.kind(), navigator.page()}};
    while (navigator.HasNext()) {
        navigator.Next();
        stops.emplace_back(navigator.kind(), navigator.page());
    }
    return stops;
}

TEST(SummaryNavigator, EachModeStepsThroughItsPagesAndBack)
{
    const SummaryNavigator::PageCounts counts{3, 1, 2, 7};
    struct Case {
        SummaryMode mode;
        std::vector<Stop> stops;
        std::vector<Stop> back; // Last Page from the last stop
    };
    const Case cases[] = {
        {SummaryMode::Operators,
         {{PageKind::Operators, 0}, {PageKind::Operators, 1}, {PageKind::Operators, 2}},
         {{PageKind::Operators, 1}, {PageKind::Operators, 0}}},
        {SummaryMode::System, {{PageKind::System, 0}}, {}},
        {SummaryMode::Directories,
         {{PageKind::Directories, 0}, {PageKind::Directories, 1}},
         {{PageKind::Directories, 0}}},
        {SummaryMode::All,
         {{PageKind::Operators, 0},
          {PageKind::Operators, 1},
          {PageKind::Operators, 2},
          {PageKind::System, 0},
          {PageKind::Directories, 0},
          {PageKind::Directories, 1}},
         {{PageKind::Directories, 0}, {PageKind::System, 0}, {PageKind::Operators, 0}}},
    };
    for (const Case& c : cases) {
        SummaryNavigator navigator;
        navigator.SetPageCounts(counts);
        navigator.Choose(c.mode);
        EXPECT_FALSE(navigator.HasPrevious());
        EXPECT_EQ(WalkForward(navigator), c.stops);
        navigator.Next(); // past the end: stays
        EXPECT_EQ(Stop(navigator.kind(), navigator.page()), c.stops.back());
        for (const Stop& stop : c.back) {
            ASSERT_TRUE(navigator.HasPrevious());
            navigator.Previous();
            EXPECT_EQ(Stop(navigator.kind(), navigator.page()), stop);
        }
        EXPECT_FALSE(navigator.HasPrevious());
    }
    SummaryNavigator warnings(SummaryMode::Warnings);
    warnings.SetPageCounts(counts);
    EXPECT_EQ(WalkForward(warnings).size(), 7U); // beyond five pages, each one reachable
}

TEST(SummaryNavigator, FewerPagesAfterAChangeKeepsTheKindShown)
{
    SummaryNavigator navigator(SummaryMode::All);
    navigator.SetPageCounts({8, 1, 3, 1});
    for (int i = 0; i < 10; ++i)
        navigator.Next();
    EXPECT_EQ(Stop(navigator.kind(), navigator.page()), Stop(PageKind::Directories, 1));
    navigator.SetPageCounts({8, 1, 1, 1});
    EXPECT_EQ(Stop(navigator.kind(), navigator.page()), Stop(PageKind::Directories, 0));
    EXPECT_FALSE(navigator.HasNext());
    navigator.Previous();
    EXPECT_EQ(Stop(navigator.kind(), navigator.page()), Stop(PageKind::System, 0));
}

} // namespace
} // namespace veskar

#include "programming/PacketPace.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace veskar {
namespace {

TEST(PacketPaceTest, EstimatesFromThePaceSinceTheFirstPacketOnly)
{
    struct Report {
        int done;
        int total;
        std::int64_t at;
    };
    const struct {
        const char* what;
        std::vector<Report> reports;
        std::optional<std::int64_t> left;
    } cases[] = {
        {"link set-up does not count", {{0, 64, 2000}, {1, 64, 3000}, {2, 64, 4000}}, 62000},
        {"the voice memory's countdown does not count",
         {{0, 64, 2000}, {1, 64, 3000}, {1, 64, 13000}, {3, 64, 15000}},
         61000},
        {"one packet is no pace yet", {{0, 64, 2000}, {1, 64, 3000}}, std::nullopt},
        {"an unknown total gives no estimate", {{1, 0, 3000}, {5, 0, 7000}}, std::nullopt},
        {"done is done", {{1, 4, 1000}, {4, 4, 4000}}, std::nullopt},
        {"a new transfer starts afresh",
         {{1, 10, 1000}, {9, 10, 9000}, {0, 5, 20000}, {1, 5, 22000}, {2, 5, 26000}},
         12000},
    };
    for (const auto& c : cases) {
        PacketPace pace;
        for (const Report& r : c.reports)
            pace.Done(r.done, r.total, r.at);
        EXPECT_EQ(pace.LeftMs(), c.left) << c.what;
    }
}

} // namespace
} // namespace veskar

#include "report/Overview.h"

#include "ReportImages.h"

#include <gtest/gtest.h>

namespace veskar {
namespace {

using Lines = std::vector<std::string>;

TEST(Overview, SectionsOfANewAndOfAnEditedConfiguration)
{
    const std::vector<OverviewSection> fresh = BuildOverview(test::NewImage(), "");
    ASSERT_EQ(fresh.size(), 7U);
    EXPECT_EQ(fresh[0], (OverviewSection{OverviewTarget::System,
                                         "File: (none)",
                                         {"Site ID: RidIvav Alarm", "Access Code:", "Acknowledge Code: 2580",
                                          "Status Code: 1470"}}));
    EXPECT_EQ(fresh[1], (OverviewSection{OverviewTarget::Users, "Users with codes: 0", {"(none)"}}));
    EXPECT_EQ(fresh[2], (OverviewSection{OverviewTarget::DirA, "Directory A", {" [RADIO] [ALERT] [VOICE]"}}));
    EXPECT_EQ(fresh[5], (OverviewSection{OverviewTarget::DirD, "Directory D", {"(Empty)"}}));
    EXPECT_EQ(fresh[6].heading, "Warnings: 2"); // each of two lines

    Image image = test::CleanImage();
    image.User[3].userName = NameFromText("Ann");
    image.User[3].startCode = CodeFromText("12");
    image.User[3].stopCode = CodeFromText("34");
    const std::vector<OverviewSection> edited = BuildOverview(image, "site.dat");
    EXPECT_EQ(edited[0].heading, "File: site.dat");
    EXPECT_EQ(edited[1], (OverviewSection{OverviewTarget::Users,
                                          "Users with codes: 1",
                                          {"Operator 4  Name: Ann", "Start Code: 12       Emergency Code:",
                                           "Stop Code:  34       Interrogate Code:"}}));
    EXPECT_EQ(edited[2].lines, Lines{" [DIAL]0123456"});
    EXPECT_EQ(edited[6], (OverviewSection{OverviewTarget::Warnings, "Warnings: 0", {"(none)"}}));
}

} // namespace
} // namespace veskar

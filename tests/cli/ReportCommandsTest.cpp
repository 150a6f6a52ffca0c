#include "CliFixture.h"
#include "database/Codes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace veskar::cli {
namespace {

class ReportCommandsTest : public CliFixture {};

void Unchanged(Image&)
{
}

void NoWarnings(Image& image)
{
    image.gen.accessCode = CodeFromText("9876");
    const std::string_view line = "P:123456&";
    std::ranges::copy(line, image.dir[0].begin());
}

TEST_F(ReportCommandsTest, WarningsPrintsTheLinesAndSaysWhetherThereAreAny)
{
    struct Case {
        const char* name;
        void (*edit)(Image&);
        int exit;
        std::string out;
    };
    const Case cases[] = {
        {"new.dat", Unchanged, 1,
         "There are no phone numbers in any directory.\n"
         "    (OK if you only want to make radio calls.)\n"
         "The Access Code is missing.\n"
         "    Remote dial-in operations are available to anyone calling in.\n\n\n"},
        {"clean.dat", NoWarnings, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run({"warnings", save(c.name, c.edit)}), c.exit) << c.name;
        EXPECT_EQ(m_out.str(), c.out) << c.name;
    }
    std::ofstream(path("short.dat")) << "too short";
    EXPECT_EQ(run({"warnings", path("short.dat")}), 2);
    EXPECT_EQ(m_out.str(), "");
    EXPECT_NE(m_err.str(), "");
}

TEST_F(ReportCommandsTest, SummaryPrintsThePagesOfTheKindAFormFeedBetweenThem)
{
    struct Case {
        std::vector<std::string> options;
        int exit;
        long formFeeds;
        const char* title; // of the first page
    };
    const Case cases[] = {
        {{}, 0, 10, "Operator Summary"},
        {{"--kind", "operators"}, 0, 7, "Operator Summary"},
        {{"--kind", "system"}, 0, 0, "System Summary"},
        {{"--kind", "directories"}, 0, 0, "Directory Summary - Page 1"},
        {{"--kind", "warnings"}, 0, 0, "Warnings - Page 1"},
        {{"--kind", "all"}, 0, 9, "Operator Summary"},
        {{"--kind", "everything"}, 2, 0, nullptr},
        {{"--kind"}, 2, 0, nullptr},
        {{"--colour", "red"}, 2, 0, nullptr},
    };
    const std::string file = save("s.dat", Unchanged);
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"summary", file};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(run(arguments), c.exit) << arguments.back();
        const std::string out = m_out.str();
        EXPECT_EQ(std::ranges::count(out, '\f'), c.formFeeds) << arguments.back();
        if (c.title)
            EXPECT_TRUE(out.starts_with("\nCorvane Veskar Worker Monitor  ---  Drummel Engineering Ltd.\n\n" +
                                        std::string(c.title) + "\n\n"))
                << arguments.back();
        else
            EXPECT_EQ(out, "");
    }
    EXPECT_EQ(run({"summary", path("missing.dat")}), 1);
}

TEST_F(ReportCommandsTest, SummaryPdfHasOnePagePerReportPage)
{
    const std::string file = save("p.dat", Unchanged);
    ASSERT_EQ(run({"summary", file, "--pdf", path("out.pdf"), "--kind", "all"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "");
    const std::string pdf = m_folder.read("out.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF"));
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 10U);
    // "-" is standard output.
    ASSERT_EQ(run({"summary", file, "--pdf", "-", "--kind", "all"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str().size(), pdf.size());
    EXPECT_TRUE(m_out.str().starts_with("%PDF"));
}

} // namespace
} // namespace veskar::cli

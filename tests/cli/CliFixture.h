#pragma once

// The command line run in-process against files in a fresh folder.

#include "cli/CliCommand.h"
#include "database/Document.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace veskar::cli {

class CliFixture : public ::testing::Test {
  protected:
    [[nodiscard]] std::string path(const std::string& name) const { return m_folder / name; }

    int run(std::vector<std::string> arguments)
    {
        m_out.str("");
        m_err.str("");
        return RunCli(arguments, {m_out, m_err});
    }

    // A new configuration, edited, saved as `name`; its path.
    std::string save(const std::string& name, void (*edit)(Image&))
    {
        Document document;
        document.CreateDatabase();
        edit(document.image);
        EXPECT_EQ(document.SaveAs(path(name)), FileError::None);
        return path(name);
    }

    const veskar::testing::TempFolder m_folder{"veskar-cli"};
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace veskar::cli

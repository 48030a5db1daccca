// The help page the program carries: written into the program folder only
// when no page is found, whole or not at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/help_page.h"
#include "platform/open_rules.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

class HelpPageTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string app, bin;
    std::string oldDataDirs;
    bool hadDataDirs = false;

    void SetUp() override {
        app = dir.makeDir("app");
        bin = dir.makeDir("bin");
        // No installed page on this machine counts.
        if (const char* v = std::getenv("XDG_DATA_DIRS")) {
            hadDataDirs = true;
            oldDataDirs = v;
        }
        setenv("XDG_DATA_DIRS", dir.makeDir("share").c_str(), 1);
    }
    void TearDown() override {
        if (hadDataDirs) setenv("XDG_DATA_DIRS", oldDataDirs.c_str(), 1);
        else unsetenv("XDG_DATA_DIRS");
    }
};

TEST_F(HelpPageTest, APortableCopyGetsThePageItCarries) {
    const std::string page = app + kHelpPageName;
    EXPECT_TRUE(provideHelpPage(app, bin));
    EXPECT_EQ(fixtures::readBytes(page), carriedHelpPage());
    EXPECT_NE(carriedHelpPage().find("</html>"), std::string::npos);
    EXPECT_EQ(findHelpPage(app, bin), page);
    EXPECT_FALSE(std::filesystem::exists(page + ".part"));

    // A page already there, edited or not, is left as it is.
    std::ofstream(page, std::ios::trunc) << "mine";
    EXPECT_TRUE(provideHelpPage(app, bin));
    EXPECT_EQ(fixtures::readBytes(page), "mine");
}

TEST_F(HelpPageTest, AnInstalledPageIsUsedAndNothingIsWritten) {
    dir.makeDir("share/tarvolin");
    std::ofstream(dir.path() + "share/tarvolin/" + kHelpPageName) << "installed";
    EXPECT_TRUE(provideHelpPage(app, bin));
    EXPECT_FALSE(std::filesystem::exists(app + kHelpPageName));
}

TEST_F(HelpPageTest, AFolderThatCannotBeWrittenLeavesNothingBehind) {
    const std::string notAFolder = dir.path() + "file";
    std::ofstream(notAFolder) << "x";
    EXPECT_FALSE(provideHelpPage(notAFolder, ""));
    EXPECT_EQ(fixtures::readBytes(notAFolder), "x");
}

}  // namespace
}  // namespace tarvolin

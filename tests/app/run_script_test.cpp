// The README's first command, tools/run.sh, on a machine where the packages
// of the virtual display are missing: the system's tools are stood in for
// by scripts that record what they are asked (dpkg-query reports the
// missing packages, apt-get and xvfb-run write down their arguments).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

namespace fs = std::filesystem;

std::string sourceFolder() {
    const char* source = std::getenv("TARVOLIN_SOURCE_DIR");
    if (source && *source) return source;
    const std::string here = __FILE__;  // <source>/tests/app/run_script_test.cpp
    return here.substr(0, here.rfind("/tests/"));
}

class RunScriptTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string root, stubs, record;

    void SetUp() override {
        // A copy of the scripts, so that the program they would start is a
        // stand-in too.
        root = dir.makeDir("root");
        fs::copy(sourceFolder() + "/tools", root + "tools", fs::copy_options::recursive);
        stubs = dir.makeDir("stubs");
        record = dir.file("record.txt");
        script(stubs + "dpkg-query",
               "pkg=\"${@: -1}\"\n"
               "for m in $MISSING; do [ \"$m\" = \"$pkg\" ] && exit 1; done\n"
               "printf 'install ok installed'\n");
        script(stubs + "apt-get", "echo \"apt-get $*\" >> \"$RECORD\"\n");
        script(stubs + "sudo", "exec \"$@\"\n");
        script(stubs + "cmake", "exit 0\n");
        script(stubs + "xvfb-run", "echo \"xvfb-run $*\" >> \"$RECORD\"\n");
        dir.makeDir("root/build/release/bin");
        script(root + "build/release/bin/tarvolin", "echo \"tarvolin $*\" >> \"$RECORD\"\n");
    }

    static void script(const std::string& path, const std::string& body) {
        fixtures::writeBytes(path, "#!/bin/bash\n" + body);
        chmod(path.c_str(), 0755);
    }

    // Runs tools/run.sh with the given display (empty: none) and the
    // packages named missing; its exit status.
    int run(const std::string& display, const std::string& missing) {
        const char* path = std::getenv("PATH");
        const std::string command = "env -u WAYLAND_DISPLAY " +
                                    (display.empty() ? std::string("-u DISPLAY") : "DISPLAY=" + display) +
                                    " MISSING='" + missing + "' RECORD='" + record + "' PATH='" + stubs + ":" +
                                    (path ? path : "/usr/bin:/bin") + "' bash '" + root +
                                    "tools/run.sh' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string recorded() { return fs::exists(record) ? fixtures::readBytes(record) : std::string(); }
};

TEST_F(RunScriptTest, WithoutADisplayTheVirtualOneIsInstalledBeforeItIsUsed) {
    EXPECT_EQ(run("", "xvfb xauth"), 0);
    const std::string done = recorded();
    const std::size_t install = done.find("apt-get install");
    ASSERT_NE(install, std::string::npos) << done;
    const std::string line = done.substr(install, done.find('\n', install) - install);
    EXPECT_NE(line.find(" xvfb"), std::string::npos) << line;
    EXPECT_NE(line.find(" xauth"), std::string::npos) << line;
    const std::size_t started = done.find("xvfb-run ");
    ASSERT_NE(started, std::string::npos) << done;
    EXPECT_GT(started, install);
    EXPECT_NE(done.find(root + "build/release/bin/tarvolin", started), std::string::npos);
}

TEST_F(RunScriptTest, WithADisplayNothingOfTheVirtualOneIsInstalled) {
    EXPECT_EQ(run(":7", "xvfb xauth"), 0);
    const std::string done = recorded();
    EXPECT_EQ(done.find("apt-get"), std::string::npos) << done;
    EXPECT_EQ(done.find("xvfb-run"), std::string::npos) << done;
    EXPECT_NE(done.find("tarvolin"), std::string::npos) << done;
}

}  // namespace
}  // namespace tarvolin

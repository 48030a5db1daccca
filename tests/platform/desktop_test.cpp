// The Linux desktop services: trash, autostart entry, file manager
// fallback, the opener's whitelist, link encoding and the help page search.
//
// GLib reads XDG_DATA_HOME and the bus addresses once per process, so the
// tests that need their own values run in a fresh copy of this executable
// (see runChild): the copy does its one job before the test runner starts.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/desktop/autostart.h"
#include "platform/desktop/linux_desktop.h"
#include "platform/open_rules.h"
#include "support/temp_dir.h"

extern char** environ;

namespace tarvolin {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// ---- The child side: runs before main when the parent asked for a job.

void childWrite(const std::string& text) {
    if (const char* out = std::getenv("TARVOLIN_DESKTOP_CHILD_OUT")) writeFile(out, text);
}

int childJob() {
    const char* job = std::getenv("TARVOLIN_DESKTOP_CHILD");
    if (!job) return 0;
    const char* argEnv = std::getenv("TARVOLIN_DESKTOP_CHILD_ARG");
    const std::string arg = argEnv ? argEnv : "";
    const std::string what = job;
    bool ok = false;
    if (what == "trash") {
        LinuxDesktop desktop;
        std::string error;
        ok = desktop.moveToTrash(arg, &error);
        childWrite(error);
    } else if (what == "reveal") {
        DesktopHooks hooks;
        std::string opened;
        hooks.openUrl = [&opened](const std::string& url) {
            opened += url + "\n";
            return true;
        };
        LinuxDesktop desktop(hooks);
        ok = desktop.revealFile(arg);
        childWrite(opened);
    } else if (what == "open") {
        // The toolkit's opener fails, as it does without xdg-open.
        DesktopHooks hooks;
        hooks.openUrl = [](const std::string&) { return false; };
        LinuxDesktop desktop(hooks);
        ok = desktop.openUrl(arg);
        childWrite(desktop.lastError());
    }
    std::_Exit(ok ? 0 : 1);
}

[[maybe_unused]] const int childJobRan = childJob();

// ---- The parent side.

struct ChildResult {
    int exitCode = -1;
    std::string output;
};

ChildResult runChild(const std::string& job, const std::string& arg, const std::vector<std::string>& extraEnv,
                     const std::string& outFile) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool replaced = entry.rfind("TARVOLIN_DESKTOP_CHILD", 0) == 0;
        for (const std::string& extra : extraEnv) {
            if (entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0) replaced = true;
        }
        if (!replaced) env.push_back(entry);
    }
    for (const std::string& extra : extraEnv) env.push_back(extra);
    env.push_back("TARVOLIN_DESKTOP_CHILD=" + job);
    env.push_back("TARVOLIN_DESKTOP_CHILD_ARG=" + arg);
    env.push_back("TARVOLIN_DESKTOP_CHILD_OUT=" + outFile);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};

    ChildResult result;
    const pid_t pid = ::fork();
    if (pid < 0) return result;
    if (pid == 0) {
        ::execve("/proc/self/exe", argv, envp.data());
        std::_Exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.output = readFile(outFile);
    return result;
}

// ---- Trash

TEST(DesktopTrash, MovesTheFileIntoTheUserTrashWithItsInfo) {
    TempDir dir;
    const std::string data = dir.makeDir("data");
    dir.makeDir("music");
    const std::string file = dir.file("music/Ένα τραγούδι.mp3");
    writeFile(file, "not really music");

    ChildResult r = runChild("trash", file, {"XDG_DATA_HOME=" + data}, dir.file("out.txt"));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_FALSE(exists(file));
    EXPECT_EQ(readFile(data + "Trash/files/Ένα τραγούδι.mp3"), "not really music");
    const std::string info = readFile(data + "Trash/info/Ένα τραγούδι.mp3.trashinfo");
    EXPECT_NE(info.find("[Trash Info]"), std::string::npos) << info;
    // The original place is recorded, percent-encoded, so it can be restored.
    EXPECT_NE(info.find("Path=" + dir.path().substr(0, dir.path().size() - 1)), std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos) << info;
}

TEST(DesktopTrash, AFileThatIsNotThereIsReportedAsFailure) {
    TempDir dir;
    const std::string data = dir.makeDir("data");
    const std::string missing = dir.file("gone.mp3");

    ChildResult r = runChild("trash", missing, {"XDG_DATA_HOME=" + data}, dir.file("out.txt"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.output.empty());
    EXPECT_FALSE(exists(data + "Trash/files/gone.mp3"));

    std::string error;
    LinuxDesktop desktop;
    EXPECT_FALSE(desktop.moveToTrash("", &error));
    EXPECT_FALSE(error.empty());
}

// ---- File manager

TEST(DesktopReveal, WithoutAFileManagerTheFolderIsOpened) {
    TempDir dir;
    dir.makeDir("my music");
    const std::string file = dir.file("my music/a.mp3");
    writeFile(file, "x");

    ChildResult r = runChild("reveal", file, {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + dir.file("no-bus")},
                             dir.file("out.txt"));
    EXPECT_EQ(r.exitCode, 0);
    const std::string folderUri = "file://" + dir.path() + "my%20music\n";
    EXPECT_EQ(r.output, folderUri);
}

TEST(DesktopOpen, WhenTheToolkitsOpenerFailsTheDesktopsDefaultApplicationOpensThePage) {
    TempDir dir;
    const std::string page = dir.file("tarvolin_help.htm");
    writeFile(page, "<html></html>");
    // The desktop's default application for web pages: a script that
    // records what it was given.
    const std::string data = dir.makeDir("data"), config = dir.makeDir("config");
    dir.makeDir("data/applications");
    const std::string opened = dir.file("opened.txt"), script = dir.file("browser.sh");
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" > '" + opened + "'\n");
    ::chmod(script.c_str(), 0755);
    writeFile(data + "applications/test-browser.desktop",
              "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + script + " %u\nMimeType=text/html;\n");
    writeFile(config + "mimeapps.list", "[Default Applications]\ntext/html=test-browser.desktop\n");

    ChildResult r = runChild("open", page, {"XDG_DATA_HOME=" + data, "XDG_CONFIG_HOME=" + config},
                             dir.file("out.txt"));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    for (int i = 0; i < 100 && readFile(opened).empty(); ++i) ::usleep(50000);
    EXPECT_EQ(readFile(opened), page + "\n");

    // With no application for it either, the failure is reported.
    const std::string empty = dir.makeDir("empty");
    r = runChild("open", page, {"XDG_DATA_HOME=" + empty, "XDG_DATA_DIRS=" + empty, "XDG_CONFIG_HOME=" + empty},
                 dir.file("out.txt"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.output.empty());
}

// ---- Autostart entry

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        save("XDG_CONFIG_HOME", savedConfig_, hadConfig_);
        save("HOME", savedHome_, hadHome_);
        ::setenv("XDG_CONFIG_HOME", (dir_.path() + "config").c_str(), 1);
    }
    void TearDown() override {
        restore("XDG_CONFIG_HOME", savedConfig_, hadConfig_);
        restore("HOME", savedHome_, hadHome_);
    }
    static void save(const char* name, std::string& value, bool& had) {
        const char* v = std::getenv(name);
        had = v != nullptr;
        value = v ? v : "";
    }
    static void restore(const char* name, const std::string& value, bool had) {
        if (had) {
            ::setenv(name, value.c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    TempDir dir_;
    std::string savedConfig_, savedHome_;
    bool hadConfig_ = false, hadHome_ = false;
};

TEST_F(AutostartTest, OnWritesTheEntryAndOffRemovesIt) {
    LinuxDesktop desktop;
    const std::string entry = dir_.path() + "config/autostart/tarvolin.desktop";
    EXPECT_EQ(autostartEntryPath(), entry);
    EXPECT_FALSE(desktop.autostartExists());

    int err = -1;
    std::string text = "stale";
    AutostartFailure step = AutostartFailure::Opening;
    ASSERT_TRUE(desktop.setAutostart(true, "/opt/tarvolin/bin/tarvolin", &err, &text, &step));
    EXPECT_EQ(err, 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(step, AutostartFailure::None);
    EXPECT_TRUE(desktop.autostartExists());
    EXPECT_EQ(readFile(entry),
              "[Desktop Entry]\nType=Application\nName=tarvolin\nExec=\"/opt/tarvolin/bin/tarvolin\"\n");
    EXPECT_FALSE(exists(entry + ".tmp"));

    // Writing again replaces the entry.
    ASSERT_TRUE(desktop.setAutostart(true, "/usr/bin/tarvolin", &err, &text));
    EXPECT_EQ(readFile(entry), "[Desktop Entry]\nType=Application\nName=tarvolin\nExec=\"/usr/bin/tarvolin\"\n");

    ASSERT_TRUE(desktop.setAutostart(false, "/usr/bin/tarvolin", &err, &text));
    EXPECT_FALSE(desktop.autostartExists());
    // Removing an entry that is not there is no error.
    EXPECT_TRUE(desktop.setAutostart(false, "/usr/bin/tarvolin", &err, &text));
    EXPECT_EQ(err, 0);
}

TEST_F(AutostartTest, ExecutablePathsAreQuotedAndMadeAbsolute) {
    // A blank, a quote, a dollar sign, a backslash and a percent sign must
    // reach the session's launcher as one argument, unchanged.
    EXPECT_EQ(autostartEntryText("/home/ana/my apps/\"t\"$x\\%.bin"),
              "[Desktop Entry]\nType=Application\nName=tarvolin\n"
              "Exec=\"/home/ana/my apps/\\\\\"t\\\\\"\\\\$x\\\\\\\\%%.bin\"\n");

    const std::string cwd = std::filesystem::current_path().string();
    LinuxDesktop desktop;
    ASSERT_TRUE(desktop.setAutostart(true, "bin/tarvolin", nullptr, nullptr));
    EXPECT_NE(readFile(autostartEntryPath()).find("Exec=\"" + cwd + "/bin/tarvolin\"\n"), std::string::npos);

    // No executable given: the running program's own.
    ASSERT_TRUE(desktop.setAutostart(true, "", nullptr, nullptr));
    EXPECT_NE(readFile(autostartEntryPath()).find("Exec=\"" + currentExecutablePath() + "\""), std::string::npos);
}

TEST_F(AutostartTest, ConfigFolderFallsBackToHome) {
    ::setenv("HOME", (dir_.path() + "home").c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(autostartEntryPath(), dir_.path() + "home/.config/autostart/tarvolin.desktop");
    // A relative XDG_CONFIG_HOME is not valid and is ignored.
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(autostartEntryPath(), dir_.path() + "home/.config/autostart/tarvolin.desktop");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(autostartEntryPath(), dir_.path() + "home/.config/autostart/tarvolin.desktop");
}

TEST_F(AutostartTest, FailuresGiveTheStepErrnoAndItsText) {
    LinuxDesktop desktop;
    int err = 0;
    std::string text;
    AutostartFailure step = AutostartFailure::None;

    // The config folder is a file: the folder cannot be created.
    writeFile(dir_.path() + "config", "a file");
    EXPECT_FALSE(desktop.setAutostart(true, "/usr/bin/tarvolin", &err, &text, &step));
    EXPECT_EQ(step, AutostartFailure::Opening);
    EXPECT_EQ(err, ENOTDIR);
    EXPECT_EQ(text, std::strerror(ENOTDIR));
    EXPECT_FALSE(desktop.autostartExists());

    // The entry's name is taken by a folder: it cannot be written, and no
    // temporary file is left behind.
    ::unlink((dir_.path() + "config").c_str());
    dir_.makeDir("config/autostart/tarvolin.desktop/inside");
    EXPECT_FALSE(desktop.setAutostart(true, "/usr/bin/tarvolin", &err, &text, &step));
    EXPECT_EQ(step, AutostartFailure::Setting);
    EXPECT_NE(err, 0);
    EXPECT_EQ(text, std::strerror(err));
    EXPECT_FALSE(exists(dir_.path() + "config/autostart/tarvolin.desktop.tmp"));

    // ... nor removed.
    EXPECT_FALSE(desktop.setAutostart(false, "/usr/bin/tarvolin", &err, &text, &step));
    EXPECT_EQ(step, AutostartFailure::Opening);
    EXPECT_NE(err, 0);
}

// ---- Opening URLs

TEST(DesktopOpen, WhitelistLetsThroughWebMailAndExistingLocalPlaces) {
    TempDir dir;
    const std::string file = dir.file("Ωδή σε μένα.mp3");
    writeFile(file, "x");
    const std::string folder = dir.makeDir("Φάκελος");

    EXPECT_TRUE(isOpenable("http://example.org/"));
    EXPECT_TRUE(isOpenable("https://example.org/search?q=%CE%91"));
    EXPECT_TRUE(isOpenable("HTTPS://example.org"));
    EXPECT_TRUE(isOpenable("mailto:list@example.org?subject=Tarvolin_Media_Player_5.0"));
    EXPECT_TRUE(isOpenable(file));
    EXPECT_TRUE(isOpenable(folder));
    EXPECT_TRUE(isOpenable("file://" + dir.path() + percentEncodeUtf8("Ωδή σε μένα.mp3")));
    EXPECT_TRUE(isOpenable("file://localhost" + file));

    EXPECT_FALSE(isOpenable(""));
    EXPECT_FALSE(isOpenable("http://"));
    EXPECT_FALSE(isOpenable("mailto:"));
    EXPECT_FALSE(isOpenable("javascript:alert(1)"));
    EXPECT_FALSE(isOpenable("ftp://example.org/file"));
    EXPECT_FALSE(isOpenable("smb://server/share"));
    EXPECT_FALSE(isOpenable("C:\\Music\\a.mp3"));
    EXPECT_FALSE(isOpenable("relative/path.mp3"));
    EXPECT_FALSE(isOpenable(dir.file("missing.mp3")));
    EXPECT_FALSE(isOpenable("file://" + dir.file("missing.mp3")));
    EXPECT_FALSE(isOpenable("/dev/null"));                          // not a file or folder
    EXPECT_FALSE(isOpenable("https://example.org/\nrm -rf"));       // control characters
    EXPECT_FALSE(isOpenable("file://" + file + "%00.txt"));         // encoded NUL
}

TEST(DesktopOpen, LinuxDesktopRefusesBeforeTheOpenerAndGivesItUris) {
    TempDir dir;
    dir.makeDir("a folder");
    const std::string file = dir.file("a folder/b c.mp3");
    writeFile(file, "x");

    std::vector<std::string> opened;
    DesktopHooks hooks;
    hooks.openUrl = [&opened](const std::string& url) {
        opened.push_back(url);
        return true;
    };
    LinuxDesktop desktop(hooks);

    EXPECT_FALSE(desktop.openUrl("javascript:alert(1)"));
    EXPECT_FALSE(desktop.openUrl(dir.file("nothing.htm")));
    EXPECT_FALSE(desktop.lastError().empty());
    EXPECT_TRUE(opened.empty());

    EXPECT_TRUE(desktop.openUrl("https://example.org/?q=" + percentEncodeUtf8("Μίκης")));
    EXPECT_TRUE(desktop.openUrl(file));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "https://example.org/?q=%CE%9C%CE%AF%CE%BA%CE%B7%CF%82");
    EXPECT_EQ(opened[1], "file://" + dir.path() + "a%20folder/b%20c.mp3");
}

// ---- Links

TEST(DesktopLinks, SearchTextIsPercentEncodedAsUtf8) {
    EXPECT_EQ(percentEncodeUtf8("Θεοδωράκης"),
              "%CE%98%CE%B5%CE%BF%CE%B4%CF%89%CF%81%CE%AC%CE%BA%CE%B7%CF%82");
    EXPECT_EQ(percentEncodeUtf8("Άρνηση - Νίκος"), "%CE%86%CF%81%CE%BD%CE%B7%CF%83%CE%B7%20-%20%CE%9D%CE%AF%CE%BA%CE%BF%CF%82");
    EXPECT_EQ(percentEncodeUtf8("A-z_0.9~"), "A-z_0.9~");
    EXPECT_EQ(percentEncodeUtf8("a&b=c?d/e f+g#h%"), "a%26b%3Dc%3Fd%2Fe%20f%2Bg%23h%25");
    EXPECT_EQ(percentEncodeUtf8(""), "");

    const std::string text = "Μη διαθέσιμο - Not avaible";
    EXPECT_EQ(percentDecode(percentEncodeUtf8(text)), text);
    // Malformed escapes are kept as they stand.
    EXPECT_EQ(percentDecode("100%"), "100%");
    EXPECT_EQ(percentDecode("%zz%4"), "%zz%4");
    EXPECT_EQ(percentDecode("%ce%91"), "Α");
}

// ---- Help page

TEST(DesktopHelp, HelpPageIsFoundInProgramFolderThenBesideTheExecutableThenShare) {
    TempDir dir;
    const std::string app = dir.makeDir("app");
    const std::string bin = dir.makeDir("prefix/bin");
    const std::string share = dir.makeDir("prefix/share/tarvolin");
    const std::string xdg = dir.makeDir("xdg/tarvolin");

    const char* old = std::getenv("XDG_DATA_DIRS");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_DIRS", (dir.path() + "nowhere:relative:" + dir.path() + "xdg").c_str(), 1);

    EXPECT_EQ(findHelpPage(app, bin), "");
    writeFile(xdg + kHelpPageName, "x");
    EXPECT_EQ(findHelpPage(app, bin), xdg + kHelpPageName);
    writeFile(share + kHelpPageName, "x");
    EXPECT_EQ(findHelpPage(app, bin), bin + "../share/tarvolin/" + kHelpPageName);
    writeFile(bin + kHelpPageName, "x");
    EXPECT_EQ(findHelpPage(app, bin), bin + kHelpPageName);
    writeFile(app + kHelpPageName, "x");
    EXPECT_EQ(findHelpPage(app, bin), app + kHelpPageName);
    // Without the trailing "/" too.
    EXPECT_EQ(findHelpPage(dir.path() + "app", bin), app + kHelpPageName);
    // A folder of that name is not the page.
    EXPECT_EQ(findHelpPage(dir.makeDir("other"), ""), xdg + kHelpPageName);
    dir.makeDir("dironly/" + std::string(kHelpPageName));
    EXPECT_EQ(findHelpPage(dir.path() + "dironly/", ""), xdg + kHelpPageName);

    if (old) {
        ::setenv("XDG_DATA_DIRS", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_DIRS");
    }
}

}  // namespace
}  // namespace tarvolin

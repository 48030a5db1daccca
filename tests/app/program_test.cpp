// A Program on its program folder, its services and the choice of the
// program folder for an installed or a portable executable.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/program_harness.h"

namespace tarvolin {
namespace {

// Sets an environment variable for the length of a test.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~EnvVar() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

bool isFolder(const std::string& p) { return std::filesystem::is_directory(p); }

class NoLibrary : public PlaylistCollection {
public:
    std::vector<std::shared_ptr<LibraryPlaylist>> getByName(const std::string&) override { return {}; }
    std::shared_ptr<LibraryPlaylist> newPlaylist(const std::string& name) override {
        return std::make_shared<MemoryPlaylist>(name);
    }
};

TEST(ProgramFolder, AlwaysEndsInOneSlash) {
    ProgramHarness h(false);
    std::string bare = h.folder.path();
    bare.pop_back();
    Program p1(h.services(), bare);
    EXPECT_EQ(p1.AppFolder(), h.folder.path());
    EXPECT_EQ(p1.state.AppFolder, h.folder.path());

    Program p2(h.services(), h.folder.path());
    EXPECT_EQ(p2.AppFolder(), h.folder.path());
}

TEST(ProgramFolder, EmptyFolderTakesTheExecutablesFolder) {
    ProgramHarness h(false);
    Services s = h.services();
    s.executablePath = h.folder.file("bin/tarvolin");
    h.folder.makeDir("bin");
    Program p(s, "");
    EXPECT_EQ(p.AppFolder(), h.folder.path() + "bin/");
    EXPECT_EQ(p.executablePath(), h.folder.file("bin/tarvolin"));
}

TEST(DefaultAppFolder, IsTheExecutablesFolderWhenItIsWritable) {
    TempDir t;
    EXPECT_EQ(defaultAppFolder(t.file("tarvolin")), t.path());
    t.makeDir("opt/tarvolin");
    EXPECT_EQ(defaultAppFolder(t.file("opt/tarvolin/tarvolin")), t.path() + "opt/tarvolin/");
}

TEST(DefaultAppFolder, AtTheRootIsASingleSlash) {
    if (access("/", W_OK | X_OK) != 0) GTEST_SKIP() << "the root folder is not writable here";
    EXPECT_EQ(defaultAppFolder("/tarvolin"), "/");
}

TEST(DefaultAppFolder, OtherwiseTheUsersDataFolderWhichIsCreated) {
    TempDir t;
    EnvVar xdg("XDG_DATA_HOME", t.path() + "data");
    const std::string expected = t.path() + "data/tarvolin/";
    // The executable's folder does not exist (nor can it be written).
    EXPECT_EQ(defaultAppFolder(t.file("missing/bin/tarvolin")), expected);
    EXPECT_TRUE(isFolder(expected));
    // No executable path at all.
    EXPECT_EQ(defaultAppFolder(""), expected);
}

TEST(DefaultAppFolder, AFolderTheDefaultFileCannotNameIsPassedOver) {
    TempDir t;
    EnvVar xdg("XDG_DATA_HOME", t.path() + "data");
    // Writable, but a newline in its name would split the default file's
    // first line.
    t.makeDir("two\nlines");
    EXPECT_EQ(defaultAppFolder(t.file("two\nlines/tarvolin")), t.path() + "data/tarvolin/");
}

TEST(DefaultAppFolder, WithoutXdgDataHomeTheHomesLocalShare) {
    TempDir t;
    EnvVar home("HOME", t.path() + "home");
    for (std::optional<std::string> value : {std::optional<std::string>(), std::optional<std::string>(""),
                                             std::optional<std::string>("relative/data")}) {
        EnvVar xdg("XDG_DATA_HOME", value);
        const std::string folder = defaultAppFolder(t.file("missing/tarvolin"));
        EXPECT_EQ(folder, t.path() + "home/.local/share/tarvolin/") << value.value_or("(unset)");
        EXPECT_TRUE(isFolder(folder));
    }
}

TEST(ProgramServices, AreTheOnesItWasBuiltOn) {
    ProgramHarness h;
    Program& p = *h;
    // The program's own code yields through them.
    h.loop.advance(5);
    EXPECT_EQ(p.loop().tickCount(), 5);
    p.dialogs().MsgBox("?");
    EXPECT_EQ(h.dialogs.calls("MsgBox").size(), 1u);
    EXPECT_EQ(&p.engines(), &h.engines);
    EXPECT_EQ(&p.mediaReader(), &h.media);
    EXPECT_EQ(&p.desktop(), &h.desktop);
    EXPECT_EQ(&p.tray(), &h.tray);
    EXPECT_EQ(p.playerLibrary(), nullptr);
    // The subsystems belong to this program.
    EXPECT_EQ(&p.playback.app, &p);
    EXPECT_EQ(&p.media.app, &p);
    EXPECT_EQ(&p.library.app, &p);
    EXPECT_EQ(&p.windows.app, &p);
}

TEST(ProgramServices, ThePlayerLibraryIsMadeInTheProgramFolder) {
    ProgramHarness h(false);
    std::string askedFolder;
    int made = 0;
    Services s = h.services();
    s.makeLibrary = [&](const std::string& folder) -> std::unique_ptr<PlaylistCollection> {
        askedFolder = folder;
        ++made;
        return std::make_unique<NoLibrary>();
    };
    Program& p = h.build(s);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(askedFolder, h.folder.path() + "tarvolin_library/");
    ASSERT_NE(p.playerLibrary(), nullptr);
    EXPECT_EQ(p.Form1.WindowsMediaPlayer2.playlistCollection(), p.playerLibrary());
}

TEST(ProgramServices, EachProgramDrawsTheSameUnseededSequence) {
    ProgramHarness a, b;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(a->random.Rnd(), b->random.Rnd());
    // Drawing in one program does not move the other's generator.
    const float next = a->random.Rnd();
    EXPECT_EQ(b->random.Rnd(), next);
}

}  // namespace
}  // namespace tarvolin

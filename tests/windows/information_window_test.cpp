// The information window: the picture drawn at random, the window fitted to
// it, the looping animation, the closing theme after the button, the link.
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "playback/playback_fixture.h"

namespace tarvolin {
namespace {

class InformationTest : public PlaybackTest {
protected:
    Form3& w() { return app().Form3; }

    int pictureNumber() {
        const std::string& p = w().Image3.Picture();
        EXPECT_EQ(p.rfind("custom/", 0), 0u) << p;
        return std::stoi(p.substr(7));
    }

    // The frames shown during `ticks` timer ticks.
    std::vector<int> framesOver(int ticks) {
        std::vector<int> frames;
        for (int i = 0; i < ticks && w().Visible(); ++i) {
            h.loop.advance(100);
            frames.push_back(std::stoi(w().Picture3.Picture()));
        }
        return frames;
    }
};

std::vector<int> range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

TEST_F(InformationTest, OpeningFitsTheWindowToThePictureAndCentresIt) {
    h.desktop.screen = {1024, 768};
    f().mnu_info2[2].click();
    ASSERT_TRUE(w().Visible());
    // The window is the picture: no band below it or at its right.
    const int width = 360 * 15, height = 270 * 15;
    EXPECT_EQ(w().Image3.Left(), 0);
    EXPECT_EQ(w().Image3.Top(), 0);
    EXPECT_EQ(w().Image3.Width(), width);
    EXPECT_EQ(w().Image3.Height(), height);
    EXPECT_EQ(w().Width(), width);
    EXPECT_EQ(w().Height(), height);
    EXPECT_EQ(w().Left(), (1024 * 15 - width) / 2);
    EXPECT_EQ(w().Top(), (768 * 15 - height) / 2);
    // The controls keep their places on the picture.
    EXPECT_EQ(w().Command1.Top(), height - 600);
    EXPECT_EQ(w().Command1.Left(), width - 1920);
    EXPECT_EQ(w().Picture3.Top(), height - 600 - 1600);
    EXPECT_EQ(w().Picture3.Left(), width - 1920 - 120);
    EXPECT_EQ(w().Label1.Left(), 150);
    EXPECT_EQ(w().Label1.Top(), height - 600 + 100);
    EXPECT_EQ(w().Label2.Top(), 200);
    EXPECT_EQ(w().Label2.Left(), width - 2920);
    EXPECT_EQ(w().Picture1.Left(), 200);
    EXPECT_EQ(w().Picture1.Top(), 200);
    EXPECT_TRUE(w().Timer1.Enabled());
    EXPECT_EQ(w().Timer1.Interval(), 100);
}

TEST_F(InformationTest, TheWaitingLoopRepeatsAndTheLinkBlinks) {
    f().mnu_info2[2].click();
    std::vector<std::int64_t> colours;
    w().Label1.changed.listen([&](Property what) {
        if (what == Property::ForeColor) colours.push_back(w().Label1.ForeColor());
    });
    std::vector<int> expected = range(121, 137);
    std::vector<int> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(framesOver(34), twice);
    ASSERT_EQ(colours.size(), 34u);
    for (std::size_t i = 0; i < colours.size(); ++i) EXPECT_EQ(colours[i], i % 2 == 0 ? 0xFF00FF : 0xFF0000);

    // Showing it again while it is open changes nothing.
    const std::string picture = w().Image3.Picture();
    f().mnu_info2[2].click();
    EXPECT_EQ(w().Image3.Picture(), picture);
}

TEST_F(InformationTest, AfterTheButtonTheThemePlaysOnceAndTheWindowCloses) {
    struct Theme {
        int number, first, last;
    };
    for (const Theme& t : {Theme{1, 138, 158}, Theme{0, 159, 168}, Theme{2, 169, 187}}) {
        f().mnu_info2[2].click();
        framesOver(5);
        app().windows.AnimationTheme = t.number;
        w().Command1.Click.raise();
        EXPECT_EQ(framesOver(100), range(t.first, t.last)) << "theme " << t.number;
        EXPECT_FALSE(w().Visible());
        EXPECT_FALSE(w().Timer1.Enabled());
    }
}

TEST_F(InformationTest, EachOpeningDrawsAPictureAndATheme) {
    std::set<int> themes, kinds;
    std::map<int, int> themeCounts;
    for (int n = 0; n < 60; ++n) {
        f().mnu_info2[2].click();
        const int id = pictureNumber();
        const int theme = app().windows.AnimationTheme;
        themes.insert(theme);
        ++themeCounts[theme];
        if (w().Picture1.Visible()) {
            kinds.insert(1);
            EXPECT_GE(id, 120);
            EXPECT_LE(id, 123);
            // The small picture stretched over the whole box.
            ASSERT_EQ(w().Picture1.paintings().size(), 1u);
            const auto& p = w().Picture1.paintings()[0];
            EXPECT_TRUE(p.picture == "custom/125" || p.picture == "custom/126") << p.picture;
            EXPECT_EQ(p.x, 0);
            EXPECT_EQ(p.y, 0);
            EXPECT_EQ(p.width, w().Picture1.ScaleWidth());
            EXPECT_EQ(p.height, w().Picture1.ScaleHeight());
        } else {
            kinds.insert(0);
            EXPECT_GE(id, 85);
            EXPECT_LE(id, 119);
        }
        // Closed by the user: the animation stops.
        ASSERT_TRUE(w().requestUnload(0));
        EXPECT_FALSE(w().Timer1.Enabled());
    }
    EXPECT_EQ(themes, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(kinds, (std::set<int>{0, 1}));
    // The middle theme comes about twice as often as either other.
    EXPECT_GT(themeCounts[1], themeCounts[0]);
    EXPECT_GT(themeCounts[1], themeCounts[2]);
}

TEST_F(InformationTest, TheLinkOpensTheProgramsPage) {
    f().mnu_info2[2].click();
    w().Label1.Click.raise();
    ASSERT_EQ(h.desktop.requestedUrls.size(), 1u);
    EXPECT_EQ(h.desktop.requestedUrls[0].rfind("http", 0), 0u);
}

TEST_F(InformationTest, DataResourcesAreWrittenOnlyWhereNoFileIs) {
    SecondaryWindows& windows = app().windows;
    const std::string file = h.folder.path() + "tmp.jpg";
    EXPECT_FALSE(windows.LoadDataIntoFile("85", file));
    EXPECT_FALSE(std::filesystem::exists(file));

    windows.dataResource = [](const std::string& name, std::string& bytes) {
        if (name != "85") return false;
        bytes = std::string("\xFF\xD8\x00picture", 10);
        return true;
    };
    EXPECT_FALSE(windows.LoadDataIntoFile("86", file));
    ASSERT_TRUE(windows.LoadDataIntoFile("85", file));
    std::ifstream in(file, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, std::string("\xFF\xD8\x00picture", 10));

    // An existing file is left as it is.
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "mine";
    }
    EXPECT_FALSE(windows.LoadDataIntoFile("85", file));
    std::ifstream again(file);
    std::string kept;
    again >> kept;
    EXPECT_EQ(kept, "mine");
}

}  // namespace
}  // namespace tarvolin

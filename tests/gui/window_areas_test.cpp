// Areas of the real windows over a whole Program: the video window's player
// fills the window, and the album art goes from both windows with the file
// that is let go.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>

#include <string>

#include "gui_program.h"

namespace tarvolin {
namespace {

using testing::guiApp;
using testing::GuiProgram;

// Pixels of a widget's picture close to the colour c.
int pixelsLike(QWidget* w, QColor c) {
    const QImage img = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) < 60) ++n;
        }
    return n;
}

TEST(WindowAreas, TheVideoWindowsPlayerFillsTheClientArea) {
    guiApp();
    GuiProgram gp;
    Form2& form = gp.program.Form2;
    // The saved size, 9000 twips high and 6000 wide.
    gp.program.state.VideoWidth = 9000;
    gp.program.state.VideoHeight = 6000;
    form.Show();
    gp.loop.DoEvents();
    QWidget* player = gp.view(form).widget("WindowsMediaPlayer1");
    ASSERT_NE(player, nullptr);
    QWidget* client = player->parentWidget();
    EXPECT_EQ(client->size(), QSize(400, 600));
    EXPECT_EQ(player->geometry(), client->rect());

    // The user resizes the window: the model keeps its player to the size
    // the form's design leaves; the picture still fills the window.
    gp.view(form).window()->resize(500, 333);
    gp.loop.DoEvents();
    EXPECT_EQ(client->size(), QSize(500, 333));
    EXPECT_EQ(player->geometry(), client->rect());
    EXPECT_LT(form.WindowsMediaPlayer1.Width() / 15, 500);
    // Smaller than the design's caption allowance: the model's player stays
    // empty from one size to the next, the picture still fills the window.
    for (QSize small : {QSize(12, 30), QSize(14, 33)}) {
        gp.view(form).window()->resize(small);
        gp.loop.DoEvents();
        EXPECT_EQ(player->geometry(), client->rect()) << small.width();
    }
    EXPECT_EQ(form.WindowsMediaPlayer1.Width(), 0);
}

TEST(WindowAreas, LettingGoOfThePlayingFileEmptiesTheAlbumArtOfBothWindows) {
    guiApp();
    GuiProgram gp;
    Program& p = gp.program;
    // A red picture beside the track.
    const std::string folder = gp.dir.path() + "/album/";
    std::filesystem::create_directories(folder);
    QImage art(64, 64, QImage::Format_RGB32);
    art.fill(Qt::red);
    ASSERT_TRUE(art.save(QString::fromStdString(folder + "Folder.jpg")));
    const std::string track = folder + "track.mp3";
    p.collection.d.InfoFile = track;
    p.collection.d.CurrentFile = track;
    p.media.Show_Album_Art();
    p.Form1.Show();
    p.Form4.Show();
    gp.loop.DoEvents();
    QWidget* main = gp.view(p.Form1).widget("Picture1");
    QWidget* compact = gp.view(p.Form4).widget("Picture1", 0);
    ASSERT_TRUE(main && compact);
    EXPECT_GT(pixelsLike(main, Qt::red), main->width() * main->height() / 2);
    EXPECT_GT(pixelsLike(compact, Qt::red), compact->width() * compact->height() / 2);

    std::int32_t failed = 0;
    p.media.Operate_On_Playing_File(track, failed, "never_existed_non_existing.mp3");
    gp.loop.DoEvents();
    EXPECT_EQ(pixelsLike(main, Qt::red), 0);
    EXPECT_EQ(pixelsLike(compact, Qt::red), 0);
}

}  // namespace
}  // namespace tarvolin

// Pictures of every window for looking at the layout (tools/screenshot.sh
// runs this on a virtual display; not part of the normal run).
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>

#include <cstdlib>

#include "app/program.h"
#include "gui/program_views.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_message_loop.h"
#include "gui_app.h"
#include "platform/sim_engine.h"
#include "support/fake_desktop.h"
#include "support/fake_media.h"
#include "support/fake_tray.h"
#include "support/temp_dir.h"

namespace tarvolin {
namespace {

TEST(WindowPictures, DISABLED_SaveEveryWindow) {
    testing::guiApp();
    const char* out = std::getenv("TARVOLIN_SHOT_DIR");
    ASSERT_TRUE(out && *out) << "TARVOLIN_SHOT_DIR names the folder for the pictures";
    QDir().mkpath(out);
    TempDir dir;
    QtMessageLoop loop;
    QtDialogs dialogs;
    FakeMediaReader media;
    SimEngineFactory engines(loop, &media);
    FakeDesktop desktop;
    FakeTray tray;
    Program p(Services{loop, dialogs, engines, media, desktop, tray, {}, {}, "/usr/bin/tarvolin"}, dir.path());
    auto views = createViews(p);
    for (int i = 0; i < 40; ++i) {
        p.Form1.List2.AddItem("/home/user/Music/Artist " + std::to_string(i % 7) + "/Track " + std::to_string(i) + ".mp3");
        p.Form1.List3_0[0].AddItem(std::to_string(i + 1));
        p.Form1.List3_0[1].AddItem("S");
        p.Form1.List3_0[2].AddItem("00:03:25");
        p.Form1.List3_0[3].AddItem("4.1");
        p.Form1.List3_0[4].AddItem("125");
    }
    for (auto& v : views) {
        v->form().Show();
        loop.wait(700);
        const QString file = QString(out) + "/" + QString::fromStdString(v->name()) + ".png";
        EXPECT_TRUE(v->window()->grab().save(file)) << file.toStdString();
        if (v->name() == "Form1") {
            for (int page = 1; page < p.Form1.MultiPage1.PageCount(); ++page) {
                p.Form1.MultiPage1.setValue(page);
                loop.wait(300);
                v->window()->grab().save(QString(out) + "/Form1_page" + QString::number(page) + ".png");
            }
            p.Form1.MultiPage1.setValue(0);
        }
        v->form().Hide();
    }
    for (auto& v : views) v->releaseVideo();
}

}  // namespace
}  // namespace tarvolin

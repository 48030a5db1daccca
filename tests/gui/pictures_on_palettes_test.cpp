// The program's pictures and coloured texts on the palettes of the desktop:
// under a light palette and a dark one, each stands out of what it is drawn
// on (pictures by 3:1 at their edge, texts by 4.5:1); on a screen of two
// device pixels a point, the pictures are drawn from their larger drawings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "gui/pictures.h"
#include "gui_program.h"

namespace tarvolin {
namespace {

using testing::GuiProgram;

// A dark colour scheme as the usual Qt theme tool ships it.
QPalette darkPalette() {
    QPalette p;
    const std::pair<QPalette::ColorRole, const char*> colours[] = {
        {QPalette::WindowText, "#ffffff"}, {QPalette::Button, "#424245"},   {QPalette::Light, "#979797"},
        {QPalette::Midlight, "#5e5c5b"},   {QPalette::Dark, "#302f2e"},     {QPalette::Mid, "#4a4947"},
        {QPalette::Text, "#ffffff"},       {QPalette::BrightText, "#ffffff"}, {QPalette::ButtonText, "#ffffff"},
        {QPalette::Base, "#3d3d3d"},       {QPalette::Window, "#222020"},   {QPalette::Shadow, "#e7e4e0"},
        {QPalette::Highlight, "#12608a"},  {QPalette::HighlightedText, "#f9f9f9"}};
    for (const auto& [role, colour] : colours) p.setColor(role, QColor(colour));
    return p;
}

QRgb mostFrequent(const QImage& img) {
    QHash<QRgb, int> count;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ++count[img.pixel(x, y) | 0xFF000000u];
    return std::max_element(count.begin(), count.end(), [](int a, int b) { return a < b; }).key();
}

double contrast(QRgb a, QRgb b) { return contrastRatio(QColor(a), QColor(b)); }

// A text: its strongest pixel against the background around it.
double textContrast(const QImage& img) {
    const QRgb back = mostFrequent(img);
    double best = 1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) best = std::max(best, contrast(img.pixel(x, y), back));
    return best;
}

// A picture: along every row and column, from each end, where it begins to
// differ from the background, the strongest of its first three pixels; the
// median of those edges.
double edgeContrast(const QImage& img) {
    const QRgb back = mostFrequent(img);
    std::vector<double> edges;
    auto scan = [&](int n, const std::function<QRgb(int)>& at) {
        for (int from : {0, n - 1}) {
            const int step = from == 0 ? 1 : -1;
            for (int i = from; i >= 0 && i < n; i += step) {
                if (contrast(at(i), back) < 1.2) continue;
                double best = 1;
                for (int k = i; k != i + 3 * step && k >= 0 && k < n; k += step) best = std::max(best, contrast(at(k), back));
                edges.push_back(best);
                break;
            }
        }
    };
    for (int y = 0; y < img.height(); ++y) scan(img.width(), [&](int x) { return img.pixel(x, y); });
    for (int x = 0; x < img.width(); ++x) scan(img.height(), [&](int y) { return img.pixel(x, y); });
    if (edges.empty()) return 1;
    std::nth_element(edges.begin(), edges.begin() + static_cast<long>(edges.size() / 2), edges.end());
    return edges[edges.size() / 2];
}

QRect around(QWidget* w, QWidget* window, int margin) {
    return QRect(w->mapTo(window, QPoint()), w->size()).adjusted(-margin, -margin, margin, margin);
}

// The square of a button's picture, with a little of the face around it.
QRect iconOf(QAbstractButton* b, QWidget* window) {
    const QSize s = b->iconSize() + QSize(6, 6);
    return QRect(b->mapTo(window, b->rect().center() - QPoint(s.width() / 2, s.height() / 2)), s);
}

struct Case {
    const char* what;
    std::function<void(Program&)> set;                  // the model's state
    std::function<QRect(FormView&, QWidget*)> region;  // what to look at in the main window
    bool text;
};

std::vector<Case> cases() {
    auto button = [](FormView& v, QWidget* w) { return iconOf(qobject_cast<QAbstractButton*>(v.widget("Command11")), w); };
    auto transport = [button](const char* what, const char* key) {
        return Case{what, [key](Program& p) { p.Form1.Command11.setPicture(key); }, button, false};
    };
    auto stars = [](const char* what, const char* key) {
        return Case{what, [key](Program& p) { p.Form1.Picture2.setPicture(key); },
                    [](FormView& v, QWidget* w) {
                        // The top star, the picture's top left corner.
                        QWidget* box = v.widget("Picture2");
                        return QRect(box->mapTo(w, QPoint()), QSize(28, box->height())).adjusted(-3, -3, 3, 0);
                    },
                    false};
    };
    auto bar = [](const char* what, const char* key) {
        // Without the frame around it, straight on the window.
        return Case{what,
                    [key](Program& p) {
                        p.Form1.Label21[2].setBorderStyle(0);
                        p.Form1.Label21[2].setPicture(key);
                    },
                    [](FormView& v, QWidget* w) { return around(v.widget("Label21", 2), w, 1); }, false};
    };
    auto label = [](const char* what, const char* name, std::int64_t back) {
        return Case{what,
                    [name, back](Program& p) {
                        (std::string(name) == "Label9" ? p.Form1.Label9 : p.Form1.Label10)[2].setBackColor(back);
                    },
                    [name](FormView& v, QWidget* w) {
                        auto* l = qobject_cast<QLabel*>(v.widget(name, 2));
                        return QRect(l->mapTo(w, l->contentsRect().topLeft()), l->contentsRect().size()).adjusted(1, 1, -1, -1);
                    },
                    true};
    };
    return {
        transport("transport: play", "play"),
        transport("transport: pause", "pause"),
        transport("transport: stop", "stop"),
        {"preview player: play and pause",
         [](Program&) {},
         [](FormView&, QWidget* w) {
             for (auto* b : w->findChildren<QPushButton*>())
                 if (b->objectName().endsWith("_play") && b->isVisibleTo(w)) return around(b, w, 0);
             return QRect();
         },
         false},
        label("class counts", "Label9", 0x80000016),
        label("class counts of the track's class", "Label9", 0x80000002),
        label("class name of the track's class", "Label10", 0x80000002),
        stars("stars: none, dark set", "101"),
        stars("stars: none, light set", "102"),
        stars("stars: S, blue set", "119"),
        stars("stars: S, gold set", "120"),
        bar("class bar: unmarked, light", "600"),
        bar("class bar: unmarked, dark", "601"),
        bar("class bar: gold", "602"),
        bar("class bar: black blue", "604"),
        bar("class bar: S", "619"),
    };
}

// The main window of a program that has started, as the user first sees it.
FormView& startedMainWindow(GuiProgram& gp) {
    gp.program.Form1.Load.raise();
    gp.program.Form1.Show();
    gp.loop.wait(100);
    return gp.view(gp.program.Form1);
}

TEST(PicturesOnPalettes, PicturesAndColouredTextsStandOutOnLightAndDarkPalettes) {
    testing::guiApp();
    const QPalette original = QApplication::palette();
    const std::pair<const char*, QPalette> palettes[] = {{"light", QApplication::style()->standardPalette()},
                                                         {"dark", darkPalette()}};
    for (const auto& [name, palette] : palettes) {
        QApplication::setPalette(palette);
        GuiProgram gp;
        Program& p = gp.program;
        FormView& view = startedMainWindow(gp);
        for (const Case& c : cases()) {
            c.set(p);
            gp.loop.wait(20);
            const QRect r = c.region(view, view.window());
            ASSERT_FALSE(r.isEmpty()) << c.what;
            const QImage img = view.window()->grab(r).toImage();
            const double ratio = c.text ? textContrast(img) : edgeContrast(img);
            EXPECT_GE(ratio, c.text ? 4.5 : 3.0) << name << " palette, " << c.what;
        }
        // The texts that the information window draws on its picture: the
        // address, in both its link colours, and the motto.
        p.Form3.Show();
        FormWindow* info = gp.view(p.Form3).window();
        for (int tick = 0; tick < 2; ++tick) {
            gp.loop.wait(100);
            for (const char* text : {"Label1", "Label2"}) {
                QLabel* l = qobject_cast<QLabel*>(gp.view(p.Form3).widget(text));
                EXPECT_GE(textContrast(info->grab(around(l, info, 0)).toImage()), 4.5)
                    << name << " palette, information window " << text << ", tick " << tick;
            }
        }
        p.Form3.Hide();
    }
    QApplication::setPalette(original);
}

// Blocks of two by two device pixels, one point each, that are not of one
// colour: none where a picture of one pixel a point was doubled.
int finerThanAPoint(const QImage& img) {
    int n = 0;
    for (int y = 0; y + 1 < img.height(); y += 2)
        for (int x = 0; x + 1 < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            if (img.pixel(x + 1, y) != c || img.pixel(x, y + 1) != c || img.pixel(x + 1, y + 1) != c) ++n;
        }
    return n;
}

// Run with QT_SCALE_FACTOR=2 (a ctest entry of its own does).
TEST(SharpPictures, ScreensOfTwoDevicePixelsAPointGetTheLargerDrawings) {
    testing::guiApp();
    if (qApp->devicePixelRatio() != 2) GTEST_SKIP() << "needs a screen of two device pixels a point";
    GuiProgram gp;
    Program& p = gp.program;
    FormView& view = startedMainWindow(gp);
    // A picture box shows its picture at its own size from its corner.
    for (const char* key : {"120", "fallback_art", "121", "splash"}) {
        p.Form1.Picture2.setPicture(key);
        gp.loop.wait(20);
        const QImage img = view.widget("Picture2")->grab().toImage();
        ASSERT_EQ(img.devicePixelRatio(), 2);
        EXPECT_GT(finerThanAPoint(img), 10) << key;
    }
    // The transport button's icon and a class bar's label hold the larger drawing.
    for (const char* key : {"play", "pause", "stop"}) {
        p.Form1.Command11.setPicture(key);
        auto* button = qobject_cast<QAbstractButton*>(view.widget("Command11"));
        EXPECT_EQ(button->icon().pixmap(button->iconSize(), 2).size(), button->iconSize() * 2) << key;
    }
    p.Form1.Label21[2].setPicture("602");
    EXPECT_EQ(qobject_cast<QLabel*>(view.widget("Label21", 2))->pixmap().devicePixelRatio(), 2);
}

}  // namespace
}  // namespace tarvolin

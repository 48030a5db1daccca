// The Qt message loop: timers, posted calls and waits on Qt's event loop.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QStringList>

#include <atomic>
#include <thread>

#include "gui/qt_message_loop.h"
#include "gui_app.h"
#include "toolkit/controls.h"

namespace tarvolin {
namespace {

using testing::guiApp;

TEST(QtLoop, TimerRaisesItsEventAndIsNotReentered) {
    guiApp();
    QtMessageLoop loop;
    Timer t;
    t.setLoop(&loop);
    int fired = 0, depth = 0, maxDepth = 0;
    t.TimerEvent = [&] {
        ++fired;
        maxDepth = std::max(maxDepth, ++depth);
        if (fired == 1) loop.wait(60);  // serves events while the handler runs
        --depth;
    };
    t.setInterval(10);
    t.setEnabled(true);
    EXPECT_EQ(loop.armedTimers(), 1);
    const auto start = loop.tickCount();
    while (fired < 3 && loop.tickCount() - start < 5000) loop.wait(5);
    EXPECT_GE(fired, 3);
    EXPECT_EQ(maxDepth, 1);

    t.setEnabled(false);
    EXPECT_EQ(loop.armedTimers(), 0);
    const int before = fired;
    loop.wait(40);
    EXPECT_EQ(fired, before);
}

TEST(QtLoop, TimerDisarmedInsideItsOwnHandler) {
    guiApp();
    QtMessageLoop loop;
    Timer t;
    t.setLoop(&loop);
    int fired = 0;
    t.TimerEvent = [&] {
        ++fired;
        t.setEnabled(false);
    };
    t.setInterval(5);
    t.setEnabled(true);
    loop.wait(60);
    EXPECT_EQ(fired, 1);
}

TEST(QtLoop, PostedCallsFromOtherThreadsRunOnTheLoopInOrder) {
    guiApp();
    QtMessageLoop loop;
    std::vector<int> order;
    std::atomic<bool> done{false};
    const auto mainId = std::this_thread::get_id();
    bool onMain = true;
    std::thread worker([&] {
        for (int i = 0; i < 5; ++i)
            loop.post([&, i] {
                order.push_back(i);
                onMain = onMain && std::this_thread::get_id() == mainId;
            });
        done = true;
    });
    worker.join();
    loop.DoEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(onMain);

    // postAt: due calls run in tick order, ties in the order queued.
    std::vector<int> due;
    const auto now = loop.tickCount();
    loop.postAt(now + 30, [&] { due.push_back(3); });
    loop.postAt(now + 10, [&] { due.push_back(1); });
    loop.postAt(now + 10, [&] { due.push_back(2); });
    loop.postAt(now - 5, [&] { due.push_back(0); });
    loop.wait(80);
    EXPECT_EQ(due, (std::vector<int>{0, 1, 2, 3}));
}

TEST(QtLoop, WaitLastsAtLeastItsTime) {
    guiApp();
    QtMessageLoop loop;
    const auto start = loop.tickCount();
    loop.wait(30);
    EXPECT_GE(loop.tickCount() - start, 30);
    const DateTime d = loop.now();
    EXPECT_GE(d.year, 2020);
    EXPECT_GE(d.weekday, 0);
    EXPECT_LE(d.weekday, 6);
}

// A label that notes the text of each of its paints.
class PaintedLabel final : public QLabel {
public:
    using QLabel::QLabel;
    QStringList painted;

protected:
    void paintEvent(QPaintEvent* e) override {
        painted.push_back(text());
        QLabel::paintEvent(e);
    }
};

// A long operation yields after every file and sets a status text each
// time: the window repaints at a bounded rate whatever the number of
// yields, and still comes to show the last text.
TEST(QtLoop, YieldsRepaintAtABoundedRateAndShowTheLastState) {
    guiApp();
    QtMessageLoop loop;
    QWidget window;
    auto* label = new PaintedLabel("0", &window);
    label->resize(200, 30);
    window.resize(220, 50);
    window.show();
    loop.wait(200);
    label->painted.clear();

    constexpr int kYields = 400;
    QElapsedTimer took;
    took.start();
    for (int i = 1; i <= kYields; ++i) {
        label->setText(QString::number(i));
        loop.DoEvents();
    }
    const qint64 ms = took.elapsed();
    const qsizetype allowed = ms / QtMessageLoop::kYieldPaintIntervalMs + 2;
    EXPECT_LE(label->painted.size(), allowed) << kYields << " yields in " << ms << " ms";
    loop.wait(200);
    ASSERT_FALSE(label->painted.isEmpty());
    EXPECT_EQ(label->painted.back(), QString::number(kYields));
}

}  // namespace
}  // namespace tarvolin

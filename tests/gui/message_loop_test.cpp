// The Qt message loop: timers, posted calls and waits on Qt's event loop.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvolin

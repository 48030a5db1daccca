// Timers on the virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/virtual_loop.h"

using namespace tarvolin;

namespace {

struct TimerForm : Form {
    TimerForm() {
        adopt(Timer1, "Timer1");
        adopt(Timer2, "Timer2");
    }
    Timer Timer1;
    Timer Timer2;
};

}  // namespace

TEST(VirtualLoop, TimersFireInTimeThenArmingOrder) {
    VirtualLoop loop;
    TimerForm f;
    std::vector<std::string> fired;
    f.Timer1.TimerEvent = [&] { fired.push_back("1@" + std::to_string(loop.tickCount())); };
    f.Timer2.TimerEvent = [&] { fired.push_back("2@" + std::to_string(loop.tickCount())); };
    f.Timer2.setInterval(300);
    f.Timer1.setInterval(200);
    f.setLoop(&loop);  // arms Timer1 before Timer2 (registration order)
    loop.advance(650);
    EXPECT_EQ(fired, (std::vector<std::string>{"1@200", "2@300", "1@400", "2@600", "1@600"}));
    EXPECT_EQ(loop.tickCount(), 650);
}

TEST(VirtualLoop, DisabledTimerStopsAndReenabledRestartsFromNow) {
    VirtualLoop loop;
    Timer t;
    t.setLoop(&loop);
    int ticks = 0;
    t.TimerEvent = [&] { ++ticks; };
    t.setInterval(1000);
    loop.advance(2500);
    EXPECT_EQ(ticks, 2);
    t.setEnabled(false);
    loop.advance(5000);
    EXPECT_EQ(ticks, 2);
    t.setEnabled(true);  // at 7500: next at 8500
    loop.advance(999);
    EXPECT_EQ(ticks, 2);
    loop.advance(1);
    EXPECT_EQ(ticks, 3);
    // A new interval restarts the count.
    loop.advance(600);
    t.setInterval(300);
    loop.advance(299);
    EXPECT_EQ(ticks, 3);
    loop.advance(1);
    EXPECT_EQ(ticks, 4);
    t.setInterval(0);
    EXPECT_FALSE(loop.isArmed(&t));
}

TEST(VirtualLoop, HandlerThatYieldsIsNotReentered) {
    VirtualLoop loop;
    Timer t, other;
    t.setLoop(&loop);
    other.setLoop(&loop);
    int depth = 0, maxDepth = 0, runs = 0, otherRuns = 0;
    t.TimerEvent = [&] {
        ++runs;
        maxDepth = std::max(maxDepth, ++depth);
        loop.wait(350);  // its own timer falls due three times meanwhile
        --depth;
    };
    other.TimerEvent = [&] { ++otherRuns; };
    t.setInterval(100);
    other.setInterval(100);
    loop.advance(100);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(otherRuns, 4);  // 100, 200, 300, 400: the other timer keeps running
    EXPECT_EQ(loop.tickCount(), 450);
}

TEST(VirtualLoop, DoEventsRunsPostedCallsAndYieldHookWithoutMovingTime) {
    VirtualLoop loop;
    std::vector<int> order;
    int yields = 0;
    loop.onYield = [&] {
        if (++yields == 3) order.push_back(99);
    };
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) loop.post([&order, i] { order.push_back(i); });
    });
    worker.join();
    loop.post([&] { loop.post([&] { order.push_back(-1); }); });
    loop.DoEvents();
    EXPECT_EQ(order.size(), 100u);
    loop.DoEvents();
    loop.DoEvents();
    EXPECT_EQ(order.back(), 99);
    EXPECT_EQ(order[100], -1);
    EXPECT_EQ(loop.tickCount(), 0);
    EXPECT_EQ(loop.yieldCount(), 3);
}

TEST(VirtualLoop, LocalTimeMovesWithTheClock) {
    VirtualLoop loop;
    DateTime dt;
    dt.year = 2024;
    dt.month = 12;
    dt.day = 31;
    dt.hour = 23;
    dt.minute = 59;
    dt.second = 59;
    loop.setNow(dt);
    EXPECT_EQ(loop.now().weekday, 2);  // a Tuesday
    loop.advance(1500);
    const DateTime n = loop.now();
    EXPECT_EQ(n.year, 2025);
    EXPECT_EQ(n.month, 1);
    EXPECT_EQ(n.day, 1);
    EXPECT_EQ(n.hour, 0);
    EXPECT_EQ(n.second, 0);
    EXPECT_EQ(n.weekday, 3);
}

TEST(VirtualLoop, TimedCallsRunAtTheirTickAmongTimers) {
    VirtualLoop loop;
    Timer t;
    std::vector<std::string> order;
    t.TimerEvent = [&] { order.push_back("timer@" + std::to_string(loop.tickCount())); };
    loop.postAt(100, [&] { order.push_back("call@" + std::to_string(loop.tickCount())); });
    t.setLoop(&loop);
    t.setInterval(100);  // armed after the call was queued
    loop.postAt(50, [&] { order.push_back("early@" + std::to_string(loop.tickCount())); });
    loop.postAt(0, [&] { order.push_back("due@" + std::to_string(loop.tickCount())); });
    loop.DoEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"due@0"}));
    EXPECT_TRUE(loop.advanceToNextTimer());
    loop.advance(60);
    EXPECT_EQ(order, (std::vector<std::string>{"due@0", "early@50", "call@100", "timer@100"}));
    EXPECT_EQ(loop.pendingTimedCalls(), 0u);
}

TEST(VirtualLoop, TimerOutlivingItsLoopIsLeftAlone) {
    Timer t;
    {
        VirtualLoop loop;
        t.setLoop(&loop);
        t.setInterval(100);
        EXPECT_TRUE(t.armed());
    }
    EXPECT_FALSE(t.armed());
    t.setInterval(200);  // must not touch the ended loop
    EXPECT_EQ(t.loop(), nullptr);
}

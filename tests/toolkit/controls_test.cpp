// Events raised by code, as the program's handlers rely on them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls.h"

using namespace tarvolin;

namespace {

struct TestForm : Form {
    TestForm() {
        adopt(Text1, "Text1");
        adopt(Check1, "Check1");
        Option1.bind(*this, "Option1");
        Option1.addRange(0, 2);
        Option4.bind(*this, "Option4");
        Option4.addRange(0, 1);
        for (auto& o : Option1) o.Container = "Frame1";
        for (auto& o : Option4) o.Container = "Frame2";
        adopt(HScroll1, "HScroll1");
        adopt(Slider1, "Slider1");
        adopt(MultiPage1, "MultiPage1");
        adopt(Combo1, "Combo1");
    }
    TextBox Text1;
    CheckBox Check1;
    ControlArray<OptionButton> Option1;
    ControlArray<OptionButton> Option4;
    HScrollBar HScroll1;
    Slider Slider1;
    MultiPage MultiPage1;
    ComboBox Combo1;
};

}  // namespace

TEST(TextBox, ChangeOnEveryDifferentTextAndReentrant) {
    TextBox t;
    std::vector<std::string> seen;
    t.Change = [&] {
        seen.push_back(t.Text());
        // A handler that corrects the text raises Change again.
        if (t.Text() == "abc") t.setText("ABC");
    };
    t.setText("x");
    t.setText("x");  // same text: nothing
    t.setText("abc");
    EXPECT_EQ(seen, (std::vector<std::string>{"x", "abc", "ABC"}));
    EXPECT_EQ(t.Text(), "ABC");
}

TEST(TextBox, LogBoxPrependsTenThousandLines) {
    TextBox log;
    int changes = 0;
    log.Change = [&] { ++changes; };
    std::vector<std::string> lines;
    auto expected = [&] {
        std::string all;
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) all += *it + "\r\n";
        return all;
    };
    for (int i = 0; i < 10000; ++i) {
        lines.push_back("line " + std::to_string(i));
        log.prependLine(lines.back());
        // Reading the text now and then must see every line so far.
        if (i % 2500 == 0) {
            ASSERT_EQ(log.Text(), expected());
        }
    }
    EXPECT_EQ(changes, 10000);
    const std::string all = expected();
    EXPECT_EQ(log.byteLength(), all.size());
    EXPECT_EQ(log.Text(), all);
    // setText replaces everything; prepending then works on the new text.
    log.setText("old");
    log.prependLine("new", "\n");
    EXPECT_EQ(log.Text(), "new\nold");
}

TEST(CheckBox, ClickOnlyWhenValueChanges) {
    CheckBox c;
    int clicks = 0;
    c.Click = [&] { ++clicks; };
    EXPECT_TRUE(c.setValue(1));
    EXPECT_TRUE(c.setValue(1));
    EXPECT_TRUE(c.setValue(2));
    EXPECT_FALSE(c.setValue(3));
    EXPECT_EQ(c.Value(), 2);
    EXPECT_EQ(clicks, 2);
    c.userClick();  // grayed -> checked
    EXPECT_EQ(c.Value(), 1);
    c.userClick();
    EXPECT_EQ(c.Value(), 0);
    EXPECT_EQ(clicks, 4);
}

// While the program wires its handlers, a second handler wired over the first
// would leave one of them dead without a word: it stops the program instead.
// Clearing, rewiring after disconnect() and replacing outside the wiring go on.
TEST(Event, ASecondHandlerWiredOverTheFirstStopsTheProgram) {
    const std::function<void(Event<>&, int&)> wirings[] = {
        [](Event<>& e, int& n) { e = [&n] { n += 10; }; },
        [](Event<>& e, int& n) { e.connect([&n] { n += 10; }); },
    };
    for (const auto& wire : wirings) {
        Event<> click;
        int n = 0;
        {
            const EventWiring wiring;
            click = [&n] { n += 1; };
            EXPECT_DEATH(wire(click, n), "one handler");
            click = nullptr;
            wire(click, n);
            click.disconnect();
            wire(click, n);
        }
        wire(click, n);
        click.raise();
        EXPECT_EQ(n, 10);
    }
}

TEST(OptionButton, ExclusiveWithinItsGroupOnly) {
    TestForm f;
    std::vector<int> clicks;
    for (auto it = f.Option1.begin(); it != f.Option1.end(); ++it) {
        const int i = it.index();
        it->Click = [&clicks, i] { clicks.push_back(i); };
    }
    f.Option4[1].setValue(true);
    f.Option1[0].setValue(true);
    f.Option1[2].setValue(true);
    f.Option1[2].setValue(true);  // already on: no Click
    EXPECT_FALSE(f.Option1[0].Value());
    EXPECT_TRUE(f.Option1[2].Value());
    EXPECT_TRUE(f.Option4[1].Value());  // other frame untouched
    EXPECT_EQ(clicks, (std::vector<int>{0, 2}));

    // An explicit group overrides the container.
    f.Option4[0].setGroup("G");
    f.Option4[0].setValue(true);
    EXPECT_TRUE(f.Option4[1].Value());
}

TEST(ScrollBarAndSlider, ClampingAndEvents) {
    TestForm f;
    int changes = 0, scrolls = 0;
    f.HScroll1.Change = [&] { ++changes; };
    f.HScroll1.Scroll = [&] { ++scrolls; };
    f.HScroll1.setMin(0);
    f.HScroll1.setMax(100);
    f.HScroll1.setValue(150);
    EXPECT_EQ(f.HScroll1.Value(), 100);
    f.HScroll1.setValue(100);  // unchanged
    f.HScroll1.setMax(50);     // clamps the value, which raises Change
    EXPECT_EQ(f.HScroll1.Value(), 50);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(scrolls, 0);
    f.HScroll1.userScroll(10);
    EXPECT_EQ(scrolls, 1);

    int slides = 0;
    f.Slider1.Scroll = [&] { ++slides; };
    f.Slider1.setMax(300);
    f.Slider1.setValue(-5);
    EXPECT_EQ(f.Slider1.Value(), 0);
    f.Slider1.setValue(1000);
    EXPECT_EQ(f.Slider1.Value(), 300);
    EXPECT_EQ(slides, 0);  // only the user scrolls
    f.Slider1.userScroll(120);
    EXPECT_EQ(f.Slider1.Value(), 120);
    EXPECT_EQ(slides, 1);
}

TEST(MultiPage, ChangeOnPageChangeOnly) {
    MultiPage m;
    for (int i = 0; i < 5; ++i) m.addPage("p" + std::to_string(i));
    int changes = 0;
    m.Change = [&] { ++changes; };
    EXPECT_TRUE(m.setValue(3));
    EXPECT_TRUE(m.setValue(3));
    EXPECT_FALSE(m.setValue(5));
    EXPECT_EQ(m.Value(), 3);
    EXPECT_EQ(changes, 1);
}

TEST(ComboBox, ListIndexSetsTextAndClicksTextRaisesChange) {
    ComboBox c;
    c.AddItem("Rock");
    c.AddItem("Jazz");
    int clicks = 0, changes = 0;
    c.Click = [&] { ++clicks; };
    c.Change = [&] { ++changes; };
    EXPECT_TRUE(c.setListIndex(1));
    EXPECT_EQ(c.Text(), "Jazz");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 0);
    c.setText("Blues");
    c.setText("Blues");
    EXPECT_EQ(changes, 1);
    // A drop-down list takes only its items' texts.
    c.setStyle(2);
    EXPECT_FALSE(c.setText("Pop"));
    EXPECT_TRUE(c.setText("rock"));
    EXPECT_EQ(c.Text(), "Rock");
}

TEST(ControlArray, SparseIndexesAndRegistry) {
    Form f;
    ControlArray<Label> Label1(f, "Label1");
    Label1.add(6);
    Label1.add(9);
    Label1.add(11);
    EXPECT_EQ(Label1.LBound(), 6);
    EXPECT_EQ(Label1.UBound(), 11);
    EXPECT_TRUE(Label1.has(9));
    EXPECT_FALSE(Label1.has(7));
    EXPECT_THROW(Label1[7], std::out_of_range);
    EXPECT_EQ(f.findControl("label1", 9), &Label1[9]);
    EXPECT_EQ(Label1[11].objectName(), "Label1_11");
    int n = 0;
    for (Label& l : Label1) n += l.Index();
    EXPECT_EQ(n, 26);
    Label1.remove(9);
    EXPECT_EQ(f.findControl("Label1", 9), nullptr);
    EXPECT_EQ(Label1.Count(), 2);
}

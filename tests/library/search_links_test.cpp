// The user's search links: adding and removing through the link button, the
// stored list kept in step with the visible one, and the links kept across
// a restart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_harness.h"

namespace tarvolin {
namespace {

class SearchLinksTest : public ::testing::Test {
protected:
    ProgramHarness h;

    void SetUp() override { h->playback.Init_Defaults(); }

    Form1& f1() { return h->Form1; }
    ModuleState& s() { return h->state; }

    void add(const std::string& text) {
        f1().Option2[0].setValue(true);
        f1().Text2[3].setText(text);
        f1().Command13.Click.raise();
    }
    void remove(int index, int answer = mb::Yes) {
        f1().Option2[1].setValue(true);
        f1().Combo3.setListIndex(index);
        h.dialogs.answerMsgBox(answer);
        f1().Command13.Click.raise();
    }
    std::vector<std::string> links() {
        std::vector<std::string> out;
        for (int k = 3; k < f1().Combo3.ListCount(); ++k) out.push_back(f1().Combo3.List(k));
        return out;
    }
    std::string lastPrompt() { return h.dialogs.last() ? h.dialogs.last()->prompt : std::string(); }
};

TEST_F(SearchLinksTest, AddingChecksTheTextAndKeepsItsLeadingBlanks) {
    ASSERT_EQ(f1().Combo3.ListCount(), 3);
    add("");
    EXPECT_EQ(h.dialogs.last()->buttons, mb::OKOnly + mb::Information);
    EXPECT_NE(lastPrompt().find("\r\n\r\n" + f1().Combo3.List(0) + "\r\n\r\n"), std::string::npos);
    add("HTTPS://WWW.EXAMPLE.ORG/?q=");
    EXPECT_EQ(lastPrompt(),
              "Πρέπει να πληκτρολογήσετε διεύθυνση διαδικτύου [www] - \r\nYou must input a valid internet location [www]");
    EXPECT_TRUE(links().empty());

    add("  https://www.example.org/find?q=   ");
    EXPECT_EQ(links(), (std::vector<std::string>{"  https://www.example.org/find?q="}));
    EXPECT_EQ(s().SearchLinkCount, 1);
    EXPECT_EQ(s().SearchLinks, (std::vector<std::string>{"", "  https://www.example.org/find?q="}));
}

TEST_F(SearchLinksTest, RemovingTakesOutTheChosenLinkOnly) {
    add("https://www.a.example/?q=");
    add("https://www.b.example/?q=");
    add("https://www.c.example/?q=");

    remove(4, mb::No);
    EXPECT_EQ(links().size(), 3u);
    EXPECT_EQ(lastPrompt(),
              "Θέλετε να αφαιρέσετε τη διεύθυνση: https://www.b.example/?q= : would you like to delete it");

    remove(4);
    EXPECT_EQ(links(), (std::vector<std::string>{"https://www.a.example/?q=", "https://www.c.example/?q="}));
    EXPECT_EQ(s().SearchLinks,
              (std::vector<std::string>{"", "https://www.a.example/?q=", "https://www.c.example/?q="}));
    EXPECT_EQ(s().SearchLinkCount, 2);
}

TEST_F(SearchLinksTest, TheBuiltInLinksStayAndAChoiceIsNeeded) {
    remove(1);
    EXPECT_EQ(lastPrompt(),
              "Οι πρώτες 3 διευθύνσεις δε γίνεται να διαγραφούν - The first 3 www locations cannot be deleted");
    EXPECT_EQ(f1().Combo3.ListCount(), 3);

    remove(-1);
    EXPECT_EQ(h.dialogs.last()->buttons, mb::OKOnly + mb::Exclamation);
    EXPECT_NE(lastPrompt().find("Select an internet location [www] on the left"), std::string::npos);
    // Neither option chosen counts as removing.
    f1().Option2[0].setValue(false);
    f1().Option2[1].setValue(false);
    f1().Text2[3].setText("https://www.x.example/?q=");
    f1().Combo3.setListIndex(0);
    f1().Command13.Click.raise();
    EXPECT_EQ(f1().Combo3.ListCount(), 3);
}

TEST_F(SearchLinksTest, ASingleLinkComesBackAfterARestart) {
    add("https://www.only.example/?q=");
    std::int32_t failed = 0;
    h->collection.Save_Preferences(failed);
    ASSERT_EQ(failed, 0);

    h.build();
    h->playback.Form_Load();
    EXPECT_EQ(links(), (std::vector<std::string>{"https://www.only.example/?q="}));

    // Removing it leaves nothing to come back.
    remove(3);
    failed = 0;
    h->collection.Save_Preferences(failed);
    h.build();
    h->playback.Form_Load();
    EXPECT_TRUE(links().empty());
}

}  // namespace
}  // namespace tarvolin

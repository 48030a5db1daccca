// The play-progress captions of the main and compact windows.
#include "collection/store_fixture.h"

namespace tarvolin {
namespace {

class ProgressCaptionsTest : public StoreTest {
protected:
    Form4& compact() { return app().Form4; }
    const std::string ten = std::string(10, ' ');
};

TEST_F(ProgressCaptionsTest, EmptyListClearsOnlyTheMainFileBox) {
    d().PlayedTotal = money(77);
    d().CollectionPath = "/data/rock.tlf";
    f1().Text6.setText("/old/file.mp3");
    compact().Text6.setText("/old/file.mp3");
    store().Etiketes_Synol_Songs();

    EXPECT_EQ(f1().Text6.Text(), "");
    EXPECT_EQ(compact().Text6.Text(), "/old/file.mp3");
    EXPECT_EQ(f1().Label6.Caption(), "");
    EXPECT_EQ(compact().Label6.Caption(), "");
    EXPECT_EQ(f1().Label3[0].Caption(),
              "Τρέχων - Current: 0" + ten + "Όλα - Total: 0" + ten + "Εναπομείναντα - Remaining: 0");
    EXPECT_EQ(compact().Label3.Caption(), f1().Label3[0].Caption());
    EXPECT_EQ(f1().Caption(), "TARVOLIN ---> /data/rock.tlf [00.00%]");
    EXPECT_EQ(d().PlayedTotal, money(77));
}

TEST_F(ProgressCaptionsTest, CountsPlayedTracksUpToThePlayedCount) {
    addTrack("/m/0.mp3", 5, 100, 1, 1);
    addTrack("/m/1.mp3", 4, 200, 1, 3);  // played later in a history walked back
    addTrack("/m/2.mp3", 0, 400, 1, 2);
    addTrack("/m/3.mp3", 0, 800, 1, 0);
    d().PlayedCount = 2;
    d().MaxPlayedCount = 3;
    d().CollectionPath = "/data/rock.tlf";
    store().Etiketes_Synol_Songs();

    EXPECT_EQ(d().PlayedTotal, money(500));
    EXPECT_EQ(f1().Label6.Caption(),
              "Σειριακή Αναπαραγωγή [σε οπισθοδρόμηση] -> [-1] <- Serial Play [in backtracking]");
    EXPECT_EQ(f1().Label3[0].Caption(),
              "Τρέχων - Current: 2" + ten + "Όλα - Total: 4" + ten + "Εναπομείναντα - Remaining: 2");
    EXPECT_EQ(f1().Caption(), "TARVOLIN ---> /data/rock.tlf [50.00%]");

    d().MaxPlayedCount = 2;
    app().state.ShuffleOn = true;
    store().Etiketes_Synol_Songs();
    EXPECT_EQ(f1().Label6.Caption(), "Τυχαία Αναπαραγωγή - Suffle Play");
    EXPECT_EQ(compact().Label6.Caption(), "Τυχαία Αναπαραγωγή - Suffle Play");
}

TEST_F(ProgressCaptionsTest, ChosenClassesShowTheirOwnFiguresFirst) {
    addTrack("/m/0.mp3", 5, 100, 1, 1);
    addTrack("/m/1.mp3", 5, 100, 1, 0);
    addTrack("/m/2.mp3", 2, 100, 1, 2);
    addTrack("/m/3.mp3", 5, 100, 1, 0);
    d().PlayedCount = 2;
    d().MaxPlayedCount = 2;
    d().CollectionPath = "/c.tlf";
    d().PlayClassOn[5] = -1;
    store().Calc_Favor_Totals();
    store().Etiketes_Synol_Songs();

    EXPECT_EQ(f1().Label3[0].Caption(), "Τρέχων - Current: 1 [2]" + ten + "Όλα - Total: 3 [4]" + ten +
                                            "Εναπομείναντα - Remaining: 2 [2]");
    EXPECT_EQ(f1().Caption(), "TARVOLIN ---> /c.tlf [33.33%]  [50.00%]");

    // Chosen classes that hold no track.
    d().PlayClassOn[5] = 0;
    d().PlayClassOn[3] = -1;
    store().Calc_Favor_Totals();
    store().Etiketes_Synol_Songs();
    EXPECT_EQ(f1().Caption(), "TARVOLIN ---> /c.tlf [00.00%]  [50.00%]");
    EXPECT_EQ(f1().Label3[0].Caption(), "Τρέχων - Current: 0 [2]" + ten + "Όλα - Total: 0 [4]" + ten +
                                            "Εναπομείναντα - Remaining: 0 [2]");
}

TEST_F(ProgressCaptionsTest, LongPathsAreCutInTheMiddle) {
    addTrack("/m/0.mp3", 0, 100, 1, 1);
    d().PlayedCount = 1;
    d().MaxPlayedCount = 1;
    std::string path = "/" + std::string(100, 'a') + "/rock.tlf";
    path += std::string(110 - path.size(), 'z');
    ASSERT_EQ(path.size(), 110u);
    d().CollectionPath = path;
    store().Etiketes_Synol_Songs();

    const std::string expected =
        "TARVOLIN ---> " + path.substr(0, 40) + "....." + path.substr(110 - 65) + " [100.00%] ";
    EXPECT_EQ(f1().Caption(), expected);
    EXPECT_EQ(compact().Caption(), expected.substr(0, 38) + " ...... " + expected.substr(expected.size() - 56));

    d().CollectionPath = path.substr(1);  // 109 characters: shown whole
    store().Etiketes_Synol_Songs();
    EXPECT_EQ(f1().Caption(), "TARVOLIN ---> " + path.substr(1) + " [100.00%]");
}

TEST_F(ProgressCaptionsTest, TheCurrentFileNameIsSelected) {
    addTrack("/μουσική/τραγούδι.mp3", 0, 100, 1, 1);
    d().PlayedCount = 1;
    d().MaxPlayedCount = 1;
    d().CurrentFile = "/μουσική/τραγούδι.mp3";
    store().Etiketes_Synol_Songs();
    EXPECT_EQ(f1().Text6.Text(), d().CurrentFile);
    EXPECT_EQ(f1().Text6.SelStart(), 9);
    EXPECT_EQ(f1().Text6.SelLength(), 12);
    EXPECT_EQ(compact().Text6.Text(), d().CurrentFile);
    EXPECT_EQ(compact().Text6.SelStart(), 9);
    EXPECT_EQ(compact().Text6.SelLength(), 12);

    d().CurrentFile.clear();
    store().Etiketes_Synol_Songs();
    EXPECT_EQ(f1().Text6.Text(), "");
    EXPECT_EQ(f1().Text6.SelLength(), 0);
}

}  // namespace
}  // namespace tarvolin

// Selection by class: the Rating menu's "Select" items select every track of
// one class (or all tracks) in the track list, so that the operations on the
// selected rows work on that class, and log how many tracks and megabytes
// were selected. "Check Favorites" recounts the per-class totals.
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

namespace {

// The class code of a selection code: -1 X, 1 C, 2 B, 3 A, 4 unclassified,
// 5 S (0 stands for all tracks).
int classOfSelection(std::int32_t code) {
    switch (code) {
        case -1: return 1;
        case 1: return 2;
        case 2: return 3;
        case 3: return 4;
        case 4: return 0;
        default: return 5;
    }
}

MenuItem& selectItemOf(Form1& f, std::int32_t code) {
    switch (code) {
        case -1: return f.MnuMoreClassX;
        case 0: return f.MnuMoreClassAll;
        case 1: return f.MnuMoreClassC;
        case 2: return f.MnuMoreClassB;
        case 3: return f.MnuMoreClassA;
        case 4: return f.MnuMoreUnClass;
        default: return f.MnuMoreClassS;
    }
}

// While the selection is redrawn, the lists' Click handlers stay
// quiet (each list would raise one); they are put back afterwards.
class QuietClicks {
public:
    explicit QuietClicks(std::initializer_list<ListBox*> lists) {
        for (ListBox* list : lists) add(*list);
    }
    void add(ListBox& list) {
        saved_.emplace_back(&list, list.Click);
        list.Click.disconnect();
    }
    ~QuietClicks() {
        for (auto& [list, click] : saved_) list->Click = click;
    }
    QuietClicks(const QuietClicks&) = delete;
    QuietClicks& operator=(const QuietClicks&) = delete;

private:
    std::vector<std::pair<ListBox*, Event<>>> saved_;
};

}  // namespace

void Library::SelectFavor(std::int32_t cls) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    const CollectionData& d = app.collection.d;
    if (f.List2.ListCount() == 0) return;
    if (cls < -1 || cls > 5) return;

    BulkScope busy(s, BulkScope::Busy);
    for (MenuItem* item : {&f.MnuMoreUnClass, &f.MnuMoreClassX, &f.MnuMoreClassC, &f.MnuMoreClassA,
                           &f.MnuMoreClassAll, &f.MnuMoreClassB, &f.MnuMoreClassS}) {
        item->setChecked(false);
    }
    selectItemOf(f, cls).setChecked(true);

    // The columns keep the same rows selected as the track list, so that a
    // multi-select column never shows rows of other classes as chosen.
    QuietClicks quiet{&f.List2};
    for (ListBox& column : f.List3_0) quiet.add(column);
    const int rows = f.List2.ListCount();
    const bool all = cls == 0;
    const int wanted = classOfSelection(cls);
    std::int32_t count = 0;
    Currency size{};
    std::vector<unsigned char> chosen(static_cast<std::size_t>(rows), 0);
    for (int i = 0; i < rows; ++i) {
        if (!d.hasEntry(i)) break;
        const auto t = static_cast<std::size_t>(i);
        if (!all && d.TrackClass[t] != wanted) continue;
        chosen[t] = 1;
        ++count;
        size += d.TrackSize[t];
    }
    f.List2.setSelectionFlags(chosen);
    for (ListBox& column : f.List3_0) column.setSelectionFlags(chosen);
    busy.end();

    const std::string summary = " Αριθμός αρχείων : " + Str(count) + " : Number of files" + "\r\n" +
                                "Μέγεθος (Mbytes): " + Str(size) + " :Size (Mbytes)";
    app.collection.logLine("->" + summary + "\r\n");
}

void Library::MnuMoreClassS_Click() { SelectFavor(5); }
void Library::MnuMoreClassA_Click() { SelectFavor(3); }
void Library::MnuMoreClassB_Click() { SelectFavor(2); }
void Library::MnuMoreClassC_Click() { SelectFavor(1); }
void Library::MnuMoreClassAll_Click() { SelectFavor(0); }
void Library::MnuMoreClassX_Click() { SelectFavor(-1); }
void Library::MnuMoreUnClass_Click() { SelectFavor(4); }
void Library::MnuMoreCheckFavorites_Click() { app.collection.Calculate_Ratings(); }

void Library::wireClassSelection() {
    Form1& f = app.Form1;
    f.MnuMoreClassS.Click = [this] { MnuMoreClassS_Click(); };
    f.MnuMoreClassA.Click = [this] { MnuMoreClassA_Click(); };
    f.MnuMoreClassB.Click = [this] { MnuMoreClassB_Click(); };
    f.MnuMoreClassC.Click = [this] { MnuMoreClassC_Click(); };
    f.MnuMoreClassAll.Click = [this] { MnuMoreClassAll_Click(); };
    f.MnuMoreClassX.Click = [this] { MnuMoreClassX_Click(); };
    f.MnuMoreUnClass.Click = [this] { MnuMoreUnClass_Click(); };
    f.MnuMoreCheckFavorites.Click = [this] { MnuMoreCheckFavorites_Click(); };
}

}  // namespace tarvolin

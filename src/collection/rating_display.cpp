// The rating display of the main window (class column, rating button, tray
// rating submenu, class labels and stars), copied to the compact window.
#include <algorithm>
#include <string>

#include "app/program.h"
#include "collection/collection_store.h"

namespace tarvolin {

namespace {

// System colours of the class labels.
constexpr std::int64_t kColour3DLight = 0x80000016;
constexpr std::int64_t kColourInactiveTitle = 0x80000003;
constexpr std::int64_t kColourActiveTitle = 0x80000002;

const char* const kRatingBase = "Προτίμηση Rating";

std::string bitmap(int number) { return std::to_string(number); }

struct ClassLook {
    const char* columnText;
    const char* trayCaption;   // behind the base caption
    const char* buttonCaption; // behind the base caption
};

// By class code 0..5.
const ClassLook kLooks[kClassCount] = {
    {"-", "", " "},
    {"X", " *", " X"},
    {"C", " (**)", " C"},
    {"B", " (***)", " B"},
    {"A", " (****)", " A"},
    {"S", " (*****)", " S"},
};

MenuItem& trayRatingItem(Form1& f, int cls) {
    switch (cls) {
        case 5: return f.TrayFavorS;
        case 4: return f.TrayFavorA;
        case 3: return f.TrayFavorB;
        case 2: return f.TrayFavorC;
        case 1: return f.TrayFavorX;
        default: return f.TrayFavorUnclass;
    }
}

}  // namespace

void CollectionStore::showFirstTrackRating() {
    const bool row = d.hasEntry(0) && app_.Form1.List2.ListCount() > 0;
    DeikseAgapi(row ? validClass(d.TrackClass[0]) : 0, 0);
}

void CollectionStore::DeikseAgapi(int cls, std::int32_t track) {
    Form1& f = app_.Form1;
    cls = validClass(cls);

    for (int c = 0; c < kClassCount; ++c) trayRatingItem(f, c).setChecked(false);
    f.Command8.setFontBold(true);
    const std::string base = kRatingBase;

    Show_Class_Counts();
    Show_Rating_Stars(0, cls);

    for (int k = 1; k <= f.Label9.UBound(); ++k) {
        if (Label* l = f.Label9.get(k)) {
            l->setBorderStyle(0);
            l->setBackColor(kColour3DLight);
        }
        if (Label* l = f.Label10.get(k)) {
            l->setAppearance(0);
            l->setBackColor(kColourInactiveTitle);
            l->setMarked(false);
        }
    }
    for (int k = 1; k <= f.Label21.UBound(); ++k) {
        if (Label* l = f.Label21.get(k)) {
            l->setSpecialEffect(0);
            l->setBorderStyle(1);
        }
    }

    std::string trayCaption = base;
    std::string buttonCaption = base + " ";
    if (f.List2.ListCount() > 0) {
        const ClassLook& look = kLooks[cls];
        ListBox* classColumn = f.List3_0.get(1);
        if (classColumn && track >= 0 && track < f.List2.ListCount() && track < classColumn->ListCount()) {
            classColumn->setList(track, look.columnText);
        }
        trayRatingItem(f, cls).setChecked(true);
        trayCaption = base + look.trayCaption;
        buttonCaption = base + look.buttonCaption;

        const int i = cls + 1;
        if (Label* l = f.Label9.get(i)) {
            l->setBorderStyle(1);
            l->setBackColor(kColourActiveTitle);
        }
        if (Label* l = f.Label10.get(i)) {
            l->setAppearance(1);
            l->setBackColor(kColourActiveTitle);
            l->setMarked(true);
        }
        if (Label* l = f.Label21.get(i)) l->setSpecialEffect(2);
    }
    // An unclassified track, or no track at all, has a plain button.
    if (cls == 0 || f.List2.ListCount() == 0) f.Command8.setFontBold(false);

    f.MnuSystemTray_Favor.setCaption(trayCaption);
    f.Command8.setCaption(buttonCaption);
    Show_Rating_Stars(-1, cls);
}

void CollectionStore::Show_Class_Counts() {
    Form1& f = app_.Form1;
    if (d.ClassLabelsDirty) {
        Class_Size_Labels();
        Class_Duration_Labels();
    }

    if (Label* l = f.Label9.get(0)) l->setCaption(d.TotalSizeLabel + " - [" + d.TimeTextTotal + "]");
    for (int k = 1; k <= kClassCount; ++k) {
        if (Label* l = f.Label9.get(k)) {
            l->setCaption(d.ClassSizeLabel[static_cast<std::size_t>(k - 1)] +
                          d.ClassDurationLabel[static_cast<std::size_t>(k - 1)]);
        }
    }

    f.MnuMorePlayAll.setCaption("Όλα - All");
    f.MnuMoreClassAll.setCaption("Όλα - All");

    f.MnuMorePlayX.setCaption(" Κλάσεως Χ - Class X");
    f.MnuMoreClassX.setCaption("Κλάσεως Χ - Class X");
    f.TrayFavorPlayX.setCaption("Κλάσεως Χ - Class X");
    f.TrayFavorX.setCaption("Κλάσεως Χ - Class X" + d.ClassSizeLabel[1]);

    f.MnuMorePlayC.setCaption("Κλάσεως Γ΄- Class C");
    f.MnuMoreClassC.setCaption("Κλάσεως Γ΄- Class C");
    f.TrayFavorPlayC.setCaption("Κλάσεως Γ΄- Class C");
    f.TrayFavorC.setCaption("Κλάσεως Γ΄- Class C" + d.ClassSizeLabel[2]);

    f.MnuMorePlayB.setCaption("Κλάσεως Β΄- Class B");
    f.MnuMoreClassB.setCaption("Κλάσεως Β΄- Class B");
    f.TrayFavorPlayB.setCaption("Κλάσεως Β΄- Class B");
    f.TrayFavorB.setCaption("Κλάσεως Β΄- Class B" + d.ClassSizeLabel[3]);

    f.MnuMorePlayA.setCaption("Κλάσεως Α΄- Class A");
    f.MnuMoreClassA.setCaption("Κλάσεως Α΄- Class A");
    f.TrayFavorPlayA.setCaption("Κλάσεως Α΄- Class A");
    f.TrayFavorA.setCaption("Κλάσεως Α΄- Class A" + d.ClassSizeLabel[4]);

    f.MnuMorePlayS.setCaption("Κλάσεως Υ΄ - Class S");
    f.MnuMoreClassS.setCaption("Κλάσεως Υ΄- Class S");
    f.TrayFavorPlayS.setCaption("Κλάσεως Υ΄- Class S");
    f.TrayFavorS.setCaption("Κλάσεως Υ΄- Class S" + d.ClassSizeLabel[5]);

    // The unclassified rating item shows its class's numbers too.
    f.TrayFavorUnclass.setCaption("Ασημείωτο - Unmarked" + d.ClassSizeLabel[0]);
}

void CollectionStore::Show_Rating_Stars(int mirror, int cls) {
    Form1& f = app_.Form1;
    const int c = std::clamp(app_.state.StarColours, 0, 3);
    cls = validClass(cls);

    if (mirror == 0) {
        int star = 0;
        switch (cls) {
            case 1: star = 106 - c; break;
            case 2: star = 110 - c; break;
            case 3: star = 114 - c; break;
            case 4: star = 118 - c; break;
            case 5: star = (c == 0 || c == 3) ? 120 : 119; break;
            default: star = c >= 2 ? 101 : 102; break;
        }
        f.Picture2.setPicture(bitmap(star));

        const int b = c == 3 ? 2 : c;
        for (int k = 2; k <= 5; ++k) {
            if (Label* l = f.Label21.get(k)) l->setPicture(bitmap(602 + b));
        }
        if (Label* l = f.Label21.get(1)) l->setPicture(bitmap(c <= 1 ? 600 : 601));
        if (Label* l = f.Label21.get(6)) l->setPicture(bitmap(c == 0 ? 618 : 619));
        return;
    }

    if (c == 3) {
        // The mixed set gives the highlighted class its own bar.
        for (int k = 2; k <= 6; ++k) {
            Label* l = f.Label21.get(k);
            if (!l || l->SpecialEffect() != 2) continue;
            l->setPicture(bitmap(k <= 5 ? 612 + k : 618));
            break;
        }
    }

    auto& compact = app_.Form4;
    compact.Picture2.setPicture(f.Picture2.Picture());
    compact.Command8.setCaption(f.Command8.Caption());
    compact.Command8.setFontBold(f.Command8.FontBold());
    for (int k = 0; k <= f.Label9.UBound(); ++k) {
        if (Label* from = f.Label9.get(k); from) {
            if (Label* to = compact.Label9.get(k)) {
                to->setCaption(from->Caption());
                to->setBorderStyle(from->BorderStyle());
                to->setBackColor(from->BackColor());
            }
        }
        if (Label* from = f.Label10.get(k); from) {
            if (Label* to = compact.Label10.get(k)) {
                to->setAppearance(from->Appearance());
                to->setBackColor(from->BackColor());
                to->setMarked(from->Marked());
            }
        }
        if (Label* from = f.Label21.get(k); from) {
            if (Label* to = compact.Label21.get(k)) {
                to->setBorderStyle(from->BorderStyle());
                to->setSpecialEffect(from->SpecialEffect());
                to->setPicture(from->Picture());
            }
        }
    }
}

}  // namespace tarvolin

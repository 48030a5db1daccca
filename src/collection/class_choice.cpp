// The choice of the rating classes that are played: the class switches and
// the check marks of the Play menu's and the tray menu's class items.
#include "app/program.h"
#include "collection/collection_store.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

struct ClassItems {
    MenuItem& main;
    MenuItem& tray;
};

// The menu items of a class switch (0 unclassified .. 5 S).
ClassItems itemsOf(Form1& f, int index) {
    switch (index) {
        case 5: return {f.MnuMorePlayS, f.TrayFavorPlayS};
        case 4: return {f.MnuMorePlayA, f.TrayFavorPlayA};
        case 3: return {f.MnuMorePlayB, f.TrayFavorPlayB};
        case 2: return {f.MnuMorePlayC, f.TrayFavorPlayC};
        case 1: return {f.MnuMorePlayX, f.TrayFavorPlayX};
        default: return {f.MnuMorePlayUnClass, f.TrayFavorPlayUnClass};
    }
}

const char* const kRestrictedMark = " ! ";

// The submenu caption without its restriction mark.
std::string withoutMark(const std::string& caption) {
    const long long p = InStr(caption, "!");
    return p > 0 ? Left(caption, p - 2) : caption;
}

}  // namespace

void CollectionStore::MnuFavor_Play(int cls) {
    Form1& f = app_.Form1;
    if (cls < -1 || cls > 5) return;

    std::string caption = f.MnuSystemTrayFavor.Caption();
    const long long p = InStr(caption, "!");

    if (cls != 0) {
        const auto index = static_cast<std::size_t>(cls == -1 ? 0 : cls);
        d.PlayClassOn[index] = d.PlayClassOn[index] != 0 ? 0 : -1;
        // The items follow the switch, so that the two menus never drift
        // apart from it.
        ClassItems items = itemsOf(f, static_cast<int>(index));
        items.main.setChecked(d.PlayClassOn[index] != 0);
        items.tray.setChecked(d.PlayClassOn[index] != 0);
        f.TrayFavorPlayAll.setChecked(false);
        f.MnuMorePlayAll.setChecked(false);
    } else {
        d.PlayClassOn.fill(0);
        const bool all = !f.MnuMorePlayAll.Checked();
        f.MnuMorePlayAll.setChecked(all);
        f.TrayFavorPlayAll.setChecked(all);
        for (int index = 0; index < kClassCount; ++index) {
            ClassItems items = itemsOf(f, index);
            items.main.setChecked(false);
            items.tray.setChecked(false);
        }
        if (p > 0) caption = Left(caption, p - 2);
    }
    if (cls != 0 && p == 0) caption += kRestrictedMark;

    f.MnuSystemTrayFavor.setCaption(caption);
    f.MnuMoreFavor.setCaption(caption);

    bool anyOn = false;
    for (std::int16_t on : d.PlayClassOn) anyOn = anyOn || on != 0;
    if (!f.MnuMorePlayAll.Checked()) {
        if (!anyOn) {
            MnuMorePlayAll_Click();
            d.PlayClassActive = false;
        } else {
            d.PlayClassActive = true;
        }
    }

    Calc_Favor_Totals();
    Etiketes_Synol_Songs();
}

void CollectionStore::syncClassChoiceMenus() {
    Form1& f = app_.Form1;
    bool anyOn = false;
    for (int index = 0; index < kClassCount; ++index) {
        const bool on = d.PlayClassOn[static_cast<std::size_t>(index)] != 0;
        anyOn = anyOn || on;
        ClassItems items = itemsOf(f, index);
        items.main.setChecked(on);
        items.tray.setChecked(on);
    }
    f.MnuMorePlayAll.setChecked(!anyOn);
    f.TrayFavorPlayAll.setChecked(!anyOn);

    std::string caption = withoutMark(f.MnuSystemTrayFavor.Caption());
    if (anyOn) caption += kRestrictedMark;
    f.MnuSystemTrayFavor.setCaption(caption);
    f.MnuMoreFavor.setCaption(caption);
    d.PlayClassActive = anyOn;
    // The totals of the chosen classes follow the choice, as after a change
    // made from the menus.
    Calc_Favor_Totals();
    Etiketes_Synol_Songs();
}

void CollectionStore::MnuMorePlayS_Click() { MnuFavor_Play(5); }
void CollectionStore::MnuMorePlayA_Click() { MnuFavor_Play(4); }
void CollectionStore::MnuMorePlayB_Click() { MnuFavor_Play(3); }
void CollectionStore::MnuMorePlayC_Click() { MnuFavor_Play(2); }
void CollectionStore::MnuMorePlayX_Click() { MnuFavor_Play(1); }
void CollectionStore::MnuMorePlayUnClass_Click() { MnuFavor_Play(-1); }
void CollectionStore::MnuMorePlayAll_Click() { MnuFavor_Play(0); }
void CollectionStore::TrayFavorPlayS_Click() { MnuFavor_Play(5); }
void CollectionStore::TrayFavorPlayA_Click() { MnuFavor_Play(4); }
void CollectionStore::TrayFavorPlayB_Click() { MnuFavor_Play(3); }
void CollectionStore::TrayFavorPlayC_Click() { MnuFavor_Play(2); }
void CollectionStore::TrayFavorPlayX_Click() { MnuFavor_Play(1); }
void CollectionStore::TrayFavorPlayUnClass_Click() { MnuFavor_Play(-1); }
void CollectionStore::TrayFavorPlayAll_Click() { MnuFavor_Play(0); }

void CollectionStore::wireEvents() {
    Form1& f = app_.Form1;
    f.MnuMorePlayS.Click = [this] { MnuMorePlayS_Click(); };
    f.MnuMorePlayA.Click = [this] { MnuMorePlayA_Click(); };
    f.MnuMorePlayB.Click = [this] { MnuMorePlayB_Click(); };
    f.MnuMorePlayC.Click = [this] { MnuMorePlayC_Click(); };
    f.MnuMorePlayX.Click = [this] { MnuMorePlayX_Click(); };
    f.MnuMorePlayUnClass.Click = [this] { MnuMorePlayUnClass_Click(); };
    f.MnuMorePlayAll.Click = [this] { MnuMorePlayAll_Click(); };
    f.TrayFavorPlayS.Click = [this] { TrayFavorPlayS_Click(); };
    f.TrayFavorPlayA.Click = [this] { TrayFavorPlayA_Click(); };
    f.TrayFavorPlayB.Click = [this] { TrayFavorPlayB_Click(); };
    f.TrayFavorPlayC.Click = [this] { TrayFavorPlayC_Click(); };
    f.TrayFavorPlayX.Click = [this] { TrayFavorPlayX_Click(); };
    f.TrayFavorPlayUnClass.Click = [this] { TrayFavorPlayUnClass_Click(); };
    f.TrayFavorPlayAll.Click = [this] { TrayFavorPlayAll_Click(); };
}

}  // namespace tarvolin

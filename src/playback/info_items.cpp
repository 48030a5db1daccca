// The About menu (about texts, the information window, the splash switch,
// the web page, help and mail items), the help routine, and the report
// items of the More menu.
#include "app/program.h"
#include "platform/open_rules.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// The mailing list of the program's users.
const char* const kMailingList = "tarvolin-users@lists.tarvolin.org";

const char* const kAboutGreek =
    "Το Tarvolin παίζει όλα τα αρχεία πολυμέσων της συλλογής σας το ένα μετά το άλλο, "
    "με τυχαία σειρά ή με τη σειρά τους. Θυμάται το τελευταίο αρχείο που παίχτηκε και το "
    "σημείο όπου σταμάτησε, ώστε η επόμενη εκκίνηση να συνεχίσει από εκεί. Αυτό βοηθά με "
    "φακέλους πολλών αρχείων, μεγάλες ταινίες, μεγάλες μίξεις ή ομιλίες. Η προεπισκόπηση "
    "παίζει μόνο λίγα δευτερόλεπτα από κάθε αρχείο.";

const char* const kAboutEnglish =
    "Tarvolin plays every media file of your collection one after the other, at random or "
    "in order. It remembers the last file played and the point where it was left, so that "
    "the next run starts there. This helps with folders of many files, long films, long "
    "mixes or speeches. The preview mode plays only some seconds of each file.";

}  // namespace

void Playback::mnuinfogr_Click(int Index) {
    const std::string& version = app.state.VersionText;
    const std::string text = Index == 0 ? std::string(kAboutGreek) + "\r\n\r\nΈκδοση " + version
                                        : std::string(kAboutEnglish) + "\r\n\r\nVersion " + version;
    app.dialogs().MsgBox(text, mb::Information);
}

void Playback::mnu_info2_Click(int Index) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    switch (Index) {
        case 2:
            app.Form3.Show();
            break;
        case 3:
            s.ShowSplash = !s.ShowSplash;
            if (MenuItem* item = f.mnu_info2.get(3)) item->setChecked(s.ShowSplash);
            break;
        case 4:
            Open_Home_Page();
            break;
        case 5:
            Show_Help();
            break;
        case 6:
            app.collection.Open_Help_Page(std::string("mailto:") + kMailingList + "?subject=" +
                                          percentEncodeUtf8("Tarvolin_Media_Player_" + s.VersionText));
            break;
        default:
            break;
    }
}

void Playback::Show_Help() { app.collection.Open_Help_Page("Help"); }

void Playback::MnuMoreReport_Click() {
    Form1& f = app.Form1;
    f.MnuMoreReport.setChecked(!f.MnuMoreReport.Checked());
    // Only -1 counts as on.
    app.state.KeepReport = f.MnuMoreReport.Checked() ? -1 : 0;
}

void Playback::MnuMoreReportDelete_Click() { app.collection.Delete_Report_File(); }

}  // namespace tarvolin

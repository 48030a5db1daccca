// The program's built-in state: the version mark, the genre table, the media
// extensions, the switches and values the preferences may later replace, the
// search links, the class names of the class filter and the controls'
// starting pictures and positions.
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/program.h"
#include "playback/playback.h"

namespace tarvolin {

namespace {

// Built-in search links; the current title is appended to the chosen one.
const char* const kSearchLinks[] = {
    "https://www.youtube.com/results?search_query=",
    "https://vimeo.com/search?q=",
    "https://www.google.com/#q=",
};

const char* const kClassNames[] = {
    "Ασημείωτα - Unmarked", "Κλάση Χ' - Class X'", "Κλάση Γ' - Class C'",
    "Κλάση Β' - Class B'",  "Κλάση Α' - Class A'", "Κλάση Υ' - Class S'",
};

// Every check mark and greyed item shows the switches as they now stand;
// the preferences later store the marks and set them again.
void showSwitchesInMenus(Program& app) {
    Form1& f = app.Form1;
    const ModuleState& s = app.state;
    // The pause between files has no switch but its own mark: only its
    // length item follows it. The delete options wait greyed while deleting
    // from disk is off.
    const std::pair<MenuItem*, bool> marks[] = {
        {&f.MnuMoreRandom, s.ShuffleOn},
        {&f.mnusystemtraysuffle, s.ShuffleOn},
        {&f.mnusystrayrepeat, s.ReplayMode == 1},
        {&f.MnuMorePreview_Active, s.PreviewOn},
        {&f.MnuMoreMultiPreview, s.PreviewPoints.size() > 1},
        {&f.MnuMoreSound, s.BeepBetween},
        {&f.MnuMoreAutoStart, s.PlayAtStart},
        {&f.mnusystemtraypause, s.Paused},
        {&f.mnuFileSaveAsAuto, s.AutoSave},
        {&f.MnuFilecopyreference, s.FileCopyReference},
        {&f.MnuFileMoveReference, s.FileMoveReference},
        {&f.mnufiledeletedisk, s.DeleteFromDisk},
        {&f.mnufiledeleterecycle, s.DeleteToRecycle},
        {&f.mnufiledeleteevendiskerror, s.DeleteEvenOnDiskError},
        {&f.MnuMoreFileSizesReadRatings, s.ReadRatingsFromFiles},
        {&f.MnuMoreFileSizesKeepRatings, s.KeepRatings},
        {&f.MnuMoreFavorWithinFiles, s.SaveRatingsInFiles},
        {&f.MnuFavorAuto2, s.AutoFavor},
        {&f.TrayFavorAuto, s.AutoFavor},
        {&f.MnuMoreDemandFavor, s.DemandFavor},
        {&f.MnuFiltersLoad, s.LoadFiltersAtStart},
        {&f.MnuMoreOnTop, s.OnTop},
        {&f.MnuSystemTrayTop, s.OnTop},
        {&f.MnuMoreReport, s.KeepReport == -1},
        {f.MnumoreStar_Active.get(1), s.StarsOff},
        {f.mnu_info2.get(3), s.ShowSplash},
    };
    const std::pair<Control*, bool> usable[] = {
        {&f.MnuMoreDuration, s.PreviewOn},
        {&f.MnuMoreMultiPreview, s.PreviewOn},
        {&f.MnuMorePauseDur, f.MnuMorePauseActive.Checked()},
        {&f.mnufiledeleterecycle, s.DeleteFromDisk},
        {&f.mnufiledeleteevendiskerror, s.DeleteFromDisk},
        {&f.Check3, s.DeleteFromDisk},
        {&f.MnuMoreFileSizesKeepRatings, s.ReadRatingsFromFiles},
        {f.MnumoreStar_Active.get(0), !s.StarsOff},
    };
    // One item of each group checked.
    const std::pair<ControlArray<MenuItem>*, int> chosen[] = {
        {&f.mnumorereplayn, s.ReplayMode},
        {&f.MnuPlayAutoStartP, s.ResumeMode},
        {&f.mnuvideoshow, s.VideoMode == -1 ? 0 : s.VideoMode == 0 ? 1 : 2},
        {&f.MnumoreStar_Colors, s.StarColours},
    };

    for (auto [item, on] : marks) {
        if (item) item->setChecked(on);
    }
    for (auto [control, on] : usable) {
        if (control) control->setEnabled(on);
    }
    for (auto [items, index] : chosen) {
        for (MenuItem& item : *items) item.setChecked(item.Index() == index);
    }
    // The recycle box on the filter page mirrors its menu item.
    f.Check3.setValue(s.DeleteToRecycle ? 1 : 0);
}

// The version, the timer stopped, no class choice, no alarm, no table rows.
void clearRunState(Program& app) {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    s.VersionText = "5.0";
    app.Form1.Timer1.setEnabled(false);
    d.PlayClassOn.fill(0);
    s.AlarmTime = {};
    s.AlarmCountdown = {};
    d.TableRows.assign(1, std::string());
}

// The genres (also offered by the editor's genre box), the media types of
// the adding page with only ".mp3" chosen, and the progress bars empty.
void fillChoiceLists(Program& app) {
    Form1& f = app.Form1;
    for (const std::string& g : Playback::genreNames()) f.Combo1.AddItem(g);
    for (const std::string& e : Playback::mediaExtensions()) f.List3.AddItem("*" + e);
    f.List3.setSelected(0, true);
    for (int i = f.Shape2.LBound(); i <= f.Shape2.UBound(); ++i) {
        if (Shape* fill = f.Shape2.get(i)) fill->setWidth(0);
        if (Label* percent = f.Label11.get(i)) percent->setCaption("0%");
    }
}

// The first page, shown through the page handler also when it is the page
// already (setting the page raises its change only on a change).
void showFirstPage(Program& app) {
    Form1& f = app.Form1;
    const bool pageChanges = f.MultiPage1.Value() != 0;
    f.MultiPage1.setValue(0);
    if (!pageChanges) app.library.MultiPage1_Change();
}

void setDefaultSwitches(Program& app) {
    ModuleState& s = app.state;
    s.PreviewOn = false;
    s.Volume = 100;
    s.PauseSeconds = 2;
    s.ReadRatingsFromFiles = true;
    s.KeepRatings = true;
    s.SaveRatingsInFiles = true;
    s.AutoSave = true;
    s.DeleteToRecycle = true;
    s.PlayAtStart = true;
    s.ShuffleOn = true;
    s.ScanFromFileList = true;
    s.LoadFiltersAtStart = true;
    s.WindowVisible = true;
    s.FolderListStale = false;
    s.AutoFavor = false;
    s.DeleteFromDisk = false;
    s.CompactMode = false;
    app.Form1.MultiPage1.setValue(0);
    if (s.StepCount == 0) s.StepCount = 3;
    app.Form1.Text3.setText(std::to_string(s.StepCount));
}

// Search links and the adding page's options.
void setSearchAndAddingOptions(Program& app) {
    Form1& f = app.Form1;
    for (const char* link : kSearchLinks) f.Combo3.AddItem(link);
    f.Check1.setValue(1);
    f.Combo3.setListIndex(0);
    if (OptionButton* o = f.Option2.get(0)) o->setValue(true);
    f.Option1_0.setValue(true);
    // The removal from the file list takes all its files unless told
    // otherwise.
    if (OptionButton* o = f.Option4.get(0)) o->setValue(true);
}

// The compact window's timer stays off; both position sliders step by 5
// and page by 15 seconds.
void setSliderSteps(Program& app) {
    app.Form4.Timer1.setEnabled(false);
    for (Slider* slider : {&app.Form1.Slider1, &app.Form4.Slider1}) {
        slider->setSmallChange(5);
        slider->setLargeChange(15);
    }
}

// Star colours, the splash, both windows centred on the screen, the stop
// pictures, stars shown, resuming on, the preview players hidden, and the
// switches shown in the menus.
void setLookAndPlaces(Program& app) {
    Form1& f = app.Form1;
    Form4& c = app.Form4;
    ModuleState& s = app.state;
    s.StarColours = 1;
    s.ShowSplash = true;
    const ScreenSize screen = app.desktop().screenSize();
    const int screenW = screen.widthPixels * 15, screenH = screen.heightPixels * 15;
    for (Form* w : {static_cast<Form*>(&f), static_cast<Form*>(&c)}) {
        w->setLeft((screenW - w->Width()) / 2);
        w->setTop((screenH - w->Height()) / 2);
    }
    f.Command11.setPicture("stop");
    c.Command11.setPicture("stop");
    s.StarsOff = false;
    s.ResumeMode = 1;
    for (Player& p : f.WindowsMediaPlayer3) p.setVisible(false);
    showSwitchesInMenus(app);
}

}  // namespace

const std::vector<std::string>& Playback::genreNames() {
    static const std::vector<std::string> names = [] {
        static const char* const own[] = {
            "Αργά - Blues", "Κλασσικό Ροκ - Classic Rock", "Κάντρυ - Country", "Χορευτική - Dance",
            "Ντίσκο - Disco", "Φάνκ - Funk", "Grunge", "Χιπ-Χοπ - Hip Hop", "Τζαζ - Jazz",
            "Θρησκευτική - Religious", "Νέα Εποχή - New Age", "Παλιά - Oldies", "Άλλο - Other",
            "Ποπ - Pop", "R&b", "Ραπ - Rap", "Ρέγκε - Reggae", "Ροκ - Rock", "Τέκνο - Techno",
            "Βιομηχανική - Industrial", "Εναλλακτική - Alternative", "Σκα - Ska", "Αρχαία - Ancient",
            "Pranks", "Μουσική Ταινίας - Soundtrack", "Euro - Techno", "Περιβάλλοντος - Ambient",
            "Τριπ Χοπ - Trip Hop", "Φωνητική - Vocal", "Τζαζ Φανκ - Jazz Funk", "Fusion",
            "Τρανς - Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip",
            "Gospel", "Noise", "Alternative Rock", "Bass", "Soul", "Punk", "Space", "Meditative",
            "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave",
            "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock",
            "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
            "Native US", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer",
            "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
            "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing",
            "Fast Fusion", "Bebop", "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde",
            "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock",
            "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson",
            "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
            "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
            "Power Ballad", "Rhytmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo",
            "Acapella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass",
        };
        std::vector<std::string> v;
        int i = 0;
        for (const char* name : own) v.push_back(Format(i++, "000") + " - " + name);
        return v;
    }();
    return names;
}

const std::vector<std::string>& Playback::mediaExtensions() {
    static const std::vector<std::string> ext = {
        ".mp3", ".wav",  ".snd", ".au",   ".aif", ".aifc", ".aiff", ".mid", ".rmi", ".midi", ".cda",
        ".wm",  ".wma",  ".wax", ".wmv",  ".wmd", ".mpeg", ".mpg",  ".mpe", ".m1v", ".mp2",  ".mpa",
        ".mpv2", ".mp2v", ".asf", ".wmv", ".wmd", ".avi",  ".dvr-ms", ".m3u", ".wpl", ".wvx",
    };
    return ext;
}

void Playback::Init_Defaults() {
    ModuleState& s = app.state;
    // The sound that tells that the program starts.
    app.desktop().beep(s.BeepFrequency, s.BeepDuration);
    // The program folder is the current folder.
    std::error_code ec;
    std::filesystem::current_path(s.AppFolder, ec);
    clearRunState(app);
    fillChoiceLists(app);
    showFirstPage(app);
    setDefaultSwitches(app);
    // Long lines of the file, track and table lists scroll sideways.
    SizeList(2);
    SizeList(1);
    SizeList(3);
    SizeList(4);
    setSearchAndAddingOptions(app);
    setSliderSteps(app);
    // Class names of the class filter.
    if (ComboBox* classes = app.Form1.Combo4_0.get(0)) {
        for (const char* name : kClassNames) classes->AddItem(name);
    }
    setLookAndPlaces(app);
}

}  // namespace tarvolin

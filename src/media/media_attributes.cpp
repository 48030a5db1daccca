// Reading the media files' own attributes into the collection: duration,
// bit rate, tags, size and, when chosen, the rating, through the hidden
// player's media items. Also the menu items of the identification submenu.
#include <cmath>

#include "app/program.h"
#include "collection/store_files.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";

const char* const kDisabling = "-> Πρόσκαιρη Απενεργοποίηση... - Temporaly Disabling...";
const char* const kCalculating = "Υπολογισμός Μεγεθών/Διαρκείας/Δειγματοληψείας - Calculating Sizes/Duration/BitRate... ";
const char* const kPressEsc = " Πιέστε Esc για να διακόψετε - Press Esc to terminate";

std::string identificationQuestion() {
    return std::string(
               "Θα εκτελεσθεί η Αναγνώριση Ιδιοτήτων Αρχείων. Αυτή, ανάλογα με το πλήθος των αρχείων, τις ικανότητες των ") +
           "αποθηκευτικών ή άλλων παραγόντων μπορεί να κρατήσει αρκετά λεπτά της ώρας. Αν επιθυμείτε να " +
           "προβείτε τώρα σε αναζήτηση απαντήστε θετικά. Ειδάλλως μπορείτε πάντοτε από το μενού να την εκτελέσετε " +
           "χειροκίνητα και να επιλέξετε τις κατάλληλες προτιμήσεις. " + kCrLf +
           "Μπορείτε να διακόψετε την ενέργεια με το πλήκτρο ESC και να συνεχίσετε αργότερα επιλέγοντας Συνέχιση " +
           "Αναγνώρισης." + kCrLf + kCrLf +
           "Indetification of File Properties will be executed right now. This, depending on their number, disks " +
           "properties and other hardware factors can prolong to some minutes. If you would like to perform it " +
           "right now just replay affermative to this question. Otherwise you can always perform it by clicking on " +
           " the main menu selecting the appropriate options before proceeding." + kCrLf +
           "You can always interrupt this process by pressing EXC key and continue it again by clicking the Continue " +
           "Identification on the menu.";
}

std::string readRatingsWarning() {
    return std::string(
               "Αν επιλέξετε να αποδεχτείτε τις προτιμήσεις αρχείων από το δίσκο σας, τότε όσες τυχόν προτιμήσεις ") +
           "έχετε δώσει έως τώρα στη συλλογή σας ίσως να χαθούν, αν δεν είχατε ενεργοποιήσει την επιλογή " +
           "<Σώζε Προτιμήσεις εντός Αρχείων> - If you choose to accept file ratings from your disks " +
           "then you might end up loosing whatever rating you have given till now to your collection if " +
           "option <Save Ratings within Files> wasn't enabled>";
}

// Everything the run takes away from the window, given back however the
// run ends: the window and the tray menu, the track columns and the timer's
// own interval.
class ReadingLock {
public:
    explicit ReadingLock(Form1& f) : f_(f), interval_(f.Timer1.Interval()) {
        f_.setEnabled(false);
        f_.MnuSystemTray.setEnabled(false);
    }
    void hideColumns() {
        for (ListBox& column : f_.List3_0) column.setVisible(false);
        f_.Timer1.setInterval(10000);
        columnsHidden_ = true;
    }
    ~ReadingLock() {
        if (columnsHidden_) {
            f_.Timer1.setInterval(interval_);
            for (ListBox& column : f_.List3_0) column.setVisible(true);
        }
        f_.setEnabled(true);
        f_.MnuSystemTray.setEnabled(true);
    }
    ReadingLock(const ReadingLock&) = delete;
    ReadingLock& operator=(const ReadingLock&) = delete;

private:
    Form1& f_;
    int interval_;
    bool columnsHidden_ = false;
};

// The corrections a reading made to the columns shown.
struct Corrections {
    std::int64_t duration = 0;
    std::int64_t bitrate = 0;
    std::int64_t size = 0;
};

// The tables cover every row; a full run starts them empty. The classes
// stay: a file without a rating keeps the user's class. Every track is to
// be saved again; the report opens and the log box tells the run.
void startReading(Program& app, int rows, bool everyTrack, bool report) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    d.resizeTrackTables(rows);
    if (everyTrack) {
        for (std::size_t i = 0; i < d.trackEntries(); ++i) {
            d.TrackDuration[i] = Currency{};
            d.TrackBitrate[i] = 0;
            d.TrackArtist[i].clear();
            d.TrackGenre[i].clear();
            d.TrackAlbum[i].clear();
            d.TrackTitle[i].clear();
            d.TrackYear[i].clear();
            d.TrackInfoRead[i] = false;
        }
        d.ClassCount.fill(0);
        d.ClassSize.fill(Currency{});
        d.ClassDuration.fill(Currency{});
    }
    d.TrackSaved.assign(d.TrackSaved.size(), false);

    if (report) store.Report_File(-1);
    d.TrackCount = rows;
    d.FavorTrackCount = 0;

    app.Form1.Text2[0].setText(TimeText(app.loop().now()) + kDisabling + kCrLf + kCalculating + kCrLf + kPressEsc);
}

// A column's text for row i becomes `text`; a change counts as a correction.
void correctColumn(ListBox& column, int i, const std::string& text, std::int64_t& corrections) {
    if (column.List(i) != text) {
        column.setList(i, text);
        ++corrections;
    }
}

// Track i takes the duration, bit rate, tags and size its file gives, and,
// while ratings are read from the files, the class its rating names unless
// the user's classes are kept. The columns that differ are corrected.
void readTrackAttributes(Program& app, int i, Corrections& fixes) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    MessageLoop& loop = app.loop();
    const auto at = static_cast<std::size_t>(i);
    const std::string& path = f.List2.List(i);
    // The media layer reads a file once; its item answers every attribute.
    const std::shared_ptr<MediaItem> item = f.WindowsMediaPlayer2.newMedia(path);

    const Currency seconds = MediaFiles::durationOf(item->duration());
    loop.DoEvents();
    d.TotalDuration += seconds;
    d.TrackDuration[at] = seconds;
    correctColumn(f.List3_0[2], i, storefiles::durationText(seconds), fixes.duration);

    const std::string bitrate = item->getItemInfo("Bitrate");
    loop.DoEvents();
    if (IsNumeric(bitrate)) {
        if (const auto kbps = tryCInt(Val(bitrate) / 1024.0)) d.TrackBitrate[at] = *kbps;
    }
    correctColumn(f.List3_0[4], i, bitrate.empty() ? "000" : Format(Val(bitrate) / 1024.0, "#0"), fixes.bitrate);

    d.TrackArtist[at] = item->getItemInfo("Artist");
    loop.DoEvents();
    d.TrackAlbum[at] = item->getItemInfo("Album");
    loop.DoEvents();
    d.TrackGenre[at] = item->getItemInfo("Genre");
    loop.DoEvents();
    d.TrackTitle[at] = item->getItemInfo("Title");
    loop.DoEvents();
    d.TrackYear[at] = item->getItemInfo("WM/Year");
    loop.DoEvents();

    const Currency megabytes = MediaFiles::megabytesOf(item->getItemInfo("Filesize"));
    d.TrackSize[at] = megabytes;
    correctColumn(f.List3_0[3], i, storefiles::sizeText(megabytes), fixes.size);
    d.TotalSize += megabytes;

    if (s.ReadRatingsFromFiles) {
        const int cls = MediaFiles::classOfUserRating(item->getItemInfo("UserRating"));
        // No rating in the file, or the user's classes kept: the track keeps
        // its class. The class column follows the table, so the recount
        // keeps what the file gave.
        if (cls >= 0 && !s.KeepRatings) {
            d.TrackClass[at] = static_cast<std::int16_t>(cls);
            ListBox& classColumn = f.List3_0[1];
            const std::string letter = storefiles::classLetter(cls);
            if (classColumn.List(i) != letter) classColumn.setList(i, letter);
        }
    }
    loop.DoEvents();
    d.TrackInfoRead[at] = true;
}

// Tracks 0 to n in turn (with OnlyUnread -1 only those never read), with
// the tracks left and the progress told now and then; Escape stops the run
// after the track it is on.
Corrections readTracks(Program& app, int n, int OnlyUnread) {
    ModuleState& s = app.state;
    CollectionData& d = app.collection.d;
    MessageLoop& loop = app.loop();
    TextBox& log = app.Form1.Text2[0];
    const std::int64_t total = n;
    Corrections fixes;
    std::int64_t done = 0;
    for (int i = 0; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        d.TrackSaved[at] = false;
        if (OnlyUnread != -1 || !d.TrackInfoRead[at]) readTrackAttributes(app, i, fixes);

        ++done;
        if (done % 50 == 0 || done > total - 60) {
            log.setText(TimeText(loop.now()) + kDisabling + kCrLf + kCalculating + ":  -" + Str(n - i) + kCrLf +
                        kPressEsc);
            app.collection.Show_Progress(done, total, 1);
        }

        loop.DoEvents();
        if (s.AbortKey == 27) {
            s.AbortKey = 0;
            log.prependLine("Ακυρώθηκε - Canceled");
            break;
        }
    }
    return fixes;
}

// Every track counted once, whatever was read this time: the class tables
// and the totals are made again from all the tracks of rows 0 to n, each
// in the class its column shows.
void recountClasses(Program& app, int n) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    const ListBox& classColumn = app.Form1.List3_0[1];
    d.ClassCount.fill(0);
    d.ClassSize.fill(Currency{});
    d.ClassDuration.fill(Currency{});
    d.TotalDuration = Currency{};
    d.TotalSize = Currency{};
    for (int i = 0; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        int cls = storefiles::classOfLetter(classColumn.List(i));
        if (cls < 0) cls = validClass(d.TrackClass[at]);
        d.TrackClass[at] = static_cast<std::int16_t>(cls);
        const auto c = static_cast<std::size_t>(cls);
        d.ClassCount[c] += 1;
        d.ClassSize[c] += d.TrackSize[at];
        d.ClassDuration[c] += d.TrackDuration[at];
        d.TotalSize += d.TrackSize[at];
        d.TotalDuration += d.TrackDuration[at];
    }
    store.Calc_Favor_Totals();
    d.ClassLabelsDirty = true;
}

// The end of the run and its corrections, in the log box.
void tellCorrections(Program& app, const Corrections& fixes) {
    MessageLoop& loop = app.loop();
    TextBox& log = app.Form1.Text2[0];
    log.setText(TimeText(loop.now()) + "-> Υπολογισμός - Calculating... :  -" + " 0");
    log.prependLine("Εντάξει...Ok");
    log.prepend("Διορθώσεις στη Διάρκεια - Corrections in Duration:" + Str(fixes.duration) + kCrLf +
                "Διορθώσεις σε Δειγματοληψία - Corrections in Bitrate:" + Str(fixes.bitrate) + kCrLf +
                TimeText(loop.now()) + " -> Διορθώσεις σε Μεγέθη - Corrections on Sizes:" + Str(fixes.size) + kCrLf);
}

}  // namespace

Currency MediaFiles::durationOf(double seconds) {
    return Currency::tryFromDouble(KnownAmount(seconds)).value_or(Currency{});
}

Currency MediaFiles::megabytesOf(const std::string& filesize) {
    const double bytes = Val(filesize);
    if (!std::isfinite(bytes) || bytes <= 0) return Currency{};
    const auto whole = Currency::tryFromDouble(std::floor(bytes));
    if (!whole) return Currency{};
    return KnownAmount(*whole / 1048576);
}

int MediaFiles::classOfUserRating(const std::string& rating) {
    if (!IsNumeric(rating)) return -1;
    const auto r = tryCLng(Val(rating));
    if (!r || *r < 0 || *r > 99) return -1;
    if (*r == 0) return 0;
    if (*r <= 12) return 1;
    if (*r <= 37) return 2;
    if (*r <= 62) return 3;
    if (*r <= 86) return 4;
    return 5;
}

void MediaFiles::Identify_File_Properties(int OnlyUnread) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;

    if (app.dialogs().MsgBox(identificationQuestion(), mb::YesNo + mb::Question) != mb::Yes) return;

    BulkScope busy(s, BulkScope::Busy);
    const int rows = f.List2.ListCount();
    if (rows == 0) return;
    const int n = rows - 1;
    const bool report = s.KeepReport == -1;

    {
        d.TotalDuration = Currency{};
        d.TotalSize = Currency{};
        d.FavorDuration = Currency{};
        ReadingLock lock(f);
        startReading(app, rows, OnlyUnread == 0, report);

        // The track columns hidden and the hidden player silent while the
        // files are read.
        lock.hideColumns();
        f.WindowsMediaPlayer2.settings.setAutoStart(false);
        f.WindowsMediaPlayer2.settings.setMute(true);
        const Corrections fixes = readTracks(app, n, OnlyUnread);

        recountClasses(app, n);
        tellCorrections(app, fixes);
    }

    if (report) store.Report_File(0);
    busy.end();
    store.Save_Collection(true, true);
}

void MediaFiles::MnuMoreFileSizesAll_Click() {
    Form1& f = app.Form1;
    f.MultiPage1.setValue(0);
    Identify_File_Properties(0);
    app.collection.Calculate_Ratings();
    app.collection.Class_Duration_Labels();
    app.library.Remake_Filters();
}

void MediaFiles::MnuMoreFileSizesUnknonw_Click() {
    Form1& f = app.Form1;
    f.MultiPage1.setValue(0);
    Identify_File_Properties(-1);
    app.collection.Calculate_Ratings();
    app.collection.Class_Duration_Labels();
    app.library.Remake_Filters();
    f.MultiPage1.setValue(0);
}

void MediaFiles::MnuMoreFileSizesKeepRatings_Click() {
    MenuItem& item = app.Form1.MnuMoreFileSizesKeepRatings;
    item.setChecked(!item.Checked());
    app.state.KeepRatings = item.Checked();
}

void MediaFiles::MnuMoreFileSizesReadRatings_Click() {
    Form1& f = app.Form1;
    MenuItem& item = f.MnuMoreFileSizesReadRatings;
    item.setChecked(!item.Checked());
    if (item.Checked()) {
        app.dialogs().MsgBox(readRatingsWarning(), mb::OKOnly + mb::Exclamation);
        f.MnuMoreFileSizesKeepRatings.setEnabled(true);
    } else {
        f.MnuMoreFileSizesKeepRatings.setEnabled(false);
    }
    app.state.ReadRatingsFromFiles = item.Checked();
}

void MediaFiles::wireAttributeMenus() {
    Form1& f = app.Form1;
    f.MnuMoreFileSizesAll.Click = [this] { MnuMoreFileSizesAll_Click(); };
    f.MnuMoreFileSizesUnknonw.Click = [this] { MnuMoreFileSizesUnknonw_Click(); };
    f.MnuMoreFileSizesKeepRatings.Click = [this] { MnuMoreFileSizesKeepRatings_Click(); };
    f.MnuMoreFileSizesReadRatings.Click = [this] { MnuMoreFileSizesReadRatings_Click(); };
}

}  // namespace tarvolin

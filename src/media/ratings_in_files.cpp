// The tracks' classes carried into the media files' "UserRating" and back,
// and the rating menu's commands that start it.
#include <optional>

#include "app/program.h"
#include "collection/store_files.h"
#include "media/media_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";

std::string readQuestion() {
    return std::string("Αν επιλέξετε να διαβάσετε τις προτιμήσεις αρχείων από το δίσκο σας, τότε όσες τυχόν προτιμήσεις ") +
           "έχετε δώσει έως τώρα στη συλλογή σας θα χαθούν, αν δεν είχατε ενεργοποιήσει την επιλογή " +
           "<Σώζε Προτιμήσεις εντός Αρχείων>." + kCrLf + "Θα συνεχίσετε;" + kCrLf + kCrLf +
           "If you choose to accept file ratings from your disks then you will end up loosing whatever ratings " +
           "you have given till now to your collection if option <Save Ratings within Files> wasn't enabled>." +
           kCrLf + "Will you continue?";
}

std::string writeQuestion() {
    return std::string("Θέλετε να μεταβιβάσετε τις προτιμήσεις αρχείων στον δίσκο σας;") + kCrLf +
           "Would you like to transfer your ratings to your disks?";
}

// The whole number of a "UserRating" text, when it is a rating at all:
// numeric and, rounded half to even, within 0 to 99.
std::optional<int> ratingNumber(const std::string& text) {
    if (!IsNumeric(text)) return std::nullopt;
    const auto r = tryCLng(Val(text));
    if (!r || *r < 0 || *r > 99) return std::nullopt;
    return static_cast<int>(*r);
}

// The class a value found in a file meant, judged when writing: each value
// the program writes lies at the top of its class's band.
int comparisonClass(int r) {
    if (r <= 1) return r;
    if (r <= 25) return 2;
    if (r <= 50) return 3;
    if (r <= 75) return 4;
    return 5;
}

// The run keeps the window and the tray menu disabled, and gives both
// back however it ends.
class RatingsRunLock {
public:
    explicit RatingsRunLock(Form1& f) : f_(f) {
        f_.setEnabled(false);
        f_.MnuSystemTray.setEnabled(false);
    }
    ~RatingsRunLock() {
        f_.setEnabled(true);
        f_.MnuSystemTray.setEnabled(true);
    }
    RatingsRunLock(const RatingsRunLock&) = delete;
    RatingsRunLock& operator=(const RatingsRunLock&) = delete;

private:
    Form1& f_;
};

}  // namespace

std::string MediaFiles::userRatingOfClass(int cls) {
    static const char* const values[kClassCount] = {"0", "1", "25", "50", "75", "99"};
    return values[validClass(cls)];
}

void MediaFiles::ReadSave_Favor_In_Files(std::int32_t /*Index*/, std::uint8_t Mode) {
    Form1& f = app.Form1;
    ModuleState& s = app.state;
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    MessageLoop& loop = app.loop();
    HiddenPlayer& player = f.WindowsMediaPlayer2;
    TextBox& log = f.Text2[0];
    const bool reading = Mode == 1;
    const bool writing = Mode == 255;

    std::int64_t changes = 0;
    std::int64_t notWritten = 0;
    {
        BulkScope busy(s, BulkScope::Busy);
        RatingsRunLock lock(f);
        HiddenPlayerSettings& settings = player.settings;
        ListBox& classColumn = f.List3_0[1];
        const int n = f.List2.ListCount() - 1;
        bool readOnlyRights = false;

        for (int i = 0; i <= n; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::shared_ptr<MediaItem> item = player.newMedia(f.List2.List(i));
            const std::string cur = item->getItemInfo("UserRating");
            const std::optional<int> r = ratingNumber(cur);

            if (reading && r && d.hasEntry(i)) {
                const int c = classOfUserRating(cur);
                if (c != d.TrackClass[at]) {
                    ++changes;
                    d.TrackClass[at] = static_cast<std::int16_t>(c);
                    classColumn.setList(i, storefiles::classLetter(c));
                    d.TrackSaved[at] = false;
                }
            } else if (writing && d.hasEntry(i)) {
                if (settings.mediaAccessRights() == "Read") readOnlyRights = true;
                const bool allowed = !readOnlyRights || settings.requestMediaAccessRights("Full");
                const int cls = validClass(d.TrackClass[at]);
                const std::string v = userRatingOfClass(cls);
                // A file that already holds the value is left as it is.
                bool written = allowed && cur == v;
                if (allowed && !written) {
                    const bool writable = !item->isReadOnlyItem("UserRating");
                    written = writable && item->setItemInfo("UserRating", v);
                    if (!written) ++notWritten;
                    // A write the file refused is told with the file's name.
                    if (writable && !written) app.collection.logLine("-> " + writeFailure("UserRating", f.List2.List(i)));
                }
                if (written && r && comparisonClass(*r) != cls) ++changes;
            }

            if (i % 30 == 0 || i > n - 50) store.Show_Progress(i, n, 1);
            loop.DoEvents();
            if (s.AbortKey == 27) {
                s.AbortKey = 0;
                log.prependLine("Ακυρώθηκε - Canceled");
                break;
            }
        }
        player.close();
    }

    if (reading) d.CollectionSaved = false;
    if (writing && notWritten > 0) {
        app.collection.logLine("--> Αρχεία που δεν γράφτηκαν - Files not written :" + Str(notWritten));
    }
    app.collection.logLine("--> Αλλαγές - Changes :" + Str(changes));
}

void MediaFiles::MnuMoreFavorWithinFiles_Click() {
    MenuItem& item = app.Form1.MnuMoreFavorWithinFiles;
    item.setChecked(!item.Checked());
    app.state.SaveRatingsInFiles = item.Checked();
}

void MediaFiles::MnuMoreReadFavorFromFiles_Click() {
    if (app.dialogs().MsgBox(readQuestion(), mb::YesNo + mb::Question) != mb::Yes) return;
    ReadSave_Favor_In_Files(0, 1);
    app.collection.Calculate_Ratings();
    app.collection.Class_Duration_Labels();
    app.library.Remake_Filters();
}

void MediaFiles::MnuMoreSaveFavorWithinFiles_Click() {
    if (app.dialogs().MsgBox(writeQuestion(), mb::YesNo + mb::Question) != mb::Yes) return;
    ReadSave_Favor_In_Files(0, 255);
}

void MediaFiles::wireRatingMenus() {
    Form1& f = app.Form1;
    f.MnuMoreFavorWithinFiles.Click = [this] { MnuMoreFavorWithinFiles_Click(); };
    f.MnuMoreReadFavorFromFiles.Click = [this] { MnuMoreReadFavorFromFiles_Click(); };
    f.MnuMoreSaveFavorWithinFiles.Click = [this] { MnuMoreSaveFavorWithinFiles_Click(); };
}

}  // namespace tarvolin

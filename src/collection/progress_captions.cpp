// The play-progress captions of the main and compact windows: current file,
// play mode, counts line and window captions.
#include <algorithm>

#include "app/program.h"
#include "collection/collection_store.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kProductName = "TARVOLIN";

// A percentage as "00.00", held with four decimals first.
std::string percentText(double value) {
    return Format(Currency::fromDouble(value), "00.00");
}

// "TARVOLIN ---> path", the long path cut in its middle.
std::string captionWithPath(const std::string& path) {
    std::string caption = std::string(kProductName) + " ---> ";
    if (Len(path) < 110) return caption + path;
    return caption + Left(path, 40) + "....." + Right(path, 65);
}

bool longPath(const std::string& path) { return Len(path) >= 110; }

}  // namespace

void CollectionStore::Etiketes_Synol_Songs() {
    Form1& f = app_.Form1;
    auto& compact = app_.Form4;

    std::int64_t total = f.List2.ListCount();
    std::int64_t current = 0;
    std::int64_t remaining = 0;
    std::int64_t favourPlayed = 0;
    std::string mode;

    if (total == 0) {
        f.Text6.setText("");
    } else {
        d.PlayedTotal = Currency{};
        const std::size_t n = std::min(static_cast<std::size_t>(total), d.trackEntries());
        for (std::size_t i = 0; i < n; ++i) {
            const std::int32_t mark = d.PlayOrder[i];
            if (mark == 0 || mark > d.PlayedCount) continue;
            d.PlayedTotal += d.TrackDuration[i];
            const int c = d.TrackClass[i];
            if (d.PlayClassActive && c >= 0 && c < kClassCount &&
                d.PlayClassOn[static_cast<std::size_t>(c)] != 0) {
                ++favourPlayed;
            }
        }

        total = f.List2.ListCount();
        remaining = total - d.PlayedCount;
        current = d.PlayedCount;

        if (d.PlayedCount >= d.MaxPlayedCount) {
            mode = app_.state.ShuffleOn ? "Τυχαία Αναπαραγωγή - Suffle Play"
                                        : "Σειριακή Αναπαραγωγή - Serial Play";
        } else {
            const std::string tag =
                "[-" + std::to_string(static_cast<std::int64_t>(d.MaxPlayedCount) - d.PlayedCount) + "]";
            mode = app_.state.ShuffleOn
                       ? "Τυχαία Αναπαραγωγή [σε οπισθοδρόμηση] -> " + tag + " <- Suffle Play [in backtracking]"
                       : "Σειριακή Αναπαραγωγή [σε οπισθοδρόμηση] -> " + tag +
                             " <- Serial Play [in backtracking]";
        }

        // The path of the current file with its file name selected.
        f.Text6.setText(d.CurrentFile);
        std::string name;
        File_Name_Of_Path(d.CurrentFile, name);
        const auto nameLength = static_cast<int>(d.CurrentFile.empty() ? 0 : Len(name));
        const auto textLength = static_cast<int>(Len(f.Text6.Text()));
        f.Text6.setSelStart(textLength - nameLength);
        f.Text6.setSelLength(nameLength);
        compact.Text6.setText(f.Text6.Text());
        compact.Text6.setSelStart(f.Text6.SelStart());
        compact.Text6.setSelLength(f.Text6.SelLength());
    }

    const double overallPercent = total != 0 ? 100.0 / static_cast<double>(total) * current : 0.0;

    f.Label6.setCaption(mode);
    compact.Label6.setCaption(mode);
    // "Return" is usable exactly while this caption shows the way back.
    app_.playback.updateReturnButton();

    const std::string& path = d.CollectionPath;
    const std::string tail = longPath(path) ? "] " : "]";
    const std::string blanks(10, ' ');
    if (!d.PlayClassActive) {
        f.setCaption(captionWithPath(path) + " [" + percentText(overallPercent) + "%" + tail);
        f.Label3[0].setCaption("Τρέχων - Current: " + std::to_string(current) + blanks +
                               "Όλα - Total: " + std::to_string(total) + blanks +
                               "Εναπομείναντα - Remaining: " + std::to_string(remaining));
    } else {
        std::int64_t favTotal = 0, favRemaining = 0, favCurrent = 0;
        double favourPercent = 0.0;
        if (d.FavorTrackCount > 0) {
            favTotal = d.FavorTrackCount;
            favRemaining = favTotal - favourPlayed;
            favCurrent = favourPlayed;
            favourPercent = 100.0 / static_cast<double>(favTotal) * favCurrent;
        }
        f.setCaption(captionWithPath(path) + " [" + percentText(favourPercent) + "%" + "] " + " [" +
                     percentText(overallPercent) + "%" + tail);
        f.Label3[0].setCaption("Τρέχων - Current: " + std::to_string(favCurrent) + " [" +
                               std::to_string(current) + "]" + blanks + "Όλα - Total: " +
                               std::to_string(favTotal) + " [" + std::to_string(total) + "]" + blanks +
                               "Εναπομείναντα - Remaining: " + std::to_string(favRemaining) + " [" +
                               std::to_string(remaining) + "]");
    }
    compact.Label3.setCaption(f.Label3[0].Caption());

    const std::string& mainCaption = f.Caption();
    compact.setCaption(Left(mainCaption, 38) + " ...... " + Right(mainCaption, 56));
}

}  // namespace tarvolin

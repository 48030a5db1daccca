// Counting the tracks by rating class, and the texts of the class labels.
#include <algorithm>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

const char* const kDisabling = "-> Πρόσκαιρη απενεργοποίηση ... -  Disabling for a while...";
const char* const kCalculating = "Υπολογισμός Προτιμήσεων... - Calculating Ratings...";

// A size in megabytes as "00.00 Mb", or in gigabytes above 1024 Mb.
std::string sizeWithUnit(Currency megabytes) {
    if (megabytes > Currency::fromInteger(1024)) {
        return Format(megabytes.toDouble() / 1024.0, "00.00") + " Gb";
    }
    return Format(megabytes, "00.00") + " Mb";
}

// Disables the main window, the tray menu and the track columns for a
// count, and enables them again however the count ends.
class CountingLock {
public:
    explicit CountingLock(Form1& f) : f_(f) { set(false); }
    ~CountingLock() { set(true); }
    CountingLock(const CountingLock&) = delete;
    CountingLock& operator=(const CountingLock&) = delete;

private:
    void set(bool enabled) {
        f_.setEnabled(enabled);
        f_.MnuSystemTray.setEnabled(enabled);
        for (ListBox& column : f_.List3_0) column.setEnabled(enabled);
    }
    Form1& f_;
};

}  // namespace

void CollectionStore::Calculate_Ratings() {
    Form1& f = app_.Form1;
    d.ClassSize.fill(Currency{});
    d.ClassCount.fill(0);
    d.ClassDuration.fill(Currency{});
    d.TotalDuration = Currency{};
    d.TotalSize = Currency{};
    d.ClassLabelsDirty = true;

    {
        CountingLock lock(f);
        TextBox& log = f.Text2[0];
        const std::string heading = timeOfDay() + kDisabling + kCalculating;
        log.setText(heading);

        ListBox* classColumn = f.List3_0.get(1);
        if (classColumn) classColumn->setVisible(false);

        const int rows = f.List2.ListCount();
        for (int i = 0; i < rows; ++i) {
            const int k = i + 1;
            if (d.hasEntry(i)) {
                const auto at = static_cast<std::size_t>(i);
                d.TotalSize += d.TrackSize[at];
                d.TotalDuration += d.TrackDuration[at];

                int c = classColumn ? storefiles::classOfLetter(classColumn->List(i)) : -1;
                // A text that names no class keeps the track's own class.
                if (c < 0) c = std::clamp<int>(d.TrackClass[at], 0, kClassCount - 1);
                d.TrackClass[at] = static_cast<std::int16_t>(c);
                const auto ci = static_cast<std::size_t>(c);
                d.ClassCount[ci] += 1;
                d.ClassSize[ci] += d.TrackSize[at];
                d.ClassDuration[ci] += d.TrackDuration[at];
            }

            if (k % 40 == 0 || k > rows - 50) {
                Show_Progress(k, rows, 1);
                log.setText(heading + "\r\n" + Str(k) + " - " + Str(rows));
            }

            app_.loop().DoEvents();
            if (app_.state.AbortKey == 27) {
                app_.state.AbortKey = 0;
                log.setText(log.Text() + "Ακυρώθηκε - Canceled" + "\r\n");
                break;
            }
        }

        Calc_Favor_Totals();
        if (classColumn) classColumn->setVisible(true);
    }
    TextBox& log = f.Text2[0];
    log.setText(log.Text() + timeOfDay() + "-> Έτοιμο - Done" + "\r\n");
}

void CollectionStore::Class_Size_Labels() {
    if (!d.ClassLabelsDirty) return;
    double n = app_.Form1.List2.ListCount();
    if (n <= 0) n = 0.1;

    d.TotalSizeLabel = " [" + Format(n, "00000") + "]" + " - [" + sizeWithUnit(d.TotalSize) + "]" +
                       " - [100%]";
    for (std::size_t c = 0; c < kClassCount; ++c) {
        const double percent = d.ClassCount[c] / n * 100.0;
        d.ClassSizeLabel[c] = " [" + Format(static_cast<std::int64_t>(d.ClassCount[c]), "00000") + "]" +
                              " - [" + sizeWithUnit(d.ClassSize[c]) + "]" + " - [" +
                              Format(percent, "00.0") + "%]";
    }
}

void CollectionStore::Class_Duration_Labels() {
    if (!d.ClassLabelsDirty) return;
    d.ClassLabelsDirty = false;
    for (std::size_t c = 0; c < kClassCount; ++c) {
        d.ClassDurationLabel[c] = " - [" + timeTotalText(d.ClassDuration[c]) + "]";
    }
}

}  // namespace tarvolin

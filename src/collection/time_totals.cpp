// The time-totals lines of the main and compact windows, and the progress
// bars.
#include <algorithm>

#include "app/program.h"
#include "collection/collection_store.h"
#include "toolkit/runtime.h"

namespace tarvolin {

namespace {

// Seconds rounded to a whole number, halves to the even neighbour.
std::int64_t wholeSeconds(Currency seconds) {
    const std::int64_t raw = seconds.raw();
    std::int64_t q = raw / Currency::Scale;
    const std::int64_t r = raw % Currency::Scale;
    const std::int64_t half = Currency::Scale / 2;
    const std::int64_t sign = raw < 0 ? -1 : 1;
    const std::int64_t ar = r < 0 ? -r : r;
    if (ar > half || (ar == half && (q % 2) != 0)) q += sign;
    return q;
}

}  // namespace

std::string CollectionStore::timeTotalText(Currency seconds) {
    const std::int64_t s = wholeSeconds(seconds);
    const std::int64_t days = s / 86400;
    const std::int64_t hours = (s % 86400) / 3600;
    const std::int64_t minutes = (s % 3600) / 60;
    const std::int64_t secs = s % 60;
    return Format(days, "000") + ":" + Format(hours, "00") + ":" + Format(minutes, "00") + ":" +
           Format(secs, "00");
}

void CollectionStore::Show_Time_Totals() {
    Form1& f = app_.Form1;
    const int rows = f.List2.ListCount();
    if (rows == 0 || app_.state.Busy) return;

    d.TimeTextTotal = timeTotalText(d.TotalDuration);
    d.TimeTextC = timeTotalText(d.PlayedTimeNow);
    d.TimeTextB = timeTotalText(d.DurationLeft);

    Label& chosen = f.Label2[1];
    if (d.PlayClassActive) {
        const std::string now = timeTotalText(d.FavorPlayedNow);
        const std::string sum = timeTotalText(d.FavorDuration);
        const std::string left = timeTotalText(d.FavorTimeLeft);
        chosen.setVisible(true);

        // A current track outside the tables is in no chosen class.
        bool inChosenClass = false;
        const std::int32_t t = d.CurrentTrack;
        if (t >= 0 && t < rows && d.hasEntry(t)) {
            const int c = d.TrackClass[static_cast<std::size_t>(t)];
            inChosenClass = c >= 0 && c < kClassCount && d.PlayClassOn[static_cast<std::size_t>(c)] != 0;
        }
        chosen.setEnabled(inChosenClass);
        chosen.setCaption("Προτίμηση -> Τώρα - Now:   " + now + "   Σύνολο - Sum:   " + sum +
                          "   Ακόμη - Left:   " + left + " <-- Rating");
    } else {
        chosen.setVisible(false);
    }

    f.Label2[0].setCaption("Τώρα - Now:  " + d.TimeTextC + "   Σύνολο - Sum:   " + d.TimeTextTotal +
                           "   Ακόμη - Left:    " + d.TimeTextB);

    auto& compact = app_.Form4;
    compact.Label2[0].setCaption(f.Label2[0].Caption());
    compact.Label2[1].setCaption(chosen.Caption());
    compact.Label2[1].setVisible(chosen.Visible());
    compact.Label2[1].setEnabled(chosen.Enabled());
}

void CollectionStore::Show_Progress(Currency& Done, Currency Total, int Index) {
    Form1& f = app_.Form1;
    Shape* frame = f.Shape1.get(Index);
    Shape* fill = f.Shape2.get(Index);
    Label* percentLabel = f.Label11.get(Index);
    if (!frame || !fill || !percentLabel) return;
    if (Total == Currency{}) return;
    if (Done > Total) Done = Total;

    const int width = frame->Width();
    const double ratio = std::clamp(Done.toDouble() / Total.toDouble(), 0.0, 1.0);
    const Currency filled = Currency::fromDouble(width * ratio);
    fill->setWidth(CLng(filled));

    // A frame without width still tells how far the work has come.
    const Currency percent = width > 0 ? Currency::fromDouble(filled.toDouble() * 100.0 / width)
                                       : Currency::fromDouble(ratio * 100.0);
    percentLabel->setCaption(Format(percent, "000") + "%");
}

void CollectionStore::Show_Progress(std::int64_t done, std::int64_t total, int index) {
    Currency doneValue = Currency::fromInteger(done);
    Show_Progress(doneValue, Currency::fromInteger(total), index);
}

}  // namespace tarvolin

// The usage statistics of the information menu: the files played and the
// total playing time, shown in one box and zeroed on request.
#include <string>

#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

std::string Library::statisticsText() const {
    const ModuleState& s = app.state;
    auto n = [](std::int32_t v) { return std::to_string(v); };
    return "Αρχεία - Files:" + n(s.StatFilesPlayed) + "\r\n\r\n" +
           "Διάρκεια Αναπαραγωγής -> " + n(s.StatYears) + " Χρόνια - " + n(s.StatMonths) + " Μήνες - " +
           n(s.StatDays) + " Ημέρες - " + n(s.StatHours) + " Ώρες - " + n(s.StatMinutes) + " Λεπτά - " +
           n(s.StatSeconds) + ": Δευτερόλεπτα \r\n" +
           "Reproduce Duration ->> " + n(s.StatYears) + " Years - " + n(s.StatMonths) + " Months - " +
           n(s.StatDays) + " Days - " + n(s.StatHours) + " Hours - " + n(s.StatMinutes) + " Minutes - " +
           n(s.StatSeconds) + ": Seconds ";
}

void Library::mnustats_Click() { app.dialogs().MsgBox(statisticsText(), mb::OKOnly + mb::Information); }

void Library::mnustatsreset_Click() {
    if (app.dialogs().MsgBox("Επιβεβαιώστε Μηδενισμό Στατιστικών - Confirm Reset of Statistics",
                             mb::OKCancel + mb::Question) == mb::Cancel) {
        return;
    }
    // They reach the default file at shutdown.
    ModuleState& s = app.state;
    s.StatFilesPlayed = s.StatYears = s.StatMonths = s.StatDays = s.StatHours = s.StatMinutes = s.StatSeconds = 0;
}

}  // namespace tarvolin

// The user's own web search links: the link button adds the typed link to
// the list of links or removes the chosen one. The first three links are
// built in and stay.
#include <string>

#include "app/program.h"
#include "library/library.h"

namespace tarvolin {

namespace {

const char* const kCrLf = "\r\n";
constexpr int kBuiltInLinks = 3;

// How to type a link, with the first link as the example.
std::string linkHelpText(const std::string& example) {
    return std::string("Πληκτρολογήστε δεξιά, το σύνδεσμο όπου πρέπει να γίνει η αναζήτηση πολυμέσου, ") +
           "για να καταχωρηθεί κατόπιν" +
           " αριστερά, [ο σύνδεσμος πρέπει να περιλαμβάνει την πλήρη περιγραφή για αναζήτηση. " +
           "Δείτε π.χ. το Youtube:]" + kCrLf + kCrLf + example + kCrLf + kCrLf +
           "Type on the right, the link to be used for searching a multimedia file, so it can be then registered on " +
           "the left, [the link must be full, including the command for searcing within the link. See the Youtube " +
           "example & others].";
}

}  // namespace

void Library::Command13_Click() {
    Form1& f = app.Form1;
    Dialogs& dialogs = app.dialogs();
    ComboBox& links = f.Combo3;
    const bool add = f.Option2.has(0) && f.Option2[0].Value();

    if (add) {
        const std::string text = f.Text2[3].Text();
        if (text.empty()) {
            const std::string example = links.ListCount() > 0 ? links.List(0) : std::string();
            dialogs.MsgBox(linkHelpText(example), mb::OKOnly + mb::Information);
            return;
        }
        if (text.find("www") == std::string::npos) {
            dialogs.MsgBox(std::string("Πρέπει να πληκτρολογήσετε διεύθυνση διαδικτύου [www] - ") + kCrLf +
                               "You must input a valid internet location [www]",
                           mb::OKOnly + mb::Information);
            return;
        }
        links.AddItem(RTrim(text));
        storeSearchLinks();
        links.setListIndex(links.ListCount() - 1);
        return;
    }

    const int chosen = links.ListIndex();
    if (chosen < 0) {
        dialogs.MsgBox("Επιλέξτε μια διεύθυνση διαδικτύου [wwww]  από το πτυσόμενο μενού αριστερά - Select an internet "
                       "location [www] on the left",
                       mb::OKOnly + mb::Exclamation);
        return;
    }
    if (chosen < kBuiltInLinks) {
        dialogs.MsgBox("Οι πρώτες 3 διευθύνσεις δε γίνεται να διαγραφούν - The first 3 www locations cannot be deleted",
                       mb::OKOnly + mb::Exclamation);
        return;
    }
    if (dialogs.MsgBox("Θέλετε να αφαιρέσετε τη διεύθυνση: " + links.List(chosen) + " : would you like to delete it",
                       mb::YesNo + mb::Question) != mb::Yes) {
        return;
    }
    links.RemoveItem(chosen);
    storeSearchLinks();
    links.setListIndex(chosen - 1);
}

void Library::storeSearchLinks() {
    // Entry 0 stays empty; the user's links follow in the order of the list.
    ModuleState& s = app.state;
    const ComboBox& links = app.Form1.Combo3;
    s.SearchLinks.assign(1, std::string());
    for (int k = kBuiltInLinks; k < links.ListCount(); ++k) s.SearchLinks.push_back(links.List(k));
    s.SearchLinkCount = static_cast<int>(s.SearchLinks.size()) - 1;
}

void Library::wireSearchLinks() { app.Form1.Command13.Click = [this] { Command13_Click(); }; }

}  // namespace tarvolin

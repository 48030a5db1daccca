// The data folders under the program folder, and the folder picker for the
// copy and move destination.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/program.h"
#include "collection/collection_store.h"

namespace tarvolin {

const char* CollectionStore::dataFolderName(int kind) {
    switch (kind) {
        case 0: return "tarvolin_reports";
        case 1: return "tarvolin_sylloges";
        case 2: return "tarvolin_preferences";
        case 3: return "tarvolin_filtra";
        default: return nullptr;
    }
}

void CollectionStore::Make_Data_Folder(int kind) {
    const char* name = dataFolderName(kind);
    if (!name) return;
    const std::string folder = app_.state.AppFolder + name;

    std::string remembered;
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return;
    } else if (errno != ENOENT) {
        remembered = "Δεν υπάρχει ο φάκελος - Directory doesn't exist -->" + folder;
    }
    if (::mkdir(folder.c_str(), 0777) != 0) {
        app_.dialogs().MsgBox(remembered + "\r\nΔεν μπορώ να δημιουργήσω τον φάκελο - Could not create the directory --> " +
                                  folder,
                              mb::Critical + mb::OKCancel);
    }
}

void CollectionStore::Pick_Folder(std::string& result) {
    result = app_.dialogs().PickFolder("Pick a folder");
    ModuleState& s = app_.state;
    if (!result.empty()) {
        if (result.back() != '/') result += '/';
        s.DestFolder = result;
        app_.Form1.Text2[5].setText(s.DestFolder);
        app_.Form1.Text2[3].setText(s.DestFolder);
    } else {
        app_.dialogs().MsgBox("Δεν επιλέξατε ορθή διαδρομή δίσκου - You haven't choose correct disk path", mb::Critical);
        s.DestFolder.clear();
    }
}

}  // namespace tarvolin

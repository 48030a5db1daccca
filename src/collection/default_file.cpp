// The default file: the last collection's path and the seven statistics
// counters, kept between runs in the collections folder.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/durable_file.h"
#include "toolkit/text_file.h"

namespace tarvolin {

namespace sf = storefiles;

std::string CollectionStore::defaultFilePath() const {
    return app_.state.AppFolder + "tarvolin_sylloges/default.tl";
}

std::string CollectionStore::defaultCollectionPath() const {
    return app_.state.AppFolder + "tarvolin_sylloges/tarvolin.tlf";
}

void CollectionStore::Load_Last_Collection() {
    ModuleState& s = app_.state;
    Make_Data_Folder(1);
    Make_Data_Folder(3);

    // The executable's folder is passed over as the program folder when the
    // default file could not name a collection in it; the user is told where
    // the data went.
    const std::string& exe = app_.executablePath();
    const std::size_t slash = exe.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string exeFolder = exe.substr(0, slash);
        if (!sf::fitsTextLine(exeFolder) && sf::asFolder(exeFolder) != s.AppFolder) {
            logLine("-> Ο φάκελος του προγράμματος \"" + exeFolder + "\" δεν μπορεί να γραφτεί στο αρχείο " +
                    "default.tl και τα δεδομένα φυλάγονται στο \"" + s.AppFolder +
                    "\" - The program folder cannot be stored in the file default.tl and the data is kept in \"" +
                    s.AppFolder + "\"");
        }
    }

    bool failure = false;
    TextFileReader in;
    std::string path;
    if (!in.Open(defaultFilePath())) {
        failure = true;
    } else {
        // The first line is the path, whole: commas and quotes are part of it.
        if (in.LineInput(path)) {
            path = LTrim(path);
            if (path.empty()) failure = true;
        } else {
            failure = true;
        }
        std::int32_t* counters[] = {&s.StatFilesPlayed, &s.StatYears, &s.StatMonths, &s.StatDays,
                                    &s.StatHours, &s.StatMinutes, &s.StatSeconds};
        for (std::int32_t* counter : counters) {
            std::int32_t value = 0;
            if (failure || !in.InputLong(value)) {
                // A counter that cannot be read keeps its value, and so do
                // the ones after it.
                failure = true;
                break;
            }
            *counter = value;
        }
        in.Close();
    }
    d.CollectionPath = failure ? defaultCollectionPath() : path;
}

void CollectionStore::Save_Last_Collection() {
    ModuleState& s = app_.state;
    auto report = [&](const std::string& description) { app_.dialogs().MsgBox(description, mb::OKOnly); };

    Make_Data_Folder(1);
    Make_Data_Folder(3);
    if (d.CollectionPath.empty()) d.CollectionPath = defaultCollectionPath();

    // A path that the first line cannot hold as it is would split it and
    // spoil the counters: the next start opens the default collection.
    std::string line = d.CollectionPath;
    if (!sf::fitsTextLine(line)) {
        line = defaultCollectionPath();
        logLine("-> Η διαδρομή της συλλογής δεν μπορεί να γραφτεί στο αρχείο default.tl - The collection's path cannot "
                "be stored in the file default.tl");
        if (!sf::fitsTextLine(line)) return;
    }

    // Written beside the old file and put in its place when whole.
    const std::string target = defaultFilePath();
    const std::string temp = durable::temporaryBeside(target);
    TextFileWriter out;
    bool ok = out.Open(temp, TextFileWriter::Mode::Output);
    if (!ok) {
        report(out.errorText());
        return;
    }
    if (!out.PrintLine(line)) {
        ok = false;
        report(out.errorText());
    }
    std::string numbers;
    for (std::int32_t v : {s.StatFilesPlayed, s.StatYears, s.StatMonths, s.StatDays, s.StatHours, s.StatMinutes,
                           s.StatSeconds}) {
        numbers += PrintNumberText(v);
    }
    if (!out.PrintLine(numbers)) {
        ok = false;
        report(out.errorText());
    }
    if (!out.Close()) {
        ok = false;
        report(out.errorText());
    }
    // Sent to the disk before it takes the old one's place.
    std::error_code ec;
    if (ok && !durable::replaceFile(temp, target)) {
        ok = false;
        report(std::strerror(errno));
    }
    if (!ok) std::filesystem::remove(temp, ec);
}

}  // namespace tarvolin

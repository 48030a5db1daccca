// The default file: the last collection's path and the seven statistics
// counters, kept between runs in the collections folder.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
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

    // Written beside the old file and put in its place when whole.
    const std::string target = defaultFilePath();
    const std::string temp = sf::temporaryBeside(target);
    TextFileWriter out;
    bool ok = out.Open(temp, TextFileWriter::Mode::Output);
    if (!ok) {
        report(out.errorText());
        return;
    }
    if (!out.PrintLine(d.CollectionPath)) {
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
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, target, ec);
        if (ec) report(ec.message());
    }
    if (!ok || ec) std::filesystem::remove(temp, ec);
}

}  // namespace tarvolin

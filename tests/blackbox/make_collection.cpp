// Writes a collection into a program folder and names it in the folder's
// default file, so that the program loads it at start-up: many tracks whose
// files need not exist, or the given files with the durations they announce
// and the preference to play at start.
// Usage: make_collection <program folder> <tracks>
//        make_collection <program folder> play <seconds each> <file>...
#include <cstdio>
#include <string>

#include "support/big_collection.h"
#include "support/program_harness.h"

int main(int argc, char** argv) {
    using namespace tarvolin;
    const bool play = argc >= 5 && std::string(argv[2]) == "play";
    if (argc != 3 && !play) {
        std::fprintf(stderr, "usage: make_collection <program folder> <tracks>\n"
                             "       make_collection <program folder> play <seconds each> <file>...\n");
        return 2;
    }
    ProgramHarness doubles(false);
    Program app(doubles.services(), argv[1]);
    if (!play) {
        std::puts(makeBigCollection(app, std::stoi(argv[2])).c_str());
        app.collection.Save_Last_Collection();
        return 0;
    }
    CollectionStore& store = app.collection;
    store.Make_Data_Folder(1);
    store.Make_Data_Folder(3);
    store.d.CollectionPath = app.AppFolder() + "tarvolin_sylloges/play.tlf";
    // Stored as a collection holds it, whatever the value.
    const Currency seconds = Currency::fromRaw(std::stoll(argv[3]) * Currency::Scale);
    for (int i = 4; i < argc; ++i) {
        if (!app.media.appendTrack(argv[i])) return 1;
        store.d.TrackDuration[static_cast<std::size_t>(app.Form1.List2.ListCount() - 1)] = seconds;
        store.d.TotalDuration += seconds;
    }
    store.Save_Collection(false, true);
    app.state.PlayAtStart = true;
    app.Form1.MnuMoreAutoStart.setChecked(true);
    std::int32_t failed = 0;
    store.Save_Preferences(failed);
    store.Save_Last_Collection();
    std::puts(store.d.CollectionPath.c_str());
    return store.d.CollectionSaved && failed == 0 ? 0 : 1;
}

#include "support/big_collection.h"

#include <cstdlib>

#include "app/program.h"

namespace tarvolin {

namespace {

std::string pathOf(int i) {
    return "/home/user/Μουσική/Καλλιτέχνης " + std::to_string(i % 500) + "/Album " + std::to_string(i % 37) + "/" +
           std::to_string(i) + " - Τραγούδι.mp3";
}

}  // namespace

std::string makeBigCollection(Program& app, int tracks, const std::string& name) {
    CollectionStore& store = app.collection;
    CollectionData& d = store.d;
    store.Make_Data_Folder(1);
    store.Make_Data_Folder(3);
    d.CollectionPath = app.AppFolder() + "tarvolin_sylloges/" + name + ".tlf";

    Form1& f = app.Form1;
    d.clearTrackTables(tracks);
    f.List5.AddItem("Α/Α  heading");
    f.List5.AddItem("-----------");
    for (int i = 0; i < tracks; ++i) {
        const auto e = static_cast<std::size_t>(i);
        f.List2.AddItem(pathOf(i));
        for (int m = 0; m < 5; ++m) f.List3_0[m].AddItem("x");
        d.PlayOrder[e] = i % 3 == 0 ? i / 3 + 1 : 0;
        d.TrackDuration[e] = Currency::fromInteger(180 + i % 240);
        d.TrackSize[e] = Currency::fromRaw(40000 + i % 90000);
        d.TrackClass[e] = static_cast<std::int16_t>(i % 6);
        d.TrackBitrate[e] = 192;
        d.TrackArtist[e] = "Καλλιτέχνης " + std::to_string(i % 500);
        d.TrackGenre[e] = "Έντεχνο";
        d.TrackAlbum[e] = "Album " + std::to_string(i % 37);
        d.TrackTitle[e] = "Τραγούδι " + std::to_string(i);
        d.TrackYear[e] = "1999";
        d.TrackInfoRead[e] = true;
        f.List5.AddItem("   .   " + Format(static_cast<std::int64_t>(i + 1), "000000") + " Τραγούδι " +
                        std::to_string(i) + "   03:00   04.00Mb  192");
    }
    d.TrackCount = tracks;
    for (const char* g : {"Έντεχνο", "Rock", "Jazz"}) f.Combo4_0[4].AddItem(g);
    store.Save_Collection(false, true);
    if (!d.CollectionSaved) std::abort();
    return d.CollectionPath;
}

}  // namespace tarvolin

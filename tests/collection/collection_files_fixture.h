#pragma once
// A program with a sample collection of three tracks (Greek text
// included), and the bytes its three files must hold, built record by
// record from the file layouts with the tests' own byte builder.
#include <array>
#include <filesystem>
#include <string>

#include "collection/record_bytes.h"
#include "collection/store_fixture.h"

namespace tarvolin {

struct SampleTrack {
    std::string path;
    std::int32_t mark;
    std::int64_t duration;  // x 10000
    std::int16_t cls;
    std::int64_t size;      // x 10000
    std::int64_t resume;    // x 10000
    std::int16_t bitrate;
    std::string artist, genre, album, title, year;
    bool infoRead;
    std::int16_t spareNumber3;
    std::string spareText15;
};

class CollectionFilesTest : public StoreTest {
protected:
    using Records = testbytes::Records;

    std::vector<SampleTrack> tracks = {
        {"/μουσική/Θάλασσα.mp3", 1, 37250000, 1, 32000, 0, 128, "Νίκος", "Έντεχνο", "Άλμπουμ", "Θάλασσα", "1999",
         true, 7, "σημείωση"},
        {"/music/b.ogg", 0, 595000, 5, 15360000, 420000, 320, "Band", "Rock", "", "B", "2004", true, 0, ""},
        {"/music/c.wav", 2, 0, 0, 10240000, 0, 64, "", "", "", "", "", false, 0, ""},
    };

    std::string folder() { return app().AppFolder(); }
    std::string collectionPath() { return folder() + "tarvolin_sylloges/rock.tlf"; }
    std::string trackPath() { return folder() + "tarvolin_sylloges/rock_Files.ptlf"; }
    std::string filterPath() { return folder() + "tarvolin_filtra/rock_Filters.ptlf"; }

    void makeFolders() {
        store().Make_Data_Folder(1);
        store().Make_Data_Folder(3);
    }

    // The sample collection in memory, as a scan or a load leaves it.
    void putSampleCollection() {
        makeFolders();
        f1().Dir1.setPath(folder());
        for (const SampleTrack& t : tracks) {
            const int i = addTrack(t.path, t.cls);
            const auto e = static_cast<std::size_t>(i);
            d().PlayOrder[e] = t.mark;
            d().TrackDuration[e] = Currency::fromRaw(t.duration);
            d().TrackSize[e] = Currency::fromRaw(t.size);
            d().TrackResumePos[e] = Currency::fromRaw(t.resume);
            d().TrackBitrate[e] = t.bitrate;
            d().TrackArtist[e] = t.artist;
            d().TrackGenre[e] = t.genre;
            d().TrackAlbum[e] = t.album;
            d().TrackTitle[e] = t.title;
            d().TrackYear[e] = t.year;
            d().TrackInfoRead[e] = t.infoRead;
            d().TrackExtraNum[e][3] = t.spareNumber3;
            d().TrackExtraText[e][15] = t.spareText15;
            d().TrackSaved[e] = false;
        }
        d().CollectionPath = collectionPath();
        d().CurrentTrack = 2;
        d().TotalDuration = Currency::fromRaw(38440000);
        d().PlayedTotal = Currency::fromRaw(1005000);
        d().DurationLeft = Currency::fromRaw(200000);
        app().state.AlarmFile = "/ξυπνητήρι.mp3";
        d().PlayClassOn = {0, -1, 0, 0, -1, -1};
        d().PlayedCount = 2;
        d().MaxPlayedCount = 2;
        d().FavorPlayedTotal = Currency::fromRaw(12500);
        d().FavorTimeLeft = Currency::fromRaw(30000);
        d().FavorDuration = Currency::fromRaw(40000);
        d().ClassDuration = {Currency::fromRaw(0), Currency::fromRaw(37250000), {}, {}, {}, Currency::fromRaw(595000)};

        f1().Combo4_0[1].AddItem("Ροκ");
        f1().Combo4_0[1].AddItem("Jazz");
        f1().Combo4_0[4].AddItem("1999");
        for (const std::string& row : tableRows()) f1().List5.AddItem(row);
    }

    static std::vector<std::string> tableRows() {
        return {"Α/Α    Νούμερο Τίτλος", "-------------------", "   .   000001 Θάλασσα   03.20Mb",
                "   .   000002 B         01.50Gb", "   .   000003           01.00Gb"};
    }

    std::string expectedCollectionFile() {
        Records r(300);
        r.str(1, "5.0").str(2, f1().Drive1.Drive()).str(3, f1().Dir1.Path());
        r.i32(4, 2).i32(5, 0).i32(6, 3).i16(7, 0);
        r.money(8, 38440000).money(9, 1005000).money(10, 200000).str(11, "/ξυπνητήρι.mp3");
        const std::array<std::int16_t, 6> on = {0, -1, 0, 0, -1, -1};
        for (int c = 0; c < 6; ++c) r.i16(12 + c, on[static_cast<std::size_t>(c)]);
        r.i32(18, 2).i32(19, 2).money(20, 12500).money(21, 30000).money(22, 40000);
        const std::array<std::int64_t, 6> durations = {0, 37250000, 0, 0, 0, 595000};
        for (int c = 0; c < 6; ++c) r.money(23 + c, durations[static_cast<std::size_t>(c)]);
        return r.bytes();
    }

    static void putTrackRecords(Records& r, int i, const SampleTrack& t) {
        const int b = 45 * i;
        r.i32(b + 1, t.mark).money(b + 2, t.duration).i16(b + 3, t.cls).money(b + 4, t.size);
        r.money(b + 5, t.resume).i16(b + 6, t.bitrate);
        r.str(b + 7, t.artist).str(b + 8, t.genre).str(b + 9, t.album).str(b + 10, t.title).str(b + 11, t.year);
        r.str(b + 12, t.path).boolean(b + 13, t.infoRead);
        for (int j = 0; j < 16; ++j) {
            r.i16(b + 14 + 2 * j, j == 3 ? t.spareNumber3 : 0);
            r.str(b + 15 + 2 * j, j == 15 ? t.spareText15 : "");
        }
    }

    std::string expectedTrackFile() {
        Records r(400);
        for (std::size_t i = 0; i < tracks.size(); ++i) putTrackRecords(r, static_cast<int>(i), tracks[i]);
        return r.bytes();
    }

    static std::string expectedFilterFile() {
        Records r(600);
        const std::array<std::int16_t, 8> counts = {2, 0, 0, 1, 0, 0, 0, 0};
        for (int k = 0; k < 8; ++k) r.i16(k + 1, counts[static_cast<std::size_t>(k)]);
        r.i16(9, 4);
        r.str(10, "Ροκ").str(11, "Jazz").str(12, "1999");
        int k = 13;
        for (const std::string& row : tableRows()) r.str(k++, row);
        return r.bytes();
    }

    // The sample's three files written from the layouts.
    void writeSampleFiles() {
        makeFolders();
        f1().Dir1.setPath(folder());
        testbytes::writeFile(collectionPath(), expectedCollectionFile());
        testbytes::writeFile(trackPath(), expectedTrackFile());
        testbytes::writeFile(filterPath(), expectedFilterFile());
        d().CollectionPath = collectionPath();
    }

    std::string log() { return f1().Text2[0].Text(); }

    // Loads the collection afresh from its files.
    void reload() {
        store().Reset_Collection(0);
        d().CollectionPath = collectionPath();
        h.dialogs.clearTranscript();
        store().Load_Collection();
    }
};

}  // namespace tarvolin

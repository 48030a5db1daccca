#pragma once
// A Program on test doubles with helpers that put tracks into the
// collection the way the loaders do: a row in List2 and in every column,
// the table entries, and the track counted in the totals.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <string>

#include "support/program_harness.h"

namespace tarvolin {

// Runs `body` while no file of this process may grow past `bytes` (a disk
// that fills up): writes beyond it fail instead of raising SIGXFSZ.
inline void withFileSizeLimit(rlim_t bytes, const std::function<void()>& body) {
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = bytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    body();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
}

class StoreTest : public ::testing::Test {
protected:
    ProgramHarness h;

    Program& app() { return *h; }
    CollectionStore& store() { return h->collection; }
    CollectionData& d() { return h->collection.d; }
    Form1& f1() { return h->Form1; }

    static constexpr const char* kLetters[6] = {"-", "X", "C", "B", "A", "S"};

    static Currency money(double v) { return Currency::fromDouble(v); }

    // Appends a track and counts it as the part-file loader does.
    int addTrack(const std::string& path, int cls = 0, double seconds = 60, double megabytes = 1,
                 int mark = 0) {
        CollectionData& data = d();
        const int i = f1().List2.ListCount();
        data.resizeTrackTables(i + 1);
        const auto at = static_cast<std::size_t>(i);
        data.TrackClass[at] = static_cast<std::int16_t>(cls);
        data.TrackDuration[at] = money(seconds);
        data.TrackSize[at] = money(megabytes);
        data.TrackBitrate[at] = 128;
        data.PlayOrder[at] = mark;
        data.TrackSaved[at] = true;
        store().appendTrackRow(at, path);
        data.TrackCount = i + 1;
        return i;
    }

    std::string column(int member, int row) { return f1().List3_0[member].List(row); }
};

}  // namespace tarvolin

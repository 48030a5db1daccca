// The track part file of a full collection: 32766 tracks of 45 records of
// 400 bytes (590 MB), written and read a track's block at a time through
// RecordFile, as the collection save and load do. For comparison the program
// also times `cat file > /dev/null` and `cp` of the same file.
//
// Runs in a temporary folder under $TMPDIR (or /tmp), removed at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "toolkit/record_file.h"

namespace tarvolin {
namespace {

constexpr int Tracks = 32766;
constexpr int RecordsPerTrack = 45;
constexpr int RecordLength = 400;

std::string g_dir;  // the temporary folder, ending in "/"

std::string partFile() { return g_dir + "bench_Files.ptlf"; }

// One track's records filled as the save fills them.
void fillTrack(RecordBlock& block, int i, const std::string& path) {
    block.PutLong(1, i + 1);
    block.PutCurrency(2, Currency::fromRaw(2155000 + i));
    block.PutInteger(3, static_cast<std::int16_t>(i % 6));
    block.PutCurrency(4, Currency::fromRaw(32000 + i));
    block.PutCurrency(5, Currency());
    block.PutInteger(6, 192);
    block.PutString(7, "Καλλιτέχνης - Artist");
    block.PutString(8, "Ροκ - Rock");
    block.PutString(9, "Άλμπουμ - Album");
    block.PutString(10, "Τίτλος τραγουδιού - Song title");
    block.PutString(11, "1999");
    block.PutString(12, path);
    block.PutBoolean(13, true);
    for (int j = 0; j < 16; ++j) {
        block.PutInteger(14 + 2 * j, 0);
        block.PutString(15 + 2 * j, "");
    }
}

bool writeCollection(const std::string& file) {
    RecordFile f;
    if (!f.Open(file, RecordFile::Mode::Create, RecordLength)) return false;
    RecordBlock block(RecordLength, RecordsPerTrack);
    std::string path = "/home/user/Μουσική/Συλλογή/track_00000.mp3";
    for (int i = 0; i < Tracks; ++i) {
        std::snprintf(path.data() + path.size() - 9, 10, "%05d.mp3", i);
        fillTrack(block, i, path);
        if (!f.WriteBlock(std::int64_t(i) * RecordsPerTrack + 1, block)) return false;
    }
    return f.Close();
}

// Argument 0: a new file, as a full save writes its part file under a
// temporary name; 1: the old file emptied and written again.
void BM_WriteTrackPartFile(benchmark::State& state) {
    const std::string file = g_dir + "written_Files.ptlf";
    const bool overwrite = state.range(0) == 1;
    for (auto _ : state) {
        if (!overwrite) {
            state.PauseTiming();
            std::error_code ec;
            std::filesystem::remove(file, ec);
            state.ResumeTiming();
        }
        if (!writeCollection(file)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(Tracks) * RecordsPerTrack * RecordLength);
    state.SetItemsProcessed(state.iterations() * Tracks);
}

void BM_ReadTrackPartFile(benchmark::State& state) {
    for (auto _ : state) {
        RecordFile f;
        if (!f.Open(partFile(), RecordFile::Mode::Read, RecordLength)) {
            state.SkipWithError("open failed");
            break;
        }
        RecordBlock block(RecordLength, RecordsPerTrack);
        std::int64_t sum = 0;
        std::size_t textBytes = 0;
        std::string s;
        for (int i = 0; i < Tracks; ++i) {
            if (!f.ReadBlock(std::int64_t(i) * RecordsPerTrack + 1, block)) {
                state.SkipWithError("read failed");
                break;
            }
            // Every field decoded, as the load does.
            sum += block.GetLong(1) + block.GetCurrency(2).raw() + block.GetInteger(3) +
                   block.GetCurrency(4).raw() + block.GetCurrency(5).raw() + block.GetInteger(6) +
                   block.GetBoolean(13);
            for (int k = 7; k <= 12; ++k) {
                block.GetString(k, s);
                textBytes += s.size();
            }
            for (int j = 0; j < 16; ++j) {
                sum += block.GetInteger(14 + 2 * j);
                block.GetString(15 + 2 * j, s);
                textBytes += s.size();
            }
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(textBytes);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(Tracks) * RecordsPerTrack * RecordLength);
    state.SetItemsProcessed(state.iterations() * Tracks);
}

// A save after one rating change writes one track's 45 records in place.
void BM_RewriteOneTrack(benchmark::State& state) {
    RecordFile f;
    if (!f.Open(partFile(), RecordFile::Mode::ReadWrite, RecordLength)) {
        state.SkipWithError("open failed");
        return;
    }
    RecordBlock block(RecordLength, RecordsPerTrack);
    int i = 0;
    for (auto _ : state) {
        fillTrack(block, i, "/home/user/Μουσική/Συλλογή/changed.mp3");
        if (!f.WriteBlock(std::int64_t(i) * RecordsPerTrack + 1, block)) state.SkipWithError("write failed");
        i = (i + 7919) % Tracks;
    }
}

BENCHMARK(BM_WriteTrackPartFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadTrackPartFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RewriteOneTrack)->Unit(benchmark::kMicrosecond);

// Runs a shell command `runs` times and gives the fastest run in ms; before
// (untimed) runs ahead of each run.
double timeCommand(const std::string& command, int runs, const std::string& before = {}) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        if (!before.empty() && std::system(before.c_str()) != 0) return -1;
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "command failed: %s\n", command.c_str());
            return -1;
        }
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

}  // namespace
}  // namespace tarvolin

int main(int argc, char** argv) {
    using namespace tarvolin;
    const char* base = std::getenv("TMPDIR");
    std::string root = (base && *base) ? base : "/tmp";
    if (root.back() != '/') root += '/';
    std::string pattern = root + "tarvolin-bench-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
        std::fprintf(stderr, "cannot create a temporary folder under %s\n", root.c_str());
        return 1;
    }
    g_dir = std::string(buf.data()) + "/";

    benchmark::Initialize(&argc, argv);
    int status = 0;
    if (!writeCollection(partFile())) {
        std::fprintf(stderr, "cannot write %s\n", partFile().c_str());
        status = 1;
    } else {
        benchmark::RunSpecifiedBenchmarks();

        // The same file through the system's tools, warm cache, best of 5.
        std::string cat_command = "cat '";
        cat_command += partFile();
        cat_command += "' > /dev/null";
        std::string cp_command = "cp '";
        cp_command += partFile();
        cp_command += "' '";
        cp_command += g_dir;
        cp_command += "copy.ptlf'";
        const double cat = timeCommand(cat_command, 5);
        std::string rm_command = "rm -f '";
        rm_command += g_dir;
        rm_command += "copy.ptlf'";
        const double cp = timeCommand(cp_command, 5, rm_command);
        const double cpOver = timeCommand(cp_command, 5);
        const double bytes = double(Tracks) * RecordsPerTrack * RecordLength;
        std::printf("\nTrack part file: %d tracks x %d records x %d bytes = %.1f MB\n", Tracks, RecordsPerTrack,
                    RecordLength, bytes / 1048576.0);
        std::printf("cat file > /dev/null : %8.1f ms (best of 5)\n", cat);
        std::printf("cp file new-copy     : %8.1f ms (best of 5)\n", cp);
        std::printf("cp file old-copy     : %8.1f ms (best of 5, over an existing copy)\n", cpOver);
    }
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(g_dir, ec);
    return status;
}

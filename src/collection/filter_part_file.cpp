// The filter part file: the value lists of filter boxes 1 to 8 and the rows
// of the full track table, in 600-byte records read and written in order.
#include <algorithm>
#include <utility>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/save_transaction.h"
#include "collection/store_files.h"
#include "toolkit/record_file.h"

namespace tarvolin {

namespace sf = storefiles;

namespace {

constexpr int kBoxes = 8;
constexpr std::size_t kTextBytes = sf::kFilterRecord - 2;
// Records handed to the disk together.
constexpr int kRecordsPerWrite = 256;

// Writes records in order through a buffer of whole records.
class SequentialWriter {
public:
    explicit SequentialWriter(RecordFile& file) : file_(file), block_(sf::kFilterRecord, kRecordsPerWrite) {}

    bool integer(std::int16_t v) {
        block_.PutInteger(next(), v);
        return after();
    }
    bool text(std::string_view v) {
        const int k = next();
        // A text too long for the record leaves it all zeros.
        if (!block_.PutString(k, v)) block_.PutString(k, "");
        return after();
    }
    bool flush() {
        if (used_ == 0) return ok_;
        // Every Put writes its whole record, so the block needs no clearing
        // between batches.
        if (!file_.WriteBlock(record_, block_, used_)) ok_ = false;
        record_ += used_;
        used_ = 0;
        return ok_;
    }

private:
    int next() { return ++used_; }
    bool after() { return used_ < kRecordsPerWrite || flush(); }

    RecordFile& file_;
    RecordBlock block_;
    int used_ = 0;
    std::int64_t record_ = 1;
    bool ok_ = true;
};

}  // namespace

void CollectionStore::Save_Collection_Filters(const std::string& path, std::int32_t& failed) {
    Form1& f = app_.Form1;
    RecordFile file;
    if (!file.Open(path, RecordFile::Mode::ReadWrite, sf::kFilterRecord, RecordFile::Links::Refuse)) {
        failed = -1;
        ++ioFailures_;
        return;
    }
    // A whole file is synced before it takes its place.
    file.setWriteOut(true);
    SequentialWriter out(file);
    // Every failing write here is one the system refused.
    auto write = [&](bool ok) {
        if (ok) return;
        failed = -1;
        ++ioFailures_;
    };

    for (int k = 1; k <= kBoxes; ++k) {
        const ComboBox* box = f.Combo4_0.get(k);
        write(out.integer(static_cast<std::int16_t>(box ? box->ListCount() : 0)));
    }
    write(out.integer(static_cast<std::int16_t>(f.List5.ListCount() - 1)));

    for (int k = 1; k <= kBoxes; ++k) {
        const ComboBox* box = f.Combo4_0.get(k);
        if (!box) continue;
        for (int i = 0; i < box->ListCount(); ++i) {
            const std::string& item = box->List(i);
            if (item.size() > kTextBytes) {
                // Too long for a record: stored shortened so the records stay in order.
                failed = -1;
                write(out.text(CutAtCharBoundary(item, kTextBytes)));
            } else {
                write(out.text(item));
            }
        }
    }
    // Table rows are made from the tables again when one was shortened.
    for (int j = 0; j < f.List5.ListCount(); ++j) {
        const std::string& row = f.List5.List(j);
        if (row.size() > kTextBytes) {
            write(out.text(CutAtCharBoundary(row, kTextBytes)));
        } else {
            write(out.text(row));
        }
    }
    write(out.flush());
    write(file.Close());
}

bool CollectionStore::Changed_Filter_Rows(sf::SaveTransaction& save, std::int32_t& failed) {
    Form1& f = app_.Form1;
    const std::string& path = save.file(sf::SaveTransaction::Filters);
    RecordFile file;
    if (!sf::exists(path) || !file.Open(path, RecordFile::Mode::Read, sf::kFilterRecord)) return false;
    // The stored counts must be the present ones, and every row must be there.
    std::int64_t base = kBoxes + 1;
    for (int k = 1; k <= kBoxes + 1; ++k) {
        std::int16_t stored = 0;
        const ComboBox* box = k <= kBoxes ? f.Combo4_0.get(k) : nullptr;
        const int present = k <= kBoxes ? (box ? box->ListCount() : 0) : f.List5.ListCount() - 1;
        if (!file.GetInteger(k, stored) || file.pastEnd() || stored != present) return false;
        if (k <= kBoxes) base += stored;
    }
    if (file.RecordCount() < base + f.List5.ListCount()) return false;
    file.Close();

    RecordBlock record(sf::kFilterRecord, 1);
    const int rows = std::min(f.List2.ListCount(), static_cast<int>(d.TrackSaved.size()));
    for (int i = 0; i < rows; ++i) {
        const int line = i + 2;
        if (d.TrackSaved[static_cast<std::size_t>(i)] || line >= f.List5.ListCount()) continue;
        const std::string& row = f.List5.List(line);
        if (!record.PutString(1, row.size() > kTextBytes ? CutAtCharBoundary(row, kTextBytes) : row)) failed = -1;
        save.edit(sf::SaveTransaction::Filters, static_cast<std::uint64_t>(base + line) * sf::kFilterRecord, record.data(),
                  record.size());
    }
    return true;
}

void CollectionStore::Load_Collection_Filters(const std::string& path, std::int32_t& failed) {
    Form1& f = app_.Form1;
    RecordFile file;
    // Without a file the filters are built anew and written with the next save.
    if (!sf::exists(path)) return;
    if (!file.Open(path, RecordFile::Mode::Read, sf::kFilterRecord)) {
        failed = -1;
        return;
    }
    const std::int64_t available = file.RecordCount();

    std::int16_t counts[kBoxes + 1] = {};
    for (int k = 0; k <= kBoxes; ++k) {
        if (!file.GetInteger(k + 1, counts[k])) failed = -1;
    }
    const std::int16_t c9 = counts[kBoxes];

    // Every count must lie within the file before anything is read.
    std::int64_t needed = kBoxes + 1;
    for (int k = 0; k < kBoxes; ++k) needed += std::max<std::int16_t>(counts[k], 0);
    needed += c9 >= 0 ? static_cast<std::int64_t>(c9) + 1 : 0;
    if (needed > available) {
        failed = -1;
        file.Close();
        d.FiltersDirty = false;
        return;
    }

    // The total only drives the progress bar. A full collection's counts add
    // up to more than a 16-bit sum holds; that is no damage in the file, so
    // the sum is kept wide rather than failing every large collection.
    std::int64_t total = 0;
    for (int k = 0; k <= kBoxes; ++k) total += counts[k];

    std::int64_t record = kBoxes + 1;
    std::int64_t done = 0;
    std::string text;
    bool cutRow = false;
    for (int k = 1; k <= kBoxes; ++k) {
        ComboBox* box = f.Combo4_0.get(k);
        for (int i = 0; i < counts[k - 1]; ++i) {
            if (!file.GetString(++record, text)) {
                failed = -1;
                continue;
            }
            if (box) box->AddItem(text);
        }
        done += std::max<std::int16_t>(counts[k - 1], 0);
        Show_Progress(done, total, 1);
    }

    if (c9 >= 0) {
        d.TableRows.clear();
        d.TableRows.resize(c9 >= 2 ? static_cast<std::size_t>(c9 - 1) : 0);
        f.List5.reserve(f.List5.ListCount() + c9 + 1);
        for (int j = 0; j <= c9; ++j) {
            if (!file.GetString(++record, text)) {
                failed = -1;
                text.clear();
            }
            // A row at the record's limit may have been shortened when stored.
            if (j >= 2 && text.size() + 3 > static_cast<std::size_t>(sf::kFilterRecord)) cutRow = true;
            if (j >= 2) d.TableRows[static_cast<std::size_t>(j - 2)] = Mid(text, 15);
            f.List5.AddItem(std::move(text));
            ++done;
            if (done % 100 == 0 || done > total - 150) Show_Progress(done, total, 1);
        }
    }
    file.Close();
    d.FiltersDirty = cutRow;
}

}  // namespace tarvolin

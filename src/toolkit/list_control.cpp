#include <algorithm>
#include <cstdint>

#include "toolkit/controls.h"

namespace tarvolin {

namespace {
const std::string kEmpty;
}

const std::string& ListControl::List(int i) const {
    if (i < 0 || i >= ListCount()) return kEmpty;
    return items_[static_cast<std::size_t>(i)];
}

// --- search index -----------------------------------------------------------
//
// Every row has an id that grows with its position (rowIds_ ascending), so
// that removing a row changes no other row's id. The exact index maps a folded
// text to the ascending ids of its rows; a row's position is found back by a
// binary search of rowIds_.

namespace {
constexpr std::uint64_t kIdStep = 1u << 16;
}

void ListControl::dropIndex() const {
    if (!indexValid_) return;
    indexValid_ = false;
    folded_.clear();
    folded_.shrink_to_fit();
    rowIds_.clear();
    rowIds_.shrink_to_fit();
    exact_.clear();
}

void ListControl::buildIndex() const {
    const std::size_t n = items_.size();
    folded_.clear();
    folded_.reserve(n);
    rowIds_.resize(n);
    exact_.clear();
    exact_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        folded_.push_back(foldCase(items_[i]));
        rowIds_[i] = (i + 1) * kIdStep;
        exact_[folded_.back()].push_back(rowIds_[i]);
    }
    indexValid_ = true;
}

void ListControl::indexRow(int i) const {
    auto& ids = exact_[folded_[static_cast<std::size_t>(i)]];
    const std::uint64_t id = rowIds_[static_cast<std::size_t>(i)];
    ids.insert(std::lower_bound(ids.begin(), ids.end(), id), id);
}

void ListControl::unindexRow(int i) const {
    auto it = exact_.find(folded_[static_cast<std::size_t>(i)]);
    if (it == exact_.end()) return;
    auto& ids = it->second;
    const std::uint64_t id = rowIds_[static_cast<std::size_t>(i)];
    auto p = std::lower_bound(ids.begin(), ids.end(), id);
    if (p != ids.end() && *p == id) ids.erase(p);
    if (ids.empty()) exact_.erase(it);
}

void ListControl::indexInsert(int index, const std::string& text) const {
    if (!indexValid_) return;
    const auto pos = static_cast<std::size_t>(index);
    const std::uint64_t before = pos > 0 ? rowIds_[pos - 1] : 0;
    std::uint64_t id;
    if (pos == rowIds_.size()) {
        id = before + kIdStep;
    } else {
        const std::uint64_t after = rowIds_[pos];
        if (after - before < 2) {  // no room left between the neighbours
            dropIndex();
            return;
        }
        id = before + (after - before) / 2;
    }
    rowIds_.insert(rowIds_.begin() + static_cast<std::ptrdiff_t>(pos), id);
    folded_.insert(folded_.begin() + static_cast<std::ptrdiff_t>(pos), foldCase(text));
    indexRow(index);
}

int ListControl::rowOfId(std::uint64_t id) const {
    return static_cast<int>(std::lower_bound(rowIds_.begin(), rowIds_.end(), id) - rowIds_.begin());
}

int ListControl::findStringExact(std::string_view text, int start) const {
    const int n = ListCount();
    if (n == 0) return -1;
    if (!indexValid_) buildIndex();
    auto it = exact_.find(foldCase(text));
    if (it == exact_.end()) return -1;
    const std::vector<std::uint64_t>& ids = it->second;  // ascending
    if (start < -1 || start >= n) start = -1;
    if (start == -1) return rowOfId(ids.front());
    // First match after start, else wrap round to the first match.
    auto p = std::upper_bound(ids.begin(), ids.end(), rowIds_[static_cast<std::size_t>(start)]);
    return rowOfId(p != ids.end() ? *p : ids.front());
}

int ListControl::findString(std::string_view text, int start) const {
    const int n = ListCount();
    if (n == 0) return -1;
    if (!indexValid_) buildIndex();
    const std::string key = foldCase(text);
    if (start < -1 || start >= n) start = -1;
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k) % n;
        const std::string& f = folded_[static_cast<std::size_t>(i)];
        if (f.size() >= key.size() && f.compare(0, key.size(), key) == 0) return i;
    }
    return -1;
}

// --- edits ------------------------------------------------------------------

int ListControl::sortedPosition(const std::string& text) const {
    const std::string key = foldCase(text);
    // Items of a sorted list are in folded order; insert after equal ones.
    int lo = 0, hi = ListCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (foldCase(items_[static_cast<std::size_t>(mid)]) <= key) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

bool ListControl::AddItem(std::string text, int index) {
    const int n = ListCount();
    if (n >= itemLimit_) return false;
    if (index < -1 || index > n) return false;
    if (index == -1) index = sorted_ ? sortedPosition(text) : n;

    const auto pos = static_cast<std::size_t>(index);
    indexInsert(index, text);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(text));
    if (multiSelect_) selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(pos), 0);
    if (listIndex_ >= index && index < n) ++listIndex_;
    if (notifying()) rowsInserted.emit(index, 1);
    else noteHidden();
    return true;
}

void ListControl::reserve(int n) {
    const auto want = static_cast<std::size_t>(std::clamp(n, 0, itemLimit_));
    items_.reserve(want);
    if (multiSelect_) selected_.reserve(want);
}

bool ListControl::setList(int i, std::string text) {
    const int n = ListCount();
    if (i == n) return AddItem(std::move(text), n);
    if (i < 0 || i > n) return false;
    auto& item = items_[static_cast<std::size_t>(i)];
    if (item == text) return true;
    if (indexValid_) {
        unindexRow(i);
        folded_[static_cast<std::size_t>(i)] = foldCase(text);
        indexRow(i);
    }
    item = std::move(text);
    if (notifying()) rowChanged.emit(i);
    else noteHidden();
    return true;
}

bool ListControl::RemoveItem(int i) {
    const int n = ListCount();
    if (i < 0 || i >= n) return false;
    if (indexValid_) {
        unindexRow(i);
        folded_.erase(folded_.begin() + i);
        rowIds_.erase(rowIds_.begin() + i);
    }
    items_.erase(items_.begin() + i);
    if (multiSelect_) selected_.erase(selected_.begin() + i);
    if (listIndex_ == i) listIndex_ = -1;
    else if (listIndex_ > i) --listIndex_;
    if (topIndex_ >= ListCount()) topIndex_ = std::max(0, ListCount() - 1);
    if (notifying()) rowsRemoved.emit(i, 1);
    else noteHidden();
    return true;
}

void ListControl::Clear() {
    dropIndex();
    items_.clear();
    items_.shrink_to_fit();
    selected_.clear();
    listIndex_ = -1;
    topIndex_ = 0;
    if (notifying()) {
        pendingReset_ = false;
        reset.emit();
    } else {
        noteHidden();
    }
}

void ListControl::replaceItems(std::vector<std::string> items) {
    dropIndex();
    if (items.size() > static_cast<std::size_t>(MaxItems)) items.resize(MaxItems);
    items_ = std::move(items);
    selected_.assign(multiSelect_ ? items_.size() : 0, 0);
    listIndex_ = -1;
    topIndex_ = 0;
    if (notifying()) {
        pendingReset_ = false;
        reset.emit();
    } else {
        noteHidden();
    }
}

void ListControl::setVisible(bool v) {
    const bool was = Visible();
    Control::setVisible(v);
    if (v && !was && pendingReset_) {
        pendingReset_ = false;
        reset.emit();
    }
}

// --- selection --------------------------------------------------------------

bool ListControl::setListIndex(int i) {
    if (i < std::min(-1, FirstRow()) || i >= ListCount()) return false;
    const bool moved = i != listIndex_;
    listIndex_ = i;
    if (moved) {
        changed.emit(Property::ListIndex);
        if (!multiSelect_) selectionChanged.emit(i);
    }
    listIndexSet();
    return true;
}

void ListControl::setMultiSelect(int mode) {
    multiSelect_ = mode;
    selected_.assign(mode ? items_.size() : 0, 0);
    changed.emit(Property::MultiSelect);
}

bool ListControl::Selected(int i) const {
    if (i < 0 || i >= ListCount()) return false;
    if (!multiSelect_) return i == listIndex_;
    return selected_[static_cast<std::size_t>(i)] != 0;
}

bool ListControl::setSelected(int i, bool s) {
    if (i < 0 || i >= ListCount()) return false;
    if (!multiSelect_) {
        if (s) return setListIndex(i);
        if (i == listIndex_) {
            listIndex_ = -1;
            changed.emit(Property::ListIndex);
            selectionChanged.emit(i);
        }
        return true;
    }
    if (selectQuietly(i, s)) selectedSet();
    return true;
}

bool ListControl::selectQuietly(int i, bool s) {
    auto& cell = selected_[static_cast<std::size_t>(i)];
    const unsigned char v = s ? 1 : 0;
    if (cell == v) return false;
    cell = v;
    if (notifying()) selectionChanged.emit(i);
    return true;
}

std::vector<unsigned char> ListControl::selectionFlags() const {
    if (multiSelect_) return selected_;
    std::vector<unsigned char> flags(items_.size(), 0);
    if (listIndex_ >= 0) flags[static_cast<std::size_t>(listIndex_)] = 1;
    return flags;
}

void ListControl::setSelectionFlags(const std::vector<unsigned char>& flags) {
    const std::size_t n = std::min(flags.size(), items_.size());
    if (!multiSelect_) {
        for (std::size_t i = 0; i < n; ++i)
            if (Selected(static_cast<int>(i)) != (flags[i] != 0)) setSelected(static_cast<int>(i), flags[i] != 0);
        return;
    }
    bool changedAny = false;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char v = flags[i] ? 1 : 0;
        if (selected_[i] == v) continue;
        selected_[i] = v;
        changedAny = true;
    }
    if (!changedAny) return;
    if (notifying()) selectionChanged.emit(-1);
    selectedSet();
}

int ListControl::SelCount() const {
    if (!multiSelect_) return listIndex_ >= 0 ? 1 : 0;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
}

void ListControl::setTopIndex(int t) {
    t = std::clamp(t, 0, std::max(0, ListCount() - 1));
    if (t == topIndex_) return;
    topIndex_ = t;
    changed.emit(Property::TopIndex);
}

void ListControl::userClick(int i) {
    if (i < FirstRow() || i >= ListCount() || !Enabled()) return;
    if (multiSelect_) {
        // Simple mode toggles the row; extended mode selects it alone.
        if (multiSelect_ == 1) {
            selectQuietly(i, !Selected(i));
        } else {
            std::fill(selected_.begin(), selected_.end(), 0);
            selected_[static_cast<std::size_t>(i)] = 1;
            selectionChanged.emit(-1);
        }
    }
    setListIndex(i);
}

void ListControl::userSelect(const std::vector<int>& rows, int current) {
    if (!Enabled() || current < -1 || current >= ListCount()) return;
    if (multiSelect_) {
        std::vector<unsigned char> wanted(items_.size(), 0);
        for (int r : rows)
            if (r >= 0 && r < ListCount()) wanted[static_cast<std::size_t>(r)] = 1;
        if (wanted != selected_) {
            selected_ = std::move(wanted);
            selectionChanged.emit(-1);
        }
    }
    setListIndex(current);
}

}  // namespace tarvolin

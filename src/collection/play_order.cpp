#include "collection/play_order.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace tarvolin {

namespace {
constexpr std::size_t kYieldEvery = 512;
}

std::int32_t renumberPlayMarks(std::vector<std::int32_t>& marks, std::vector<bool>& saved,
                               std::size_t n, const std::function<void()>& yield) {
    n = std::min(n, marks.size());

    // The marked tracks as (mark, track), in mark order and, within one
    // mark, in track order.
    std::vector<std::pair<std::int64_t, std::int32_t>> listed;
    for (std::size_t i = 0; i < n; ++i) {
        if (marks[i] > 0) listed.emplace_back(marks[i], static_cast<std::int32_t>(i));
    }
    std::sort(listed.begin(), listed.end());
    const std::size_t k = listed.size();

    bool repeats = false;
    for (std::size_t j = 1; j < k && !repeats; ++j) repeats = listed[j].first == listed[j - 1].first;

    // Resolve repeats: sweep the values upwards; at each value the holder
    // with the lowest track number keeps it and every other holder moves on
    // to the next value. A heap keeps the holders waiting for a value, so
    // the sweep does one step per track instead of one per value.
    std::vector<std::int32_t> order;  // tracks in the order of their final marks
    order.reserve(k);
    if (repeats) {
        std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> waiting;
        std::size_t next = 0;
        std::int64_t v = 0;
        while (next < k || !waiting.empty()) {
            if (waiting.empty()) v = listed[next].first;
            while (next < k && listed[next].first == v) waiting.push(listed[next++].second);
            order.push_back(waiting.top());
            waiting.pop();
            ++v;
            if (yield && order.size() % kYieldEvery == 0) yield();
        }
    } else {
        for (const auto& entry : listed) order.push_back(entry.second);
    }

    // Number them 1..k.
    std::int32_t m = 0;
    for (std::int32_t track : order) {
        marks[static_cast<std::size_t>(track)] = ++m;
        if (static_cast<std::size_t>(track) < saved.size()) saved[static_cast<std::size_t>(track)] = false;
        if (yield && static_cast<std::size_t>(m) % kYieldEvery == 0) yield();
    }
    return m;
}

}  // namespace tarvolin

#pragma once
// Play-mark arithmetic of the collection store, kept apart from the windows
// so that it can run (and be measured) on plain tables.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tarvolin {

// Renumbers the positive marks among the first n entries of `marks` to
// 1..k (k = the number of positive marks), in the order of their values
// after repeats were resolved:
//  - a repeated mark v stays with its first holder in track order, and the
//    later holders move up to v + 1, where they compete with the holders of
//    v + 1 in track order again, and so on upwards;
//  - the resolved marks are then numbered 1..k in ascending order.
// Marks of 0 or below stay as they are. Every renumbered entry and every
// entry moved by a repeat gets saved[i] = false. `yield` (may be empty) is
// called every few hundred marks. Runs in O(k log k). Returns k.
std::int32_t renumberPlayMarks(std::vector<std::int32_t>& marks, std::vector<bool>& saved,
                               std::size_t n, const std::function<void()>& yield = {});

}  // namespace tarvolin

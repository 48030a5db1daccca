// The play-mark renumbering against a plain, slow reading of its rules:
// resolve repeats value by value, each value walking the marked tracks in
// track order, then number the values in ascending order.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "collection/play_order.h"

namespace tarvolin {
namespace {

std::int32_t slowRenumber(std::vector<std::int32_t>& marks, std::vector<bool>& saved, std::size_t n) {
    // Collect.
    std::vector<std::size_t> listed;
    std::int64_t smallest = static_cast<std::int64_t>(n) - 1, largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (marks[i] > 0) {
            listed.push_back(i);
            smallest = std::min<std::int64_t>(smallest, marks[i]);
            largest = std::max<std::int64_t>(largest, marks[i]);
        }
    }
    // Count repeated pairs.
    std::int64_t d = 0;
    for (std::size_t a = 0; a < listed.size(); ++a)
        for (std::size_t b = a + 1; b < listed.size(); ++b)
            if (marks[listed[a]] == marks[listed[b]]) ++d;
    // Resolve repeats, one value at a time, up to the largest mark + d.
    std::vector<std::int64_t> work(marks.begin(), marks.end());
    if (d > 0) {
        for (std::int64_t v = smallest; v <= largest + d; ++v) {
            bool first = true;
            for (std::size_t t : listed) {
                if (work[t] != v) continue;
                if (first) {
                    first = false;
                } else {
                    work[t] = v + 1;
                    saved[t] = false;
                }
            }
        }
    }
    // Collect again and renumber.
    smallest = 32766;
    largest = 0;
    for (std::size_t t : listed) {
        smallest = std::min(smallest, work[t]);
        largest = std::max(largest, work[t]);
    }
    std::int32_t m = 1;
    for (std::int64_t v = smallest; v <= largest; ++v) {
        for (std::size_t t : listed) {
            if (work[t] == v) {
                marks[t] = m++;
                saved[t] = false;
                break;
            }
        }
    }
    return m - 1;
}

TEST(PlayOrder, MatchesTheStepByStepRulesOnRandomMarks) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
        const int spread = std::uniform_int_distribution<int>(1, 60)(rng);
        std::uniform_int_distribution<int> markOf(-2, spread);
        std::vector<std::int32_t> marks(n + 1, 0);
        for (std::size_t i = 0; i < n; ++i) marks[i] = markOf(rng);
        std::vector<bool> saved(n + 1, true);

        std::vector<std::int32_t> expectedMarks = marks;
        std::vector<bool> expectedSaved = saved;
        const std::int32_t expectedK = slowRenumber(expectedMarks, expectedSaved, n);

        const std::int32_t k = renumberPlayMarks(marks, saved, n);
        ASSERT_EQ(k, expectedK) << "round " << round;
        ASSERT_EQ(marks, expectedMarks) << "round " << round;
        ASSERT_EQ(saved, expectedSaved) << "round " << round;
    }
}

TEST(PlayOrder, MarksFarAboveTheTrackCountAreStillResolved) {
    // A scan ending at the track count would leave these repeats in place.
    std::vector<std::int32_t> marks{900, 900, 0, 901, 900, 0};
    std::vector<bool> saved(6, true);
    std::vector<std::int32_t> expected = marks;
    std::vector<bool> expectedSaved = saved;
    slowRenumber(expected, expectedSaved, 5);

    EXPECT_EQ(renumberPlayMarks(marks, saved, 5), 4);
    EXPECT_EQ(marks, expected);
    EXPECT_EQ(marks, (std::vector<std::int32_t>{1, 2, 0, 3, 4, 0}));
}

TEST(PlayOrder, GapsCloseAndRepeatsMoveUp) {
    std::vector<std::int32_t> gaps{1, 2, 4, 5, 0};
    std::vector<bool> saved(5, true);
    EXPECT_EQ(renumberPlayMarks(gaps, saved, 4), 4);
    EXPECT_EQ(gaps, (std::vector<std::int32_t>{1, 2, 3, 4, 0}));
    EXPECT_EQ(saved, (std::vector<bool>{false, false, false, false, true}));

    // The second 2 moves to 3, pushing the 3 to 4; then 1, 2, 0, 3.
    std::vector<std::int32_t> repeats{2, 2, 0, 3, 0};
    std::vector<bool> saved2(5, true);
    EXPECT_EQ(renumberPlayMarks(repeats, saved2, 4), 3);
    EXPECT_EQ(repeats, (std::vector<std::int32_t>{1, 2, 0, 3, 0}));
    EXPECT_TRUE(saved2[2]) << "an unmarked track is not rewritten";
}

TEST(PlayOrder, ExtremeMarksDoNotOverflow) {
    std::vector<std::int32_t> marks{INT32_MAX, INT32_MAX, INT32_MAX - 1, -5, 0};
    std::vector<bool> saved(5, true);
    EXPECT_EQ(renumberPlayMarks(marks, saved, 4), 3);
    EXPECT_EQ(marks, (std::vector<std::int32_t>{2, 3, 1, -5, 0}));
}

TEST(PlayOrder, WorksOnlyOnTheFirstNEntries) {
    std::vector<std::int32_t> marks{3, 7, 9};
    std::vector<bool> saved(3, true);
    EXPECT_EQ(renumberPlayMarks(marks, saved, 2), 2);
    EXPECT_EQ(marks, (std::vector<std::int32_t>{1, 2, 9}));
    // n beyond the table is cut to it.
    std::vector<std::int32_t> small{5};
    std::vector<bool> none;
    EXPECT_EQ(renumberPlayMarks(small, none, 10), 1);
    EXPECT_EQ(small[0], 1);
}

}  // namespace
}  // namespace tarvolin

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <vector>

#include "platform_common.h"

namespace {

constexpr int DRAWS = 2000;

TEST(RandomValueFromRand, CoversBothBoundsAndNothingOutside) {
    std::srand(1);
    std::set<int> seen;
    for (int i = 0; i < DRAWS; ++i) {
        const int value = RandomValueFromRand(0, 48);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 48);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 49u);
}

TEST(RandomValueFromRand, SwappedBoundsDrawFromTheSameRange) {
    std::srand(2);
    std::set<int> seen;
    for (int i = 0; i < DRAWS; ++i) {
        const int value = RandomValueFromRand(5, -3);
        ASSERT_GE(value, -3);
        ASSERT_LE(value, 5);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 9u);
}

TEST(RandomValueFromRand, EqualBoundsGiveThatValue) {
    EXPECT_EQ(RandomValueFromRand(7, 7), 7);
    EXPECT_EQ(RandomValueFromRand(INT_MIN, INT_MIN), INT_MIN);
    EXPECT_EQ(RandomValueFromRand(INT_MAX, INT_MAX), INT_MAX);
}

// The widest range overflows int if computed naively, and one rand() call
// cannot reach its upper half.
TEST(RandomValueFromRand, TheWholeIntRangeReachesBothSignsWithoutOverflow) {
    std::srand(3);
    bool sawNegative = false;
    bool sawPositive = false;
    for (int i = 0; i < DRAWS; ++i) {
        const int value = RandomValueFromRand(INT_MIN, INT_MAX);
        sawNegative = sawNegative || value < 0;
        sawPositive = sawPositive || value > 0;
    }
    EXPECT_TRUE(sawNegative);
    EXPECT_TRUE(sawPositive);
}

// The game seeds the C generator once; the same seed must replay the same game.
TEST(RandomValueFromRand, TheSameSeedReplaysTheSameSequence) {
    auto drawSequence = [](unsigned int seed) {
        std::srand(seed);
        std::vector<int> values;
        for (int i = 0; i < 50; ++i) {
            values.push_back(RandomValueFromRand(0, 48));
        }
        return values;
    };
    EXPECT_EQ(drawSequence(42), drawSequence(42));
    EXPECT_NE(drawSequence(42), drawSequence(43));
}

}  // namespace

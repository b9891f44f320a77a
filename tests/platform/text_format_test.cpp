#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "raylib.h"

namespace {

TEST(TextFormat, FillsInPrintfStyleArguments) {
    EXPECT_STREQ(TextFormat("High Score: %d", -42), "High Score: -42");
    EXPECT_STREQ(TextFormat("%s %05.1f", "x", 2.25), "x 002.2");
    EXPECT_STREQ(TextFormat("plain"), "plain");
}

// The game formats up to three numbers for one frame's status lines before
// drawing any of them.
TEST(TextFormat, AResultSurvivesTheNextThreeCalls) {
    const char *first = TextFormat("Score: %d", 1);
    const char *second = TextFormat("High Score: %d", 2);
    const char *third = TextFormat("Level: %d", 3);
    const char *fourth = TextFormat("Your Score: %d", 4);
    EXPECT_STREQ(first, "Score: 1");
    EXPECT_STREQ(second, "High Score: 2");
    EXPECT_STREQ(third, "Level: 3");
    EXPECT_STREQ(fourth, "Your Score: 4");
}

TEST(TextFormat, OverlongResultsAreCutWithoutOverflowing) {
    const std::string longText(5000, 'x');
    const char *result = TextFormat("%s", longText.c_str());
    const std::size_t length = std::strlen(result);
    EXPECT_GE(length, 1000u);
    EXPECT_LT(length, 5000u);
    EXPECT_EQ(std::string(result), std::string(length, 'x'));
}

}  // namespace

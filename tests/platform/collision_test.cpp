#include <gtest/gtest.h>

#include "raylib.h"

namespace {

struct RecsCase {
    const char *scenario;
    Rectangle other;
    bool collides;
};

// Against the 40 x 40 item square at (100, 100).
constexpr Rectangle ITEM = {100, 100, 40, 40};

class RecsCollision : public ::testing::TestWithParam<RecsCase> {};

TEST_P(RecsCollision, OnlyOverlapWithAreaCounts) {
    const RecsCase &c = GetParam();
    EXPECT_EQ(CheckCollisionRecs(ITEM, c.other), c.collides) << c.scenario;
    EXPECT_EQ(CheckCollisionRecs(c.other, ITEM), c.collides) << c.scenario << " (swapped)";
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecsCollision,
    ::testing::Values(RecsCase{"cell inside", {120, 120, 20, 20}, true},
                      RecsCase{"same square", {100, 100, 40, 40}, true},
                      RecsCase{"one pixel overlap", {139, 139, 20, 20}, true},
                      RecsCase{"enclosing", {0, 0, 1000, 1000}, true},
                      RecsCase{"touching right edge", {140, 110, 20, 20}, false},
                      RecsCase{"touching left edge", {80, 110, 20, 20}, false},
                      RecsCase{"touching top edge", {110, 80, 20, 20}, false},
                      RecsCase{"touching bottom edge", {110, 140, 20, 20}, false},
                      RecsCase{"touching corner", {140, 140, 20, 20}, false},
                      RecsCase{"apart", {300, 300, 20, 20}, false}));

struct PointCase {
    const char *scenario;
    Vector2 point;
    bool inside;
};

class PointInRec : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointInRec, LeftAndTopEdgesAreInsideRightAndBottomAreNot) {
    const PointCase &c = GetParam();
    EXPECT_EQ(CheckCollisionPointRec(c.point, ITEM), c.inside) << c.scenario;
}

INSTANTIATE_TEST_SUITE_P(Table, PointInRec,
                         ::testing::Values(PointCase{"top-left corner", {100, 100}, true},
                                           PointCase{"middle", {120, 120}, true},
                                           PointCase{
                                               "just inside bottom-right", {139.5f, 139.5f}, true},
                                           PointCase{"right edge", {140, 120}, false},
                                           PointCase{"bottom edge", {120, 140}, false},
                                           PointCase{"just left", {99.9f, 120}, false},
                                           PointCase{"just above", {120, 99.9f}, false}));

}  // namespace

// Fruits and skulls: where they are placed, what hits them, what they are worth.
#include <gtest/gtest.h>

#include <vector>

#include "game_model.h"
#include "scripted_platform.h"

namespace {

class ItemPlacementTest : public ::testing::Test {
  protected:
    void SetUp() override { scripted::ResetPlatform(); }
};

struct Draw {
    int min;
    int max;
    int result;
};

void ExpectDraws(const std::vector<Draw> &expected) {
    const std::vector<scripted::RandomCall> &calls = scripted::RandomCalls();
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(calls[i].min, expected[i].min) << "draw " << i;
        EXPECT_EQ(calls[i].max, expected[i].max) << "draw " << i;
        EXPECT_EQ(calls[i].result, expected[i].result) << "draw " << i;
    }
}

TEST_F(ItemPlacementTest, AFruitDrawsItsTypeThenItsColumnThenItsRow) {
    scripted::QueueRandomValues({1, 7, 30});
    Fruit fruit{{500, 500}, APPLE};

    SpawnFruit(fruit);

    ExpectDraws({{0, 2, 1}, {0, 48, 7}, {0, 48, 30}});
    EXPECT_EQ(fruit.type, PINEAPPLE);
    EXPECT_EQ(fruit.position.x, 140.0f);
    EXPECT_EQ(fruit.position.y, 600.0f);
}

TEST_F(ItemPlacementTest, ASkullDrawsOnlyItsColumnThenItsRow) {
    scripted::QueueRandomValues({12, 3});
    Fruit skull{{0, 0}, WATERMELON};

    SpawnSkull(skull);

    ExpectDraws({{0, 48, 12}, {0, 48, 3}});
    EXPECT_EQ(skull.type, SKULL);
    EXPECT_EQ(skull.position.x, 240.0f);
    EXPECT_EQ(skull.position.y, 60.0f);
}

TEST_F(ItemPlacementTest, TheExtremeCellIndicesLandOnZeroAndNineHundredSixty) {
    scripted::QueueRandomValues({2, 0, 48, 0, 48, 0});
    Fruit fruit{};
    Fruit skull{};

    SpawnFruit(fruit);
    SpawnSkull(skull);

    EXPECT_EQ(fruit.type, WATERMELON);
    EXPECT_EQ(fruit.position.x, 0.0f);
    EXPECT_EQ(fruit.position.y, 960.0f);
    EXPECT_EQ(skull.position.x, 0.0f);
    EXPECT_EQ(skull.position.y, 960.0f);
}

bool OnItemGrid(float coordinate) {
    return coordinate >= 0 && coordinate <= 960 && static_cast<int>(coordinate) % 20 == 0 &&
           static_cast<float>(static_cast<int>(coordinate)) == coordinate;
}

TEST_F(ItemPlacementTest, UnscriptedPlacementsStayOnTheItemGridWithFruitTypesOnly) {
    bool sawRightEdge = false;
    for (int i = 0; i < 2000; i++) {
        Fruit fruit{};
        SpawnFruit(fruit);
        ASSERT_LE(static_cast<unsigned int>(fruit.type), 2u);
        ASSERT_TRUE(OnItemGrid(fruit.position.x)) << fruit.position.x;
        ASSERT_TRUE(OnItemGrid(fruit.position.y)) << fruit.position.y;
        sawRightEdge = sawRightEdge || fruit.position.x == 960.0f;
    }
    EXPECT_TRUE(sawRightEdge) << "index 48 must be reachable";
    EXPECT_EQ(scripted::RandomCalls().size(), 3u * 2000);
}

// ---- Hit test ----------------------------------------------------------------

struct HitCase {
    Vector2 head;
    bool hit;
};

void ExpectHits(const Fruit &item, int size, const std::vector<HitCase> &cases) {
    for (const HitCase &c : cases) {
        EXPECT_EQ(CheckFruitCollision(c.head, item, size), c.hit)
            << "item (" << item.position.x << ", " << item.position.y << ") size " << size
            << ", head (" << c.head.x << ", " << c.head.y << ")";
    }
}

TEST(FruitCollisionTest, AnItemIsHitFromItsFourCellsAndOnlyTouchedFromTheTwelveAround) {
    const Fruit item{{100, 100}, APPLE};
    ExpectHits(item, ITEM_SIZE,
               {
                   {{100, 100}, true},
                   {{120, 100}, true},
                   {{100, 120}, true},
                   {{120, 120}, true},
                   // The ring of cells sharing an edge or a corner with the square.
                   {{80, 80}, false},
                   {{100, 80}, false},
                   {{120, 80}, false},
                   {{140, 80}, false},
                   {{80, 100}, false},
                   {{140, 100}, false},
                   {{80, 120}, false},
                   {{140, 120}, false},
                   {{80, 140}, false},
                   {{100, 140}, false},
                   {{120, 140}, false},
                   {{140, 140}, false},
                   // Further away.
                   {{160, 100}, false},
                   {{60, 120}, false},
                   {{100, 160}, false},
                   {{120, 60}, false},
                   {{0, 0}, false},
                   {{980, 980}, false},
               });
}

TEST(FruitCollisionTest, AHeadJustOutsideTheWindowHitsNothing) {
    ExpectHits({{0, 0}, SKULL}, ITEM_SIZE,
               {{{-20, 0}, false}, {{0, -20}, false}, {{-20, -20}, false}, {{0, 0}, true}});
    ExpectHits({{960, 300}, SKULL}, ITEM_SIZE,
               {{{1000, 300}, false}, {{1000, 320}, false}, {{980, 320}, true}});
    ExpectHits({{300, 960}, APPLE}, ITEM_SIZE, {{{300, 1000}, false}, {{320, 980}, true}});
}

TEST(FruitCollisionTest, AnItemInTheBottomRightCornerIsHitFromItsFourCells) {
    ExpectHits({{960, 960}, WATERMELON}, ITEM_SIZE,
               {{{960, 960}, true},
                {{980, 960}, true},
                {{960, 980}, true},
                {{980, 980}, true},
                {{1000, 980}, false},
                {{980, 1000}, false},
                {{940, 960}, false}});
}

TEST(FruitCollisionTest, WithSizeTwentyOnlyTheItemsOwnCellHits) {
    ExpectHits({{100, 100}, APPLE}, CELL_SIZE,
               {{{100, 100}, true},
                {{120, 100}, false},
                {{100, 120}, false},
                {{120, 120}, false},
                {{80, 100}, false},
                {{100, 80}, false}});
}

TEST(FruitCollisionTest, AHeadOnACellCoveredByTwoFruitsHitsBoth) {
    const Fruit first{{100, 100}, APPLE};
    const Fruit second{{120, 120}, PINEAPPLE};
    EXPECT_TRUE(CheckFruitCollision({120, 120}, first, ITEM_SIZE));
    EXPECT_TRUE(CheckFruitCollision({120, 120}, second, ITEM_SIZE));
}

// ---- Points ------------------------------------------------------------------

TEST(FruitScoreTest, PointsFollowTheTableAndUnknownTypesAreWorthNothing) {
    const struct {
        FruitType type;
        int points;
    } cases[] = {
        {APPLE, 1},
        {PINEAPPLE, 2},
        {WATERMELON, 5},
        {SKULL, -1},
        {static_cast<FruitType>(4), 0},
        {static_cast<FruitType>(1000), 0},
        {static_cast<FruitType>(static_cast<unsigned int>(-1)), 0},  // a -1 read unsigned
        {static_cast<FruitType>(0x80000000u), 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(GetFruitScore(c.type), c.points) << static_cast<unsigned int>(c.type);
    }
}

}  // namespace

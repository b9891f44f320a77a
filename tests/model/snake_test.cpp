// The snake: start state, steps, growth, collisions and its storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "game_model.h"

namespace {

bool SameCell(Vector2 a, Vector2 b) {
    return a.x == b.x && a.y == b.y;
}

std::vector<Vector2> Segments(const Snake &snake) {
    return std::vector<Vector2>(snake.body, snake.body + snake.length);
}

::testing::AssertionResult BodyIs(const Snake &snake, const std::vector<Vector2> &expected) {
    if (snake.length != static_cast<int>(expected.size())) {
        return ::testing::AssertionFailure()
               << "length " << snake.length << ", expected " << expected.size();
    }
    for (size_t i = 0; i < expected.size(); i++) {
        if (!SameCell(snake.body[i], expected[i])) {
            return ::testing::AssertionFailure()
                   << "body[" << i << "] is (" << snake.body[i].x << ", " << snake.body[i].y
                   << "), expected (" << expected[i].x << ", " << expected[i].y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

bool Occupies(const Snake &snake, Vector2 cell) {
    for (int i = 0; i < snake.length; i++) {
        if (SameCell(snake.body[i], cell)) {
            return true;
        }
    }
    return false;
}

// What the playing screen does to position after each step.
void WrapIntoWindow(Vector2 &position) {
    if (position.x < 0)
        position.x = 980;
    if (position.x >= 1000)
        position.x = 0;
    if (position.y < 0)
        position.y = 980;
    if (position.y >= 1000)
        position.y = 0;
}

// Every (re)allocation of the body storage goes through here while a test
// watches: the requests are recorded and realloc does the work.
struct ResizeRequest {
    void *storage;
    std::size_t bytes;
};
std::vector<ResizeRequest> resizeRequests;

void *RecordingResize(void *storage, std::size_t bytes) {
    resizeRequests.push_back({storage, bytes});
    return std::realloc(storage, bytes);
}

void *FailingResize(void *, std::size_t) {
    return nullptr;
}

class SnakeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resizeRequests.clear();
        InitSnake(snake);
    }
    void TearDown() override {
        SetBodyStorageResize(nullptr);
        FreeSnake(snake);
    }

    void GrowTo(int length) {
        while (snake.length < length) {
            GrowSnake(snake);
        }
    }

    // Puts every live segment on its own cell along the top rows.
    void SpreadBody() {
        for (int i = 0; i < snake.length; i++) {
            snake.body[i] = {static_cast<float>(20 * (i % 50)), static_cast<float>(20 * (i / 50))};
        }
        snake.position = snake.body[0];
    }

    Snake snake{};
};

TEST_F(SnakeTest, StartsAtTheCentreFacingRightWithThreeSegments) {
    EXPECT_TRUE(SameCell(snake.position, {500, 500}));
    EXPECT_TRUE(SameCell(snake.direction, {20, 0}));
    EXPECT_EQ(snake.capacity, 16);
    EXPECT_EQ(snake.score, 0);
    EXPECT_EQ(snake.eatFlash, 0);
    EXPECT_TRUE(BodyIs(snake, {{500, 500}, {480, 500}, {460, 500}}));
}

TEST_F(SnakeTest, InitOnAPlayedRecordGivesTheStartStateInFreshSixteenSlots) {
    GrowTo(40);
    ASSERT_EQ(snake.capacity, 64);
    snake.score = 120;
    snake.eatFlash = 3;
    snake.direction = {0, -20};
    MoveSnake(snake);
    SetBodyStorageResize(RecordingResize);

    InitSnake(snake);

    ASSERT_EQ(resizeRequests.size(), 1u);
    EXPECT_EQ(resizeRequests[0].storage, nullptr) << "a new array, not the old one resized";
    EXPECT_EQ(resizeRequests[0].bytes, 16 * sizeof(Vector2));
    EXPECT_EQ(snake.capacity, 16);
    EXPECT_EQ(snake.score, 0);
    EXPECT_EQ(snake.eatFlash, 0);
    EXPECT_TRUE(SameCell(snake.position, {500, 500}));
    EXPECT_TRUE(SameCell(snake.direction, {20, 0}));
    EXPECT_TRUE(BodyIs(snake, {{500, 500}, {480, 500}, {460, 500}}));
}

TEST_F(SnakeTest, OneStepMovesTheHeadAndShiftsEverySegmentIntoTheCellAhead) {
    MoveSnake(snake);

    EXPECT_TRUE(SameCell(snake.position, {520, 500}));
    EXPECT_TRUE(BodyIs(snake, {{520, 500}, {500, 500}, {480, 500}}));
}

TEST_F(SnakeTest, GrowingPastSixteenDoublesTheStorageAndKeepsEverySegment) {
    GrowTo(16);
    ASSERT_EQ(snake.capacity, 16);
    SpreadBody();
    const std::vector<Vector2> before = Segments(snake);
    snake.eatFlash = 0;

    GrowSnake(snake);

    EXPECT_EQ(snake.length, 17);
    EXPECT_EQ(snake.capacity, 32);
    EXPECT_EQ(snake.eatFlash, EAT_FLASH_FRAMES);
    std::vector<Vector2> expected = before;
    expected.push_back(before.back());
    EXPECT_TRUE(BodyIs(snake, expected)) << "the new tail lies on the old tail's cell";
}

TEST_F(SnakeTest, TwoBitesInOneStepStackOnTheTailCellForTwoMoreSteps) {
    const Vector2 tailCell = snake.body[2];
    GrowSnake(snake);
    GrowSnake(snake);
    ASSERT_TRUE(BodyIs(snake, {{500, 500}, {480, 500}, tailCell, tailCell, tailCell}));

    MoveSnake(snake);
    EXPECT_TRUE(Occupies(snake, tailCell)) << "after the first step";
    MoveSnake(snake);
    EXPECT_TRUE(Occupies(snake, tailCell)) << "after the second step";
    MoveSnake(snake);
    EXPECT_FALSE(Occupies(snake, tailCell)) << "after the third step";
    EXPECT_EQ(snake.length, 5);
}

struct SelfCollisionCase {
    const char *name;
    std::vector<Vector2> body;
    bool hit;
};

TEST_F(SnakeTest, OnlyTheHeadMeetingABodySegmentIsASelfCollision) {
    const SelfCollisionCase cases[] = {
        {"a single segment", {{500, 500}}, false},
        {"a straight snake", {{500, 500}, {480, 500}, {460, 500}}, false},
        {"stacked segments behind the head",
         {{520, 500}, {500, 500}, {480, 500}, {480, 500}, {480, 500}},
         false},
        {"head on the segment right behind it", {{500, 500}, {500, 500}, {480, 500}}, true},
        {"head on the third segment", {{500, 500}, {480, 500}, {500, 500}}, true},
        {"head on the tail", {{500, 500}, {500, 520}, {480, 520}, {480, 500}, {500, 500}}, true},
        {"same x, other row", {{500, 500}, {480, 500}, {500, 520}}, false},
        {"same y, other column", {{500, 500}, {500, 520}, {520, 500}}, false},
    };
    for (const SelfCollisionCase &c : cases) {
        SCOPED_TRACE(c.name);
        snake.length = static_cast<int>(c.body.size());
        std::copy(c.body.begin(), c.body.end(), snake.body);
        EXPECT_EQ(CheckSelfCollision(snake), c.hit);
    }
}

TEST_F(SnakeTest, ReversingAwayFromTheEdgesRunsIntoTheBody) {
    MoveSnake(snake);
    snake.direction = {-20, 0};
    MoveSnake(snake);

    EXPECT_TRUE(SameCell(snake.body[0], snake.body[2]));
    EXPECT_TRUE(CheckSelfCollision(snake));
}

TEST_F(SnakeTest, LeavingOnTheRightSpendsOneStepOutsideAndReentersOneCellIn) {
    snake.position = {980, 500};
    std::copy_n(std::vector<Vector2>{{980, 500}, {960, 500}, {940, 500}}.begin(), 3, snake.body);

    MoveSnake(snake);
    WrapIntoWindow(snake.position);
    EXPECT_EQ(snake.body[0].x, 1000.0f) << "the drawn head is just outside the window";
    EXPECT_EQ(snake.position.x, 0.0f);

    MoveSnake(snake);
    WrapIntoWindow(snake.position);
    EXPECT_TRUE(BodyIs(snake, {{20, 500}, {1000, 500}, {980, 500}}));
}

struct EdgeReversalCase {
    const char *name;
    int stepsBeforeReversal;  // steps from head x = 980, moving right
    float headAfterReversal;
};

TEST_F(SnakeTest, ReversingJustAfterCrossingAnEdgeMissesTheBody) {
    const EdgeReversalCase cases[] = {
        {"right after reaching x = 1000", 1, -20},
        {"right after re-entering at x = 20", 2, 0},
    };
    for (const EdgeReversalCase &c : cases) {
        SCOPED_TRACE(c.name);
        InitSnake(snake);
        snake.position = {980, 500};
        std::copy_n(std::vector<Vector2>{{980, 500}, {960, 500}, {940, 500}}.begin(), 3,
                    snake.body);
        for (int step = 0; step < c.stepsBeforeReversal; step++) {
            MoveSnake(snake);
            WrapIntoWindow(snake.position);
        }
        snake.direction = {-20, 0};
        MoveSnake(snake);

        EXPECT_EQ(snake.body[0].x, c.headAfterReversal);
        EXPECT_FALSE(CheckSelfCollision(snake));
    }
}

TEST(CheckCollisionTest, SameCellOnlyWhenBothCoordinatesAreEqual) {
    EXPECT_TRUE(CheckCollision({40, 60}, {40, 60}));
    EXPECT_TRUE(CheckCollision({0.0f, 20}, {-0.0f, 20}));
    EXPECT_FALSE(CheckCollision({40, 60}, {60, 40}));
    EXPECT_FALSE(CheckCollision({40, 60}, {40, 80}));
    EXPECT_FALSE(CheckCollision({40, 60}, {20, 60}));
}

// ---- When the body storage cannot be allocated -----------------------------

using SnakeStorageFailureTest = SnakeTest;

TEST_F(SnakeStorageFailureTest, GrowingAtFullCapacityKeepsTheSnakeAsItWas) {
    GrowTo(16);
    SpreadBody();
    const Vector2 *storage = snake.body;
    const std::vector<Vector2> before = Segments(snake);
    snake.eatFlash = 0;
    SetBodyStorageResize(FailingResize);

    GrowSnake(snake);

    EXPECT_EQ(snake.length, 16);
    EXPECT_EQ(snake.capacity, 16);
    EXPECT_EQ(snake.body, storage);
    EXPECT_TRUE(BodyIs(snake, before));
    EXPECT_EQ(snake.eatFlash, EAT_FLASH_FRAMES) << "the bite still shows";

    MoveSnake(snake);
    EXPECT_EQ(snake.length, 16);
    EXPECT_TRUE(SameCell(snake.body[15], before[14]));
}

TEST_F(SnakeStorageFailureTest, GrowingBelowCapacityNeedsNoAllocation) {
    SetBodyStorageResize(FailingResize);

    GrowSnake(snake);

    EXPECT_EQ(snake.length, 4);
    EXPECT_TRUE(SameCell(snake.body[3], snake.body[2]));
}

TEST_F(SnakeStorageFailureTest, InitKeepsTheEarlierStorageWhenNoNewOneCanBeHad) {
    GrowTo(20);
    ASSERT_EQ(snake.capacity, 32);
    const Vector2 *storage = snake.body;
    snake.score = 50;
    SetBodyStorageResize(FailingResize);

    InitSnake(snake);

    EXPECT_EQ(snake.body, storage);
    EXPECT_EQ(snake.capacity, 32) << "the capacity still describes the storage held";
    EXPECT_EQ(snake.score, 0);
    EXPECT_TRUE(BodyIs(snake, {{500, 500}, {480, 500}, {460, 500}}));
    MoveSnake(snake);
    EXPECT_TRUE(BodyIs(snake, {{520, 500}, {500, 500}, {480, 500}}));
}

TEST_F(SnakeStorageFailureTest, AFirstInitWithoutStorageLeavesAnEmptySnakeThatIsSafeToUse) {
    FreeSnake(snake);
    Snake empty{};
    SetBodyStorageResize(FailingResize);

    InitSnake(empty);

    EXPECT_EQ(empty.body, nullptr);
    EXPECT_EQ(empty.length, 0);
    EXPECT_EQ(empty.capacity, 0);
    MoveSnake(empty);
    EXPECT_TRUE(SameCell(empty.position, {520, 500})) << "the position still advances";
    GrowSnake(empty);
    EXPECT_EQ(empty.body, nullptr);
    EXPECT_EQ(empty.length, 0);
    EXPECT_FALSE(CheckSelfCollision(empty));

    SetBodyStorageResize(nullptr);
    InitSnake(empty);
    EXPECT_TRUE(BodyIs(empty, {{500, 500}, {480, 500}, {460, 500}}));
    FreeSnake(empty);
    EXPECT_EQ(empty.body, nullptr);
}

}  // namespace

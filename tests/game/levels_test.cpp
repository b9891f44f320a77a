// The level table and the three ways a game changes level.
#include "game_fixture.h"

namespace {

using LevelsTest = GameTest;

TEST(LevelTable, IntervalsAreTheSinglePrecisionValuesOfFifteenEighteenTwentyFiveAndThirtySteps) {
    EXPECT_EQ(Levels[0].moveInterval, 0.06666667f);
    EXPECT_EQ(Levels[1].moveInterval, 0.055555556f);
    EXPECT_EQ(Levels[2].moveInterval, 0.04f);
    EXPECT_EQ(Levels[3].moveInterval, 0.033333335f);
}

struct UnlockCase {
    int bestScore;
    bool level2, level3, level4;
};

TEST(LevelTable, LevelsUnlockStrictlyAboveNinetyNineTwoNinetyNineAndFourNinetyNine) {
    const UnlockCase cases[] = {
        {-5, false, false, false}, {0, false, false, false},  {99, false, false, false},
        {100, true, false, false}, {299, true, false, false}, {300, true, true, false},
        {499, true, true, false},  {500, true, true, true},   {2147483647, true, true, true},
    };
    for (const UnlockCase &c : cases) {
        SCOPED_TRACE(c.bestScore);
        EXPECT_TRUE(IsLevelUnlocked(1, c.bestScore));
        EXPECT_EQ(IsLevelUnlocked(2, c.bestScore), c.level2);
        EXPECT_EQ(IsLevelUnlocked(3, c.bestScore), c.level3);
        EXPECT_EQ(IsLevelUnlocked(4, c.bestScore), c.level4);
    }
    EXPECT_TRUE(IsLevelUnlocked(1, -2147483647 - 1)) << "level 1 is open whatever the file says";
}

TEST_F(LevelsTest, StartLevelPlacesOnlyTheLevelsSkullsAndKeepsFruitsAndTimers) {
    for (int level = 1; level <= 4; level++) {
        SCOPED_TRACE(level);
        scripted::ResetPlatform();
        StartGame();
        state.moveTimer = 0.03f;
        state.skullTimer = 2.5f;
        state.snake.score = 77;
        const Fruit fruitBefore = state.fruits[4];
        const size_t drawsBefore = scripted::RandomCalls().size();

        StartLevel(state, level);

        EXPECT_EQ(state.level, level);
        EXPECT_EQ(state.moveInterval, Levels[level - 1].moveInterval);
        EXPECT_EQ(state.currentScreen, PLAYING);
        EXPECT_EQ(state.snake.score, 0);
        EXPECT_EQ(state.snake.length, 3);
        EXPECT_EQ(scripted::RandomCalls().size() - drawsBefore,
                  2u * static_cast<size_t>(Levels[level - 1].skullCount));
        EXPECT_EQ(state.fruits[4].position.x, fruitBefore.position.x);
        EXPECT_EQ(state.moveTimer, 0.03f);
        EXPECT_EQ(state.skullTimer, 2.5f);
        ShutDown(state, assets);
        started = false;
    }
}

struct PromotionCase {
    int levelBefore;
    int score;
    int levelAfter;
    size_t skullDraws;  // random values drawn for skulls placed by the promotion
};

TEST_F(LevelsTest, PromotionFollowsTheScoreAndPlacesTheNewLevelsSkull) {
    const PromotionCase cases[] = {
        {1, 99, 1, 0},  {1, 100, 2, 0},  {2, 299, 2, 0}, {2, 300, 3, 2}, {3, 499, 3, 0},
        {3, 500, 4, 2}, {4, 9999, 4, 0}, {1, 500, 4, 4},  // one call can pass every threshold
    };
    StartGame();
    for (const PromotionCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.levelBefore << " score " << c.score);
        state.level = c.levelBefore;
        state.moveInterval = Levels[c.levelBefore - 1].moveInterval;
        state.snake.score = c.score;
        state.moveTimer = 0.01f;
        state.currentScreen = PLAYING;
        const size_t drawsBefore = scripted::RandomCalls().size();

        PromoteLevel(state);

        EXPECT_EQ(state.level, c.levelAfter);
        EXPECT_EQ(state.moveInterval, Levels[c.levelAfter - 1].moveInterval);
        EXPECT_EQ(scripted::RandomCalls().size() - drawsBefore, c.skullDraws);
        EXPECT_EQ(state.snake.score, c.score);
        EXPECT_EQ(state.moveTimer, 0.01f);
        EXPECT_EQ(state.currentScreen, PLAYING);
    }
}

TEST_F(LevelsTest, PromotionToLevelThreePlacesSkullTwoThenLevelFourSkullThree) {
    StartGame();
    StartPlaying(2);
    state.snake.score = 300;
    scripted::QueueRandomValues({5, 6});
    PromoteLevel(state);
    EXPECT_EQ(state.skull2.position.x, 100.0f);
    EXPECT_EQ(state.skull2.position.y, 120.0f);

    state.snake.score = 500;
    scripted::QueueRandomValues({7, 8});
    PromoteLevel(state);
    EXPECT_EQ(state.skull3.position.x, 140.0f);
    EXPECT_EQ(state.skull3.position.y, 160.0f);
    EXPECT_EQ(state.skull3.type, SKULL);
}

TEST_F(LevelsTest, RestartAfterALevelFourGameStartsOverAtLevelOneWithANewBoard) {
    StartGame();
    StartPlaying(4);
    state.snake.score = 640;
    state.moveTimer = 0.02f;
    state.skullTimer = 3.0f;
    state.currentScreen = GAME_OVER;
    const Fruit skull3Before = state.skull3;
    const size_t drawsBefore = scripted::RandomCalls().size();

    RestartGame(state);

    EXPECT_EQ(state.level, 1);
    EXPECT_EQ(state.moveInterval, 0.06666667f);
    EXPECT_EQ(state.snake.score, 0);
    EXPECT_EQ(state.snake.length, 3);
    EXPECT_EQ(state.moveTimer, 0.0f);
    EXPECT_EQ(state.skullTimer, 0.0f);
    EXPECT_EQ(state.currentScreen, PLAYING);
    EXPECT_EQ(scripted::RandomCalls().size() - drawsBefore, 10u * 3 + 2u * 2);
    EXPECT_EQ(state.skull3.position.x, skull3Before.position.x) << "skull3 stays where it was";
}

}  // namespace

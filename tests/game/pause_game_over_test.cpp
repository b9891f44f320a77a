// The screens between games: pause and game over, their keys and the record.
#include "game_fixture.h"

namespace {

class BetweenGamesTest : public GameTest {
  protected:
    // A game at level 2 that has just ended with the given score.
    void EndGameWithScore(int score) {
        StartPlaying(2);
        state.snake.score = score;
        state.currentScreen = GAME_OVER;
    }
    std::vector<std::string> TextsOf(const RecordedFrame &frame) {
        std::vector<std::string> texts;
        for (const DrawCall &call : scripted::TextsOf(frame)) {
            texts.push_back(call.text);
        }
        return texts;
    }
    bool OnlyTextOnTheClearedWindow(const RecordedFrame &frame) {
        for (size_t i = 1; i < frame.draws.size(); i++) {
            if (frame.draws[i].kind != DrawKind::Text) {
                return false;
            }
        }
        return frame.draws[0].kind == DrawKind::Clear;
    }
};

TEST_F(BetweenGamesTest, ThePauseScreenShowsOnlyItsThreeTexts) {
    StartGame();
    StartPlaying(1);
    state.currentScreen = PAUSED;

    const RecordedFrame &frame = PlayFrame();

    EXPECT_TRUE(OnlyTextOnTheClearedWindow(frame));
    EXPECT_EQ(TextsOf(frame),
              (std::vector<std::string>{"PAUSED", "Press P to Resume", "Press M for Menu"}));
    const DrawCall *paused = scripted::FindText(frame, "PAUSED");
    EXPECT_EQ(paused->rect.x, 420.0f);
    EXPECT_EQ(paused->rect.y, 460.0f);
    EXPECT_EQ(paused->fontSize, 50);
    EXPECT_TRUE(SameColor(paused->color, ORANGE));
}

struct KeyCase {
    GameScreen screen;
    std::vector<int> keys;
    GameScreen next;
};

TEST_F(BetweenGamesTest, MIsTestedLastOnBothScreens) {
    const KeyCase cases[] = {
        {PAUSED, {KEY_P}, PLAYING},      {PAUSED, {KEY_M}, MENU},
        {PAUSED, {KEY_P, KEY_M}, MENU},  {PAUSED, {KEY_R}, PAUSED},
        {GAME_OVER, {KEY_R}, PLAYING},   {GAME_OVER, {KEY_M}, MENU},
        {GAME_OVER, {KEY_P}, GAME_OVER},
    };
    StartGame();
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen << " keys " << c.keys.size());
        StartPlaying(1);
        state.currentScreen = c.screen;
        PlayFrameWithKeys(c.keys);
        EXPECT_EQ(state.currentScreen, c.next);
    }
}

TEST_F(BetweenGamesTest, RAndMInOneGameOverFrameRestartTheGameAndShowTheMenu) {
    StartGame();
    EndGameWithScore(0);
    state.level = 4;
    state.moveTimer = 0.01f;

    const RecordedFrame &frame = PlayFrameWithKeys({KEY_R, KEY_M});

    EXPECT_NE(scripted::FindText(frame, " GAME OVER "), nullptr);
    EXPECT_EQ(state.currentScreen, MENU);
    EXPECT_EQ(state.level, 1);
    EXPECT_EQ(state.moveTimer, 0.0f);
    EXPECT_NE(scripted::FindText(PlayFrame(), "Choose a Level:"), nullptr);
}

TEST_F(BetweenGamesTest, ARecordIsSavedOnceAndAnnouncedInEveryFrameOfThatGameOver) {
    StartGame(40);
    EndGameWithScore(123);

    const RecordedFrame &first = PlayFrame();
    EXPECT_EQ(ReadFile(workDir / "highscore.txt"), "123");
    std::filesystem::remove(workDir / "highscore.txt");
    for (int frame = 0; frame < 30; frame++) {
        const RecordedFrame &later = PlayFrame();
        ASSERT_NE(scripted::FindText(later, "NEW HIGH SCORE!"), nullptr) << "frame " << frame;
        EXPECT_NE(scripted::FindText(later, "High Score: 123"), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(workDir / "highscore.txt")) << "written only once";

    EXPECT_EQ(TextsOf(first),
              (std::vector<std::string>{" GAME OVER ", "Your Score: 123", "NEW HIGH SCORE!",
                                        "High Score: 123", "Press R to Restart or M for Menu"}));
    const DrawCall *news = scripted::FindText(first, "NEW HIGH SCORE!");
    EXPECT_EQ(news->rect.x, 380.0f);
    EXPECT_EQ(news->rect.y, 420.0f);
    EXPECT_TRUE(SameColor(news->color, GOLD));
    EXPECT_TRUE(OnlyTextOnTheClearedWindow(first));
    EXPECT_EQ(highScore, 123);
}

TEST_F(BetweenGamesTest, TheNextGameOverWithoutARecordDoesNotAnnounceOne) {
    StartGame(40);
    EndGameWithScore(123);
    PlayFrameWithKeys({KEY_R});
    state.snake.score = 50;
    state.currentScreen = GAME_OVER;

    const RecordedFrame &frame = PlayFrame();

    EXPECT_EQ(scripted::FindText(frame, "NEW HIGH SCORE!"), nullptr);
    EXPECT_NE(scripted::FindText(frame, "High Score: 123"), nullptr);
}

struct RecordCase {
    int storedBest;
    int score;
    bool record;
};

TEST_F(BetweenGamesTest, OnlyAScoreStrictlyAboveTheBestIsARecord) {
    const RecordCase cases[] = {{40, 40, false}, {0, 0, false}, {-5, 0, true}, {40, 41, true}};
    for (const RecordCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.storedBest << " vs " << c.score);
        WriteFile(workDir / "highscore.txt", std::to_string(c.storedBest));
        LoadHighScore("highscore.txt");
        StartGame();
        EndGameWithScore(c.score);

        const RecordedFrame &frame = PlayFrame();

        EXPECT_EQ(scripted::FindText(frame, "NEW HIGH SCORE!") != nullptr, c.record);
        EXPECT_EQ(ReadFile(workDir / "highscore.txt"),
                  std::to_string(c.record ? c.score : c.storedBest));
        ShutDown(state, assets);
        started = false;
    }
}

TEST_F(BetweenGamesTest, ARecordTakenInAFrameWithRAndMIsStillSaved) {
    StartGame();
    EndGameWithScore(77);
    PlayFrameWithKeys({KEY_R, KEY_M});
    EXPECT_EQ(ReadFile(workDir / "highscore.txt"), "77");
    EXPECT_EQ(highScore, 77);
}

TEST_F(BetweenGamesTest, AGameLeftThroughThePauseMenuIsNeverComparedWithTheBest) {
    StartGame();
    StartPlaying(1);
    state.snake.score = 90;
    state.currentScreen = PAUSED;
    PlayFrameWithKeys({KEY_M});
    PlayFrame();
    EXPECT_EQ(highScore, 0);
    EXPECT_FALSE(std::filesystem::exists(workDir / "highscore.txt"));
}

}  // namespace

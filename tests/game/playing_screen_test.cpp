// The playing screen, frame by frame: steps, turns, edges, eating, dying,
// promotion, skull jumps and pause.
#include "game_fixture.h"

namespace {

const std::string kBite = "soundeffect/cartoonbite.mp3";
const std::string kGameOver = "soundeffect/gameover.mp3";

class PlayingTest : public GameTest {
  protected:
    // A three-segment snake with its head at (x, y), moving along direction.
    void PlaceSnake(float x, float y, Vector2 direction) {
        state.snake.position = {x, y};
        state.snake.direction = direction;
        for (int i = 0; i < state.snake.length; i++) {
            const float back = static_cast<float>(CELL_SIZE * i);
            state.snake.body[i] = {x - back * direction.x / 20.0f, y - back * direction.y / 20.0f};
        }
    }
    // Plays frames up to and including the next step.
    RecordedFrame PlayUntilStep() {
        FramesUntilStep();
        return scripted::Frames().back();
    }
};

struct CadenceCase {
    int level;
    int framesPerStep;
};

TEST_F(PlayingTest, OverAMinuteAtSixtyFramesPerSecondEveryStepTakes4_4_3_2Frames) {
    StartGame();
    for (CadenceCase c : {CadenceCase{1, 4}, {2, 4}, {3, 3}, {4, 2}}) {
        SCOPED_TRACE(c.level);
        StartPlaying(c.level);
        QueueQuietRandomValues();
        state.moveTimer = 0.0f;
        std::vector<int> framesPerStep;
        int framesSinceStep = 0;
        for (int frame = 0; frame < 60 * 60; frame++) {
            const Vector2 before = Head();
            PlayFrame();
            framesSinceStep++;
            if (Head().x != before.x || Head().y != before.y) {
                framesPerStep.push_back(framesSinceStep);
                framesSinceStep = 0;
            }
        }
        ASSERT_EQ(state.currentScreen, PLAYING);
        EXPECT_EQ(framesPerStep.size(), static_cast<size_t>(3600 / c.framesPerStep));
        EXPECT_EQ(framesPerStep, std::vector<int>(framesPerStep.size(), c.framesPerStep));
    }
}

TEST_F(PlayingTest, AFrameTimeJustBelowASixtiethTakesOneFrameMoreOnLevelsOneAndFour) {
    StartGame();
    for (CadenceCase c : {CadenceCase{1, 5}, {2, 4}, {3, 3}, {4, 3}}) {
        SCOPED_TRACE(c.level);
        StartPlaying(c.level);
        state.moveTimer = 0.0f;
        int frames = 0;
        const Vector2 before = Head();
        while (Head().x == before.x && frames < 20) {
            FrameInput input;
            input.frameTime = 0.016666f;
            PlayFrame(input);
            frames++;
        }
        EXPECT_EQ(frames, c.framesPerStep);
    }
}

TEST_F(PlayingTest, SkullsJumpInTheTwoHundredFortyFirstFrameAtASixtiethOfASecond) {
    StartGame();
    StartPlaying(1);
    PlaceSnake(500, 300, {20, 0});
    const Vector2 before = state.skull1.position;
    for (int frame = 1; frame <= 240; frame++) {
        PlayFrame();
    }
    EXPECT_EQ(state.skull1.position.x, before.x) << "no jump after 240 frames";
    EXPECT_GT(state.skullTimer, 3.99f);

    scripted::QueueRandomValues({10, 11});
    PlayFrame();
    EXPECT_EQ(state.skull1.position.x, 200.0f);
    EXPECT_EQ(state.skull1.position.y, 220.0f);
    EXPECT_EQ(state.skullTimer, 0.0f);
}

TEST_F(PlayingTest, ALongStallGivesOneStepAndOneSkullJump) {
    StartGame();
    StartPlaying(4);
    QueueQuietRandomValues();
    const Vector2 head = Head();
    const size_t drawsBefore = scripted::RandomCalls().size();
    FrameInput stall;
    stall.frameTime = 5.0f;  // longer than both intervals

    PlayFrame(stall);

    EXPECT_EQ(Head().x, head.x + 20.0f);
    EXPECT_EQ(scripted::RandomCalls().size() - drawsBefore, 3u * 2) << "three skulls, once";
    EXPECT_EQ(state.moveTimer, 0.0f);
    EXPECT_EQ(state.skullTimer, 0.0f);
}

struct EdgeCase {
    const char *name;
    Vector2 head;
    Vector2 direction;
    float outside;  // head coordinate on the step that leaves the board
    float reentry;  // head coordinate one step later
    bool alongX;
};

TEST_F(PlayingTest, AHeadLeavingTheBoardSpendsOneStepOutsideAndReturnsOneCellIn) {
    const EdgeCase cases[] = {
        {"right", {980, 500}, {20, 0}, 1000, 20, true},
        {"left", {0, 500}, {-20, 0}, -20, 960, true},
        {"down", {500, 980}, {0, 20}, 1000, 20, false},
        {"up", {500, 0}, {0, -20}, -20, 960, false},
    };
    StartGame();
    for (const EdgeCase &c : cases) {
        SCOPED_TRACE(c.name);
        StartPlaying(1);
        PlaceSnake(c.head.x, c.head.y, c.direction);

        PlayUntilStep();
        EXPECT_EQ(c.alongX ? Head().x : Head().y, c.outside);
        EXPECT_EQ(state.currentScreen, PLAYING);
        PlayUntilStep();
        EXPECT_EQ(c.alongX ? Head().x : Head().y, c.reentry);
        EXPECT_EQ(state.currentScreen, PLAYING);
    }
}

TEST_F(PlayingTest, ATurnWhileTheHeadIsOutsideTurnsFromTheWrappedPosition) {
    StartGame();
    StartPlaying(1);
    PlaceSnake(0, 500, {-20, 0});
    PlayUntilStep();
    ASSERT_EQ(Head().x, -20.0f);

    PlayFrameWithKeys({KEY_UP});
    PlayUntilStep();

    EXPECT_EQ(Head().x, 980.0f);
    EXPECT_EQ(Head().y, 480.0f);
}

struct TurnCase {
    const char *name;
    Vector2 direction;
    std::vector<int> keys;
    Vector2 expected;
};

TEST_F(PlayingTest, TurnsAreTakenOnlyAcrossTheDirectionInUpDownLeftRightOrder) {
    const TurnCase cases[] = {
        {"along the axis is ignored", {20, 0}, {KEY_LEFT}, {20, 0}},
        {"up and down: up wins", {20, 0}, {KEY_DOWN, KEY_UP}, {0, -20}},
        {"left and right: left wins", {0, 20}, {KEY_RIGHT, KEY_LEFT}, {-20, 0}},
        {"up then left reverses", {20, 0}, {KEY_UP, KEY_LEFT}, {-20, 0}},
        {"moving down no single frame reverses", {0, 20}, {KEY_LEFT, KEY_UP}, {-20, 0}},
    };
    StartGame();
    for (const TurnCase &c : cases) {
        SCOPED_TRACE(c.name);
        StartPlaying(1);
        state.snake.direction = c.direction;
        state.moveTimer = 0.0f;
        PlayFrameWithKeys(c.keys);
        EXPECT_EQ(state.snake.direction.x, c.expected.x);
        EXPECT_EQ(state.snake.direction.y, c.expected.y);
    }
}

TEST_F(PlayingTest, ADoubleTurnInOneFrameReversesTheSnakeIntoItself) {
    StartGame();
    StartPlaying(1);

    PlayFrameWithKeys({KEY_UP, KEY_LEFT});
    const RecordedFrame &fatal = PlayUntilStep();

    EXPECT_EQ(state.currentScreen, GAME_OVER);
    EXPECT_EQ(fatal.soundsPlayed, std::vector<std::string>{kGameOver});
    EXPECT_NE(scripted::FindText(fatal, "Score: 0"), nullptr) << "the fatal frame is drawn whole";
}

TEST_F(PlayingTest, SeveralFruitsUnderTheHeadAreAllEatenInOneStep) {
    StartGame();
    StartPlaying(1);
    state.fruits[0] = {{520, 500}, WATERMELON};
    state.fruits[1] = {{500, 480}, PINEAPPLE};
    state.fruits[2] = {{520, 480}, APPLE};
    scripted::QueueRandomValues({2, 0, 0, 1, 0, 1, 0, 0, 2});

    const RecordedFrame &frame = PlayUntilStep();

    EXPECT_EQ(state.snake.score, 5 + 2 + 1);
    EXPECT_EQ(state.snake.length, 6);
    EXPECT_EQ(state.snake.eatFlash, EAT_FLASH_FRAMES - 1) << "already counted down once";
    EXPECT_EQ(frame.soundsPlayed, (std::vector<std::string>{kBite, kBite, kBite}));
    EXPECT_EQ(state.fruits[0].type, WATERMELON);
    EXPECT_EQ(state.fruits[1].position.y, 20.0f);
    EXPECT_EQ(state.fruits[2].position.y, 40.0f);
    EXPECT_EQ(state.currentScreen, PLAYING);
}

TEST_F(PlayingTest, ASkullHitStillEatsTheFruitAndRunsTheSelfTest) {
    StartGame();
    StartPlaying(1);
    state.skull1 = {{520, 500}, SKULL};
    state.fruits[3] = {{520, 500}, WATERMELON};
    QueueQuietRandomValues();

    const RecordedFrame &frame = PlayUntilStep();

    EXPECT_EQ(state.currentScreen, GAME_OVER);
    EXPECT_EQ(state.snake.score, 5);
    EXPECT_EQ(frame.soundsPlayed, (std::vector<std::string>{kGameOver, kBite}));
}

TEST_F(PlayingTest, ASkullHitThatIsAlsoASelfHitPlaysTheGameOverSoundTwice) {
    StartGame();
    StartPlaying(1);
    state.skull1 = {{480, 480}, SKULL};  // covers the neck cell the reversal steps onto
    PlayFrameWithKeys({KEY_UP, KEY_LEFT});

    const RecordedFrame &frame = PlayUntilStep();

    EXPECT_EQ(state.currentScreen, GAME_OVER);
    EXPECT_EQ(frame.soundsPlayed, (std::vector<std::string>{kGameOver, kGameOver}));
}

TEST_F(PlayingTest, InactiveSkullsNeverEndTheGame) {
    StartGame();
    StartPlaying(2);
    state.skull2 = {{520, 500}, SKULL};
    state.skull3 = {{540, 500}, SKULL};
    PlayUntilStep();
    PlayUntilStep();
    EXPECT_EQ(state.currentScreen, PLAYING);
}

TEST_F(PlayingTest, PInTheFrameOfAFatalStepLeadsToGameOver) {
    StartGame();
    StartPlaying(1);
    state.skull1 = {{520, 500}, SKULL};
    state.moveTimer = state.moveInterval;  // this frame steps

    PlayFrameWithKeys({KEY_P});

    EXPECT_EQ(state.currentScreen, GAME_OVER);
}

TEST_F(PlayingTest, PInAFrameWithAStepRunsTheStepAndPausesFromTheNextFrame) {
    StartGame();
    StartPlaying(1);
    state.moveTimer = state.moveInterval;

    const RecordedFrame &frame = PlayFrameWithKeys({KEY_P});

    EXPECT_EQ(Head().x, 520.0f);
    EXPECT_EQ(state.currentScreen, PAUSED);
    EXPECT_NE(scripted::FindText(frame, "Level: 1"), nullptr);
    const RecordedFrame &next = PlayFrame();
    EXPECT_NE(scripted::FindText(next, "PAUSED"), nullptr);
}

TEST_F(PlayingTest, PromotionTakesEffectAtOnceButTheNewBackgroundShowsFromTheNextFrame) {
    StartGame();
    StartPlaying(2);
    state.snake.score = 300;
    scripted::QueueRandomValues({20, 21});

    const RecordedFrame &frame = PlayFrame();

    EXPECT_EQ(state.level, 3);
    EXPECT_EQ(state.moveInterval, 0.04f);
    EXPECT_EQ(frame.draws[1].texturePath, "map/level2map.png");
    EXPECT_NE(scripted::FindText(frame, "Level: 3"), nullptr);
    EXPECT_EQ(PicturesDrawnFrom(frame, "Skull.png"), 2u)
        << "the new skull is drawn in the frame that placed it";
    EXPECT_EQ(state.skull2.position.x, 400.0f);
    EXPECT_EQ(PlayFrame().draws[1].texturePath, "map/level3map.png");
}

TEST_F(PlayingTest, APromotionSpeedsUpTheVeryNextStep) {
    StartGame();
    StartPlaying(3);
    state.snake.score = 500;
    QueueQuietRandomValues();
    state.moveTimer = 0.0f;
    EXPECT_EQ(FramesUntilStep(), 2) << "level 4 cadence from the frame of the promotion";
}

TEST_F(PlayingTest, PauseStopsBothTimersAndResumingContinuesThem) {
    StartGame();
    StartPlaying(1);
    PlayFrame();
    PlayFrame();
    const float moveTimer = state.moveTimer;
    const float skullTimer = state.skullTimer;
    const Vector2 head = Head();

    PlayFrameWithKeys({KEY_P});  // still a playing frame
    for (int frame = 0; frame < 100; frame++) {
        PlayFrame();
    }
    EXPECT_EQ(state.currentScreen, PAUSED);
    EXPECT_EQ(state.skullTimer, skullTimer + scripted::kSixtiethOfASecond);
    PlayFrameWithKeys({KEY_P});
    EXPECT_EQ(state.currentScreen, PLAYING);
    EXPECT_EQ(Head().x, head.x) << "the pause frames moved nothing";
    EXPECT_GT(state.moveTimer, moveTimer);

    EXPECT_EQ(FramesUntilStep(), 1) << "the fourth playing frame since the last step steps";
}

}  // namespace

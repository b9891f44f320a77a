// Board drawing: what each playing frame puts on the window, in what order.
#include "game_fixture.h"

namespace {

using BoardTest = GameTest;

TEST_F(BoardTest, APlayingFrameDrawsBackgroundSnakeFruitsSkullsThenStatusLines) {
    StartGame(250);
    StartPlaying(3);
    state.snake.score = 42;

    const RecordedFrame &frame = PlayFrame();

    ASSERT_EQ(frame.draws.size(), 1u + 1 + 3 + 10 + 2 + 3);
    EXPECT_EQ(frame.draws[1].texturePath, "map/level3map.png");
    EXPECT_EQ(frame.draws[1].rect.width, 1000.0f);
    EXPECT_EQ(frame.draws[1].rect.height, 1000.0f);
    for (size_t i = 2; i < 5; i++) {
        EXPECT_EQ(frame.draws[i].kind, DrawKind::RectangleV);
    }
    for (size_t i = 5; i < 17; i++) {
        EXPECT_EQ(frame.draws[i].kind, DrawKind::TexturePro);
        EXPECT_EQ(frame.draws[i].rect.width, 40.0f);
        EXPECT_TRUE(SameColor(frame.draws[i].color, WHITE));
    }
    EXPECT_EQ(frame.draws[15].texturePath, "Skull.png");
    EXPECT_EQ(frame.draws[16].texturePath, "Skull.png");

    const std::vector<DrawCall> texts = CallsOfKind(frame, DrawKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    const std::string lines[] = {"Score: 42", "High Score: 250", "Level: 3"};
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(texts[i].text, lines[i]);
        EXPECT_EQ(texts[i].rect.x, 10.0f);
        EXPECT_EQ(texts[i].rect.y, 10.0f + 30.0f * static_cast<float>(i));
        EXPECT_EQ(texts[i].fontSize, 20);
        EXPECT_TRUE(SameColor(texts[i].color, PURPLE));
    }
}

TEST_F(BoardTest, EachBackgroundAndItemPictureIsStretchedWholeToItsSquare) {
    scripted::SetTextureSize("map/level2map.png", 100, 100);
    scripted::SetTextureSize("apple.png", 20, 20);
    StartGame();
    StartPlaying(2);

    const RecordedFrame &frame = PlayFrame();

    const DrawCall &background = frame.draws[1];
    EXPECT_EQ(background.source.width, 100.0f);
    EXPECT_EQ(background.source.height, 100.0f);
    EXPECT_EQ(background.origin.x, 0.0f);
    EXPECT_EQ(background.rotation, 0.0f);
    const DrawCall &firstFruit = frame.draws[5];
    EXPECT_EQ(firstFruit.texturePath, "apple.png");
    EXPECT_EQ(firstFruit.source.width, 20.0f);
    EXPECT_EQ(firstFruit.rect.x, state.fruits[0].position.x);
    EXPECT_EQ(firstFruit.rect.height, 40.0f);
}

struct SkullCountCase {
    int level;
    size_t skullsDrawn;
};

TEST_F(BoardTest, OnlyTheLevelsActiveSkullsAreDrawn) {
    StartGame();
    for (SkullCountCase c : {SkullCountCase{1, 1}, {2, 1}, {3, 2}, {4, 3}}) {
        SCOPED_TRACE(c.level);
        StartPlaying(c.level);
        EXPECT_EQ(PicturesDrawnFrom(PlayFrame(), "Skull.png"), c.skullsDrawn);
    }
}

TEST_F(BoardTest, FruitPicturesFollowTheTypeAndAnUnknownTypeShowsAnApple) {
    StartGame();
    StartPlaying(1);
    state.fruits[0].type = APPLE;
    state.fruits[1].type = PINEAPPLE;
    state.fruits[2].type = WATERMELON;
    state.fruits[3].type = SKULL;
    state.fruits[4].type = static_cast<FruitType>(7);

    const RecordedFrame &frame = PlayFrame();

    const std::string expected[] = {"apple.png", "pineapple.png", "watermelon.png", "apple.png",
                                    "apple.png"};
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(frame.draws[5 + i].texturePath, expected[i]) << "fruit " << i;
    }
}

TEST_F(BoardTest, TheEatHighlightShowsInFivePlayingFramesFromTheBite) {
    StartGame();
    StartPlaying(1);
    GrowSnake(state.snake);  // as a bite in this frame's step would

    std::vector<bool> highlighted;
    for (int frame = 0; frame < 7; frame++) {
        const RecordedFrame &drawn = PlayFrame();
        highlighted.push_back(SameColor(drawn.draws[2].color, ORANGE));
        const bool bodyGold = SameColor(drawn.draws[3].color, GOLD);
        EXPECT_EQ(bodyGold, highlighted.back()) << "frame " << frame;
    }
    EXPECT_EQ(highlighted, (std::vector<bool>{true, true, true, true, true, false, false}));
    EXPECT_EQ(state.snake.eatFlash, 0);
}

TEST_F(BoardTest, TheHeadIsDrawnFirstSoABodySegmentOnItsCellCoversIt) {
    StartGame();
    Snake snake{};
    InitSnake(snake);
    snake.body[2] = snake.body[0];
    BeginDrawing();
    DrawSnake(snake);
    EndDrawing();
    const RecordedFrame &frame = scripted::Frames().back();
    ASSERT_EQ(frame.draws.size(), 3u);
    EXPECT_TRUE(SameColor(frame.draws[0].color, DARKGREEN));
    EXPECT_TRUE(SameColor(frame.draws[2].color, GREEN));
    EXPECT_EQ(frame.draws[2].rect.x, frame.draws[0].rect.x);
    EXPECT_EQ(frame.draws[0].rect.width, 20.0f);
    FreeSnake(snake);
}

TEST_F(BoardTest, NoBackgroundIsDrawnForALevelOutsideOneToFour) {
    StartGame();
    for (int level : {0, 5, -1}) {
        BeginDrawing();
        DrawLevelBackground(assets, level);
        EndDrawing();
        EXPECT_TRUE(scripted::Frames().back().draws.empty()) << level;
    }
}

}  // namespace

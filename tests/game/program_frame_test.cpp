// Start-up, the frame loop and shutdown, run whole against the scripted platform.
#include "game_fixture.h"

namespace {

const std::vector<std::string> kStartUpEvents = {
    "InitWindow 1000 1000 Coilrush",
    "SetTargetFPS 60",
    "InitAudioDevice",
    "LoadSound soundeffect/cartoonbite.mp3",
    "LoadSound soundeffect/gameover.mp3",
    "LoadMusicStream soundeffect/game-music-loop-7.mp3",
    "SetSoundVolume soundeffect/cartoonbite.mp3 2",
    "SetSoundVolume soundeffect/gameover.mp3 4",
    "PlayMusicStream soundeffect/game-music-loop-7.mp3",
    "LoadTexture apple.png",
    "LoadTexture pineapple.png",
    "LoadTexture watermelon.png",
    "LoadTexture Skull.png",
    "LoadTexture map/level1map.png",
    "LoadTexture map/level2map.png",
    "LoadTexture map/level3map.png",
    "LoadTexture map/level4map.png",
};

const std::vector<std::string> kShutDownEvents = {
    "UnloadTexture apple.png",
    "UnloadTexture pineapple.png",
    "UnloadTexture watermelon.png",
    "UnloadTexture Skull.png",
    "UnloadTexture map/level1map.png",
    "UnloadTexture map/level2map.png",
    "UnloadTexture map/level3map.png",
    "UnloadTexture map/level4map.png",
    "UnloadSound soundeffect/cartoonbite.mp3",
    "UnloadSound soundeffect/gameover.mp3",
    "UnloadMusicStream soundeffect/game-music-loop-7.mp3",
    "CloseAudioDevice",
    "CloseWindow",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using ProgramTest = GameTest;

TEST_F(ProgramTest, CloseBeforeTheFirstFrameDrawsNothingAndStillShutsDownFully) {
    scripted::QueueClose();

    EXPECT_EQ(RunCoilrush(), 0);

    EXPECT_TRUE(scripted::Frames().empty());
    EXPECT_EQ(scripted::LifecycleEvents(), Concat(kStartUpEvents, kShutDownEvents));
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(workDir / "highscore.txt"));
}

TEST_F(ProgramTest, StartUpPlacesTenFruitsThenTwoSkullsWithThreeAndTwoDrawsEach) {
    scripted::QueueClose();
    RunCoilrush();

    const auto &calls = scripted::RandomCalls();
    ASSERT_EQ(calls.size(), 10u * 3 + 2u * 2);
    for (size_t fruit = 0; fruit < 10; fruit++) {
        EXPECT_EQ(calls[fruit * 3].max, 2) << "fruit " << fruit << " draws its type first";
        EXPECT_EQ(calls[fruit * 3 + 1].max, GRID_MAX_INDEX);
        EXPECT_EQ(calls[fruit * 3 + 2].max, GRID_MAX_INDEX);
    }
    for (size_t draw = 30; draw < 34; draw++) {
        EXPECT_EQ(calls[draw].min, 0);
        EXPECT_EQ(calls[draw].max, GRID_MAX_INDEX) << "skulls draw only their cell";
    }
}

TEST_F(ProgramTest, StartUpBuildsTheBoardFromTheScriptedDraws) {
    // Fruit 0: pineapple at cell (3, 4); the rest and the skulls at cell (0, 0).
    std::vector<int> draws = {1, 3, 4};
    draws.resize(34, 0);
    scripted::QueueRandomValues(draws);

    StartUp(state, assets);
    started = true;

    EXPECT_EQ(state.currentScreen, MENU);
    EXPECT_EQ(state.level, 0);
    EXPECT_EQ(state.moveInterval, 0.06666667f);
    EXPECT_EQ(state.skullInterval, 4.0f);
    EXPECT_EQ(state.snake.length, 3);
    EXPECT_EQ(state.fruits[0].type, PINEAPPLE);
    EXPECT_EQ(state.fruits[0].position.x, 60.0f);
    EXPECT_EQ(state.fruits[0].position.y, 80.0f);
    EXPECT_EQ(state.skull2.type, SKULL);
}

TEST_F(ProgramTest, EveryFrameFeedsTheMusicClearsToRaywhiteAndRunsOneScreen) {
    FrameInput clickLevel1;
    clickLevel1.mouse = {500, 465};
    clickLevel1.click = true;
    scripted::QueueFrame(clickLevel1);
    scripted::QueueFrame({});
    scripted::QueueClose();

    EXPECT_EQ(RunCoilrush(), 0);

    const auto &frames = scripted::Frames();
    ASSERT_EQ(frames.size(), 2u);
    for (const RecordedFrame &frame : frames) {
        ASSERT_FALSE(frame.draws.empty());
        EXPECT_EQ(frame.draws[0].kind, DrawKind::Clear);
        EXPECT_TRUE(SameColor(frame.draws[0].color, RAYWHITE));
    }
    // The click's frame is still the menu; the game shows from the next one.
    EXPECT_NE(scripted::FindText(frames[0], "Choose a Level:"), nullptr);
    ASSERT_GE(frames[1].draws.size(), 2u);
    EXPECT_EQ(frames[1].draws[1].texturePath, "map/level1map.png");
    EXPECT_EQ(scripted::FindText(frames[1], "Choose a Level:"), nullptr);

    const auto &events = scripted::Events();
    std::vector<std::string> perFrame;
    for (const std::string &event : events) {
        if (event.rfind("UpdateMusicStream", 0) == 0 || event == "BeginDrawing" ||
            event == "EndDrawing" || event == "WindowShouldClose") {
            perFrame.push_back(event);
        }
    }
    const std::string music = "UpdateMusicStream soundeffect/game-music-loop-7.mp3";
    EXPECT_EQ(perFrame,
              (std::vector<std::string>{"WindowShouldClose", music, "BeginDrawing", "EndDrawing",
                                        "WindowShouldClose", music, "BeginDrawing", "EndDrawing",
                                        "WindowShouldClose"}));
}

TEST_F(ProgramTest, EveryAssetMissingStillShowsTheMenuAndExitsCleanly) {
    scripted::SetMissingFiles({"apple.png", "pineapple.png", "watermelon.png", "Skull.png",
                               "map/level1map.png", "map/level2map.png", "map/level3map.png",
                               "map/level4map.png", "soundeffect/cartoonbite.mp3",
                               "soundeffect/gameover.mp3", "soundeffect/game-music-loop-7.mp3"});
    FrameInput clickLevel1;
    clickLevel1.mouse = {500, 465};
    clickLevel1.click = true;
    scripted::QueueFrame(clickLevel1);
    scripted::QueueFrames(30);
    scripted::QueueClose();

    EXPECT_EQ(RunCoilrush(), 0);

    ASSERT_EQ(scripted::Frames().size(), 31u);
    EXPECT_NE(scripted::FindText(scripted::Frames()[0], "ZK COILRUSH"), nullptr);
    EXPECT_NE(scripted::FindText(scripted::Frames().back(), "Level: 1"), nullptr);
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
}

TEST_F(ProgramTest, ClosingDuringAGameWithARecordScoreSavesNothing) {
    WriteFile(workDir / "highscore.txt", "5");
    FrameInput clickLevel1;
    clickLevel1.mouse = {500, 465};
    clickLevel1.click = true;
    scripted::QueueFrame(clickLevel1);
    scripted::QueueFrames(3);
    scripted::QueueClose();
    StartUp(state, assets);
    started = true;
    // Drive the real loop by hand so the score can be raised mid-game.
    while (!WindowShouldClose()) {
        RunFrame(state, assets);
        state.snake.score = 500;
    }

    EXPECT_EQ(ReadFile(workDir / "highscore.txt"), "5");
    EXPECT_EQ(highScore, 5);
}

}  // namespace

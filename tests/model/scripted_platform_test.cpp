// The scripted platform itself: the game's scenario tests trust it to play
// frames back and to record exactly what the game did.
#include "scripted_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class ScriptedPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override { scripted::ResetPlatform(); }
};

TEST_F(ScriptedPlatformTest, EachCloseCheckConsumesOneFrameAndAnEmptyQueueCloses) {
    scripted::FrameInput first;
    first.keys = {KEY_P};
    first.frameTime = 0.5f;
    scripted::QueueFrame(first);
    scripted::QueueFrames(2);
    scripted::QueueClose();

    EXPECT_FALSE(WindowShouldClose());
    EXPECT_TRUE(IsKeyPressed(KEY_P));
    EXPECT_FALSE(IsKeyPressed(KEY_M));
    EXPECT_EQ(GetFrameTime(), 0.5f);

    EXPECT_FALSE(WindowShouldClose());
    EXPECT_FALSE(IsKeyPressed(KEY_P)) << "a key is pressed only in its own frame";
    EXPECT_EQ(GetFrameTime(), scripted::kSixtiethOfASecond);

    EXPECT_FALSE(WindowShouldClose());
    EXPECT_TRUE(WindowShouldClose()) << "the queued close";
    EXPECT_TRUE(WindowShouldClose()) << "nothing left to play";
    EXPECT_EQ(scripted::Events(), std::vector<std::string>(5, "WindowShouldClose"));
}

TEST_F(ScriptedPlatformTest, TheLeftButtonIsTheClickAndOtherButtonsAreListed) {
    scripted::FrameInput input;
    input.click = true;
    input.mouse = {120, 340};
    scripted::SetCurrentInput(input);
    EXPECT_TRUE(IsMouseButtonPressed(MOUSE_BUTTON_LEFT));
    EXPECT_FALSE(IsMouseButtonPressed(MOUSE_BUTTON_RIGHT));
    EXPECT_EQ(GetMousePosition().x, 120.0f);
    EXPECT_EQ(GetMousePosition().y, 340.0f);

    input.click = false;
    input.mouseButtons = {MOUSE_BUTTON_RIGHT};
    scripted::SetCurrentInput(input);
    EXPECT_FALSE(IsMouseButtonPressed(MOUSE_BUTTON_LEFT));
    EXPECT_TRUE(IsMouseButtonPressed(MOUSE_BUTTON_RIGHT));
}

TEST_F(ScriptedPlatformTest, DrawsLandInTheFrameBegunLastWithTextMeasuredByTheFont) {
    BeginDrawing();
    ClearBackground(RAYWHITE);
    EndDrawing();
    BeginDrawing();
    DrawRectangleV({20, 40}, {20, 20}, GREEN);
    DrawText("Score: 42", 10, 70, 20, PURPLE);
    EndDrawing();

    const auto &frames = scripted::Frames();
    ASSERT_EQ(frames.size(), 2u);
    ASSERT_EQ(frames[0].draws.size(), 1u);
    EXPECT_EQ(frames[0].draws[0].kind, scripted::DrawKind::Clear);
    ASSERT_EQ(frames[1].draws.size(), 2u);
    EXPECT_EQ(frames[1].draws[0].kind, scripted::DrawKind::RectangleV);
    EXPECT_EQ(frames[1].draws[0].rect.y, 40.0f);
    EXPECT_EQ(frames[1].draws[0].rect.width, 20.0f);

    const scripted::DrawCall *text = scripted::FindText(frames[1], "Score: 42");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->rect.x, 10.0f);
    EXPECT_EQ(text->rect.y, 70.0f);
    EXPECT_EQ(text->rect.width, static_cast<float>(MeasureText("Score: 42", 20)));
    EXPECT_GT(text->rect.width, 0.0f);
    EXPECT_EQ(text->rect.height, 20.0f);
    EXPECT_EQ(text->fontSize, 20);
    EXPECT_EQ(scripted::TextsOf(frames[1]).size(), 1u);
    EXPECT_EQ(scripted::FindText(frames[1], "Score: 4"), nullptr) << "whole texts only";
}

TEST_F(ScriptedPlatformTest, DrawingOutsideAFrameIsKeptInAFrameOfItsOwn) {
    DrawRectangleRec({0, 0, 10, 10}, RED);
    PlaySound(Sound{});

    ASSERT_EQ(scripted::Frames().size(), 1u);
    EXPECT_EQ(scripted::Frames()[0].draws.size(), 1u);
    EXPECT_EQ(scripted::Frames()[0].soundsPlayed.size(), 1u);
}

TEST_F(ScriptedPlatformTest, TexturesAreNumberedAndAMissingOneIsEmptyButStillLogged) {
    scripted::SetMissingFiles({"Skull.png"});
    scripted::SetTextureSize("map/level1map.png", 1000, 1000);

    const Texture2D apple = LoadTexture("apple.png");
    const Texture2D skull = LoadTexture("Skull.png");
    const Texture2D map = LoadTexture("map/level1map.png");

    EXPECT_EQ(apple.id, 1u);
    EXPECT_EQ(apple.width, 40);
    EXPECT_EQ(skull.id, 0u);
    EXPECT_EQ(map.id, 2u);
    EXPECT_EQ(map.width, 1000);
    EXPECT_EQ(scripted::TexturePath(2), "map/level1map.png");
    EXPECT_EQ(scripted::TexturePath(0), "");
    EXPECT_EQ(scripted::LiveResourceCount(), 3);

    BeginDrawing();
    DrawTexturePro(skull, {0, 0, 0, 0}, {100, 100, 40, 40}, {0, 0}, 0, WHITE);
    DrawTexturePro(apple, {0, 0, 40, 40}, {200, 100, 40, 40}, {0, 0}, 0, WHITE);
    EndDrawing();
    EXPECT_EQ(scripted::Frames()[0].draws[0].textureId, 0u);
    EXPECT_EQ(scripted::Frames()[0].draws[0].texturePath, "Skull.png");
    EXPECT_EQ(scripted::Frames()[0].draws[1].texturePath, "apple.png");

    UnloadTexture(apple);
    UnloadTexture(skull);
    UnloadTexture(map);
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
    EXPECT_EQ(
        scripted::LifecycleEvents(),
        (std::vector<std::string>{"LoadTexture apple.png", "LoadTexture Skull.png",
                                  "LoadTexture map/level1map.png", "UnloadTexture apple.png",
                                  "UnloadTexture Skull.png", "UnloadTexture map/level1map.png"}));
}

TEST_F(ScriptedPlatformTest, SoundsAreLoggedAndRecordedByFileNameEvenWhenMissing) {
    scripted::SetMissingFiles({"soundeffect/gameover.mp3", "soundeffect/loop.mp3"});
    InitAudioDevice();
    const Sound bite = LoadSound("soundeffect/cartoonbite.mp3");
    const Sound over = LoadSound("soundeffect/gameover.mp3");
    const Music music = LoadMusicStream("soundeffect/loop.mp3");
    SetSoundVolume(bite, 2.0f);
    SetSoundVolume(over, 4.5f);
    PlayMusicStream(music);

    EXPECT_NE(bite.stream.buffer, nullptr);
    EXPECT_EQ(over.stream.buffer, nullptr);
    EXPECT_EQ(music.ctxData, nullptr);
    EXPECT_FALSE(IsMusicStreamPlaying(music));

    BeginDrawing();
    UpdateMusicStream(music);
    PlaySound(bite);
    PlaySound(over);
    EndDrawing();
    ASSERT_EQ(scripted::Frames().size(), 1u);
    EXPECT_EQ(
        scripted::Frames()[0].soundsPlayed,
        (std::vector<std::string>{"soundeffect/cartoonbite.mp3", "soundeffect/gameover.mp3"}));

    UnloadSound(bite);
    UnloadSound(over);
    UnloadMusicStream(music);
    CloseAudioDevice();
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
    EXPECT_EQ(
        scripted::LifecycleEvents(),
        (std::vector<std::string>{
            "InitAudioDevice", "LoadSound soundeffect/cartoonbite.mp3",
            "LoadSound soundeffect/gameover.mp3", "LoadMusicStream soundeffect/loop.mp3",
            "SetSoundVolume soundeffect/cartoonbite.mp3 2",
            "SetSoundVolume soundeffect/gameover.mp3 4.5", "PlayMusicStream soundeffect/loop.mp3",
            "UnloadSound soundeffect/cartoonbite.mp3", "UnloadSound soundeffect/gameover.mp3",
            "UnloadMusicStream soundeffect/loop.mp3", "CloseAudioDevice"}));
    const std::vector<std::string> &events = scripted::Events();
    EXPECT_NE(std::find(events.begin(), events.end(), "PlaySound soundeffect/gameover.mp3"),
              events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "UpdateMusicStream soundeffect/loop.mp3"),
              events.end());
}

TEST_F(ScriptedPlatformTest, QueuedRandomValuesComeFirstThenRandDrawsWithinBounds) {
    scripted::QueueRandomValues({7, 99});

    EXPECT_EQ(GetRandomValue(0, 48), 7);
    EXPECT_EQ(GetRandomValue(0, 2), 99) << "queued values are returned as given";
    for (int i = 0; i < 200; i++) {
        const int value = GetRandomValue(3, 5);
        ASSERT_GE(value, 3);
        ASSERT_LE(value, 5);
    }

    const auto &calls = scripted::RandomCalls();
    ASSERT_EQ(calls.size(), 202u);
    EXPECT_EQ(calls[0].max, 48);
    EXPECT_EQ(calls[1].result, 99);
    EXPECT_EQ(calls[2].min, 3);
    EXPECT_EQ(calls[2].max, 5);
}

TEST_F(ScriptedPlatformTest, WithRecordingOffDrawsAreCountedButNothingIsKept) {
    const Texture2D apple = LoadTexture("apple.png");
    const Sound bite = LoadSound("bite.mp3");
    scripted::SetRecording(false);
    const size_t eventsBefore = scripted::Events().size();

    WindowShouldClose();
    BeginDrawing();
    ClearBackground(RAYWHITE);
    DrawText("Score: 1", 10, 10, 20, PURPLE);
    DrawTexturePro(apple, {0, 0, 40, 40}, {0, 0, 40, 40}, {0, 0}, 0, WHITE);
    PlaySound(bite);
    GetRandomValue(0, 48);
    EndDrawing();
    UnloadTexture(apple);

    EXPECT_EQ(scripted::DrawCallCount(), 3);
    EXPECT_TRUE(scripted::Frames().empty());
    EXPECT_EQ(scripted::Events().size(), eventsBefore);
    EXPECT_TRUE(scripted::RandomCalls().empty());
    EXPECT_EQ(scripted::LiveResourceCount(), 1) << "the unload still counts";

    scripted::ResetPlatform();
    BeginDrawing();
    ClearBackground(RAYWHITE);
    EndDrawing();
    EXPECT_EQ(scripted::Frames().size(), 1u) << "reset switches recording back on";
    EXPECT_EQ(scripted::DrawCallCount(), 1);
}

TEST_F(ScriptedPlatformTest, ResetForgetsEverything) {
    InitWindow(1000, 1000, "Coilrush");
    scripted::QueueFrames(3);
    scripted::QueueRandomValues({1});
    scripted::SetMissingFiles({"apple.png"});
    scripted::SetTextureSize("pineapple.png", 7, 7);
    LoadTexture("pineapple.png");
    BeginDrawing();
    EndDrawing();

    scripted::ResetPlatform();

    EXPECT_TRUE(scripted::Events().empty());
    EXPECT_TRUE(scripted::Frames().empty());
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
    EXPECT_TRUE(WindowShouldClose()) << "the queued frames are gone";
    EXPECT_NE(LoadTexture("apple.png").id, 0u) << "every file is present again";
    EXPECT_EQ(LoadTexture("pineapple.png").width, 40);
    GetRandomValue(0, 0);
    ASSERT_EQ(scripted::RandomCalls().size(), 1u);
    EXPECT_EQ(scripted::RandomCalls()[0].result, 0);
}

}  // namespace

// A game started on the scripted platform, with frames played one call each.
#ifndef COILRUSH_TESTS_GAME_FIXTURE_H
#define COILRUSH_TESTS_GAME_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "coilrush.h"
#include "high_score.h"
#include "scripted_platform.h"

using scripted::DrawCall;
using scripted::DrawKind;
using scripted::FrameInput;
using scripted::RecordedFrame;

bool SameColor(Color a, Color b);
std::string ReadFile(const std::filesystem::path &path);
void WriteFile(const std::filesystem::path &path, const std::string &content);
// The draw calls of one kind, in drawing order.
std::vector<DrawCall> CallsOfKind(const RecordedFrame &frame, DrawKind kind);
// How many pictures from fileName a frame drew.
size_t PicturesDrawnFrom(const RecordedFrame &frame, const std::string &fileName);

class GameTest : public ::testing::Test {
  protected:
    // Each test runs in a fresh working directory with a fresh platform.
    void SetUp() override;
    void TearDown() override;

    // Start-up as main runs it, with every item placed out of the snake's way.
    void StartGame(int storedBest = 0);
    // Menu → playing at the given level, without drawing a frame.
    void StartPlaying(int level);
    // All fruits and skulls into the top rows, far from the snake's row.
    void ClearBoard();
    // Keeps skull jumps away from the snake's row: the next placements draw 0.
    void QueueQuietRandomValues(int count = 3000);

    // One frame through the real frame function.
    RecordedFrame PlayFrame(const FrameInput &input = {});
    RecordedFrame PlayFrameWithKeys(std::vector<int> keys);
    // Frames until the snake's head moves; returns how many were played.
    int FramesUntilStep(int limit = 100);

    Vector2 Head() const { return state.snake.body[0]; }

    std::filesystem::path workDir;
    std::filesystem::path previousDir;
    GameState state{};
    GameAssets assets{};
    bool started = false;
};

#endif

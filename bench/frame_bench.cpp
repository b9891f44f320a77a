// What one frame of game logic and drawing costs on the scripted platform,
// by snake length. The game must never be what limits the frame rate.
#include <benchmark/benchmark.h>

#include "coilrush.h"
#include "high_score.h"
#include "scripted_platform.h"

namespace {

struct BenchGame {
    GameState state{};
    GameAssets assets{};
    BenchGame() {
        scripted::ResetPlatform();
        scripted::SetRecording(false);
        StartUp(state, assets);
    }
    ~BenchGame() { ShutDown(state, assets); }
};

// A game at level 4 with a snake of the given length coiled along the rows,
// stepping in every frame (the worst case: each frame moves and tests).
void SetUpLongSnake(BenchGame &game, int length) {
    StartLevel(game.state, 4);
    Snake &snake = game.state.snake;
    while (snake.length < length) {
        GrowSnake(snake);
    }
    for (int i = 0; i < snake.length; i++) {
        const int cell = 2499 - (i % 2500);
        snake.body[i] = {static_cast<float>((cell % 50) * CELL_SIZE),
                         static_cast<float>((cell / 50) * CELL_SIZE)};
    }
    snake.position = snake.body[0];
    snake.direction = {static_cast<float>(CELL_SIZE), 0.0f};
}

void BM_PlayingFrame(benchmark::State &bench) {
    BenchGame game;
    const int length = static_cast<int>(bench.range(0));
    SetUpLongSnake(game, length);
    scripted::FrameInput input;
    input.frameTime = 0.04f;  // a step in every frame at level 4
    scripted::SetCurrentInput(input);
    for (auto _ : bench) {
        RunFrame(game.state, game.assets);
        // Keep the measured game as it was: a self hit must not end it and
        // the fruits it eats must not lengthen it.
        game.state.currentScreen = PLAYING;
        game.state.snake.length = length;
    }
    bench.counters["segments"] = static_cast<double>(game.state.snake.length);
}
BENCHMARK(BM_PlayingFrame)->Arg(3)->Arg(100)->Arg(1000)->Arg(2500);

void BM_MenuFrame(benchmark::State &bench) {
    BenchGame game;
    highScore = 320;
    scripted::FrameInput input;
    input.mouse = {500, 585};
    scripted::SetCurrentInput(input);
    for (auto _ : bench) {
        RunFrame(game.state, game.assets);
    }
}
BENCHMARK(BM_MenuFrame);

}  // namespace

BENCHMARK_MAIN();

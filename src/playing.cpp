// The playing screen: one pass per frame that reads the keys, steps the snake
// on its timer, settles what the head meets, moves the skulls and draws.
#include "coilrush.h"
#include "high_score.h"

namespace {

constexpr float STEP = static_cast<float>(CELL_SIZE);
constexpr float FAR_EDGE = static_cast<float>(SCREEN_SIZE - CELL_SIZE);  // last cell, 980

// A turn is taken only across the current direction. The keys are read in a
// fixed order and each sees what the keys before it left, so two keys in one
// frame can reverse the snake (UP then LEFT while moving right).
void HandleTurns(Snake &snake) {
    if (IsKeyPressed(KEY_UP) && snake.direction.y == 0.0f) {
        snake.direction = {0.0f, -STEP};
    }
    if (IsKeyPressed(KEY_DOWN) && snake.direction.y == 0.0f) {
        snake.direction = {0.0f, STEP};
    }
    if (IsKeyPressed(KEY_LEFT) && snake.direction.x == 0.0f) {
        snake.direction = {-STEP, 0.0f};
    }
    if (IsKeyPressed(KEY_RIGHT) && snake.direction.x == 0.0f) {
        snake.direction = {STEP, 0.0f};
    }
}

// Only position wraps; body[0] keeps the outside cell for one step, so the
// head shows just past the edge and comes back one cell in from the far side.
float WrapCoordinate(float value) {
    if (value < 0.0f) {
        value = FAR_EDGE;
    }
    if (value >= static_cast<float>(SCREEN_SIZE)) {
        value = 0.0f;
    }
    return value;
}

void WrapPosition(Snake &snake) {
    snake.position.x = WrapCoordinate(snake.position.x);
    snake.position.y = WrapCoordinate(snake.position.y);
}

bool HitsActiveSkull(const GameState &state, Vector2 head) {
    bool hit = CheckFruitCollision(head, state.skull1, ITEM_SIZE);
    if (state.level > 2 && !hit) {
        hit = CheckFruitCollision(head, state.skull2, ITEM_SIZE);
    }
    if (state.level == 4 && !hit) {
        hit = CheckFruitCollision(head, state.skull3, ITEM_SIZE);
    }
    return hit;
}

void EndGame(GameState &state, const GameAssets &assets) {
    PlaySound(assets.gameOverSound);
    state.currentScreen = GAME_OVER;
}

// Every fruit under the head is eaten, in index order; a fruit placed anew
// here is not looked at again until the next step.
void EatFruits(GameState &state, const GameAssets &assets) {
    for (Fruit &fruit : state.fruits) {
        if (CheckFruitCollision(state.snake.body[0], fruit, ITEM_SIZE)) {
            PlaySound(assets.eatSound);
            state.snake.score += GetFruitScore(fruit.type);
            GrowSnake(state.snake);
            SpawnFruit(fruit);
        }
    }
}

void StepSnake(GameState &state, const GameAssets &assets) {
    MoveSnake(state.snake);
    WrapPosition(state.snake);
    if (state.snake.body == nullptr) {
        return;  // no body storage could be had: nothing on the board to meet
    }
    if (HitsActiveSkull(state, state.snake.body[0])) {
        EndGame(state, assets);
    }
    // A skull hit still eats what lies under the head and still tests the body.
    EatFruits(state, assets);
    if (CheckSelfCollision(state.snake)) {
        EndGame(state, assets);
    }
}

// Timers drop whatever exceeds their interval: a long stall gives one step
// and one skull jump, not a burst of them.
bool TimerFires(float &timer, float interval) {
    timer += GetFrameTime();
    if (timer >= interval) {
        timer = 0.0f;
        return true;
    }
    return false;
}

void RelocateSkulls(GameState &state) {
    if (!TimerFires(state.skullTimer, state.skullInterval)) {
        return;
    }
    SpawnActiveSkulls(state);
}

}  // namespace

void RunPlayingScreen(GameState &state, const GameAssets &assets) {
    DrawLevelBackground(assets, state.level);
    if (IsKeyPressed(KEY_P)) {
        state.currentScreen = PAUSED;  // from the next frame; this one plays on
    }
    HandleTurns(state.snake);
    PromoteLevel(state);
    if (TimerFires(state.moveTimer, state.moveInterval)) {
        StepSnake(state, assets);
    }
    RelocateSkulls(state);

    DrawSnake(state.snake);
    DrawFruits(assets, state.fruits);
    DrawSkulls(assets, state.level, state.skull1, state.skull2, state.skull3);
    DrawHud(state.snake.score, highScore, state.level);
}

// The four levels: how fast the snake steps, how many skulls are out and
// which picture lies under the board, and how a game moves between them.
#include "coilrush.h"

namespace {

const Level &LevelInfo(int level) {
    return Levels[level - 1];
}

void EnterLevel(GameState &state, int level) {
    state.level = level;
    state.moveInterval = LevelInfo(level).moveInterval;
}

}  // namespace

bool IsLevelUnlocked(int level, int bestScore) {
    if (level == 1) {
        return true;
    }
    return bestScore > LevelInfo(level).reachedAbove;
}

// skull2 is placed although levels 1 and 2 leave it out of play; skull3 is
// first placed when a game reaches level 4.
void SpawnBoardItems(GameState &state) {
    for (Fruit &fruit : state.fruits) {
        SpawnFruit(fruit);
    }
    SpawnSkull(state.skull1);
    SpawnSkull(state.skull2);
}

void SpawnActiveSkulls(GameState &state) {
    Fruit *skulls[] = {&state.skull1, &state.skull2, &state.skull3};
    for (int i = 0; i < LevelInfo(state.level).skullCount; i++) {
        SpawnSkull(*skulls[i]);
    }
}

void StartLevel(GameState &state, int level) {
    EnterLevel(state, level);
    InitSnake(state.snake);
    SpawnActiveSkulls(state);
    state.newRecord = false;
    state.currentScreen = PLAYING;
}

// Each check sees the level the one before it may just have set.
void PromoteLevel(GameState &state) {
    const int score = state.snake.score;
    if (state.level == 1 && score > Levels[1].reachedAbove) {
        EnterLevel(state, 2);
    }
    if (state.level == 2 && score > Levels[2].reachedAbove) {
        EnterLevel(state, 3);
        SpawnSkull(state.skull2);
    }
    if (state.level == 3 && score > Levels[3].reachedAbove) {
        EnterLevel(state, 4);
        SpawnSkull(state.skull3);
    }
}

void RestartGame(GameState &state) {
    EnterLevel(state, 1);
    InitSnake(state.snake);
    SpawnBoardItems(state);
    state.moveTimer = 0.0f;
    state.skullTimer = 0.0f;
    state.newRecord = false;
    state.currentScreen = PLAYING;
}

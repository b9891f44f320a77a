// The game application: the state main owns, the level rules, board drawing,
// the four screens and the program's start-up, frame loop and shutdown.
#ifndef COILRUSH_COILRUSH_H
#define COILRUSH_COILRUSH_H

#include "game_model.h"
#include "raylib.h"

enum GameScreen : int { MENU = 0, PLAYING = 1, PAUSED = 2, GAME_OVER = 3 };

inline constexpr int TARGET_FPS = 60;
inline constexpr int LEVEL_COUNT = 4;
inline constexpr float SKULL_INTERVAL = 4.0f;  // seconds between skull jumps, every level

// Everything a game keeps while the program runs. main owns it from start-up
// to shutdown; every screen handler changes it in place.
struct GameState {
    GameScreen currentScreen;
    int level;  // 1..4 once a game has started; 0 before
    float moveTimer;
    float moveInterval;
    Snake snake;
    Fruit fruits[FRUIT_COUNT];
    Fruit skull1;  // active on every level
    Fruit skull2;  // active on levels 3 and 4
    Fruit skull3;  // active on level 4 only; unplaced until a game reaches it
    float skullTimer;
    float skullInterval;
    // The game-over screen of a game that beat the best score keeps saying so
    // for as long as it is shown, not just in the frame the record was saved.
    bool newRecord;
};

// Pictures and sounds, loaded once before the first frame.
struct GameAssets {
    Sound eatSound;
    Sound gameOverSound;
    Music backgroundMusic;
    Texture2D appleTexture;
    Texture2D pineappleTexture;
    Texture2D watermelonTexture;
    Texture2D skullTexture;
    Texture2D levelMaps[LEVEL_COUNT];
};

// ---- Levels ---------------------------------------------------------------

struct Level {
    float moveInterval;  // seconds per snake step
    int skullCount;      // skull1, then skull2, then skull3
    int reachedAbove;    // offered on the menu / promoted to when a score is above this
    const char *mapFile;
};

// Level n is Levels[n - 1].
inline constexpr Level Levels[LEVEL_COUNT] = {
    {1.0f / 15.0f, 1, 0, "map/level1map.png"},
    {1.0f / 18.0f, 1, 99, "map/level2map.png"},
    {1.0f / 25.0f, 2, 299, "map/level3map.png"},
    {1.0f / 30.0f, 3, 499, "map/level4map.png"},
};

bool IsLevelUnlocked(int level, int bestScore);  // level 1 always is
// The skulls the current level plays with, skull1 first (level 1 to 4).
void SpawnActiveSkulls(GameState &state);
// All ten fruits in index order, then skull1 and skull2: a new board.
void SpawnBoardItems(GameState &state);
void StartLevel(GameState &state, int level);
void PromoteLevel(GameState &state);
void RestartGame(GameState &state);

// ---- Board drawing --------------------------------------------------------

void DrawLevelBackground(const GameAssets &assets, int level);
void DrawItemTexture(Texture2D texture, Vector2 position);
void DrawSnake(Snake &snake);  // also counts the eat highlight down
void DrawFruits(const GameAssets &assets, const Fruit (&fruits)[FRUIT_COUNT]);
void DrawSkulls(const GameAssets &assets, int level, const Fruit &skull1, const Fruit &skull2,
                const Fruit &skull3);
void DrawHud(int score, int bestScore, int level);

// ---- Screens --------------------------------------------------------------

void RunMenuScreen(GameState &state, const GameAssets &assets);
void RunPlayingScreen(GameState &state, const GameAssets &assets);
void RunPausedScreen(GameState &state, const GameAssets &assets);
void RunGameOverScreen(GameState &state, const GameAssets &assets);

// ---- Program frame --------------------------------------------------------

void StartUp(GameState &state, GameAssets &assets);
void RunFrame(GameState &state, const GameAssets &assets);
void ShutDown(GameState &state, GameAssets &assets);
// The whole program: start-up, frames until the window closes, shutdown.
int RunCoilrush();

#endif

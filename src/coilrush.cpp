// The program frame: start-up, the frame loop and shutdown, each in a fixed
// order. Nothing is loaded or freed between the first and the last frame
// except the snake's body storage.
#include "coilrush.h"

#include <cstdlib>
#include <ctime>

#include "high_score.h"

namespace {

constexpr Color CLEAR_COLOR = RAYWHITE;
constexpr float EAT_SOUND_VOLUME = 2.0f;
constexpr float GAME_OVER_SOUND_VOLUME = 4.0f;

void LoadSounds(GameAssets &assets) {
    assets.eatSound = LoadSound("soundeffect/cartoonbite.mp3");
    assets.gameOverSound = LoadSound("soundeffect/gameover.mp3");
    assets.backgroundMusic = LoadMusicStream("soundeffect/game-music-loop-7.mp3");
    SetSoundVolume(assets.eatSound, EAT_SOUND_VOLUME);
    SetSoundVolume(assets.gameOverSound, GAME_OVER_SOUND_VOLUME);
    PlayMusicStream(assets.backgroundMusic);  // loops until the program ends
}

void LoadTextures(GameAssets &assets) {
    assets.appleTexture = LoadTexture("apple.png");
    assets.pineappleTexture = LoadTexture("pineapple.png");
    assets.watermelonTexture = LoadTexture("watermelon.png");
    assets.skullTexture = LoadTexture("Skull.png");
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        assets.levelMaps[level - 1] = LoadTexture(Levels[level - 1].mapFile);
    }
}

void UnloadTextures(GameAssets &assets) {
    UnloadTexture(assets.appleTexture);
    UnloadTexture(assets.pineappleTexture);
    UnloadTexture(assets.watermelonTexture);
    UnloadTexture(assets.skullTexture);
    for (Texture2D &map : assets.levelMaps) {
        UnloadTexture(map);
    }
}

// The board exists from start-up on, although the menu shows none of it.
void BuildInitialState(GameState &state) {
    state = GameState{};  // the snake holds no storage before its first InitSnake
    state.currentScreen = MENU;
    state.level = 0;
    state.moveTimer = 0.0f;
    state.moveInterval = Levels[0].moveInterval;
    InitSnake(state.snake);
    SpawnBoardItems(state);
    state.skullTimer = 0.0f;
    state.skullInterval = SKULL_INTERVAL;
}

}  // namespace

void StartUp(GameState &state, GameAssets &assets) {
    InitWindow(SCREEN_SIZE, SCREEN_SIZE, "Coilrush");
    SetTargetFPS(TARGET_FPS);
    srand(static_cast<unsigned int>(time(nullptr)));
    InitAudioDevice();
    LoadSounds(assets);
    LoadHighScore(HIGH_SCORE_FILE);
    BuildInitialState(state);
    LoadTextures(assets);
}

// One frame: exactly one screen handler, chosen before any of them runs, so
// a screen change shows from the next frame on.
void RunFrame(GameState &state, const GameAssets &assets) {
    UpdateMusicStream(assets.backgroundMusic);
    BeginDrawing();
    ClearBackground(CLEAR_COLOR);
    switch (state.currentScreen) {
        case MENU:
            RunMenuScreen(state, assets);
            break;
        case PLAYING:
            RunPlayingScreen(state, assets);
            break;
        case PAUSED:
            RunPausedScreen(state, assets);
            break;
        case GAME_OVER:
            RunGameOverScreen(state, assets);
            break;
    }
    EndDrawing();
}

void ShutDown(GameState &state, GameAssets &assets) {
    UnloadTextures(assets);
    FreeSnake(state.snake);
    UnloadSound(assets.eatSound);
    UnloadSound(assets.gameOverSound);
    UnloadMusicStream(assets.backgroundMusic);
    CloseAudioDevice();
    CloseWindow();
}

int RunCoilrush() {
    GameState state{};
    GameAssets assets{};
    StartUp(state, assets);
    while (!WindowShouldClose()) {
        RunFrame(state, assets);
    }
    ShutDown(state, assets);  // nothing is saved on the way out
    return 0;
}

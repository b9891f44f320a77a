// The screens between games: the level menu, the pause screen and the
// game-over screen. Each draws and handles its keys in one pass.
#include "coilrush.h"
#include "high_score.h"

namespace {

constexpr const char *TITLE = "ZK COILRUSH";
constexpr int TITLE_FONT_SIZE = 50;
constexpr int BUTTON_FONT_SIZE = 20;

struct LevelButton {
    Rectangle bounds;
    Color hoverColor;
    const char *label;  // each ends in one space
};

constexpr LevelButton LEVEL_BUTTONS[LEVEL_COUNT] = {
    {{400, 440, 200, 50}, RED, "Level 1 "},
    {{400, 500, 200, 50}, GREEN, "Level 2 "},
    {{400, 560, 200, 50}, PURPLE, "Level 3 "},
    {{400, 620, 200, 50}, BLUE, "Level 4 "},
};

// A locked button never lights up: the best score is tested before the mouse.
Color ButtonColor(int level) {
    const LevelButton &button = LEVEL_BUTTONS[level - 1];
    if (IsLevelUnlocked(level, highScore) &&
        CheckCollisionPointRec(GetMousePosition(), button.bounds)) {
        return button.hoverColor;
    }
    return LIGHTGRAY;
}

int TextX(const Rectangle &bounds, float offset) {
    return static_cast<int>(bounds.x + offset);
}
int TextY(const Rectangle &bounds) {
    return static_cast<int>(bounds.y + 15.0f);
}

void DrawLevelButtons() {
    Color colors[LEVEL_COUNT];
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        colors[level - 1] = ButtonColor(level);
    }
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        DrawRectangleRec(LEVEL_BUTTONS[level - 1].bounds, colors[level - 1]);
    }
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        const LevelButton &button = LEVEL_BUTTONS[level - 1];
        const Color labelColor = IsLevelUnlocked(level, highScore) ? BLACK : GRAY;
        DrawText(button.label, TextX(button.bounds, 30.0f), TextY(button.bounds), BUTTON_FONT_SIZE,
                 labelColor);
    }
    for (int level = 2; level <= LEVEL_COUNT; level++) {
        if (!IsLevelUnlocked(level, highScore)) {
            const Rectangle &bounds = LEVEL_BUTTONS[level - 1].bounds;
            DrawText("LOCKED", TextX(bounds, 120.0f), TextY(bounds), BUTTON_FONT_SIZE, GRAY);
        }
    }
}

// Only the frame in which the left button goes down counts; the buttons do
// not overlap, so one click starts at most one level.
void HandleLevelClick(GameState &state) {
    if (!IsMouseButtonPressed(MOUSE_BUTTON_LEFT)) {
        return;
    }
    const Vector2 click = GetMousePosition();
    for (int level = 1; level <= LEVEL_COUNT; level++) {
        if (IsLevelUnlocked(level, highScore) &&
            CheckCollisionPointRec(click, LEVEL_BUTTONS[level - 1].bounds)) {
            StartLevel(state, level);
        }
    }
}

// The first game-over frame of a game that beat the best score raises and
// saves it, once; later frames find the score equal and write nothing.
void RecordBestScore(GameState &state) {
    if (state.snake.score > highScore) {
        highScore = state.snake.score;
        SaveHighScore(HIGH_SCORE_FILE, highScore);
        state.newRecord = true;
    }
}

}  // namespace

void RunMenuScreen(GameState &state, const GameAssets &) {
    const int titleWidth = MeasureText(TITLE, TITLE_FONT_SIZE);
    DrawText(TITLE, (SCREEN_SIZE - titleWidth) / 2, 320, TITLE_FONT_SIZE, DARKGREEN);
    DrawText("Choose a Level:", 400, 380, 30, BLACK);
    DrawLevelButtons();
    DrawText(TextFormat("High Score: %d", highScore), 420, 690, 25, DARKBLUE);
    HandleLevelClick(state);
}

void RunPausedScreen(GameState &state, const GameAssets &) {
    DrawText("PAUSED", 420, 460, 50, ORANGE);
    DrawText("Press P to Resume", 380, 520, 30, DARKGRAY);
    DrawText("Press M for Menu", 380, 560, 30, DARKGRAY);
    if (IsKeyPressed(KEY_P)) {
        state.currentScreen = PLAYING;
    }
    if (IsKeyPressed(KEY_M)) {
        state.currentScreen = MENU;  // tested last: M wins over P
    }
}

void RunGameOverScreen(GameState &state, const GameAssets &) {
    DrawText(" GAME OVER ", 360, 460, 40, RED);
    DrawText(TextFormat("Your Score: %d", state.snake.score), 400, 510, 25, BLACK);
    RecordBestScore(state);
    if (state.newRecord) {
        DrawText("NEW HIGH SCORE!", 380, 420, 30, GOLD);
    }
    DrawText(TextFormat("High Score: %d", highScore), 400, 540, 25, DARKGRAY);
    DrawText("Press R to Restart or M for Menu", 340, 580, 20, GRAY);
    if (IsKeyPressed(KEY_R)) {
        RestartGame(state);
    }
    if (IsKeyPressed(KEY_M)) {
        state.currentScreen = MENU;  // tested last: M wins over R
    }
}

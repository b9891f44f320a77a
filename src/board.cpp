// Drawing the playing board: background, snake, fruits, skulls and the three
// status lines. Later drawing covers earlier drawing.
#include "coilrush.h"

namespace {

constexpr Color NO_TINT = WHITE;
constexpr int HUD_FONT_SIZE = 20;

Rectangle WholeTexture(Texture2D texture) {
    return {0.0f, 0.0f, static_cast<float>(texture.width), static_cast<float>(texture.height)};
}

void DrawStretched(Texture2D texture, Rectangle destination) {
    DrawTexturePro(texture, WholeTexture(texture), destination, {0.0f, 0.0f}, 0.0f, NO_TINT);
}

Texture2D FruitTexture(const GameAssets &assets, FruitType type) {
    switch (type) {
        case PINEAPPLE:
            return assets.pineappleTexture;
        case WATERMELON:
            return assets.watermelonTexture;
        default:
            return assets.appleTexture;
    }
}

}  // namespace

void DrawLevelBackground(const GameAssets &assets, int level) {
    if (level < 1 || level > LEVEL_COUNT) {
        return;
    }
    const float size = static_cast<float>(SCREEN_SIZE);
    DrawStretched(assets.levelMaps[level - 1], {0.0f, 0.0f, size, size});
}

void DrawItemTexture(Texture2D texture, Vector2 position) {
    const float size = static_cast<float>(ITEM_SIZE);
    DrawStretched(texture, {position.x, position.y, size, size});
}

void DrawSnake(Snake &snake) {
    // Both colours come from the count before it ticks down, so a bite shows
    // in exactly EAT_FLASH_FRAMES frames, the frame of the bite included.
    const bool flashing = snake.eatFlash > 0;
    const Color bodyColor = flashing ? GOLD : GREEN;
    const Color headColor = flashing ? ORANGE : DARKGREEN;
    if (flashing) {
        snake.eatFlash--;
    }
    const float cell = static_cast<float>(CELL_SIZE);
    for (int i = 0; i < snake.length; i++) {
        DrawRectangleV(snake.body[i], {cell, cell}, i == 0 ? headColor : bodyColor);
    }
}

void DrawFruits(const GameAssets &assets, const Fruit (&fruits)[FRUIT_COUNT]) {
    for (const Fruit &fruit : fruits) {
        DrawItemTexture(FruitTexture(assets, fruit.type), fruit.position);
    }
}

// Exactly the skulls that can end the game are drawn.
void DrawSkulls(const GameAssets &assets, int level, const Fruit &skull1, const Fruit &skull2,
                const Fruit &skull3) {
    DrawItemTexture(assets.skullTexture, skull1.position);
    if (level > 2) {
        DrawItemTexture(assets.skullTexture, skull2.position);
    }
    if (level == 4) {
        DrawItemTexture(assets.skullTexture, skull3.position);
    }
}

void DrawHud(int score, int bestScore, int level) {
    DrawText(TextFormat("Score: %d", score), 10, 10, HUD_FONT_SIZE, PURPLE);
    DrawText(TextFormat("High Score: %d", bestScore), 10, 40, HUD_FONT_SIZE, PURPLE);
    DrawText(TextFormat("Level: %d", level), 10, 70, HUD_FONT_SIZE, PURPLE);
}

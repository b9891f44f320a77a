// The snake, the fruits and the skulls.
#include "game_model.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr Vector2 SNAKE_START = {500.0f, 500.0f};
constexpr Vector2 SNAKE_START_DIRECTION = {static_cast<float>(CELL_SIZE), 0.0f};
constexpr int SNAKE_START_LENGTH = 3;

void *ReallocBodyStorage(void *storage, std::size_t bytes) {
    return std::realloc(storage, bytes);
}

BodyStorageResize resizeBodyStorage = ReallocBodyStorage;

Vector2 *ResizeBody(Vector2 *body, int slots) {
    const std::size_t bytes = static_cast<std::size_t>(slots) * sizeof(Vector2);
    return static_cast<Vector2 *>(resizeBodyStorage(body, bytes));
}

// A whole number of cells as a pixel coordinate: the product is taken in
// integers first so every position stays an exact multiple of CELL_SIZE.
float CellsToPixels(int cells) {
    return static_cast<float>(CELL_SIZE * cells);
}

float RandomItemCoordinate() {
    return CellsToPixels(GetRandomValue(0, GRID_MAX_INDEX));
}

}  // namespace

void SetBodyStorageResize(BodyStorageResize resize) {
    resizeBodyStorage = resize != nullptr ? resize : ReallocBodyStorage;
}

// When the storage cannot be allocated the game keeps running rather than
// stopping: a record that already holds storage keeps it (it is at least 16
// slots), and a record without any is left empty (length 0, body null), which
// every operation here accepts. Nothing is ever written through a failed
// allocation.
void InitSnake(Snake &snake) {
    snake.position = SNAKE_START;
    snake.direction = SNAKE_START_DIRECTION;
    snake.length = SNAKE_START_LENGTH;
    snake.score = 0;
    snake.eatFlash = 0;

    Vector2 *fresh = ResizeBody(nullptr, SNAKE_START_CAPACITY);
    if (fresh != nullptr) {
        std::free(snake.body);
        snake.body = fresh;
        snake.capacity = SNAKE_START_CAPACITY;
    } else if (snake.body == nullptr) {
        snake.capacity = 0;
        snake.length = 0;
    }

    for (int i = 0; i < snake.length; i++) {
        snake.body[i] = {snake.position.x - CellsToPixels(i), snake.position.y};
    }
}

// Shifted from the tail so each segment takes the cell of the one ahead of it.
void MoveSnake(Snake &snake) {
    snake.position.x += snake.direction.x;
    snake.position.y += snake.direction.y;
    if (snake.body == nullptr || snake.length < 1) {
        return;
    }
    for (int i = snake.length - 1; i >= 1; i--) {
        snake.body[i] = snake.body[i - 1];
    }
    snake.body[0] = snake.position;
}

// A snake whose storage cannot grow any more keeps its length; the bite is
// still shown so the player sees the fruit was eaten.
void GrowSnake(Snake &snake) {
    snake.eatFlash = EAT_FLASH_FRAMES;
    if (snake.body == nullptr || snake.length < 1) {
        return;
    }
    if (snake.length >= snake.capacity) {
        if (snake.capacity > INT_MAX / 2) {
            return;
        }
        Vector2 *grown = ResizeBody(snake.body, snake.capacity * 2);
        if (grown == nullptr) {
            return;
        }
        snake.body = grown;
        snake.capacity *= 2;
    }
    snake.length += 1;
    snake.body[snake.length - 1] = snake.body[snake.length - 2];
}

bool CheckCollision(Vector2 a, Vector2 b) {
    return a.x == b.x && a.y == b.y;
}

// Only the head counts: body segments stacked on one cell after a bite are
// no collision.
bool CheckSelfCollision(const Snake &snake) {
    for (int i = 1; i < snake.length; i++) {
        if (CheckCollision(snake.body[0], snake.body[i])) {
            return true;
        }
    }
    return false;
}

void FreeSnake(Snake &snake) {
    std::free(snake.body);
    snake.body = nullptr;
    snake.capacity = 0;
    snake.length = 0;
}

// The draws come in a fixed order (type, x, y) so that a given random
// sequence always yields the same board.
void SpawnFruit(Fruit &fruit) {
    fruit.type = static_cast<FruitType>(GetRandomValue(0, 2));  // apple, pineapple or watermelon
    fruit.position.x = RandomItemCoordinate();
    fruit.position.y = RandomItemCoordinate();
}

void SpawnSkull(Fruit &skull) {
    skull.type = SKULL;
    skull.position.x = RandomItemCoordinate();
    skull.position.y = RandomItemCoordinate();
}

bool CheckFruitCollision(Vector2 head, const Fruit &item, int size) {
    const float side = static_cast<float>(size);
    const Rectangle itemSquare = {item.position.x, item.position.y, side, side};
    const Rectangle headCell = {head.x, head.y, static_cast<float>(CELL_SIZE),
                                static_cast<float>(CELL_SIZE)};
    return CheckCollisionRecs(itemSquare, headCell);
}

int GetFruitScore(FruitType type) {
    switch (static_cast<unsigned int>(type)) {
        case APPLE:
            return 1;
        case PINEAPPLE:
            return 2;
        case WATERMELON:
            return 5;
        case SKULL:
            return -1;
        default:
            return 0;
    }
}

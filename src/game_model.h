// The pieces on the board: the snake, the fruits and the skulls, how they are
// placed, how they move and grow, what they hit and what they are worth.
#ifndef COILRUSH_GAME_MODEL_H
#define COILRUSH_GAME_MODEL_H

#include <cstddef>

#include "raylib.h"

inline constexpr int SCREEN_SIZE = 1000;    // the window is this many pixels square
inline constexpr int CELL_SIZE = 20;        // one grid cell, one snake segment
inline constexpr int ITEM_SIZE = 40;        // fruits and skulls cover two by two cells
inline constexpr int FRUIT_COUNT = 10;      // fruits on the board at once
inline constexpr int GRID_MAX_INDEX = 48;   // items lie on cells 0..48 of each axis
inline constexpr int EAT_FLASH_FRAMES = 5;  // playing frames the eat highlight lasts
inline constexpr int SNAKE_START_CAPACITY = 16;

// The player's snake. body[0] is the drawn head and the cell of every
// collision test; position is what the next step adds direction to. The two
// differ only after the playing screen wraps position at an edge.
struct Snake {
    Vector2 position;
    Vector2 direction;
    int length;
    int capacity;
    Vector2 *body;  // owned; capacity slots, the first length of them live
    int score;
    int eatFlash;
};

void InitSnake(Snake &snake);
void MoveSnake(Snake &snake);
void GrowSnake(Snake &snake);
bool CheckCollision(Vector2 a, Vector2 b);
bool CheckSelfCollision(const Snake &snake);
// Releases the body storage and leaves the record holding none.
void FreeSnake(Snake &snake);

enum FruitType : unsigned int { APPLE = 0, PINEAPPLE = 1, WATERMELON = 2, SKULL = 3 };

// One item on the board, fruit or skull: the top-left corner of its
// ITEM_SIZE square and its kind.
struct Fruit {
    Vector2 position;
    FruitType type;
};

void SpawnFruit(Fruit &fruit);
void SpawnSkull(Fruit &skull);
bool CheckFruitCollision(Vector2 head, const Fruit &item, int size);
int GetFruitScore(FruitType type);

// Seam for tests: the function that (re)allocates the snake's body storage,
// realloc unless replaced. Passing nullptr restores realloc.
using BodyStorageResize = void *(*)(void *storage, std::size_t bytes);
void SetBodyStorageResize(BodyStorageResize resize);

#endif

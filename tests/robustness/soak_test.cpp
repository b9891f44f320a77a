// A hundred thousand frames of random keys, clicks and frame times, long
// stalls included, through the real frame function. Every frame keeps the
// game's invariants, and nothing but the snake's body storage is allocated
// once the game runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>

#include "coilrush.h"
#include "high_score.h"
#include "scripted_platform.h"

// The replacements below pair malloc with free; GCC cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

std::atomic<bool> countingAllocations{false};
std::atomic<long long> allocationsWhileCounting{0};

}  // namespace

void *operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed)) {
        allocationsWhileCounting.fetch_add(1, std::memory_order_relaxed);
    }
    if (void *memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void *memory) noexcept {
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

long long snakeStorageResizes = 0;

void *CountingResize(void *storage, std::size_t bytes) {
    snakeStorageResizes++;
    return std::realloc(storage, bytes);
}

bool IsCapacityPolicy(int capacity) {
    if (capacity < SNAKE_START_CAPACITY || capacity % SNAKE_START_CAPACITY != 0) {
        return false;
    }
    const int doublings = capacity / SNAKE_START_CAPACITY;
    return (doublings & (doublings - 1)) == 0;
}

bool OnItemCell(const Fruit &item) {
    auto onGrid = [](float v) {
        return v >= 0.0f && v <= 960.0f && static_cast<int>(v) % CELL_SIZE == 0;
    };
    return onGrid(item.position.x) && onGrid(item.position.y);
}

void ExpectInvariants(const GameState &state, long long frame) {
    ASSERT_GE(state.currentScreen, MENU) << frame;
    ASSERT_LE(state.currentScreen, GAME_OVER) << frame;
    ASSERT_GE(state.level, 0) << frame;
    ASSERT_LE(state.level, 4) << frame;
    ASSERT_GE(state.snake.length, 3) << frame;
    ASSERT_LE(state.snake.length, state.snake.capacity) << frame;
    ASSERT_TRUE(IsCapacityPolicy(state.snake.capacity)) << frame << " " << state.snake.capacity;
    // A level started or promoted mid-count may find the step timer above its
    // new, shorter interval; it never passes the longest one.
    ASSERT_LT(state.moveTimer, Levels[0].moveInterval) << frame;
    ASSERT_LT(state.skullTimer, state.skullInterval) << frame;
    for (const Fruit &fruit : state.fruits) {
        ASSERT_TRUE(OnItemCell(fruit)) << frame;
        ASSERT_LE(static_cast<unsigned int>(fruit.type), 2u) << frame;
    }
    const Vector2 position = state.snake.position;
    ASSERT_TRUE(position.x >= 0.0f && position.x <= 980.0f) << frame;
    ASSERT_TRUE(position.y >= 0.0f && position.y <= 980.0f) << frame;
}

scripted::FrameInput RandomInput(std::mt19937 &random) {
    static const int keys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_P, KEY_R, KEY_M};
    scripted::FrameInput input;
    for (int key : keys) {
        // Turns now and then, pauses rarely, and a quick R or M once a game
        // is over, so that most frames are spent playing.
        unsigned chance = 40;
        if (key == KEY_P) {
            chance = 300;
        } else if (key == KEY_R || key == KEY_M) {
            chance = 60;
        }
        if (random() % chance == 0) {
            input.keys.push_back(key);
        }
    }
    // Half the time around the level buttons (gaps and edges included), so
    // that clicks on the menu start games now and then.
    if (random() % 2 == 0) {
        input.mouse = {380.0f + static_cast<float>(random() % 240),
                       420.0f + static_cast<float>(random() % 270)};
    } else {
        input.mouse = {static_cast<float>(random() % 1100) - 50.0f,
                       static_cast<float>(random() % 1100) - 50.0f};
    }
    input.click = random() % 10 == 0;
    const auto timeKind = random() % 1000;
    if (timeKind == 0) {
        input.frameTime = 1.0f + static_cast<float>(random() % 5000) / 1000.0f;  // a stall
    } else if (timeKind < 50) {
        input.frameTime = static_cast<float>(random() % 100) / 1000.0f;
    }
    return input;
}

class SoakTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDir = std::filesystem::current_path();
        workDir =
            std::filesystem::temp_directory_path() /
            ("coilrush-soak-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(std::rand()));
        std::filesystem::create_directories(workDir);
        std::filesystem::current_path(workDir);
        scripted::ResetPlatform();
        SetBodyStorageResize(CountingResize);
        highScore = 0;
    }
    void TearDown() override {
        SetBodyStorageResize(nullptr);
        std::filesystem::current_path(previousDir);
        std::filesystem::remove_all(workDir);
    }
    std::filesystem::path previousDir;
    std::filesystem::path workDir;
};

TEST_F(SoakTest, AHundredThousandRandomFramesKeepTheGameWholeAndAllocateNothingElse) {
    constexpr long long kFrames = 100000;
    GameState state{};
    GameAssets assets{};
    StartUp(state, assets);
    scripted::SetRecording(false);
    const int liveResources = scripted::LiveResourceCount();
    std::mt19937 random(20261211);
    int gamesStarted = 0;
    int longestSnake = 0;
    long long playingFrames = 0;

    for (long long frame = 0; frame < kFrames; frame++) {
        scripted::SetCurrentInput(RandomInput(random));
        const GameScreen before = state.currentScreen;
        playingFrames += before == PLAYING ? 1 : 0;
        const long long resizesBefore = snakeStorageResizes;
        const int bestBefore = highScore;
        countingAllocations = true;
        RunFrame(state, assets);
        countingAllocations = false;
        if (before == MENU && state.currentScreen == PLAYING) {
            gamesStarted++;
        }
        if (before == GAME_OVER && state.currentScreen == PLAYING) {
            gamesStarted++;
        }
        longestSnake = std::max(longestSnake, state.snake.length);
        ASSERT_NO_FATAL_FAILURE(ExpectInvariants(state, frame));
        // Growing the snake and saving a record are the only frames allowed
        // to touch the heap.
        if (snakeStorageResizes == resizesBefore && highScore == bestBefore) {
            ASSERT_EQ(allocationsWhileCounting.load(), 0) << "frame " << frame;
        }
        allocationsWhileCounting = 0;
    }

    EXPECT_EQ(scripted::LiveResourceCount(), liveResources);
    EXPECT_GT(gamesStarted, 10) << "the random input must actually play";
    EXPECT_GT(longestSnake, 3);
    EXPECT_GT(playingFrames, kFrames / 4);
    RecordProperty("playingFrames", std::to_string(playingFrames));
    RecordProperty("gamesStarted", std::to_string(gamesStarted));
    RecordProperty("longestSnake", std::to_string(longestSnake));
    ShutDown(state, assets);
    EXPECT_EQ(scripted::LiveResourceCount(), 0);
}

}  // namespace

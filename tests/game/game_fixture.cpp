#include "game_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

bool SameColor(Color a, Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::filesystem::path &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::vector<DrawCall> CallsOfKind(const RecordedFrame &frame, DrawKind kind) {
    std::vector<DrawCall> calls;
    for (const DrawCall &call : frame.draws) {
        if (call.kind == kind) {
            calls.push_back(call);
        }
    }
    return calls;
}

size_t PicturesDrawnFrom(const RecordedFrame &frame, const std::string &fileName) {
    size_t count = 0;
    for (const DrawCall &call : frame.draws) {
        count += call.kind == DrawKind::TexturePro && call.texturePath == fileName ? 1 : 0;
    }
    return count;
}

void GameTest::SetUp() {
    scripted::ResetPlatform();
    highScore = 0;
    previousDir = std::filesystem::current_path();
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    workDir = std::filesystem::temp_directory_path() /
              ("coilrush-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
               std::to_string(getpid()));
    std::filesystem::remove_all(workDir);
    std::filesystem::create_directories(workDir);
    std::filesystem::current_path(workDir);
}

void GameTest::TearDown() {
    if (started) {
        ShutDown(state, assets);
    }
    std::filesystem::current_path(previousDir);
    std::filesystem::remove_all(workDir);
}

void GameTest::StartGame(int storedBest) {
    if (storedBest != 0) {
        WriteFile(workDir / "highscore.txt", std::to_string(storedBest));
    }
    StartUp(state, assets);
    started = true;
    ClearBoard();
}

void GameTest::StartPlaying(int level) {
    StartLevel(state, level);
    ClearBoard();
}

void GameTest::ClearBoard() {
    for (int i = 0; i < FRUIT_COUNT; i++) {
        state.fruits[i] = {{static_cast<float>(i * 80), 0.0f}, APPLE};
    }
    state.skull1 = {{900.0f, 100.0f}, SKULL};
    state.skull2 = {{800.0f, 100.0f}, SKULL};
    state.skull3 = {{700.0f, 100.0f}, SKULL};
}

void GameTest::QueueQuietRandomValues(int count) {
    scripted::QueueRandomValues(std::vector<int>(static_cast<size_t>(count), 0));
}

RecordedFrame GameTest::PlayFrame(const FrameInput &input) {
    scripted::SetCurrentInput(input);
    RunFrame(state, assets);
    return scripted::Frames().back();
}

RecordedFrame GameTest::PlayFrameWithKeys(std::vector<int> keys) {
    FrameInput input;
    input.keys = std::move(keys);
    return PlayFrame(input);
}

int GameTest::FramesUntilStep(int limit) {
    const Vector2 before = Head();
    for (int frames = 1; frames <= limit; frames++) {
        PlayFrame();
        if (Head().x != before.x || Head().y != before.y) {
            return frames;
        }
    }
    return -1;
}

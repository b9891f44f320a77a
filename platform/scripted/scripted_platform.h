// Control panel of the scripted platform: the test-side twin of the SDL2
// layer. It implements the same raylib.h, but instead of a window it plays
// back scripted frames (keys, mouse, frame time, close requests, random
// values) and records what the game did (draw calls per frame, sounds,
// and every load, unload, open and close in order).
//
// A scenario reads as a list of frames:
//
//   scripted::ResetPlatform();
//   scripted::QueueFrame({.keys = {KEY_UP}});
//   scripted::QueueFrame({.keys = {KEY_LEFT}, .frameTime = 0.5f});
//   scripted::QueueClose();
//   RunCoilrush();               // plays the two frames, then shuts down
//   auto &frames = scripted::Frames();
#ifndef COILRUSH_SCRIPTED_PLATFORM_H
#define COILRUSH_SCRIPTED_PLATFORM_H

#include <string>
#include <vector>

#include "raylib.h"

namespace scripted {

inline constexpr float kSixtiethOfASecond = 1.0f / 60.0f;

// Input of one frame, as the game sees it between two WindowShouldClose calls.
struct FrameInput {
    std::vector<int> keys;          // keys that went down in this frame
    Vector2 mouse = {0.0f, 0.0f};   // mouse position, window coordinates
    bool click = false;             // left mouse button went down in this frame
    std::vector<int> mouseButtons;  // other buttons that went down (besides click)
    float frameTime = kSixtiethOfASecond;  // what GetFrameTime reports
    bool close = false;             // WindowShouldClose reports true
};

enum class DrawKind { Clear, RectangleRec, RectangleV, TexturePro, Text };

// One recorded draw call. Fields that a kind does not use stay zero/empty.
struct DrawCall {
    DrawKind kind = DrawKind::Clear;
    Color color = {0, 0, 0, 0};        // fill, text colour or texture tint
    Rectangle rect = {0, 0, 0, 0};     // RectangleRec/RectangleV: the rectangle;
                                       // TexturePro: dest; Text: x, y,
                                       // MeasureText width, font size
    Rectangle source = {0, 0, 0, 0};   // TexturePro only
    Vector2 origin = {0, 0};           // TexturePro only
    float rotation = 0.0f;             // TexturePro only
    unsigned int textureId = 0;        // TexturePro only
    std::string texturePath;           // TexturePro: file the texture came from
    std::string text;                  // Text only
    int fontSize = 0;                  // Text only
};

// Everything recorded between one BeginDrawing and its EndDrawing.
struct RecordedFrame {
    std::vector<DrawCall> draws;
    std::vector<std::string> soundsPlayed;  // file names, in PlaySound order
};

struct RandomCall {
    int min;
    int max;
    int result;
};

// Back to a fresh machine: no window, no audio, empty queues and records,
// every file present, default texture size 40 x 40.
void ResetPlatform();

// Frames are consumed one per WindowShouldClose call. When the queue runs
// dry, WindowShouldClose reports true, so a scenario always ends.
void QueueFrame(const FrameInput &input);
void QueueFrames(int count, const FrameInput &input = {});
void QueueClose();

// For tests that call a screen handler directly: make this the input of the
// current frame without going through WindowShouldClose.
void SetCurrentInput(const FrameInput &input);

// GetRandomValue returns these values first, in order, and falls back to
// rand() once they are used up. Every call is recorded.
void QueueRandomValues(const std::vector<int> &values);
const std::vector<RandomCall> &RandomCalls();

// Load failures and picture sizes. A missing file loads as an empty texture,
// sound or music (id 0 / null buffer), as the real layer does.
void SetMissingFiles(const std::vector<std::string> &fileNames);
void SetTextureSize(const std::string &fileName, int width, int height);

// Benchmarks switch recording off: draw calls are then counted, not kept,
// and Frames() stays empty; events, sounds played and random calls are not
// logged either, so nothing is allocated per frame. Loads and unloads still
// count for LiveResourceCount. ResetPlatform switches it back on.
void SetRecording(bool on);
long long DrawCallCount();  // every draw call since ResetPlatform, recorded or not

// Records.
const std::vector<RecordedFrame> &Frames();
// Lifecycle log, one line per call, e.g. "InitWindow 1000 1000 Coilrush",
// "SetTargetFPS 60", "InitAudioDevice", "LoadSound soundeffect/cartoonbite.mp3",
// "SetSoundVolume soundeffect/cartoonbite.mp3 2", "PlayMusicStream <file>",
// "LoadTexture apple.png", "UnloadTexture apple.png", "CloseAudioDevice",
// "CloseWindow", "BeginDrawing", "EndDrawing", "UpdateMusicStream <file>",
// "PlaySound <file>", "WindowShouldClose".
const std::vector<std::string> &Events();
// The same log without the calls made once per frame (BeginDrawing,
// EndDrawing, UpdateMusicStream, WindowShouldClose, PlaySound).
std::vector<std::string> LifecycleEvents();

// What a texture id was loaded from ("" for id 0 or an unknown id).
std::string TexturePath(unsigned int id);
// Number of textures, sounds and music streams loaded and not yet unloaded.
int LiveResourceCount();

// Filters over one recorded frame.
std::vector<DrawCall> TextsOf(const RecordedFrame &frame);
const DrawCall *FindText(const RecordedFrame &frame, const std::string &text);

}  // namespace scripted

#endif

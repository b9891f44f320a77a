// The scripted twin of the platform: raylib.h played back from queued frames
// and recorded into frames and an event log, for tests and benchmarks.
#include "scripted_platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform_common.h"

namespace {

constexpr int DEFAULT_TEXTURE_SIZE = 40;

// One LoadTexture, LoadSound or LoadMusicStream call. Failed loads get a
// record too, so their unload can still be logged by name and counted.
struct LoadedResource {
    std::string path;
    bool live = true;
    bool playing = false;  // music only
};

struct Machine {
    bool windowOpen = false;
    int windowWidth = 0;
    int windowHeight = 0;
    bool audioReady = false;
    bool recording = true;
    long long drawCallCount = 0;

    std::deque<scripted::FrameInput> queuedFrames;
    scripted::FrameInput input;

    std::vector<scripted::RecordedFrame> frames;
    bool drawingOpen = false;  // a frame is open for draws (begun or implicit)
    std::vector<std::string> events;

    std::deque<int> queuedRandomValues;
    std::vector<scripted::RandomCall> randomCalls;

    std::set<std::string> missingFiles;
    std::map<std::string, std::pair<int, int>> textureSizes;

    // Handles index these tables (handle = index + 1).
    std::vector<LoadedResource> textures;
    std::vector<LoadedResource> sounds;
    std::vector<LoadedResource> musics;
    // Texture id of a loaded picture -> its handle.
    std::map<unsigned int, std::size_t> textureHandleById;
    unsigned int nextTextureId = 1;
};

Machine &TheMachine() {
    static Machine machine;
    return machine;
}

bool Recording() {
    return TheMachine().recording;
}

// Every draw call counts; returns whether it is also to be recorded.
bool CountDrawCall() {
    Machine &machine = TheMachine();
    machine.drawCallCount++;
    return machine.recording;
}

// Both forms take their parts apart so that nothing is built (or allocated)
// while recording is off.
void Log(const char *event) {
    if (Recording()) {
        TheMachine().events.emplace_back(event);
    }
}

void Log(const char *event, const std::string &detail) {
    if (Recording()) {
        TheMachine().events.push_back(std::string(event) + " " + detail);
    }
}

std::string FormatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

bool IsMissing(const std::string &fileName) {
    return TheMachine().missingFiles.count(fileName) != 0;
}

std::string SafeString(const char *text) {
    return text != nullptr ? text : "";
}

// Draws made outside BeginDrawing/EndDrawing are gathered into a frame of
// their own rather than lost or crashing the test.
scripted::RecordedFrame &CurrentFrame() {
    Machine &machine = TheMachine();
    if (!machine.drawingOpen || machine.frames.empty()) {
        machine.frames.emplace_back();
        machine.drawingOpen = true;
    }
    return machine.frames.back();
}

void Record(const scripted::DrawCall &call) {
    CurrentFrame().draws.push_back(call);
}

bool Contains(const std::vector<int> &values, int value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// ---- Resource handles ------------------------------------------------------
// A texture that failed to load has id 0; its handle is kept, negated, in
// `format` (a real pixel format is never negative). Sounds and music keep
// their handle in the stream's processor pointer, which the game never uses;
// the buffer pointer is the same handle for a loaded file and null for a
// missing one, so "empty" reads exactly as on the real layer.

std::size_t NewHandle(std::vector<LoadedResource> &table, const std::string &path) {
    table.push_back({path, true, false});
    return table.size();
}

LoadedResource *FindResource(std::vector<LoadedResource> &table, std::size_t handle) {
    if (handle == 0 || handle > table.size()) {
        return nullptr;
    }
    return &table[handle - 1];
}

std::size_t TextureHandle(const Texture2D &texture) {
    const Machine &machine = TheMachine();
    if (texture.id != 0) {
        const auto found = machine.textureHandleById.find(texture.id);
        return found != machine.textureHandleById.end() ? found->second : 0;
    }
    return texture.format < 0 ? static_cast<std::size_t>(-static_cast<long long>(texture.format))
                              : 0;
}

template <typename Pointer>
Pointer *HandleToPointer(std::size_t handle) {
    return reinterpret_cast<Pointer *>(static_cast<std::uintptr_t>(handle));
}

std::size_t StreamHandle(const AudioStream &stream) {
    return static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(stream.processor));
}

AudioStream MakeStream(std::size_t handle, bool loaded) {
    AudioStream stream{};
    stream.processor = HandleToPointer<rAudioProcessor>(handle);
    if (loaded) {
        stream.buffer = HandleToPointer<rAudioBuffer>(handle);
        stream.sampleRate = 44100;
        stream.sampleSize = 16;
        stream.channels = 2;
    }
    return stream;
}

const std::string &PathOf(std::vector<LoadedResource> &table, std::size_t handle) {
    static const std::string unknown;
    const LoadedResource *resource = FindResource(table, handle);
    return resource != nullptr ? resource->path : unknown;
}

void Release(std::vector<LoadedResource> &table, std::size_t handle) {
    LoadedResource *resource = FindResource(table, handle);
    if (resource != nullptr) {
        resource->live = false;
        resource->playing = false;
    }
}

int CountLive(const std::vector<LoadedResource> &table) {
    return static_cast<int>(
        std::count_if(table.begin(), table.end(), [](const LoadedResource &r) { return r.live; }));
}

}  // namespace

// ---- Control panel ---------------------------------------------------------

namespace scripted {

void ResetPlatform() {
    TheMachine() = Machine{};
}

void QueueFrame(const FrameInput &input) {
    TheMachine().queuedFrames.push_back(input);
}

void QueueFrames(int count, const FrameInput &input) {
    for (int i = 0; i < count; i++) {
        QueueFrame(input);
    }
}

void QueueClose() {
    FrameInput closing;
    closing.close = true;
    QueueFrame(closing);
}

void SetCurrentInput(const FrameInput &input) {
    TheMachine().input = input;
}

void QueueRandomValues(const std::vector<int> &values) {
    Machine &machine = TheMachine();
    machine.queuedRandomValues.insert(machine.queuedRandomValues.end(), values.begin(),
                                      values.end());
}

const std::vector<RandomCall> &RandomCalls() {
    return TheMachine().randomCalls;
}

void SetMissingFiles(const std::vector<std::string> &fileNames) {
    TheMachine().missingFiles = std::set<std::string>(fileNames.begin(), fileNames.end());
}

void SetRecording(bool on) {
    TheMachine().recording = on;
}

long long DrawCallCount() {
    return TheMachine().drawCallCount;
}

void SetTextureSize(const std::string &fileName, int width, int height) {
    TheMachine().textureSizes[fileName] = {width, height};
}

const std::vector<RecordedFrame> &Frames() {
    return TheMachine().frames;
}

const std::vector<std::string> &Events() {
    return TheMachine().events;
}

std::vector<std::string> LifecycleEvents() {
    static const char *const perFramePrefixes[] = {
        "BeginDrawing", "EndDrawing", "UpdateMusicStream ", "WindowShouldClose", "PlaySound "};
    std::vector<std::string> lifecycle;
    for (const std::string &event : TheMachine().events) {
        const bool perFrame =
            std::any_of(std::begin(perFramePrefixes), std::end(perFramePrefixes),
                        [&event](const char *prefix) { return event.rfind(prefix, 0) == 0; });
        if (!perFrame) {
            lifecycle.push_back(event);
        }
    }
    return lifecycle;
}

std::string TexturePath(unsigned int id) {
    Machine &machine = TheMachine();
    const auto found = machine.textureHandleById.find(id);
    return found != machine.textureHandleById.end() ? PathOf(machine.textures, found->second) : "";
}

int LiveResourceCount() {
    const Machine &machine = TheMachine();
    return CountLive(machine.textures) + CountLive(machine.sounds) + CountLive(machine.musics);
}

std::vector<DrawCall> TextsOf(const RecordedFrame &frame) {
    std::vector<DrawCall> texts;
    std::copy_if(frame.draws.begin(), frame.draws.end(), std::back_inserter(texts),
                 [](const DrawCall &call) { return call.kind == DrawKind::Text; });
    return texts;
}

const DrawCall *FindText(const RecordedFrame &frame, const std::string &text) {
    for (const DrawCall &call : frame.draws) {
        if (call.kind == DrawKind::Text && call.text == text) {
            return &call;
        }
    }
    return nullptr;
}

}  // namespace scripted

// ---- raylib.h: window and frame --------------------------------------------

void InitWindow(int width, int height, const char *title) {
    Machine &machine = TheMachine();
    machine.windowOpen = true;
    machine.windowWidth = width;
    machine.windowHeight = height;
    Log("InitWindow",
        std::to_string(width) + " " + std::to_string(height) + " " + SafeString(title));
}

// One queued frame per call; an empty queue means the window is closing.
bool WindowShouldClose(void) {
    Machine &machine = TheMachine();
    Log("WindowShouldClose");
    if (machine.queuedFrames.empty()) {
        machine.input = scripted::FrameInput{};
        machine.input.close = true;
        return true;
    }
    machine.input = machine.queuedFrames.front();
    machine.queuedFrames.pop_front();
    return machine.input.close;
}

void CloseWindow(void) {
    TheMachine().windowOpen = false;
    Log("CloseWindow");
}

void SetTargetFPS(int fps) {
    Log("SetTargetFPS", std::to_string(fps));
}

float GetFrameTime(void) {
    return TheMachine().input.frameTime;
}

void BeginDrawing(void) {
    Machine &machine = TheMachine();
    Log("BeginDrawing");
    if (machine.recording) {
        machine.frames.emplace_back();
        machine.drawingOpen = true;
    }
}

void EndDrawing(void) {
    Log("EndDrawing");
    TheMachine().drawingOpen = false;
}

// ---- raylib.h: drawing -----------------------------------------------------

void ClearBackground(Color color) {
    if (!CountDrawCall()) {
        return;
    }
    scripted::DrawCall call;
    call.kind = scripted::DrawKind::Clear;
    call.color = color;
    Record(call);
}

void DrawRectangleRec(Rectangle rec, Color color) {
    if (!CountDrawCall()) {
        return;
    }
    scripted::DrawCall call;
    call.kind = scripted::DrawKind::RectangleRec;
    call.color = color;
    call.rect = rec;
    Record(call);
}

void DrawRectangleV(Vector2 position, Vector2 size, Color color) {
    if (!CountDrawCall()) {
        return;
    }
    scripted::DrawCall call;
    call.kind = scripted::DrawKind::RectangleV;
    call.color = color;
    call.rect = {position.x, position.y, size.x, size.y};
    Record(call);
}

// Recorded even for an empty texture (id 0), with the file it was meant to
// come from, so tests can see what the game asked for.
void DrawTexturePro(Texture2D texture, Rectangle source, Rectangle dest, Vector2 origin,
                    float rotation, Color tint) {
    if (!CountDrawCall()) {
        return;
    }
    scripted::DrawCall call;
    call.kind = scripted::DrawKind::TexturePro;
    call.color = tint;
    call.rect = dest;
    call.source = source;
    call.origin = origin;
    call.rotation = rotation;
    call.textureId = texture.id;
    call.texturePath = PathOf(TheMachine().textures, TextureHandle(texture));
    Record(call);
}

void DrawText(const char *text, int posX, int posY, int fontSize, Color color) {
    if (!CountDrawCall()) {
        return;
    }
    scripted::DrawCall call;
    call.kind = scripted::DrawKind::Text;
    call.color = color;
    call.text = SafeString(text);
    call.fontSize = fontSize;
    call.rect = {static_cast<float>(posX), static_cast<float>(posY),
                 static_cast<float>(MeasureText(call.text.c_str(), fontSize)),
                 static_cast<float>(fontSize)};
    Record(call);
}

// ---- raylib.h: input and random numbers ------------------------------------

bool IsKeyPressed(int key) {
    return Contains(TheMachine().input.keys, key);
}

bool IsMouseButtonPressed(int button) {
    const scripted::FrameInput &input = TheMachine().input;
    return (button == MOUSE_BUTTON_LEFT && input.click) || Contains(input.mouseButtons, button);
}

Vector2 GetMousePosition(void) {
    return TheMachine().input.mouse;
}

int GetRandomValue(int min, int max) {
    Machine &machine = TheMachine();
    int result = 0;
    if (!machine.queuedRandomValues.empty()) {
        result = machine.queuedRandomValues.front();
        machine.queuedRandomValues.pop_front();
    } else {
        result = RandomValueFromRand(min, max);
    }
    if (machine.recording) {
        machine.randomCalls.push_back({min, max, result});
    }
    return result;
}

// ---- raylib.h: pictures ----------------------------------------------------

Texture2D LoadTexture(const char *fileName) {
    Machine &machine = TheMachine();
    const std::string path = SafeString(fileName);
    Log("LoadTexture", path);
    const std::size_t handle = NewHandle(machine.textures, path);
    Texture2D texture{};
    if (IsMissing(path)) {
        texture.format = -static_cast<int>(handle);
        return texture;
    }
    const auto size = machine.textureSizes.find(path);
    texture.id = machine.nextTextureId++;
    texture.width = size != machine.textureSizes.end() ? size->second.first : DEFAULT_TEXTURE_SIZE;
    texture.height =
        size != machine.textureSizes.end() ? size->second.second : DEFAULT_TEXTURE_SIZE;
    texture.mipmaps = 1;
    texture.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    machine.textureHandleById[texture.id] = handle;
    return texture;
}

void UnloadTexture(Texture2D texture) {
    Machine &machine = TheMachine();
    const std::size_t handle = TextureHandle(texture);
    Log("UnloadTexture", PathOf(machine.textures, handle));
    Release(machine.textures, handle);
}

// The scripted window has no pixels: a blank picture of the window's size.
Image LoadImageFromScreen(void) {
    const Machine &machine = TheMachine();
    Image image{};
    if (machine.windowWidth <= 0 || machine.windowHeight <= 0) {
        return image;
    }
    const std::size_t bytes = static_cast<std::size_t>(machine.windowWidth) *
                              static_cast<std::size_t>(machine.windowHeight) * 4;
    image.data = std::calloc(bytes, 1);
    if (image.data == nullptr) {
        return image;
    }
    image.width = machine.windowWidth;
    image.height = machine.windowHeight;
    image.mipmaps = 1;
    image.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    return image;
}

void UnloadImage(Image image) {
    std::free(image.data);
}

void TakeScreenshot(const char *fileName) {
    Log("TakeScreenshot", SafeString(fileName));
}

// ---- raylib.h: audio -------------------------------------------------------

void InitAudioDevice(void) {
    TheMachine().audioReady = true;
    Log("InitAudioDevice");
}

void CloseAudioDevice(void) {
    TheMachine().audioReady = false;
    Log("CloseAudioDevice");
}

bool IsAudioDeviceReady(void) {
    return TheMachine().audioReady;
}

Sound LoadSound(const char *fileName) {
    Machine &machine = TheMachine();
    const std::string path = SafeString(fileName);
    Log("LoadSound", path);
    const std::size_t handle = NewHandle(machine.sounds, path);
    Sound sound{};
    const bool loaded = !IsMissing(path);
    sound.stream = MakeStream(handle, loaded);
    sound.frameCount = loaded ? 44100 : 0;
    return sound;
}

void UnloadSound(Sound sound) {
    Machine &machine = TheMachine();
    const std::size_t handle = StreamHandle(sound.stream);
    Log("UnloadSound", PathOf(machine.sounds, handle));
    Release(machine.sounds, handle);
}

void SetSoundVolume(Sound sound, float volume) {
    Log("SetSoundVolume",
        PathOf(TheMachine().sounds, StreamHandle(sound.stream)) + " " + FormatNumber(volume));
}

void PlaySound(Sound sound) {
    if (!Recording()) {
        return;
    }
    const std::string &path = PathOf(TheMachine().sounds, StreamHandle(sound.stream));
    Log("PlaySound", path);
    CurrentFrame().soundsPlayed.push_back(path);
}

// Scripted sounds last until the end of the frame they were started in.
bool IsSoundPlaying(Sound sound) {
    Machine &machine = TheMachine();
    if (sound.stream.buffer == nullptr || !machine.drawingOpen || machine.frames.empty()) {
        return false;
    }
    const std::vector<std::string> &played = machine.frames.back().soundsPlayed;
    const std::string &path = PathOf(machine.sounds, StreamHandle(sound.stream));
    return std::find(played.begin(), played.end(), path) != played.end();
}

Music LoadMusicStream(const char *fileName) {
    Machine &machine = TheMachine();
    const std::string path = SafeString(fileName);
    Log("LoadMusicStream", path);
    const std::size_t handle = NewHandle(machine.musics, path);
    Music music{};
    const bool loaded = !IsMissing(path);
    music.stream = MakeStream(handle, loaded);
    if (loaded) {
        music.frameCount = 44100 * 60;
        music.looping = true;
        music.ctxData = HandleToPointer<void>(handle);
    }
    return music;
}

void UnloadMusicStream(Music music) {
    Machine &machine = TheMachine();
    const std::size_t handle = StreamHandle(music.stream);
    Log("UnloadMusicStream", PathOf(machine.musics, handle));
    Release(machine.musics, handle);
}

void PlayMusicStream(Music music) {
    Machine &machine = TheMachine();
    const std::size_t handle = StreamHandle(music.stream);
    Log("PlayMusicStream", PathOf(machine.musics, handle));
    LoadedResource *resource = FindResource(machine.musics, handle);
    if (resource != nullptr && music.ctxData != nullptr) {
        resource->playing = true;
    }
}

void UpdateMusicStream(Music music) {
    Log("UpdateMusicStream", PathOf(TheMachine().musics, StreamHandle(music.stream)));
}

bool IsMusicStreamPlaying(Music music) {
    const LoadedResource *resource = FindResource(TheMachine().musics, StreamHandle(music.stream));
    return resource != nullptr && resource->live && resource->playing;
}

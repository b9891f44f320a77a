// State shared by the pieces of the SDL2 layer: the window and renderer, the
// input latched for the current frame, the texture table, the frame pacer and
// the audio device. Only files in this directory include it.
#ifndef COILRUSH_SDL_PLATFORM_H
#define COILRUSH_SDL_PLATFORM_H

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <vector>

#include "frame_pacer.h"
#include "raylib.h"

// The record behind a loaded Sound's or Music's buffer pointer. raylib.h only
// names the type, so each implementation decides what it holds.
struct rAudioBuffer {
    Mix_Chunk *chunk = nullptr;
    Mix_Music *music = nullptr;
    int channel = -1;  // mixer channel the sound last started on
    bool looping = true;
};

namespace sdlplatform {

// raylib numbers keys up to 348; a little headroom keeps the table simple.
inline constexpr int KEY_TABLE_SIZE = 512;
inline constexpr int MOUSE_BUTTON_COUNT = 3;

struct InputState {
    bool keyPressed[KEY_TABLE_SIZE] = {};  // went down since the previous frame
    bool mousePressed[MOUSE_BUTTON_COUNT] = {};
    Vector2 mousePosition = {0.0f, 0.0f};  // in the game's logical coordinates
};

struct VideoState {
    SDL_Window *window = nullptr;
    SDL_Renderer *renderer = nullptr;
    int logicalWidth = 0;
    int logicalHeight = 0;
    // When the window had to open smaller than the game's size, frames are
    // drawn here at full size and shrunk onto the window as they are shown.
    SDL_Texture *frameTarget = nullptr;
    bool shouldClose = false;
    // Texture ids are indexes into this table plus one; a freed slot holds
    // nullptr and is handed out again by the next load.
    std::vector<SDL_Texture *> textures;
};

struct TimingState {
    FramePacer pacer;
    std::FILE *frameLog = nullptr;  // COILRUSH_FRAME_LOG diagnostics, when asked for
    Uint64 lastLoggedFrameEnd = 0;
};

struct AudioState {
    bool ready = false;
    bool usingDummyDriver = false;
};

struct PlatformState {
    VideoState video;
    InputState input;
    TimingState timing;
    AudioState audio;
};

PlatformState &Platform();

// Input (sdl_input.cpp): forget last frame's presses, then read every
// pending event into the latches.
void ClearInputLatches();
void PollInputEvents();

// Video (sdl_video.cpp): frees every texture still loaded.
void DestroyAllTextures();
// Draw the frames into a full-size target when the window is smaller than
// the game; shows the finished frame either way.
void SetUpFrameTarget();
void PresentFrame();

}  // namespace sdlplatform

#endif

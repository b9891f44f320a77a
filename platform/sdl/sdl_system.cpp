// Window, frame loop and timing over SDL2.

#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "platform_common.h"
#include "sdl_platform.h"

namespace sdlplatform {

PlatformState &Platform() {
    static PlatformState state;
    return state;
}

}  // namespace sdlplatform

using sdlplatform::Platform;

namespace {

// What the window system may add around a window when it cannot tell us:
// a title bar and a thin frame.
constexpr int GUESSED_BORDER_TOP = 32;
constexpr int GUESSED_BORDER_SIDE = 4;

int requestedFps = 0;  // kept across InitWindow, which may come after SetTargetFPS

// The one clock of the frame loop: SDL's performance counter. Sleeping takes
// a duration, not a reading of some other clock.
std::int64_t ReadPerformanceCounter(void *) {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

void SleepForTicks(void *, std::int64_t ticks) {
    const auto frequency = static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
    std::this_thread::sleep_for(std::chrono::nanoseconds(ticks * 1'000'000'000 / frequency));
}

PacerClock PerformanceClock() {
    return PacerClock{static_cast<std::int64_t>(SDL_GetPerformanceFrequency()),
                      ReadPerformanceCounter, SleepForTicks, nullptr};
}

struct Borders {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// The largest size, no larger than wanted and keeping its proportions, that
// fits with its borders inside the display's usable area.
SDL_Point FitWindowSize(int width, int height, const SDL_Rect &usable, const Borders &borders) {
    const int roomWidth = usable.w - borders.left - borders.right;
    const int roomHeight = usable.h - borders.top - borders.bottom;
    const double scale = std::min(
        {1.0, static_cast<double>(roomWidth) / width, static_cast<double>(roomHeight) / height});
    return SDL_Point{std::max(1, static_cast<int>(width * scale)),
                     std::max(1, static_cast<int>(height * scale))};
}

bool ReadUsableBounds(SDL_Window *window, SDL_Rect &usable) {
    const int display = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    return SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) == 0 && usable.w > 0 &&
           usable.h > 0;
}

// Opens the window at full size when the display has room for it, else
// scaled down to fit; drawing and the mouse stay in the game's own
// coordinates either way (see SetUpFrameTarget).
SDL_Window *OpenFittedWindow(int width, int height, const char *title) {
    SDL_Rect usable;
    const bool knowsDisplay = ReadUsableBounds(nullptr, usable);
    SDL_Point size{width, height};
    if (knowsDisplay && (usable.w < width || usable.h < height)) {
        size = FitWindowSize(
            width, height, usable,
            {GUESSED_BORDER_TOP, GUESSED_BORDER_SIDE, GUESSED_BORDER_SIDE, GUESSED_BORDER_SIDE});
    }
    SDL_Window *window = SDL_CreateWindow(title != nullptr ? title : "", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, size.x, size.y, 0);
    if (window == nullptr || !knowsDisplay) {
        return window;
    }
    // Once shown, the window manager's frame is known (where it tells it).
    Borders borders;
    if (SDL_GetWindowBordersSize(window, &borders.top, &borders.left, &borders.bottom,
                                 &borders.right) != 0) {
        return window;
    }
    const SDL_Point fitted = FitWindowSize(width, height, usable, borders);
    if (fitted.x < size.x || fitted.y < size.y) {
        SDL_SetWindowSize(window, fitted.x, fitted.y);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    return window;
}

SDL_Renderer *CreateSoftwareRenderer(SDL_Window *window) {
    SDL_Renderer *renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, 0);
    }
    return renderer;
}

void OpenFrameLog() {
    const char *path = std::getenv("COILRUSH_FRAME_LOG");
    if (path != nullptr && *path != '\0') {
        Platform().timing.frameLog = std::fopen(path, "w");
    }
}

// One line per frame: milliseconds between the ends of two paced frames.
void LogFrameEnd(std::int64_t frameEnd) {
    auto &timing = Platform().timing;
    if (timing.frameLog == nullptr) {
        return;
    }
    if (timing.lastLoggedFrameEnd != 0) {
        const double milliseconds =
            static_cast<double>(frameEnd - static_cast<std::int64_t>(timing.lastLoggedFrameEnd)) *
            1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
        std::fprintf(timing.frameLog, "%.4f\n", milliseconds);
    }
    timing.lastLoggedFrameEnd = static_cast<Uint64>(frameEnd);
}

}  // namespace

void InitWindow(int width, int height, const char *title) {
    auto &video = Platform().video;
    if (video.window != nullptr) {
        return;
    }
#ifdef __linux__
    // Linux lets timers fire up to 50 us late by default; the frame pacer
    // wants its sleeps to end as asked.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    // Without this hint even the software renderer loads OpenGL (and LLVM
    // under Mesa): five times the memory and far more CPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // A click that gives the window the focus still counts: otherwise the
    // first click on a level button of an unfocused window is lost.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        SDL_Log("InitWindow: %s", SDL_GetError());
        return;
    }
    IMG_Init(IMG_INIT_PNG);
    video.window = OpenFittedWindow(width, height, title);
    video.renderer = video.window != nullptr ? CreateSoftwareRenderer(video.window) : nullptr;
    if (video.renderer == nullptr) {
        SDL_Log("InitWindow: %s", SDL_GetError());
        if (video.window != nullptr) {
            SDL_DestroyWindow(video.window);
            video.window = nullptr;
        }
        return;
    }
    video.logicalWidth = width;
    video.logicalHeight = height;
    video.shouldClose = false;
    sdlplatform::SetUpFrameTarget();
    SDL_SetRenderDrawBlendMode(video.renderer, SDL_BLENDMODE_BLEND);
    sdlplatform::ClearInputLatches();

    auto &timing = Platform().timing;
    const std::int64_t now = ReadPerformanceCounter(nullptr);
    StartFramePacer(timing.pacer, static_cast<std::int64_t>(SDL_GetPerformanceFrequency()), now);
    SetFramePacerTarget(timing.pacer, requestedFps, now);
    timing.lastLoggedFrameEnd = 0;
    OpenFrameLog();
}

bool WindowShouldClose(void) {
    const auto &video = Platform().video;
    return video.window == nullptr || video.shouldClose;
}

void CloseWindow(void) {
    auto &state = Platform();
    if (state.audio.ready) {
        CloseAudioDevice();
    }
    sdlplatform::DestroyAllTextures();
    if (state.video.frameTarget != nullptr) {
        SDL_DestroyTexture(state.video.frameTarget);
    }
    if (state.video.renderer != nullptr) {
        SDL_DestroyRenderer(state.video.renderer);
    }
    if (state.video.window != nullptr) {
        SDL_DestroyWindow(state.video.window);
    }
    if (state.timing.frameLog != nullptr) {
        std::fclose(state.timing.frameLog);
    }
    state = sdlplatform::PlatformState{};
    IMG_Quit();
    SDL_Quit();
}

void SetTargetFPS(int fps) {
    requestedFps = fps > 0 ? fps : 0;
    if (Platform().video.window != nullptr) {
        SetFramePacerTarget(Platform().timing.pacer, requestedFps, ReadPerformanceCounter(nullptr));
    }
}

float GetFrameTime(void) {
    return Platform().timing.pacer.frameTime;
}

void BeginDrawing(void) {}

// Shows the frame at once, waits out the rest of the period, then reads the
// input that the next frame will see.
void EndDrawing(void) {
    auto &state = Platform();
    if (state.video.renderer == nullptr) {
        return;
    }
    sdlplatform::PresentFrame();
    const std::int64_t frameEnd = HoldFramePace(state.timing.pacer, PerformanceClock());
    LogFrameEnd(frameEnd);
    sdlplatform::ClearInputLatches();
    sdlplatform::PollInputEvents();
}

int GetRandomValue(int min, int max) {
    return RandomValueFromRand(min, max);
}

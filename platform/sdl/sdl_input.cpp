// Keyboard and mouse over SDL2 events. Presses are latched from the events
// themselves: a quick tap delivers its key-down and key-up in the same poll,
// and the keyboard state array would never show it.

#include <algorithm>
#include <iterator>

#include "sdl_platform.h"

using sdlplatform::Platform;

namespace {

// raylib's numbering of the keys that have no ASCII code.
constexpr int RAYLIB_KEY_TAB = 258;
constexpr int RAYLIB_KEY_BACKSPACE = 259;
constexpr int RAYLIB_KEY_INSERT = 260;
constexpr int RAYLIB_KEY_DELETE = 261;
constexpr int RAYLIB_KEY_PAGE_UP = 266;
constexpr int RAYLIB_KEY_PAGE_DOWN = 267;
constexpr int RAYLIB_KEY_HOME = 268;
constexpr int RAYLIB_KEY_END = 269;
constexpr int RAYLIB_KEY_PAUSE = 284;
constexpr int RAYLIB_KEY_F1 = 290;
constexpr int RAYLIB_KEY_KP_ENTER = 335;
constexpr int RAYLIB_KEY_LEFT_SHIFT = 340;
constexpr int RAYLIB_KEY_LEFT_CONTROL = 341;
constexpr int RAYLIB_KEY_LEFT_ALT = 342;
constexpr int RAYLIB_KEY_RIGHT_SHIFT = 344;
constexpr int RAYLIB_KEY_RIGHT_CONTROL = 345;
constexpr int RAYLIB_KEY_RIGHT_ALT = 346;

// SDL names printable keys by the character they type; raylib by the
// upper-case character. KEY_NULL for keys the game has no name for.
int RaylibKeyFromKeycode(SDL_Keycode keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) {
        return KEY_A + (keycode - SDLK_a);
    }
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) {
        return RAYLIB_KEY_F1 + (keycode - SDLK_F1);
    }
    switch (keycode) {
        case SDLK_0:
        case SDLK_1:
        case SDLK_2:
        case SDLK_3:
        case SDLK_4:
        case SDLK_5:
        case SDLK_6:
        case SDLK_7:
        case SDLK_8:
        case SDLK_9:
        case SDLK_SPACE:
        case SDLK_QUOTE:
        case SDLK_COMMA:
        case SDLK_MINUS:
        case SDLK_PERIOD:
        case SDLK_SLASH:
        case SDLK_SEMICOLON:
        case SDLK_EQUALS:
        case SDLK_LEFTBRACKET:
        case SDLK_BACKSLASH:
        case SDLK_RIGHTBRACKET:
        case SDLK_BACKQUOTE:
            return static_cast<int>(keycode);
        case SDLK_ESCAPE:
            return KEY_ESCAPE;
        case SDLK_RETURN:
            return KEY_ENTER;
        case SDLK_KP_ENTER:
            return RAYLIB_KEY_KP_ENTER;
        case SDLK_TAB:
            return RAYLIB_KEY_TAB;
        case SDLK_BACKSPACE:
            return RAYLIB_KEY_BACKSPACE;
        case SDLK_INSERT:
            return RAYLIB_KEY_INSERT;
        case SDLK_DELETE:
            return RAYLIB_KEY_DELETE;
        case SDLK_RIGHT:
            return KEY_RIGHT;
        case SDLK_LEFT:
            return KEY_LEFT;
        case SDLK_DOWN:
            return KEY_DOWN;
        case SDLK_UP:
            return KEY_UP;
        case SDLK_PAGEUP:
            return RAYLIB_KEY_PAGE_UP;
        case SDLK_PAGEDOWN:
            return RAYLIB_KEY_PAGE_DOWN;
        case SDLK_HOME:
            return RAYLIB_KEY_HOME;
        case SDLK_END:
            return RAYLIB_KEY_END;
        case SDLK_PAUSE:
            return RAYLIB_KEY_PAUSE;
        case SDLK_LSHIFT:
            return RAYLIB_KEY_LEFT_SHIFT;
        case SDLK_LCTRL:
            return RAYLIB_KEY_LEFT_CONTROL;
        case SDLK_LALT:
            return RAYLIB_KEY_LEFT_ALT;
        case SDLK_RSHIFT:
            return RAYLIB_KEY_RIGHT_SHIFT;
        case SDLK_RCTRL:
            return RAYLIB_KEY_RIGHT_CONTROL;
        case SDLK_RALT:
            return RAYLIB_KEY_RIGHT_ALT;
        default:
            return KEY_NULL;
    }
}

int RaylibMouseButton(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return MOUSE_BUTTON_LEFT;
        case SDL_BUTTON_RIGHT:
            return MOUSE_BUTTON_RIGHT;
        case SDL_BUTTON_MIDDLE:
            return MOUSE_BUTTON_MIDDLE;
        default:
            return -1;
    }
}

void LatchKeyDown(const SDL_KeyboardEvent &event) {
    // Held keys repeat on real keyboards; a press counts once.
    if (event.repeat != 0) {
        return;
    }
    const int key = RaylibKeyFromKeycode(event.keysym.sym);
    if (key == KEY_NULL) {
        return;
    }
    Platform().input.keyPressed[key] = true;
    if (key == KEY_ESCAPE) {
        Platform().video.shouldClose = true;
    }
}

void LatchMouseButtonDown(const SDL_MouseButtonEvent &event) {
    const int button = RaylibMouseButton(event.button);
    if (button >= 0) {
        Platform().input.mousePressed[button] = true;
    }
}

void HandleWindowEvent(const SDL_WindowEvent &event) {
    if (event.event == SDL_WINDOWEVENT_CLOSE) {
        Platform().video.shouldClose = true;
    }
}

// SDL reports the mouse in window pixels; the game thinks in its logical
// 1000 x 1000 space whatever size the window was opened at.
void ReadMousePosition() {
    auto &video = Platform().video;
    if (video.renderer == nullptr) {
        return;
    }
    int windowX = 0;
    int windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    float logicalX = 0.0f;
    float logicalY = 0.0f;
    if (video.frameTarget != nullptr) {
        // The frame is shrunk over the whole window.
        int windowWidth = 1;
        int windowHeight = 1;
        SDL_GetWindowSize(video.window, &windowWidth, &windowHeight);
        logicalX = static_cast<float>(windowX) * static_cast<float>(video.logicalWidth) /
                   static_cast<float>(std::max(windowWidth, 1));
        logicalY = static_cast<float>(windowY) * static_cast<float>(video.logicalHeight) /
                   static_cast<float>(std::max(windowHeight, 1));
    } else {
        SDL_RenderWindowToLogical(video.renderer, windowX, windowY, &logicalX, &logicalY);
    }
    Platform().input.mousePosition = Vector2{logicalX, logicalY};
}

}  // namespace

namespace sdlplatform {

void ClearInputLatches() {
    auto &input = Platform().input;
    std::fill(std::begin(input.keyPressed), std::end(input.keyPressed), false);
    std::fill(std::begin(input.mousePressed), std::end(input.mousePressed), false);
}

void PollInputEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_QUIT:
                Platform().video.shouldClose = true;
                break;
            case SDL_WINDOWEVENT:
                HandleWindowEvent(event.window);
                break;
            case SDL_KEYDOWN:
                LatchKeyDown(event.key);
                break;
            case SDL_MOUSEBUTTONDOWN:
                LatchMouseButtonDown(event.button);
                break;
            default:
                break;
        }
    }
    ReadMousePosition();
}

}  // namespace sdlplatform

bool IsKeyPressed(int key) {
    return key > KEY_NULL && key < sdlplatform::KEY_TABLE_SIZE && Platform().input.keyPressed[key];
}

bool IsMouseButtonPressed(int button) {
    return button >= 0 && button < sdlplatform::MOUSE_BUTTON_COUNT &&
           Platform().input.mousePressed[button];
}

Vector2 GetMousePosition(void) {
    return Platform().input.mousePosition;
}

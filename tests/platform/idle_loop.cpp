// A window that does what the game's menu does each frame (clear, a few
// rectangles, some text) at 60 FPS, for measuring the SDL layer:
//
//   coilrush_idle_loop [seconds] [screenshot.png]
//
// Prints "first-frame-ms N" once the first frame is shown, measured from
// COILRUSH_LAUNCH_TIME (seconds since the epoch, as bash's $EPOCHREALTIME
// gives just before exec), and "click X Y" for each left click, in game
// coordinates. Frame times go to COILRUSH_FRAME_LOG when that is set.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "raylib.h"

namespace {

double SecondsSinceEpoch() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

void ReportFirstFrame() {
    const char *launch = std::getenv("COILRUSH_LAUNCH_TIME");
    if (launch == nullptr) {
        return;
    }
    const double milliseconds = (SecondsSinceEpoch() - std::atof(launch)) * 1000.0;
    std::printf("first-frame-ms %.1f\n", milliseconds);
    std::fflush(stdout);
}

void DrawScene(int frame) {
    ClearBackground(RAYWHITE);
    const int title = MeasureText("ZK COILRUSH", 50);
    DrawText("ZK COILRUSH", (1000 - title) / 2, 320, 50, DARKGREEN);
    DrawText("Choose a Level:", 400, 380, 30, BLACK);
    DrawRectangleRec(Rectangle{350, 430, 300, 50}, LIGHTGRAY);
    DrawText("Level 1 ", 380, 445, 20, BLACK);
    DrawRectangleRec(Rectangle{350, 500, 300, 50}, LIGHTGRAY);
    DrawText("Level 2 ", 380, 515, 20, GRAY);
    DrawText("LOCKED", 470, 515, 20, GRAY);
    DrawText(TextFormat("High Score: %d", 1234), 420, 690, 25, DARKBLUE);
    DrawText("Score: 40  !?#%&()*+,-./0123456789:;<=>@[]^_{|}~", 10, 10, 20, PURPLE);
    DrawText("the quick brown fox jumps over the lazy dog", 10, 40, 20, MAROON);
    const float x = static_cast<float>(frame * 4 % 1000);
    DrawRectangleV(Vector2{x, 900}, Vector2{20, 20}, LIME);
}

}  // namespace

int main(int argc, char **argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 12.0;
    const char *screenshot = argc > 2 ? argv[2] : nullptr;
    InitWindow(1000, 1000, "Coilrush");
    SetTargetFPS(60);
    const int frames = static_cast<int>(seconds * 60.0);
    for (int frame = 0; frame < frames && !WindowShouldClose(); ++frame) {
        if (IsMouseButtonPressed(MOUSE_BUTTON_LEFT)) {
            const Vector2 mouse = GetMousePosition();
            std::printf("click %.1f %.1f\n", mouse.x, mouse.y);
            std::fflush(stdout);
        }
        BeginDrawing();
        DrawScene(frame);
        if (screenshot != nullptr && frame == 30) {
            TakeScreenshot(screenshot);
        }
        EndDrawing();
        if (frame == 0) {
            ReportFirstFrame();
        }
    }
    CloseWindow();
    return 0;
}

// The slice of raylib's API that Coilrush uses, with raylib's names, types,
// colour values and key codes. Two implementations stand behind it: the SDL2
// layer the game ships with (platform/sdl) and a scripted twin for tests
// (platform/scripted). Where a real raylib 5.x is installed, the game can be
// built against it instead and this header is not used.
#ifndef COILRUSH_RAYLIB_H
#define COILRUSH_RAYLIB_H

#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- Value types -----------------------------------------------------------

typedef struct Vector2 {
    float x;
    float y;
} Vector2;

typedef struct Rectangle {
    float x;
    float y;
    float width;
    float height;
} Rectangle;

typedef struct Color {
    unsigned char r;
    unsigned char g;
    unsigned char b;
    unsigned char a;
} Color;

// A picture held by the renderer. id 0 means "nothing loaded": it draws nothing.
typedef struct Texture {
    unsigned int id;
    int width;
    int height;
    int mipmaps;
    int format;
} Texture;
typedef Texture Texture2D;

// Pixels in main memory (8-bit RGBA when read back from the screen).
typedef struct Image {
    void *data;
    int width;
    int height;
    int mipmaps;
    int format;
} Image;

typedef struct rAudioBuffer rAudioBuffer;
typedef struct rAudioProcessor rAudioProcessor;

// A playing or playable stream of samples. A null buffer means "nothing
// loaded": playing it does nothing.
typedef struct AudioStream {
    rAudioBuffer *buffer;
    rAudioProcessor *processor;
    unsigned int sampleRate;
    unsigned int sampleSize;
    unsigned int channels;
} AudioStream;

typedef struct Sound {
    AudioStream stream;
    unsigned int frameCount;
} Sound;

typedef struct Music {
    AudioStream stream;
    unsigned int frameCount;
    bool looping;
    int ctxType;
    void *ctxData;
} Music;

// ---- Constants -------------------------------------------------------------

#define PIXELFORMAT_UNCOMPRESSED_R8G8B8A8 7

#ifdef __cplusplus
#define CLITERAL(type) type
#else
#define CLITERAL(type) (type)
#endif

#define LIGHTGRAY CLITERAL(Color){200, 200, 200, 255}
#define GRAY CLITERAL(Color){130, 130, 130, 255}
#define DARKGRAY CLITERAL(Color){80, 80, 80, 255}
#define YELLOW CLITERAL(Color){253, 249, 0, 255}
#define GOLD CLITERAL(Color){255, 203, 0, 255}
#define ORANGE CLITERAL(Color){255, 161, 0, 255}
#define PINK CLITERAL(Color){255, 109, 194, 255}
#define RED CLITERAL(Color){230, 41, 55, 255}
#define MAROON CLITERAL(Color){190, 33, 55, 255}
#define GREEN CLITERAL(Color){0, 228, 48, 255}
#define LIME CLITERAL(Color){0, 158, 47, 255}
#define DARKGREEN CLITERAL(Color){0, 117, 44, 255}
#define SKYBLUE CLITERAL(Color){102, 191, 255, 255}
#define BLUE CLITERAL(Color){0, 121, 241, 255}
#define DARKBLUE CLITERAL(Color){0, 82, 172, 255}
#define PURPLE CLITERAL(Color){200, 122, 255, 255}
#define VIOLET CLITERAL(Color){135, 60, 190, 255}
#define DARKPURPLE CLITERAL(Color){112, 31, 126, 255}
#define BEIGE CLITERAL(Color){211, 176, 131, 255}
#define BROWN CLITERAL(Color){127, 106, 79, 255}
#define DARKBROWN CLITERAL(Color){76, 63, 47, 255}
#define WHITE CLITERAL(Color){255, 255, 255, 255}
#define BLACK CLITERAL(Color){0, 0, 0, 255}
#define BLANK CLITERAL(Color){0, 0, 0, 0}
#define MAGENTA CLITERAL(Color){255, 0, 255, 255}
#define RAYWHITE CLITERAL(Color){245, 245, 245, 255}

typedef enum {
    KEY_NULL = 0,
    KEY_SPACE = 32,
    KEY_A = 65,
    KEY_M = 77,
    KEY_P = 80,
    KEY_Q = 81,
    KEY_R = 82,
    KEY_ESCAPE = 256,
    KEY_ENTER = 257,
    KEY_RIGHT = 262,
    KEY_LEFT = 263,
    KEY_DOWN = 264,
    KEY_UP = 265
} KeyboardKey;

typedef enum {
    MOUSE_BUTTON_LEFT = 0,
    MOUSE_BUTTON_RIGHT = 1,
    MOUSE_BUTTON_MIDDLE = 2
} MouseButton;

// ---- Window and frame ------------------------------------------------------

void InitWindow(int width, int height, const char *title);
bool WindowShouldClose(void);  // close button or the exit key (Escape)
void CloseWindow(void);
void SetTargetFPS(int fps);
float GetFrameTime(void);  // duration of the previous frame, in seconds

void BeginDrawing(void);
void EndDrawing(void);  // presents the frame and holds the pace

// ---- Drawing ---------------------------------------------------------------

void ClearBackground(Color color);
void DrawRectangleRec(Rectangle rec, Color color);
void DrawRectangleV(Vector2 position, Vector2 size, Color color);
void DrawTexturePro(Texture2D texture, Rectangle source, Rectangle dest, Vector2 origin,
                    float rotation, Color tint);
void DrawText(const char *text, int posX, int posY, int fontSize, Color color);
int MeasureText(const char *text, int fontSize);
const char *TextFormat(const char *text, ...);

// ---- Input -----------------------------------------------------------------

bool IsKeyPressed(int key);  // went down in this frame; auto-repeat never counts
bool IsMouseButtonPressed(int button);
Vector2 GetMousePosition(void);  // in the game's own window coordinates

// ---- Collision tests and random numbers ------------------------------------

bool CheckCollisionRecs(Rectangle rec1, Rectangle rec2);  // overlap with positive area
bool CheckCollisionPointRec(Vector2 point, Rectangle rec);
int GetRandomValue(int min, int max);  // both bounds included; draws from rand()

// ---- Pictures --------------------------------------------------------------

Texture2D LoadTexture(const char *fileName);  // id 0 when missing or broken
void UnloadTexture(Texture2D texture);
Image LoadImageFromScreen(void);  // the frame being drawn, as RGBA pixels
void UnloadImage(Image image);
void TakeScreenshot(const char *fileName);  // PNG of the frame being drawn

// ---- Audio -----------------------------------------------------------------

void InitAudioDevice(void);
void CloseAudioDevice(void);
bool IsAudioDeviceReady(void);
Sound LoadSound(const char *fileName);  // empty (plays nothing) when missing or broken
void UnloadSound(Sound sound);
void SetSoundVolume(Sound sound, float volume);
void PlaySound(Sound sound);
bool IsSoundPlaying(Sound sound);
Music LoadMusicStream(const char *fileName);
void UnloadMusicStream(Music music);
void PlayMusicStream(Music music);
void UpdateMusicStream(Music music);
bool IsMusicStreamPlaying(Music music);

#ifdef __cplusplus
}
#endif

#endif

// The SDL2 layer on SDL's headless "dummy" video driver: what ends up in the
// frame, how input is latched, and how missing files and a missing sound card
// are survived.

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform_common.h"
#include "raylib.h"
#include "sdl_platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int WINDOW_SIZE = 400;
constexpr Color PAPER = {245, 245, 245, 255};

bool SameColor(Color a, Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

std::string Describe(Color c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ", " + std::to_string(c.a) + ")";
}

Color PixelAt(const Image &image, int x, int y) {
    const auto *bytes = static_cast<const unsigned char *>(image.data) + (y * image.width + x) * 4;
    return Color{bytes[0], bytes[1], bytes[2], bytes[3]};
}

#define EXPECT_PIXEL(image, x, y, color)                                                \
    EXPECT_TRUE(SameColor(PixelAt(image, x, y), color))                                 \
        << "pixel (" << (x) << ", " << (y) << ") is " << Describe(PixelAt(image, x, y)) \
        << ", expected " << Describe(color)

// A scratch directory, emptied when the test ends.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        path_ = fs::temp_directory_path() /
                ("coilrush_sdl_test_" + std::to_string(SDL_GetPerformanceCounter()));
        fs::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const std::string &name) const { return (path_ / name).string(); }
    const fs::path &Path() const { return path_; }

  private:
    fs::path path_;
};

// A PNG of the given RGBA pixels, row by row.
void WritePng(const std::string &path, int width, int height, const std::vector<Color> &pixels) {
    SDL_Surface *surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(surface, nullptr);
    for (int y = 0; y < height; ++y) {
        auto *row = static_cast<unsigned char *>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; ++x) {
            const Color c = pixels[static_cast<std::size_t>(y * width + x)];
            row[x * 4 + 0] = c.r;
            row[x * 4 + 1] = c.g;
            row[x * 4 + 2] = c.b;
            row[x * 4 + 3] = c.a;
        }
    }
    ASSERT_EQ(IMG_SavePNG(surface, path.c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(surface);
}

void WriteLittleEndian(std::FILE *file, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        std::fputc(static_cast<int>(value >> (8 * i) & 0xffu), file);
    }
}

// A 16-bit stereo 44.1 kHz PCM WAV with a quiet tone.
void WriteWav(const std::string &path, double seconds) {
    const std::uint32_t frames = static_cast<std::uint32_t>(seconds * 44100);
    const std::uint32_t dataBytes = frames * 4;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("RIFF", file);
    WriteLittleEndian(file, 36 + dataBytes, 4);
    std::fputs("WAVEfmt ", file);
    WriteLittleEndian(file, 16, 4);
    WriteLittleEndian(file, 1, 2);  // PCM
    WriteLittleEndian(file, 2, 2);
    WriteLittleEndian(file, 44100, 4);
    WriteLittleEndian(file, 44100 * 4, 4);
    WriteLittleEndian(file, 4, 2);
    WriteLittleEndian(file, 16, 2);
    std::fputs("data", file);
    WriteLittleEndian(file, dataBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto sample = static_cast<std::int16_t>(1000.0 * std::sin(i * 0.06));
        WriteLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
        WriteLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
    }
    std::fclose(file);
}

void PushKey(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void TapKey(SDL_Keycode key) {
    PushKey(SDL_KEYDOWN, key);
    PushKey(SDL_KEYUP, key);
}

void NextFrame() {
    EndDrawing();
    BeginDrawing();
}

class SdlLayer : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // Left to SDL, so a machine without a sound card takes the fallback.
        unsetenv("SDL_AUDIODRIVER");
        InitWindow(WINDOW_SIZE, WINDOW_SIZE, "Coilrush test");
        ASSERT_FALSE(WindowShouldClose());
        BeginDrawing();
        ClearBackground(PAPER);
    }
    void TearDown() override { CloseWindow(); }

    Image Screen() {
        Image image = LoadImageFromScreen();
        images_.push_back(image);
        return image;
    }

    ~SdlLayer() override {
        for (const Image &image : images_) {
            UnloadImage(image);
        }
    }

    ScratchDirectory scratch;

  private:
    std::vector<Image> images_;
};

TEST_F(SdlLayer, ClearBackgroundFillsTheWholeFrame) {
    const Image screen = Screen();
    ASSERT_EQ(screen.width, WINDOW_SIZE);
    ASSERT_EQ(screen.height, WINDOW_SIZE);
    EXPECT_EQ(screen.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    EXPECT_PIXEL(screen, 0, 0, PAPER);
    EXPECT_PIXEL(screen, WINDOW_SIZE - 1, WINDOW_SIZE - 1, PAPER);
    EXPECT_PIXEL(screen, 123, 321, PAPER);
}

TEST_F(SdlLayer, RectanglesCoverExactlyTheirPixels) {
    DrawRectangleRec(Rectangle{10, 20, 30, 40}, RED);
    DrawRectangleV(Vector2{100, 100}, Vector2{20, 20}, DARKGREEN);
    const Image screen = Screen();
    EXPECT_PIXEL(screen, 10, 20, RED);
    EXPECT_PIXEL(screen, 39, 59, RED);
    EXPECT_PIXEL(screen, 9, 20, PAPER);
    EXPECT_PIXEL(screen, 40, 20, PAPER);
    EXPECT_PIXEL(screen, 10, 19, PAPER);
    EXPECT_PIXEL(screen, 10, 60, PAPER);
    EXPECT_PIXEL(screen, 100, 100, DARKGREEN);
    EXPECT_PIXEL(screen, 119, 119, DARKGREEN);
    EXPECT_PIXEL(screen, 120, 119, PAPER);
    EXPECT_PIXEL(screen, 119, 120, PAPER);
}

TEST_F(SdlLayer, TranslucentColoursBlendOverWhatIsThere) {
    ClearBackground(WHITE);
    DrawRectangleRec(Rectangle{0, 0, 10, 10}, Color{0, 0, 0, 128});
    const Color blended = PixelAt(Screen(), 5, 5);
    EXPECT_NEAR(blended.r, 127, 2);
    EXPECT_EQ(blended.r, blended.g);
}

TEST_F(SdlLayer, APictureIsStretchedOverItsDestinationWithoutSmoothing) {
    const Color topLeft = {255, 0, 0, 255};
    const Color topRight = {0, 255, 0, 255};
    const Color bottomLeft = {0, 0, 255, 255};
    const Color bottomRight = {255, 255, 0, 255};
    const std::string path = scratch.File("quad.png");
    WritePng(path, 2, 2, {topLeft, topRight, bottomLeft, bottomRight});
    const Texture2D texture = LoadTexture(path.c_str());
    ASSERT_NE(texture.id, 0u);
    EXPECT_EQ(texture.width, 2);
    EXPECT_EQ(texture.height, 2);

    DrawTexturePro(texture, Rectangle{0, 0, 2, 2}, Rectangle{10, 20, 40, 60}, Vector2{0, 0}, 0.0f,
                   WHITE);
    const Image screen = Screen();
    // Each source pixel becomes a sharp 20 x 30 block.
    EXPECT_PIXEL(screen, 10, 20, topLeft);
    EXPECT_PIXEL(screen, 29, 49, topLeft);
    EXPECT_PIXEL(screen, 30, 20, topRight);
    EXPECT_PIXEL(screen, 49, 49, topRight);
    EXPECT_PIXEL(screen, 10, 50, bottomLeft);
    EXPECT_PIXEL(screen, 29, 79, bottomLeft);
    EXPECT_PIXEL(screen, 30, 50, bottomRight);
    EXPECT_PIXEL(screen, 49, 79, bottomRight);
    EXPECT_PIXEL(screen, 9, 20, PAPER);
    EXPECT_PIXEL(screen, 50, 20, PAPER);
    EXPECT_PIXEL(screen, 10, 80, PAPER);
    UnloadTexture(texture);
}

TEST_F(SdlLayer, TheTintMultipliesThePicture) {
    const std::string path = scratch.File("white.png");
    WritePng(path, 1, 1, {WHITE});
    const Texture2D texture = LoadTexture(path.c_str());
    DrawTexturePro(texture, Rectangle{0, 0, 1, 1}, Rectangle{0, 0, 10, 10}, Vector2{0, 0}, 0.0f,
                   PURPLE);
    EXPECT_PIXEL(Screen(), 5, 5, PURPLE);
    UnloadTexture(texture);
}

TEST_F(SdlLayer, MissingOrBrokenPicturesLoadAsNothingAndDrawNothing) {
    const std::string broken = scratch.File("broken.png");
    std::FILE *file = std::fopen(broken.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("not a picture", file);
    std::fclose(file);

    for (const std::string &path : {scratch.File("missing.png"), broken}) {
        const Texture2D texture = LoadTexture(path.c_str());
        EXPECT_EQ(texture.id, 0u) << path;
        DrawTexturePro(texture, Rectangle{0, 0, 40, 40}, Rectangle{0, 0, 400, 400}, Vector2{0, 0},
                       0.0f, WHITE);
        UnloadTexture(texture);
    }
    EXPECT_PIXEL(Screen(), 200, 200, PAPER);
}

TEST_F(SdlLayer, TextureIdsStaySmallAcrossLoadsAndUnloads) {
    const std::string path = scratch.File("dot.png");
    WritePng(path, 1, 1, {RED});
    const Texture2D first = LoadTexture(path.c_str());
    const Texture2D second = LoadTexture(path.c_str());
    EXPECT_NE(first.id, second.id);
    UnloadTexture(first);
    UnloadTexture(first);  // a second unload is harmless
    const Texture2D third = LoadTexture(path.c_str());
    EXPECT_EQ(third.id, first.id);
    // The texture still loaded under `second` is unaffected.
    DrawTexturePro(second, Rectangle{0, 0, 1, 1}, Rectangle{0, 0, 4, 4}, Vector2{0, 0}, 0.0f,
                   WHITE);
    EXPECT_PIXEL(Screen(), 1, 1, RED);
    UnloadTexture(second);
    UnloadTexture(third);
}

struct TextCase {
    const char *text;
    int fontSize;
};

class DrawnText : public SdlLayer, public ::testing::WithParamInterface<TextCase> {};

// The menu centres its title with MeasureText; the drawn ink must span
// exactly that width from the given x.
TEST_P(DrawnText, InkSpansExactlyTheMeasuredWidth) {
    const TextCase c = GetParam();
    const int x = 20;
    const int y = 30;
    ClearBackground(WHITE);
    DrawText(c.text, x, y, c.fontSize, DARKBLUE);
    const Image screen = Screen();
    int left = WINDOW_SIZE;
    int right = -1;
    for (int row = y; row < y + c.fontSize; ++row) {
        for (int column = 0; column < WINDOW_SIZE; ++column) {
            const Color pixel = PixelAt(screen, column, row);
            if (SameColor(pixel, WHITE)) {
                continue;
            }
            ASSERT_TRUE(SameColor(pixel, DARKBLUE)) << "stray colour " << Describe(pixel);
            left = std::min(left, column);
            right = std::max(right, column);
        }
    }
    EXPECT_EQ(left, x);
    EXPECT_EQ(right, x + MeasureText(c.text, c.fontSize) - 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DrawnText,
                         ::testing::Values(TextCase{"ZK COILRUSH", 10}, TextCase{"ZK COILRUSH", 25},
                                           TextCase{"ZK COILRUSH", 30},
                                           TextCase{"Your Score: 40", 20}),
                         [](const ::testing::TestParamInfo<TextCase> &param) {
                             std::string name;
                             for (const char *c = param.param.text; *c != '\0'; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name + "_size" + std::to_string(param.param.fontSize);
                         });

TEST_F(SdlLayer, ATappedKeyIsPressedInExactlyOneFrame) {
    TapKey(SDLK_p);  // down and up arrive in the same poll
    NextFrame();
    EXPECT_TRUE(IsKeyPressed(KEY_P));
    EXPECT_FALSE(IsKeyPressed(KEY_R));
    NextFrame();
    EXPECT_FALSE(IsKeyPressed(KEY_P));
}

TEST_F(SdlLayer, KeyRepeatsOfAHeldKeyAreNotPresses) {
    PushKey(SDL_KEYDOWN, SDLK_UP);
    NextFrame();
    EXPECT_TRUE(IsKeyPressed(KEY_UP));
    PushKey(SDL_KEYDOWN, SDLK_UP, 1);
    PushKey(SDL_KEYDOWN, SDLK_UP, 1);
    NextFrame();
    EXPECT_FALSE(IsKeyPressed(KEY_UP));
}

TEST_F(SdlLayer, KeysArriveUnderRaylibsNumbers) {
    const struct {
        SDL_Keycode sdlKey;
        int raylibKey;
    } table[] = {{SDLK_a, KEY_A},
                 {SDLK_m, KEY_M},
                 {SDLK_r, KEY_R},
                 {SDLK_z, 90},
                 {SDLK_0, 48},
                 {SDLK_9, 57},
                 {SDLK_SPACE, KEY_SPACE},
                 {SDLK_RETURN, KEY_ENTER},
                 {SDLK_RIGHT, KEY_RIGHT},
                 {SDLK_LEFT, KEY_LEFT},
                 {SDLK_DOWN, KEY_DOWN},
                 {SDLK_UP, KEY_UP}};
    for (const auto &entry : table) {
        TapKey(entry.sdlKey);
        NextFrame();
        EXPECT_TRUE(IsKeyPressed(entry.raylibKey)) << SDL_GetKeyName(entry.sdlKey);
    }
    EXPECT_FALSE(WindowShouldClose());
}

TEST_F(SdlLayer, EscapeAsksTheWindowToClose) {
    TapKey(SDLK_ESCAPE);
    NextFrame();
    EXPECT_TRUE(IsKeyPressed(KEY_ESCAPE));
    EXPECT_TRUE(WindowShouldClose());
}

TEST_F(SdlLayer, TheCloseButtonAsksTheWindowToClose) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(sdlplatform::Platform().video.window);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    NextFrame();
    EXPECT_TRUE(WindowShouldClose());
}

TEST_F(SdlLayer, AQuitRequestAsksTheWindowToClose) {
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    NextFrame();
    EXPECT_TRUE(WindowShouldClose());
}

TEST_F(SdlLayer, AClickIsPressedInExactlyOneFrame) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    event.type = SDL_MOUSEBUTTONUP;
    event.button.state = SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    NextFrame();
    EXPECT_TRUE(IsMouseButtonPressed(MOUSE_BUTTON_LEFT));
    EXPECT_FALSE(IsMouseButtonPressed(MOUSE_BUTTON_RIGHT));
    NextFrame();
    EXPECT_FALSE(IsMouseButtonPressed(MOUSE_BUTTON_LEFT));
}

TEST_F(SdlLayer, TakeScreenshotWritesThePngOfTheFrame) {
    DrawRectangleRec(Rectangle{0, 0, 50, 50}, MAROON);
    const std::string path = scratch.File("shot.png");
    TakeScreenshot(path.c_str());
    SDL_Surface *shot = IMG_Load(path.c_str());
    ASSERT_NE(shot, nullptr) << IMG_GetError();
    EXPECT_EQ(shot->w, WINDOW_SIZE);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_LockSurface(shot);
    const auto *pixel = static_cast<const Uint8 *>(shot->pixels) + 10 * shot->pitch +
                        10 * shot->format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, pixel, shot->format->BytesPerPixel);
    SDL_GetRGB(value, shot->format, &r, &g, &b);
    SDL_UnlockSurface(shot);
    SDL_FreeSurface(shot);
    const Color maroon = MAROON;
    EXPECT_EQ(r, maroon.r);
    EXPECT_EQ(g, maroon.g);
    EXPECT_EQ(b, maroon.b);
}

// The game's own start-up and shutdown in a directory without its assets,
// on a machine without a sound card.
TEST_F(SdlLayer, AGameWithEveryAssetMissingRunsAndDrawsNothingBroken) {
    const fs::path previous = fs::current_path();
    fs::current_path(scratch.Path());
    SetTargetFPS(60);
    InitAudioDevice();
    EXPECT_TRUE(IsAudioDeviceReady());  // the silent fallback when there is no device
    Sound bite = LoadSound("soundeffect/cartoonbite.mp3");
    Sound gameOver = LoadSound("soundeffect/gameover.mp3");
    EXPECT_EQ(bite.stream.buffer, nullptr);
    SetSoundVolume(bite, 2.0f);
    SetSoundVolume(gameOver, 4.0f);
    Music music = LoadMusicStream("soundeffect/game-music-loop-7.mp3");
    EXPECT_EQ(music.ctxData, nullptr);
    PlayMusicStream(music);
    Texture2D apple = LoadTexture("apple.png");
    EXPECT_EQ(apple.id, 0u);

    for (int frame = 0; frame < 3; ++frame) {
        UpdateMusicStream(music);
        ClearBackground(PAPER);
        DrawTexturePro(apple, Rectangle{0, 0, 40, 40}, Rectangle{100, 100, 40, 40}, Vector2{0, 0},
                       0.0f, WHITE);
        PlaySound(bite);
        EXPECT_FALSE(IsSoundPlaying(bite));
        EXPECT_FALSE(IsMusicStreamPlaying(music));
        if (frame < 2) {
            NextFrame();
        }
    }
    EXPECT_PIXEL(Screen(), 110, 110, PAPER);
    UnloadTexture(apple);
    UnloadSound(bite);
    UnloadSound(gameOver);
    UnloadMusicStream(music);
    CloseAudioDevice();
    EXPECT_FALSE(IsAudioDeviceReady());
    fs::current_path(previous);
}

TEST_F(SdlLayer, VolumesAboveOneAreFullLevelAndNegativeOnesSilence) {
    InitAudioDevice();
    ASSERT_TRUE(IsAudioDeviceReady());
    const std::string path = scratch.File("tone.wav");
    WriteWav(path, 0.5);
    Sound sound = LoadSound(path.c_str());
    ASSERT_NE(sound.stream.buffer, nullptr);
    EXPECT_EQ(sound.frameCount, 22050u);
    Mix_Chunk *chunk = sound.stream.buffer->chunk;
    const struct {
        float volume;
        int mixerVolume;
    } table[] = {{4.0f, MIX_MAX_VOLUME},
                 {2.0f, MIX_MAX_VOLUME},
                 {1.0f, MIX_MAX_VOLUME},
                 {0.5f, MIX_MAX_VOLUME / 2},
                 {0.0f, 0},
                 {-1.0f, 0},
                 {NAN, 0}};
    for (const auto &entry : table) {
        SetSoundVolume(sound, entry.volume);
        EXPECT_EQ(Mix_VolumeChunk(chunk, -1), entry.mixerVolume) << entry.volume;
    }
    PlaySound(sound);
    EXPECT_TRUE(IsSoundPlaying(sound));
    UnloadSound(sound);
    CloseAudioDevice();
}

TEST_F(SdlLayer, PlayingTheMusicAgainDoesNotRestartIt) {
    InitAudioDevice();
    ASSERT_TRUE(IsAudioDeviceReady());
    const std::string path = scratch.File("loop.wav");
    WriteWav(path, 3.0);
    Music music = LoadMusicStream(path.c_str());
    ASSERT_NE(music.ctxData, nullptr);
    EXPECT_TRUE(music.looping);
    PlayMusicStream(music);
    EXPECT_TRUE(IsMusicStreamPlaying(music));
    SDL_Delay(300);
    auto *mixMusic = static_cast<rAudioBuffer *>(music.ctxData)->music;
    const double before = Mix_GetMusicPosition(mixMusic);
    ASSERT_GT(before, 0.1) << "the mixer does not report a position for this stream";
    PlayMusicStream(music);
    UpdateMusicStream(music);
    EXPECT_GE(Mix_GetMusicPosition(mixMusic), before);
    UnloadMusicStream(music);
    CloseAudioDevice();
}

// A driver that does not exist stands for a machine where no audio at all
// can be opened: every call must still be harmless.
TEST_F(SdlLayer, WithAudioOffEveryAudioCallIsHarmless) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    InitAudioDevice();
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(IsAudioDeviceReady());
    const std::string path = scratch.File("tone.wav");
    WriteWav(path, 0.1);
    Sound sound = LoadSound(path.c_str());
    Music music = LoadMusicStream(path.c_str());
    EXPECT_EQ(sound.stream.buffer, nullptr);
    EXPECT_EQ(music.ctxData, nullptr);
    SetSoundVolume(sound, 4.0f);
    PlaySound(sound);
    PlayMusicStream(music);
    UpdateMusicStream(music);
    EXPECT_FALSE(IsSoundPlaying(sound));
    EXPECT_FALSE(IsMusicStreamPlaying(music));
    UnloadSound(sound);
    UnloadMusicStream(music);
    CloseAudioDevice();
}

// A display smaller than the window: the window opens scaled down, and both
// drawing and the mouse stay in the game's own coordinates.
TEST(SdlLayerOnASmallDisplay, TheWindowIsScaledButTheGameKeepsItsCoordinates) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SDL_Rect usable{};
    SDL_GetDisplayUsableBounds(0, &usable);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    const int size = usable.h + 200;  // surely too tall for the display
    const auto logical = static_cast<float>(size);

    InitWindow(size, size, "Coilrush test");
    SDL_Window *window = sdlplatform::Platform().video.window;
    ASSERT_NE(window, nullptr);
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    EXPECT_LE(windowHeight, usable.h);
    EXPECT_EQ(windowWidth, windowHeight);

    BeginDrawing();
    ClearBackground(PAPER);
    DrawRectangleRec(Rectangle{logical / 2, 0, logical / 2, logical}, RED);
    Image screen = LoadImageFromScreen();
    ASSERT_EQ(screen.width, size);
    ASSERT_EQ(screen.height, size);
    EXPECT_PIXEL(screen, size / 2 - 1, size / 2, PAPER);
    EXPECT_PIXEL(screen, size / 2, size / 2, RED);
    EXPECT_PIXEL(screen, size - 1, size - 1, RED);
    UnloadImage(screen);

    SDL_WarpMouseInWindow(window, windowWidth / 2, windowHeight / 4);
    NextFrame();
    const Vector2 mouse = GetMousePosition();
    EXPECT_NEAR(mouse.x, logical / 2, 2.0f);
    EXPECT_NEAR(mouse.y, logical / 4, 2.0f);
    CloseWindow();
}

}  // namespace

// Checks the game's pictures and sounds as the game will see them: pictures
// decoded by SDL2_image and stretched over the board, sounds decoded by
// SDL2_mixer into the 44.1 kHz stereo 16-bit format the game opens.

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path ASSET_DIR = COILRUSH_ASSET_DIR;

constexpr int SCREEN_SIZE = 1000;
constexpr int ITEM_SIZE = 40;
constexpr int MIXER_RATE = 44100;
constexpr int MIXER_CHANNELS = 2;
constexpr std::uintmax_t MAX_FOLDER_BYTES = 2u * 1024u * 1024u;

struct Rgba {
    std::uint8_t r, g, b, a;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    const Rgba &At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    // The pixel shown at a point of a size x size destination it is stretched over.
    const Rgba &Stretched(int x, int y, int size) const {
        return At(x * width / size, y * height / size);
    }
};

Picture LoadPicture(const fs::path &path) {
    Picture picture;
    SDL_Surface *loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        ADD_FAILURE() << path << " does not decode: " << IMG_GetError();
        return picture;
    }
    SDL_Surface *rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (rgba == nullptr) {
        ADD_FAILURE() << path << " cannot be converted to RGBA: " << SDL_GetError();
        return picture;
    }
    picture.width = rgba->w;
    picture.height = rgba->h;
    for (int y = 0; y < rgba->h; ++y) {
        const auto *row = static_cast<const std::uint8_t *>(rgba->pixels) + y * rgba->pitch;
        for (int x = 0; x < rgba->w; ++x) {
            const std::uint8_t *p = row + 4 * x;
            picture.pixels.push_back({p[0], p[1], p[2], p[3]});
        }
    }
    SDL_FreeSurface(rgba);
    return picture;
}

double LinearChannel(std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// WCAG relative luminance and contrast ratio.
double Luminance(Rgba c) {
    return 0.2126 * LinearChannel(c.r) + 0.7152 * LinearChannel(c.g) + 0.0722 * LinearChannel(c.b);
}

double ContrastRatio(Rgba a, Rgba b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Share of the screen pixels in the top-left regionWidth x regionHeight area
// whose background contrasts with colour by at least minRatio, the picture
// being stretched over the whole 1000 x 1000 window.
double ShareWithContrast(const Picture &background, Rgba colour, double minRatio, int regionWidth,
                         int regionHeight) {
    long passing = 0;
    for (int y = 0; y < regionHeight; ++y) {
        for (int x = 0; x < regionWidth; ++x) {
            passing += ContrastRatio(background.Stretched(x, y, SCREEN_SIZE), colour) >= minRatio;
        }
    }
    return static_cast<double>(passing) / (static_cast<double>(regionWidth) * regionHeight);
}

const char *const ALL_ASSETS[] = {
    "apple.png",
    "pineapple.png",
    "watermelon.png",
    "Skull.png",
    "map/level1map.png",
    "map/level2map.png",
    "map/level3map.png",
    "map/level4map.png",
    "soundeffect/cartoonbite.mp3",
    "soundeffect/gameover.mp3",
    "soundeffect/game-music-loop-7.mp3",
};

const char *const ITEM_PICTURES[] = {"apple.png", "pineapple.png", "watermelon.png", "Skull.png"};

const char *const LEVEL_MAPS[] = {"map/level1map.png", "map/level2map.png", "map/level3map.png",
                                  "map/level4map.png"};

// Test names from asset paths: "map/level1map.png" becomes "map_level1map_png".
std::string AssetTestName(const testing::TestParamInfo<const char *> &param) {
    std::string name;
    for (const char *c = param.param; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

// ---------------------------------------------------------------- files

class AssetFile : public testing::TestWithParam<const char *> {};

TEST_P(AssetFile, ExistsUnderItsExactName) {
    const fs::path relative = GetParam();
    const fs::path folder = ASSET_DIR / relative.parent_path();
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    // Compare listed names so that a file differing only in letter case is not taken for it.
    bool listed = false;
    for (const auto &entry : fs::directory_iterator(folder)) {
        listed = listed || entry.path().filename() == relative.filename();
    }
    EXPECT_TRUE(listed) << relative << " is missing from " << folder;
    ASSERT_TRUE(fs::is_regular_file(ASSET_DIR / relative));
    EXPECT_GT(fs::file_size(ASSET_DIR / relative), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllAssets, AssetFile, testing::ValuesIn(ALL_ASSETS), AssetTestName);

TEST(AssetFolder, FitsInTwoMegabytes) {
    std::uintmax_t total = 0;
    for (const auto &entry : fs::recursive_directory_iterator(ASSET_DIR)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    RecordProperty("bytes", std::to_string(total));
    EXPECT_LT(total, MAX_FOLDER_BYTES);
}

// ---------------------------------------------------------------- item pictures

class ItemPicture : public testing::TestWithParam<const char *> {
  protected:
    Picture picture = LoadPicture(ASSET_DIR / GetParam());

    bool IsTransparent(int x, int y) const {
        return x < 0 || y < 0 || x >= picture.width || y >= picture.height ||
               picture.At(x, y).a == 0;
    }
};

TEST_P(ItemPicture, HasTransparentCornersAndAnOpaqueMiddle) {
    ASSERT_GT(picture.width, 0);
    ASSERT_EQ(picture.width, picture.height) << "items are drawn into a square";
    const int last = picture.width - 1;
    EXPECT_EQ(picture.At(0, 0).a, 0);
    EXPECT_EQ(picture.At(last, 0).a, 0);
    EXPECT_EQ(picture.At(0, last).a, 0);
    EXPECT_EQ(picture.At(last, last).a, 0);
    // The middle fifth of the 40-pixel square, as drawn on screen, is solid.
    int seeThrough = 0;
    for (int y = 16; y < 24; ++y) {
        for (int x = 16; x < 24; ++x) {
            seeThrough += picture.Stretched(x, y, ITEM_SIZE).a != 255;
        }
    }
    EXPECT_EQ(seeThrough, 0) << "pixels of the middle that let the board show through";
}

TEST_P(ItemPicture, IsRimmedWithADarkOutline) {
    ASSERT_GT(picture.width, 0);
    constexpr double MAX_OUTLINE_LUMINANCE = 0.03;
    int rimPixels = 0;
    int lightRimPixels = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool onRim =
                !IsTransparent(x, y) && (IsTransparent(x - 1, y) || IsTransparent(x + 1, y) ||
                                         IsTransparent(x, y - 1) || IsTransparent(x, y + 1));
            rimPixels += onRim;
            lightRimPixels += onRim && Luminance(picture.At(x, y)) > MAX_OUTLINE_LUMINANCE;
        }
    }
    EXPECT_GT(rimPixels, 0);
    EXPECT_EQ(lightRimPixels, 0) << "of " << rimPixels << " pixels on the item's edge";
}

INSTANTIATE_TEST_SUITE_P(Items, ItemPicture, testing::ValuesIn(ITEM_PICTURES), AssetTestName);

// ---------------------------------------------------------------- backgrounds

constexpr Rgba SNAKE_BODY = {0, 228, 48, 255};
constexpr Rgba STATUS_TEXT = {200, 122, 255, 255};
constexpr double MIN_PASSING_SHARE = 0.95;

class LevelMap : public testing::TestWithParam<const char *> {
  protected:
    Picture picture = LoadPicture(ASSET_DIR / GetParam());
};

TEST_P(LevelMap, SnakeBodyStandsOutAcrossTheBoard) {
    ASSERT_GT(picture.width, 0);
    const double share = ShareWithContrast(picture, SNAKE_BODY, 3.0, SCREEN_SIZE, SCREEN_SIZE);
    RecordProperty("snake_body_share_percent", std::to_string(100.0 * share));
    EXPECT_GE(share, MIN_PASSING_SHARE);
}

TEST_P(LevelMap, StatusTextStandsOutInTheTopLeftCorner) {
    ASSERT_GT(picture.width, 0);
    const double share = ShareWithContrast(picture, STATUS_TEXT, 2.5, 250, 100);
    RecordProperty("status_text_share_percent", std::to_string(100.0 * share));
    EXPECT_GE(share, MIN_PASSING_SHARE);
}

TEST_P(LevelMap, IsSmallAndStretchesEvenlyOverTheCells) {
    ASSERT_GT(picture.width, 0);
    // Whole screen pixels per picture pixel, so every board cell shows the same pattern.
    EXPECT_EQ(SCREEN_SIZE % picture.width, 0);
    EXPECT_EQ(SCREEN_SIZE % picture.height, 0);
    EXPECT_LE(picture.width * picture.height, 250 * 250);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelMap, testing::ValuesIn(LEVEL_MAPS), AssetTestName);

// ---------------------------------------------------------------- sounds

// Samples under -60 dBFS count as silence.
constexpr int SILENCE_LEVEL = 33;

struct DecodedSound {
    std::vector<std::int16_t> samples;  // interleaved stereo

    size_t Frames() const { return samples.size() / MIXER_CHANNELS; }
    double Seconds() const { return static_cast<double>(Frames()) / MIXER_RATE; }
    double PeakDb() const {
        int peak = 0;
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return 20.0 * std::log10(peak / 32768.0);
    }
    bool IsSilentFrame(size_t frame) const {
        return std::abs(samples[frame * 2]) < SILENCE_LEVEL &&
               std::abs(samples[frame * 2 + 1]) < SILENCE_LEVEL;
    }
    double LeadingSilenceMs() const {
        size_t frame = 0;
        while (frame < Frames() && IsSilentFrame(frame)) {
            ++frame;
        }
        return 1000.0 * static_cast<double>(frame) / MIXER_RATE;
    }
    double TrailingSilenceMs() const {
        size_t count = 0;
        while (count < Frames() && IsSilentFrame(Frames() - 1 - count)) {
            ++count;
        }
        return 1000.0 * static_cast<double>(count) / MIXER_RATE;
    }
};

// Opens the mixer once, on SDL's silent driver, in the format the game asks for.
class SoundFile : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        mixerOpen = SDL_Init(SDL_INIT_AUDIO) == 0 &&
                    Mix_OpenAudio(MIXER_RATE, AUDIO_S16SYS, MIXER_CHANNELS, 1024) == 0;
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_Quit();
    }
    void SetUp() override {
        ASSERT_TRUE(mixerOpen) << Mix_GetError();
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
        ASSERT_EQ(rate, MIXER_RATE);
        ASSERT_EQ(format, AUDIO_S16SYS);
        ASSERT_EQ(channels, MIXER_CHANNELS);
    }

    static DecodedSound Decode(const char *name) {
        DecodedSound sound;
        Mix_Chunk *chunk = Mix_LoadWAV((ASSET_DIR / name).c_str());
        if (chunk == nullptr) {
            ADD_FAILURE() << name << " does not decode: " << Mix_GetError();
            return sound;
        }
        const auto *data = reinterpret_cast<const std::int16_t *>(chunk->abuf);
        sound.samples.assign(data, data + chunk->alen / sizeof(std::int16_t));
        Mix_FreeChunk(chunk);
        return sound;
    }

    static inline bool mixerOpen = false;
};

struct SoundCase {
    const char *name;
    double minSeconds;
    double maxSeconds;
};

// Durations are of the decoded sound; libmpg123 trims the encoder delay and
// padding that lame records in the file's LAME header.
const SoundCase SOUND_CASES[] = {
    {"soundeffect/cartoonbite.mp3", 0.05, 0.35},
    {"soundeffect/gameover.mp3", 0.8, 2.0},
    {"soundeffect/game-music-loop-7.mp3", 20.0, 60.0},
};

const char *const MUSIC = "soundeffect/game-music-loop-7.mp3";
const char *const EFFECTS[] = {"soundeffect/cartoonbite.mp3", "soundeffect/gameover.mp3"};

TEST_F(SoundFile, DecodedLengthsFitTheirUse) {
    for (const SoundCase &c : SOUND_CASES) {
        const DecodedSound sound = Decode(c.name);
        EXPECT_GE(sound.Seconds(), c.minSeconds) << c.name;
        EXPECT_LE(sound.Seconds(), c.maxSeconds) << c.name;
    }
}

TEST_F(SoundFile, DecodedPeaksLeaveHeadroom) {
    for (const SoundCase &c : SOUND_CASES) {
        const DecodedSound sound = Decode(c.name);
        ASSERT_FALSE(sound.samples.empty()) << c.name;
        EXPECT_LE(sound.PeakDb(), -1.0) << c.name;
    }
}

TEST_F(SoundFile, EffectsPeakWellAboveTheMusic) {
    const double musicPeak = Decode(MUSIC).PeakDb();
    for (const char *effect : EFFECTS) {
        EXPECT_GE(Decode(effect).PeakDb(), musicPeak + 6.0) << effect;
    }
}

TEST_F(SoundFile, MusicLoopsWithoutAGapOrAClick) {
    const DecodedSound music = Decode(MUSIC);
    ASSERT_GT(music.Frames(), 2u);
    EXPECT_LT(music.LeadingSilenceMs(), 5.0);
    EXPECT_LT(music.TrailingSilenceMs(), 5.0);
    // Going from the last frame back to the first must be no bigger a jump than
    // the ordinary steps inside the music: larger ones are heard as a click.
    for (size_t channel = 0; channel < MIXER_CHANNELS; ++channel) {
        std::vector<int> steps;
        for (size_t f = 1; f < music.Frames(); ++f) {
            steps.push_back(
                std::abs(music.samples[f * 2 + channel] - music.samples[(f - 1) * 2 + channel]));
        }
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        const int ordinaryStep = steps[steps.size() * 99 / 100];
        const int seamStep =
            std::abs(music.samples[channel] - music.samples[(music.Frames() - 1) * 2 + channel]);
        EXPECT_LE(seamStep, ordinaryStep) << "channel " << channel;
    }
}

}  // namespace

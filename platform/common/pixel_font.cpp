// Coilrush's own pixel font: one hand-drawn glyph for every printable ASCII
// character, proportional widths from 1 to 5 units.

#include <array>
#include <cstddef>
#include <string_view>

#include "platform_common.h"

namespace {

constexpr int FIRST_PRINTABLE = 32;
constexpr int LAST_PRINTABLE = 126;
constexpr int GLYPH_COUNT = LAST_PRINTABLE - FIRST_PRINTABLE + 1;
// Row 0 of the cell stays blank so lines of text never touch.
constexpr int FIRST_DRAWN_ROW = 1;

struct GlyphArt {
    char character;
    // Rows from the cap line down, separated by '|': '#' inked, '.' blank.
    // Rows left out at the bottom are blank. All rows have the glyph's width.
    std::string_view rows;
};

// clang-format off
constexpr GlyphArt GLYPH_ART[GLYPH_COUNT] = {
    {' ', "..."},
    {'!', "#|#|#|#|#|.|#"},
    {'"', "#.#|#.#"},
    {'#', ".#.#.|.#.#.|#####|.#.#.|#####|.#.#.|.#.#."},
    {'$', "..#..|.####|#.#..|.###.|..#.#|####.|..#.."},
    {'%', "##..#|##..#|...#.|..#..|.#...|#..##|#..##"},
    {'&', ".##..|#..#.|#.#..|.#...|#.#.#|#..#.|.##.#"},
    {'\'', "#|#"},
    {'(', "..#|.#.|#..|#..|#..|.#.|..#"},
    {')', "#..|.#.|..#|..#|..#|.#.|#.."},
    {'*', ".....|..#..|#.#.#|.###.|#.#.#|..#.."},
    {'+', ".....|..#..|..#..|#####|..#..|..#.."},
    {',', "..|..|..|..|..|.#|.#|#."},
    {'-', "....|....|....|####"},
    {'.', ".|.|.|.|.|.|#"},
    {'/', "....#|....#|...#.|..#..|.#...|#....|#...."},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."},
    {'1', ".#.|##.|.#.|.#.|.#.|.#.|###"},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####"},
    {'3', "####.|....#|....#|.###.|....#|....#|####."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#."},
    {'5', "#####|#....|####.|....#|....#|#...#|.###."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###."},
    {'7', "#####|....#|...#.|..#..|.#...|.#...|.#..."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###."},
    {'9', ".###.|#...#|#...#|.####|....#|...#.|.##.."},
    {':', ".|.|#|.|.|.|#"},
    {';', "..|..|.#|..|..|..|.#|#."},
    {'<', "...#|..#.|.#..|#...|.#..|..#.|...#"},
    {'=', "....|....|####|....|####"},
    {'>', "#...|.#..|..#.|...#|..#.|.#..|#..."},
    {'?', ".###.|#...#|....#|...#.|..#..|.....|..#.."},
    {'@', ".###.|#...#|#.###|#.#.#|#.###|#....|.####"},
    {'A', ".###.|#...#|#...#|#####|#...#|#...#|#...#"},
    {'B', "####.|#...#|#...#|####.|#...#|#...#|####."},
    {'C', ".###.|#...#|#....|#....|#....|#...#|.###."},
    {'D', "####.|#...#|#...#|#...#|#...#|#...#|####."},
    {'E', "#####|#....|#....|####.|#....|#....|#####"},
    {'F', "#####|#....|#....|####.|#....|#....|#...."},
    {'G', ".###.|#...#|#....|#.###|#...#|#...#|.####"},
    {'H', "#...#|#...#|#...#|#####|#...#|#...#|#...#"},
    {'I', "###|.#.|.#.|.#.|.#.|.#.|###"},
    {'J', ".###|...#|...#|...#|...#|#..#|.##."},
    {'K', "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"},
    {'L', "#....|#....|#....|#....|#....|#....|#####"},
    {'M', "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#"},
    {'N', "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#"},
    {'O', ".###.|#...#|#...#|#...#|#...#|#...#|.###."},
    {'P', "####.|#...#|#...#|####.|#....|#....|#...."},
    {'Q', ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#"},
    {'R', "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
    {'S', ".####|#....|#....|.###.|....#|....#|####."},
    {'T', "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'U', "#...#|#...#|#...#|#...#|#...#|#...#|.###."},
    {'V', "#...#|#...#|#...#|#...#|#...#|.#.#.|..#.."},
    {'W', "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#."},
    {'X', "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#"},
    {'Y', "#...#|#...#|.#.#.|..#..|..#..|..#..|..#.."},
    {'Z', "#####|....#|...#.|..#..|.#...|#....|#####"},
    {'[', "###|#..|#..|#..|#..|#..|###"},
    {'\\', "#....|#....|.#...|..#..|...#.|....#|....#"},
    {']', "###|..#|..#|..#|..#|..#|###"},
    {'^', "..#..|.#.#.|#...#"},
    {'_', ".....|.....|.....|.....|.....|.....|#####"},
    {'`', "#.|.#"},
    {'a', "....|....|.##.|...#|.###|#..#|.###"},
    {'b', "#...|#...|###.|#..#|#..#|#..#|###."},
    {'c', "....|....|.###|#...|#...|#...|.###"},
    {'d', "...#|...#|.###|#..#|#..#|#..#|.###"},
    {'e', "....|....|.##.|#..#|####|#...|.###"},
    {'f', ".##|#..|###|#..|#..|#..|#.."},
    {'g', "....|....|.###|#..#|#..#|#..#|.###|...#|###."},
    {'h', "#...|#...|###.|#..#|#..#|#..#|#..#"},
    {'i', "#|.|#|#|#|#|#"},
    {'j', "..#|...|..#|..#|..#|..#|..#|#.#|.#."},
    {'k', "#...|#...|#..#|#.#.|##..|#.#.|#..#"},
    {'l', "#.|#.|#.|#.|#.|#.|.#"},
    {'m', ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#"},
    {'n', "....|....|###.|#..#|#..#|#..#|#..#"},
    {'o', "....|....|.##.|#..#|#..#|#..#|.##."},
    {'p', "....|....|###.|#..#|#..#|#..#|###.|#...|#..."},
    {'q', "....|....|.###|#..#|#..#|#..#|.###|...#|...#"},
    {'r', "....|....|#.##|##..|#...|#...|#..."},
    {'s', "....|....|.###|#...|.##.|...#|###."},
    {'t', ".#.|.#.|###|.#.|.#.|.#.|..#"},
    {'u', "....|....|#..#|#..#|#..#|#..#|.###"},
    {'v', ".....|.....|#...#|#...#|#...#|.#.#.|..#.."},
    {'w', ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#."},
    {'x', ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#"},
    {'y', "....|....|#..#|#..#|#..#|#..#|.###|...#|###."},
    {'z', "....|....|####|..#.|.#..|#...|####"},
    {'{', "..##|.#..|.#..|#...|.#..|.#..|..##"},
    {'|', "#|#|#|#|#|#|#"},
    {'}', "##..|..#.|..#.|...#|..#.|..#.|##.."},
    {'~', ".....|.....|.#...|#.#.#|...#."},
};
// clang-format on

// Malformed art stops the build: a throw in a constant expression is an error.
constexpr FontGlyph ParseGlyph(std::string_view art) {
    FontGlyph glyph{};
    const std::size_t firstBreak = art.find('|');
    const std::size_t width = firstBreak == std::string_view::npos ? art.size() : firstBreak;
    if (width == 0 || width > FONT_MAX_GLYPH_WIDTH) {
        throw "glyph width out of range";
    }
    glyph.width = static_cast<int>(width);
    int row = FIRST_DRAWN_ROW;
    std::size_t column = 0;
    for (const char c : art) {
        if (c == '|') {
            if (column != width) {
                throw "glyph rows differ in width";
            }
            ++row;
            column = 0;
            continue;
        }
        if (row >= FONT_CELL_HEIGHT || column >= width || (c != '#' && c != '.')) {
            throw "glyph art malformed";
        }
        if (c == '#') {
            glyph.rows[row] = static_cast<std::uint8_t>(glyph.rows[row] | (1u << column));
        }
        ++column;
    }
    if (column != width) {
        throw "glyph rows differ in width";
    }
    return glyph;
}

constexpr std::array<FontGlyph, GLYPH_COUNT> BuildFont() {
    std::array<FontGlyph, GLYPH_COUNT> font{};
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        if (GLYPH_ART[i].character != FIRST_PRINTABLE + i) {
            throw "glyph table out of order";
        }
        font[static_cast<std::size_t>(i)] = ParseGlyph(GLYPH_ART[i].rows);
    }
    return font;
}

constexpr std::array<FontGlyph, GLYPH_COUNT> FONT = BuildFont();

}  // namespace

const FontGlyph &GetFontGlyph(char character) {
    const int code = static_cast<unsigned char>(character);
    const int index = (code >= FIRST_PRINTABLE && code <= LAST_PRINTABLE) ? code - FIRST_PRINTABLE
                                                                          : '?' - FIRST_PRINTABLE;
    return FONT[static_cast<std::size_t>(index)];
}

bool IsGlyphPixelInked(const FontGlyph &glyph, int column, int row) {
    if (column < 0 || column >= glyph.width || row < 0 || row >= FONT_CELL_HEIGHT) {
        return false;
    }
    return (glyph.rows[row] >> column & 1u) != 0;
}

int EffectiveFontSize(int fontSize) {
    return fontSize < FONT_BASE_SIZE ? FONT_BASE_SIZE : fontSize;
}

int GlyphSpacingPixels(int fontSize) {
    return EffectiveFontSize(fontSize) / FONT_BASE_SIZE;
}

int FontUnitsToPixels(int units, int fontSize) {
    return units * EffectiveFontSize(fontSize) / FONT_BASE_SIZE;
}

int GlyphAdvancePixels(const FontGlyph &glyph, int fontSize) {
    return FontUnitsToPixels(glyph.width, fontSize);
}

int MeasureText(const char *text, int fontSize) {
    if (text == nullptr || *text == '\0') {
        return 0;
    }
    int width = 0;
    int glyphCount = 0;
    for (const char *c = text; *c != '\0'; ++c) {
        width += GlyphAdvancePixels(GetFontGlyph(*c), fontSize);
        ++glyphCount;
    }
    return width + (glyphCount - 1) * GlyphSpacingPixels(fontSize);
}

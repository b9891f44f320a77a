// Pieces of the raylib-style API that do not depend on a window: the pixel
// font and its text measurement, formatted text, the rectangle tests and the
// rand()-based random integers. Both the SDL2 layer and the scripted twin
// build on these, so text is measured the same way wherever the game runs.
#ifndef COILRUSH_PLATFORM_COMMON_H
#define COILRUSH_PLATFORM_COMMON_H

#include <cstdint>

#include "raylib.h"

// ---- Pixel font ------------------------------------------------------------

// Every glyph sits in a cell FONT_CELL_HEIGHT units high: one blank row on
// top, capitals on the next seven, descenders on the last two. At font size
// FONT_BASE_SIZE one unit is one pixel; other sizes scale by fontSize / 10.
inline constexpr int FONT_BASE_SIZE = 10;
inline constexpr int FONT_CELL_HEIGHT = 10;
inline constexpr int FONT_MAX_GLYPH_WIDTH = 8;

struct FontGlyph {
    int width;  // advance in font units; the ink never leaves these columns
    std::uint8_t rows[FONT_CELL_HEIGHT];  // bit c set: column c is inked
};

// The glyph drawn for a character. Characters outside printable ASCII are
// drawn as '?'.
const FontGlyph &GetFontGlyph(char character);
bool IsGlyphPixelInked(const FontGlyph &glyph, int column, int row);

// Font sizes under FONT_BASE_SIZE are drawn and measured at FONT_BASE_SIZE,
// so glyphs never lose their rows.
int EffectiveFontSize(int fontSize);
// Whole pixels between two glyphs.
int GlyphSpacingPixels(int fontSize);
// Pixel offset of font unit `units` from a glyph's edge: units * size / 10,
// rounded down. Columns and rows both use it, so a glyph's pixels tile with
// no gaps and no overlaps at any size.
int FontUnitsToPixels(int units, int fontSize);
int GlyphAdvancePixels(const FontGlyph &glyph, int fontSize);

// Calls emit(x, y, width, height) for each filled rectangle that makes up the
// text drawn with its top-left corner at (posX, posY). Each rectangle is one
// horizontal run of inked columns of one glyph row, scaled to the font size.
// MeasureText(text, fontSize) is exactly the distance from posX to the end of
// the last glyph's advance.
template <typename Emit>
void ForEachTextInkRect(const char *text, int posX, int posY, int fontSize, Emit &&emit) {
    if (text == nullptr) {
        return;
    }
    const int size = EffectiveFontSize(fontSize);
    const int spacing = GlyphSpacingPixels(size);
    int penX = posX;
    for (const char *c = text; *c != '\0'; ++c) {
        const FontGlyph &glyph = GetFontGlyph(*c);
        for (int row = 0; row < FONT_CELL_HEIGHT; ++row) {
            const int top = posY + FontUnitsToPixels(row, size);
            const int bottom = posY + FontUnitsToPixels(row + 1, size);
            int column = 0;
            while (column < glyph.width) {
                if (!IsGlyphPixelInked(glyph, column, row)) {
                    ++column;
                    continue;
                }
                const int runStart = column;
                while (column < glyph.width && IsGlyphPixelInked(glyph, column, row)) {
                    ++column;
                }
                const int left = penX + FontUnitsToPixels(runStart, size);
                const int right = penX + FontUnitsToPixels(column, size);
                emit(left, top, right - left, bottom - top);
            }
        }
        penX += GlyphAdvancePixels(glyph, size) + spacing;
    }
}

// ---- Random numbers --------------------------------------------------------

// A whole number from min to max, both included, drawn from rand() so that
// srand() seeds it. Bounds given the wrong way round are swapped. Ranges wider
// than RAND_MAX combine two draws.
int RandomValueFromRand(int min, int max);

#endif

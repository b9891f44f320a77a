#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform_common.h"

namespace {

// Texts the game draws, and a few that exercise the punctuation.
const std::vector<std::string> SAMPLE_TEXTS = {"A",
                                               "ZK COILRUSH",
                                               "Choose a Level:",
                                               "Level 1 ",
                                               "LOCKED",
                                               "High Score: 1234",
                                               " GAME OVER ",
                                               "Press R to Restart or M for Menu",
                                               "NEW HIGH SCORE!",
                                               "{[(~|@#$%^&*)]}"};

int SumOfGlyphWidths(const std::string &text) {
    int units = 0;
    for (const char c : text) {
        units += GetFontGlyph(c).width;
    }
    return units;
}

struct InkExtent {
    int left = 1 << 30;
    int right = -(1 << 30);  // one past the last inked column
    int top = 1 << 30;
    int bottom = -(1 << 30);
    long area = 0;
};

InkExtent InkOf(const std::string &text, int fontSize) {
    InkExtent ink;
    ForEachTextInkRect(text.c_str(), 0, 0, fontSize, [&](int x, int y, int w, int h) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x + w);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y + h);
        ink.area += static_cast<long>(w) * h;
    });
    return ink;
}

TEST(PixelFont, AtBaseSizeATextIsItsGlyphWidthsPlusOnePixelBetweenGlyphs) {
    for (const std::string &text : SAMPLE_TEXTS) {
        const int gaps = static_cast<int>(text.size()) - 1;
        EXPECT_EQ(MeasureText(text.c_str(), 10), SumOfGlyphWidths(text) + gaps) << text;
    }
}

TEST(PixelFont, WholeMultiplesOfTheBaseSizeScaleTheWidthExactly) {
    for (const std::string &text : SAMPLE_TEXTS) {
        const int base = MeasureText(text.c_str(), 10);
        EXPECT_EQ(MeasureText(text.c_str(), 20), 2 * base) << text;
        EXPECT_EQ(MeasureText(text.c_str(), 50), 5 * base) << text;
    }
}

TEST(PixelFont, OneGlyphMeasuresItsScaledAdvanceWithNoSpacing) {
    for (const int size : {10, 20, 25, 50}) {
        for (const char c : std::string("AIl1W. ")) {
            const char text[] = {c, '\0'};
            EXPECT_EQ(MeasureText(text, size), GetFontGlyph(c).width * size / 10)
                << "'" << c << "' at " << size;
        }
    }
}

TEST(PixelFont, NothingToMeasureIsZeroWide) {
    EXPECT_EQ(MeasureText("", 20), 0);
    EXPECT_EQ(MeasureText(nullptr, 20), 0);
}

TEST(PixelFont, SizesBelowTheBaseSizeAreMeasuredAtTheBaseSize) {
    EXPECT_EQ(MeasureText("Level 1 ", 4), MeasureText("Level 1 ", 10));
}

// "ZK COILRUSH" starts and ends with glyphs inked to their edge columns, so
// its ink must span exactly the measured width, at fractional scales too.
TEST(PixelFont, InkSpansExactlyTheMeasuredWidth) {
    for (const char *text : {"ZK COILRUSH", "HUD", "Your Score: 40"}) {
        for (const int size : {10, 20, 25, 30, 40, 50}) {
            const InkExtent ink = InkOf(text, size);
            EXPECT_EQ(ink.left, 0) << text << " at " << size;
            EXPECT_EQ(ink.right, MeasureText(text, size)) << text << " at " << size;
        }
    }
}

TEST(PixelFont, InkStaysInsideTheCellHeightBelowABlankTopRow) {
    for (const int size : {10, 20, 25, 50}) {
        const InkExtent ink = InkOf("Hjgy|", size);
        EXPECT_EQ(ink.top, FontUnitsToPixels(1, size)) << size;
        EXPECT_LE(ink.bottom, FontUnitsToPixels(FONT_CELL_HEIGHT, size)) << size;
    }
}

// Runs from neighbouring rows and columns must tile: at fractional scales a
// rounding slip would overlap them (double area) or leave gaps.
TEST(PixelFont, ScaledInkAreaIsTheSumOfScaledPixelSizes) {
    const int size = 25;
    const char *text = "W#8";
    long expected = 0;
    for (const char *c = text; *c != '\0'; ++c) {
        const FontGlyph &glyph = GetFontGlyph(*c);
        for (int row = 0; row < FONT_CELL_HEIGHT; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                if (IsGlyphPixelInked(glyph, column, row)) {
                    const int w =
                        FontUnitsToPixels(column + 1, size) - FontUnitsToPixels(column, size);
                    const int h = FontUnitsToPixels(row + 1, size) - FontUnitsToPixels(row, size);
                    expected += static_cast<long>(w) * h;
                }
            }
        }
    }
    EXPECT_EQ(InkOf(text, size).area, expected);
}

TEST(PixelFont, EveryPrintableCharacterButSpaceHasInkInsideItsWidth) {
    for (int code = 33; code <= 126; ++code) {
        const FontGlyph &glyph = GetFontGlyph(static_cast<char>(code));
        bool inked = false;
        for (int row = 0; row < FONT_CELL_HEIGHT; ++row) {
            inked = inked || glyph.rows[row] != 0;
            EXPECT_EQ(glyph.rows[row] >> glyph.width, 0) << "ink past the advance of " << code;
        }
        EXPECT_TRUE(inked) << "no ink for " << static_cast<char>(code);
    }
}

TEST(PixelFont, CharactersOutsidePrintableAsciiDrawAsQuestionMarks) {
    const FontGlyph *question = &GetFontGlyph('?');
    EXPECT_EQ(&GetFontGlyph('\t'), question);
    EXPECT_EQ(&GetFontGlyph('\x7f'), question);
    EXPECT_EQ(&GetFontGlyph(static_cast<char>(0xe9)), question);
}

}  // namespace

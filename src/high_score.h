// The best score ever reached: one number kept in memory and in a small text
// file in the working directory.
#ifndef COILRUSH_HIGH_SCORE_H
#define COILRUSH_HIGH_SCORE_H

#include <cstddef>

inline constexpr const char *HIGH_SCORE_FILE = "highscore.txt";

// The best score; 0 until LoadHighScore has read the file.
extern int highScore;

// Reads the file into highScore: leading white space skipped, optional sign,
// digits up to the first non-digit, clamped to the 32-bit range. A missing
// file gives 0; a file without a number leaves highScore as it was.
void LoadHighScore(const char *fileName);

// Writes score as plain decimal digits (a minus sign when negative, no line
// break). The file is replaced in one step, so it always holds either the old
// or the new record. A failed save is reported on stderr and otherwise ignored.
void SaveHighScore(const char *fileName, int score);

// The number the reader finds in text (same rules as LoadHighScore); false
// when the text holds no number. Shared by the loader and the fuzz target.
bool ParseHighScore(const char *text, std::size_t length, int &value);

#endif

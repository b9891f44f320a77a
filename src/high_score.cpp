// The best score and its file.
#include "high_score.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

int highScore = 0;

namespace {

// Reads a number the way a hand-edited file is forgiven: white space first,
// an optional sign, then digits up to the first other character. Fed one
// character at a time, so a file of any length needs no buffer.
struct ScoreReader {
    enum class Stage { LEADING_SPACE, AFTER_SIGN, DIGITS, DONE };

    Stage stage = Stage::LEADING_SPACE;
    bool negative = false;
    bool sawDigit = false;
    // Saturates just past the 32-bit range, so no amount of digits overflows.
    std::int64_t magnitude = 0;
};

constexpr std::int64_t MAGNITUDE_LIMIT = -static_cast<std::int64_t>(INT_MIN);

bool IsLeadingSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

void AddDigit(ScoreReader &reader, int c) {
    reader.sawDigit = true;
    reader.stage = ScoreReader::Stage::DIGITS;
    const std::int64_t grown = reader.magnitude * 10 + (c - '0');
    reader.magnitude = grown > MAGNITUDE_LIMIT ? MAGNITUDE_LIMIT : grown;
}

// Returns false once the reader wants no more characters.
bool FeedScoreReader(ScoreReader &reader, int c) {
    switch (reader.stage) {
        case ScoreReader::Stage::LEADING_SPACE:
            if (IsLeadingSpace(c)) {
                return true;
            }
            if (c == '+' || c == '-') {
                reader.negative = c == '-';
                reader.stage = ScoreReader::Stage::AFTER_SIGN;
                return true;
            }
            break;
        case ScoreReader::Stage::AFTER_SIGN:
        case ScoreReader::Stage::DIGITS:
            break;
        case ScoreReader::Stage::DONE:
            return false;
    }
    if (IsDigit(c)) {
        AddDigit(reader, c);
        return true;
    }
    reader.stage = ScoreReader::Stage::DONE;
    return false;
}

bool FinishScoreReader(const ScoreReader &reader, int &value) {
    if (!reader.sawDigit) {
        return false;
    }
    if (reader.negative) {
        value = static_cast<int>(-reader.magnitude);
    } else {
        value = reader.magnitude > INT_MAX ? INT_MAX : static_cast<int>(reader.magnitude);
    }
    return true;
}

void ReportSaveFailure(const char *fileName, int error) {
    std::fprintf(stderr, "Coilrush: could not save the high score to %s: %s\n", fileName,
                 std::strerror(error));
}

// The directory holding fileName, so the rename itself can be made durable.
std::string DirectoryOf(const std::string &fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

// Best effort: the record is already in place whether or not this succeeds.
void SyncDirectory(const std::string &directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Writes the digits into a new file at path and forces them to the disk.
// Returns 0, or the error of the first step that failed; a file it created
// is removed again on failure.
int WriteScoreFile(const std::string &path, int score) {
    std::FILE *file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        return errno;
    }
    int error = 0;
    if (std::fprintf(file, "%d", score) < 0 || std::fflush(file) != 0 || fsync(fileno(file)) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(path.c_str());
    }
    return error;
}

}  // namespace

bool ParseHighScore(const char *text, std::size_t length, int &value) {
    ScoreReader reader;
    for (std::size_t i = 0; text != nullptr && i < length; i++) {
        if (!FeedScoreReader(reader, static_cast<unsigned char>(text[i]))) {
            break;
        }
    }
    return FinishScoreReader(reader, value);
}

void LoadHighScore(const char *fileName) {
    std::FILE *file = std::fopen(fileName, "r");
    if (file == nullptr) {
        highScore = 0;
        return;
    }
    ScoreReader reader;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (!FeedScoreReader(reader, c)) {
            break;
        }
    }
    std::fclose(file);
    FinishScoreReader(reader, highScore);
}

// The new record goes to a file beside the old one and is renamed over it
// only once it is safely written, so a failed or interrupted save leaves the
// previous record in place instead of an empty file.
void SaveHighScore(const char *fileName, int score) {
    const std::string target = fileName;
    const std::string temporary = target + ".tmp";
    const int writeError = WriteScoreFile(temporary, score);
    if (writeError != 0) {
        ReportSaveFailure(fileName, writeError);
        return;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        unlink(temporary.c_str());
        ReportSaveFailure(fileName, renameError);
        return;
    }
    SyncDirectory(DirectoryOf(target));
}

// The best score's file: how it is read, how it is written, and what a failed
// write leaves behind.
#include "high_score.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteBytes(const fs::path &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::set<std::string> EntriesOf(const fs::path &directory) {
    std::set<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

int LinesIn(const std::string &text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Collects what is written to stderr while it lives. A pipe rather than a
// file, so a file size limit set by a test does not cut the message short.
class StderrCapture {
  public:
    StderrCapture() {
        std::fflush(stderr);
        savedFd = dup(STDERR_FILENO);
        if (pipe(fds) == 0) {
            dup2(fds[1], STDERR_FILENO);
        }
    }
    ~StderrCapture() {
        Restore();
        close(fds[0]);
    }
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    std::string Text() {
        Restore();
        std::string text;
        char chunk[256];
        for (ssize_t got = read(fds[0], chunk, sizeof chunk); got > 0;
             got = read(fds[0], chunk, sizeof chunk)) {
            text.append(chunk, static_cast<size_t>(got));
        }
        return text;
    }

  private:
    void Restore() {
        if (savedFd < 0) {
            return;
        }
        std::fflush(stderr);
        dup2(savedFd, STDERR_FILENO);
        close(savedFd);
        close(fds[1]);
        savedFd = -1;
    }

    int savedFd = -1;
    int fds[2] = {-1, -1};
};

class HighScoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "coilrush-highscore-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        file = dir / "highscore.txt";
        highScore = 0;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
        highScore = 0;
    }

    fs::path dir;
    fs::path file;
};

// ---- Reading -----------------------------------------------------------------

constexpr int SENTINEL = 31337;

struct ReadCase {
    const char *name;
    std::string content;
    std::optional<int> value;  // nullopt: no number, highScore keeps its value
};

const ReadCase kReadCases[] = {
    {"empty file", "", std::nullopt},
    {"white space only", " \t\r\n\v\f ", std::nullopt},
    {"spaces, number, line break", "  42\n", 42},
    {"leading line breaks and tabs", "\n\n\t 9", 9},
    {"plus sign", "+7", 7},
    {"minus sign", "-5", -5},
    {"stops at the decimal point", "12.9", 12},
    {"stops at the x of a hex prefix", "0x1F", 0},
    {"leading zeros", "007", 7},
    {"a long run of leading zeros", std::string(5000, '0') + "123", 123},
    {"a long run of leading spaces", std::string(5000, ' ') + "64", 64},
    {"letters only", "abc", std::nullopt},
    {"letters before digits", "abc12", std::nullopt},
    {"plus alone", "+", std::nullopt},
    {"minus alone", "-", std::nullopt},
    {"sign separated from digits", "- 5", std::nullopt},
    {"two signs", "+-5", std::nullopt},
    {"trailing words", "42 apples", 42},
    {"largest 32-bit number", "2147483647", INT_MAX},
    {"one past the largest", "2147483648", INT_MAX},
    {"eleven nines", "99999999999", INT_MAX},
    {"a hundred digits", std::string(100, '9'), INT_MAX},
    {"smallest 32-bit number", "-2147483648", INT_MIN},
    {"one below the smallest", "-2147483649", INT_MIN},
    {"eleven negative nines", "-99999999999", INT_MIN},
    {"a NUL byte ends the number",
     std::string("12\0"
                 "34",
                 5),
     12},
};

TEST_F(HighScoreTest, TheFileIsReadLooselyAndANumberlessFileChangesNothing) {
    for (const int start : {SENTINEL, 0}) {
        for (const ReadCase &c : kReadCases) {
            SCOPED_TRACE(std::string(c.name) + ", starting from " + std::to_string(start));
            WriteBytes(file, c.content);
            highScore = start;

            LoadHighScore(file.c_str());

            EXPECT_EQ(highScore, c.value.value_or(start));
        }
    }
}

TEST_F(HighScoreTest, TheParserOnMemoryAgreesWithTheFileReader) {
    for (const ReadCase &c : kReadCases) {
        SCOPED_TRACE(c.name);
        int value = SENTINEL;
        const bool found = ParseHighScore(c.content.data(), c.content.size(), value);
        EXPECT_EQ(found, c.value.has_value());
        EXPECT_EQ(value, c.value.value_or(SENTINEL));
    }
}

TEST_F(HighScoreTest, TheParserReadsOnlyTheGivenLength) {
    int value = 0;
    EXPECT_TRUE(ParseHighScore("12345", 3, value));
    EXPECT_EQ(value, 123);
    EXPECT_FALSE(ParseHighScore(nullptr, 0, value));
    EXPECT_EQ(value, 123);
}

TEST_F(HighScoreTest, AMissingFileMeansZeroWhateverWasHeldBefore) {
    highScore = SENTINEL;

    LoadHighScore((dir / "nothing-here.txt").c_str());

    EXPECT_EQ(highScore, 0);
}

// ---- Writing -----------------------------------------------------------------

TEST_F(HighScoreTest, ARecordIsStoredAsBareDigitsWithoutALineBreak) {
    const struct {
        int score;
        const char *bytes;
    } cases[] = {
        {123, "123"}, {0, "0"}, {-5, "-5"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.score);
        SaveHighScore(file.c_str(), c.score);
        EXPECT_EQ(ReadBytes(file), c.bytes);
        highScore = SENTINEL;
        LoadHighScore(file.c_str());
        EXPECT_EQ(highScore, c.score) << "reads back as it was written";
    }
}

TEST_F(HighScoreTest, AShorterRecordReplacesALongerOneWhole) {
    WriteBytes(file, "99999\n");

    SaveHighScore(file.c_str(), 7);

    EXPECT_EQ(ReadBytes(file), "7");
    EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"highscore.txt"}) << "no file left beside it";
}

TEST_F(HighScoreTest, ABareFileNameIsSavedInTheWorkingDirectory) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir);

    SaveHighScore(HIGH_SCORE_FILE, 250);
    highScore = 0;
    LoadHighScore(HIGH_SCORE_FILE);

    fs::current_path(previous);
    EXPECT_EQ(ReadBytes(file), "250");
    EXPECT_EQ(highScore, 250);
    EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"highscore.txt"});
}

// ---- Failed saves --------------------------------------------------------------
// Each failure must leave the previous record readable, leave no half-written
// file beside it, and say so in one line on stderr.

// Makes writes to regular files fail past `bytes` for as long as it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active = false;

  private:
    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
};

TEST_F(HighScoreTest, AWriteThatFailsHalfwayKeepsTheOldRecord) {
    WriteBytes(file, "77");

    StderrCapture capture;
    {
        FileSizeLimit limit(2);
        ASSERT_TRUE(limit.active);
        SaveHighScore(file.c_str(), 12345);
    }
    const std::string message = capture.Text();

    EXPECT_EQ(ReadBytes(file), "77");
    EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"highscore.txt"});
    EXPECT_EQ(LinesIn(message), 1) << message;
}

// True when this process can create files in a directory whose write bits
// are cleared (as root can).
bool WritesIgnorePermissions(const fs::path &readOnlyDir) {
    const fs::path probe = readOnlyDir / "probe";
    std::ofstream out(probe);
    const bool created = out.is_open();
    out.close();
    fs::remove(probe);
    return created;
}

// Saves as an unprivileged user in a child process: root writes through
// directory permissions, so a test run as root drops to "nobody" first.
// Returns false when no such user can be had.
bool SaveAsNobody(const fs::path &file, int score) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(77);
        }
        SaveHighScore(file.c_str(), score);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(HighScoreTest, AReadOnlyDirectoryKeepsTheOldRecord) {
    WriteBytes(file, "300");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    if (WritesIgnorePermissions(dir)) {
        ASSERT_TRUE(SaveAsNobody(file, 450)) << "could not drop to an unprivileged user";
    } else {
        StderrCapture capture;
        SaveHighScore(file.c_str(), 450);
        const std::string message = capture.Text();
        EXPECT_EQ(LinesIn(message), 1) << message;
    }

    EXPECT_EQ(ReadBytes(file), "300");
    EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"highscore.txt"});
}

TEST_F(HighScoreTest, ATargetThatIsADirectoryIsLeftAloneWithNothingBesideIt) {
    fs::create_directory(file);
    WriteBytes(file / "keep", "x");

    StderrCapture capture;
    SaveHighScore(file.c_str(), 10);
    const std::string message = capture.Text();

    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(ReadBytes(file / "keep"), "x");
    EXPECT_EQ(EntriesOf(dir), std::set<std::string>{"highscore.txt"});
    EXPECT_EQ(LinesIn(message), 1) << message;
}

TEST_F(HighScoreTest, AMissingDirectoryCreatesNothing) {
    const fs::path nowhere = dir / "missing" / "highscore.txt";

    StderrCapture capture;
    SaveHighScore(nowhere.c_str(), 10);
    const std::string message = capture.Text();

    EXPECT_TRUE(EntriesOf(dir).empty());
    EXPECT_EQ(LinesIn(message), 1) << message;
}

}  // namespace

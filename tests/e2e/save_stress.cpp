// Saves the best score over and over, alternating between two values, so
// that the end-to-end suite can kill it at random moments and check that the
// file always holds one whole value. Stops by itself after ten seconds in
// case nobody comes to kill it.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "high_score.h"

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE FIRST SECOND\n", argv[0]);
        return 2;
    }
    const int values[2] = {std::atoi(argv[3]), std::atoi(argv[2])};
    const auto giveUpAt = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (unsigned long round = 0; std::chrono::steady_clock::now() < giveUpAt; round++) {
        SaveHighScore(argv[1], values[round % 2]);
    }
    return 0;
}

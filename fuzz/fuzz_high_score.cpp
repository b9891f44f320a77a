// Feeds arbitrary bytes to the best-score reader and checks its answer
// against a slow, obviously right reading of the same rules.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "high_score.h"

namespace {

bool IsSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// White space, an optional sign, then digits; saturates at the int range.
bool ReferenceRead(const uint8_t *data, size_t size, int &value) {
    size_t i = 0;
    while (i < size && IsSpace(data[i])) {
        i++;
    }
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) {
        negative = data[i] == '-';
        i++;
    }
    if (i == size || !IsDigit(data[i])) {
        return false;
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < size && IsDigit(data[i]); i++) {
        magnitude = magnitude * 10 + (data[i] - '0');
        if (magnitude > limit) {
            magnitude = limit;  // stays saturated for every further digit
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int expected = 12345;
    const bool expectedFound = ReferenceRead(data, size, expected);
    int value = 12345;
    const bool found = ParseHighScore(reinterpret_cast<const char *>(data), size, value);
    if (found != expectedFound || value != expected) {
        abort();
    }
    return 0;
}

// printf-style formatting into a small ring of static buffers, so a caller
// may hold a few formatted texts at once without owning any memory.

#include <cstdarg>
#include <cstdio>

#include "platform_common.h"

namespace {

constexpr int TEXT_FORMAT_BUFFER_COUNT = 4;
constexpr int TEXT_FORMAT_BUFFER_SIZE = 1024;

char textFormatBuffers[TEXT_FORMAT_BUFFER_COUNT][TEXT_FORMAT_BUFFER_SIZE];
int nextTextFormatBuffer = 0;

}  // namespace

// The result stays valid until TEXT_FORMAT_BUFFER_COUNT more calls have been
// made; longer results are cut to the buffer size.
const char *TextFormat(const char *text, ...) {
    char *buffer = textFormatBuffers[nextTextFormatBuffer];
    nextTextFormatBuffer = (nextTextFormatBuffer + 1) % TEXT_FORMAT_BUFFER_COUNT;
    if (text == nullptr) {
        buffer[0] = '\0';
        return buffer;
    }
    va_list args;
    va_start(args, text);
    const int written = std::vsnprintf(buffer, TEXT_FORMAT_BUFFER_SIZE, text, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
    }
    return buffer;
}

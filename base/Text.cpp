#include "base/Text.h"

#include <cstdio>

void TerminateAtCharacter(char *text, size_t size) {
    if (size == 0)
        return;
    const size_t end = size - 1;
    // Only a walk from the start tells a first byte from a second byte of the same value.
    for (size_t i = 0; i < end && text[i] != '\0'; ++i) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(text[i])))
            continue;
        if (i + 1 == end || text[i + 1] == '\0') {
            text[i] = '\0';
            return;
        }
        ++i;
    }
    text[end] = '\0';
}

void VFormatCut(char *buffer, size_t size, const char *format, va_list args) {
    if (size == 0)
        return;
#ifdef _WIN32
    // msvcrt's formatter rather than MinGW's own, which would add some 27 KB to the DLL. Given a
    // count, it writes at most that many characters and leaves a text that fills them without
    // a terminator, so the last byte is kept for the NUL.
    _vsnprintf(buffer, size - 1, format, args);
    buffer[size - 1] = '\0';
#else
    std::vsnprintf(buffer, size, format, args);
#endif
}

void FormatCut(char *buffer, size_t size, const char *format, ...) {
    va_list args;
    va_start(args, format);
    VFormatCut(buffer, size, format, args);
    va_end(args);
}

#include "hostapi/VelkApiCore.h"

#include <cstdio>
#include <cstring>

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

const char *SkipVersionPrefix(const char *text) {
    static const char PREFIX[] = "version ";
    return std::strncmp(text, PREFIX, sizeof PREFIX - 1) == 0 ? text + sizeof PREFIX - 1 : text;
}

int CompareVersionText(const char *a, const char *b) {
    size_t la = std::strlen(a), lb = std::strlen(b);
    int c = std::memcmp(a, b, la < lb ? la : lb);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

bool IsVersionInRange(const char *host_text, const char *minimum, const char *maximum) {
    const char *version = SkipVersionPrefix(host_text);
    return CompareVersionText(version, minimum) >= 0 && CompareVersionText(version, maximum) < 0;
}

int8_t SeverityFromCell(int32_t cell) {
    return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(cell) & 0xFF));
}

bool SeverityPasses(int message_severity, int32_t host_severity_cell) {
    return static_cast<int8_t>(message_severity) <= SeverityFromCell(host_severity_cell);
}

void FormatLogLine(char (&line)[LOG_LINE_SIZE], const char *tag, const char *format, va_list args) {
    // One pass: the tag and its blank take at least one character, so the message could never
    // keep more than 254 of its own, and cutting it to 255 first would change nothing.
    std::memset(line, 0, sizeof line);
    FormatCut(line, sizeof line, "%s ", tag);
    const size_t used = std::strlen(line);
    VFormatCut(line + used, sizeof line - used, format, args);
    // A path or message in Japanese may be cut between the two bytes of a character.
    TerminateAtCharacter(line, sizeof line);
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

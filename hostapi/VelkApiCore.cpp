#include "hostapi/VelkApiCore.h"

#include <cstring>

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
    // The tag and its blank first; the message fills what is left of the 255 characters.
    std::memset(line, 0, sizeof line);
    FormatCut(line, sizeof line, "%s ", tag);
    const size_t used = std::strlen(line);
    VFormatCut(line + used, sizeof line - used, format, args);
    // A path or message in Japanese may be cut between the two bytes of a character.
    TerminateAtCharacter(line, sizeof line);
}

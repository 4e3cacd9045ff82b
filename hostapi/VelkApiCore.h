// Decisions of the host interface that need no Win32: version texts, severities, log lines.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "base/Text.h"

constexpr int LOG_SEVERITY_NOT_ASKED = 8;
constexpr int LOG_SEVERITY_WHEN_HOST_CANNOT_TELL = 3;
constexpr int LOG_LINE_SIZE = 256;   // 255 characters and the NUL
constexpr int HOST_VERSION_SIZE = 80;

// The host may write its version as "version 0.9.6.42"; only that exact prefix is removed.
const char *SkipVersionPrefix(const char *text);

// Byte-wise, as unsigned bytes; when one text is a prefix of the other, the shorter is smaller.
int CompareVersionText(const char *a, const char *b);

// minimum <= host < maximum, after SkipVersionPrefix.
bool IsVersionInRange(const char *host_text, const char *minimum, const char *maximum);

// The host's severity lives in the low byte of a four-byte cell, as a signed 8-bit value.
int8_t SeverityFromCell(int32_t cell);
bool SeverityPasses(int message_severity, int32_t host_severity_cell);

// "tag message", cut to 255 characters.
void FormatLogLine(char (&line)[LOG_LINE_SIZE], const char *tag, const char *format, va_list args);

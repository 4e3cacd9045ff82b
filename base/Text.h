// Text in fixed buffers: Shift-JIS (code page 932) characters and a bounded formatter. Free of
// windows.h, for the decisions and their native tests as well.
#pragma once
#include <cstdarg>
#include <cstddef>

// Shift-JIS: the first byte of a double-byte character.
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Bytes of the character at `text`: 0 at the end, 2 for a complete double-byte character.
inline size_t CharLengthAt(const char *text) {
    if (*text == '\0')
        return 0;
    return IsCp932LeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0' ? 2 : 1;
}

// Terminates a Shift-JIS text that may fill its whole buffer: at most size - 1 bytes stay, and a
// double-byte character whose second byte does not fit goes whole, so no half character ends it.
void TerminateAtCharacter(char *text, size_t size);

// printf into a fixed buffer, cutting what does not fit; the text is always terminated. On
// Windows this is the C runtime's own formatter: %d, %u, %s and %x are all the plug-in needs.
void VFormatCut(char *buffer, size_t size, const char *format, va_list args)
    __attribute__((format(printf, 3, 0)));
void FormatCut(char *buffer, size_t size, const char *format, ...) __attribute__((format(printf, 3, 4)));

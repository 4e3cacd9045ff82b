// The module title rule: the file name without folder and extension. No windows.h: the
// caller passes the ANSI code page's lead-byte test, so a trail byte that happens to equal
// '\\' or '/' is never taken for a separator.
#pragma once
#include <cstddef>

using LeadByteTest = bool (*)(unsigned char);

// The text after the last '\\' or '/', cut at its first '.', into `name`: at most size - 1
// bytes and never half a character, then a NUL. Returns its length.
size_t ModuleBaseName(const char *path, LeadByteTest is_lead_byte, char *name, size_t size);

// Bytes of the first character of `text`: 0 when empty, 2 for a complete double-byte one.
size_t FirstCharLength(const char *text, LeadByteTest is_lead_byte);

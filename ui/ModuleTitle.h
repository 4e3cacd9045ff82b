// The module title rule: the file name without folder and extension. No windows.h: the
// caller passes the ANSI code page's lead-byte test, so a trail byte that happens to equal
// '\\' or '/' is never taken for a separator.
#pragma once
#include <cstddef>
#include <string>

using LeadByteTest = bool (*)(unsigned char);

// The text after the last '\\' or '/', cut at its first '.'.
std::string ModuleBaseName(const char *path, LeadByteTest is_lead_byte);

// Bytes of the first character of `text`: 0 when empty, 2 for a complete double-byte one.
size_t FirstCharLength(const std::string &text, LeadByteTest is_lead_byte);

#include "ui/ModuleTitle.h"

static size_t CharLengthAt(const char *p, LeadByteTest is_lead_byte) {
    if (*p == '\0')
        return 0;
    return is_lead_byte(static_cast<unsigned char>(*p)) && p[1] != '\0' ? 2 : 1;
}

size_t ModuleBaseName(const char *path, LeadByteTest is_lead_byte, char *name, size_t size) {
    const char *start = path;
    for (const char *p = path; *p; p += CharLengthAt(p, is_lead_byte))
        if (*p == '\\' || *p == '/')
            start = p + 1;
    size_t length = 0;
    for (const char *p = start; *p && *p != '.';) {
        const size_t n = CharLengthAt(p, is_lead_byte);
        if (length + n >= size)
            break;
        for (size_t i = 0; i < n; ++i)
            name[length++] = *p++;
    }
    if (size)
        name[length] = '\0';
    return length;
}

size_t FirstCharLength(const char *text, LeadByteTest is_lead_byte) { return CharLengthAt(text, is_lead_byte); }

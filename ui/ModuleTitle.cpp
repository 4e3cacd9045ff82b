#include "ui/ModuleTitle.h"

static size_t CharLengthAt(const char *p, LeadByteTest is_lead_byte) {
    if (*p == '\0')
        return 0;
    return is_lead_byte(static_cast<unsigned char>(*p)) && p[1] != '\0' ? 2 : 1;
}

std::string ModuleBaseName(const char *path, LeadByteTest is_lead_byte) {
    const char *name = path;
    for (const char *p = path; *p; p += CharLengthAt(p, is_lead_byte))
        if (*p == '\\' || *p == '/')
            name = p + 1;
    const char *end = name;
    while (*end && *end != '.')
        end += CharLengthAt(end, is_lead_byte);
    return std::string(name, end);
}

size_t FirstCharLength(const std::string &text, LeadByteTest is_lead_byte) {
    return CharLengthAt(text.c_str(), is_lead_byte);
}

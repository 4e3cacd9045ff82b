#include "appinfo/AppInfoError.h"

#include <cstdarg>
#include <cstring>

#include "base/FileName.h"
#include "base/Text.h"

AppInfoError g_app_info_error;

int AppInfoError::CopyText(char *buffer, size_t size) const {
    if (!is_set)
        return APPINFO_FLOW_ERROR;
    FormatCut(buffer, size, "%s", message);
    TerminateAtCharacter(buffer, size);
    return APPINFO_NORMAL;
}

const char *AppInfoError::GetText() { return CopyText(text, sizeof text) == APPINFO_NORMAL ? text : nullptr; }

// A separator in the last position is passed over, and the first character is never taken for
// one.
const char *AppInfoBaseName(const char *path) {
    const size_t length = std::strlen(path);
    if (length < 2)
        return path;
    const char *name = FileNameIn(path, path + length - 1);
    return name == path + 1 ? path : name;
}

// At most N - 1 bytes and never half a character, the rest of the field zero.
template <size_t N> static void CopyCut(char (&field)[N], const char *text) {
    std::strncpy(field, text, N);
    TerminateAtCharacter(field, N);
}

int SetAppInfoError(const char *file, int line, const char *format, ...) {
    if (!file)
        return APPINFO_INVALID_ARGUMENT;
    char message[1024] = {};
    va_list args;
    va_start(args, format);
    VFormatCut(message, sizeof message, format, args);
    va_end(args);

    AppInfoError &e = g_app_info_error;
    CopyCut(e.file, AppInfoBaseName(file));
    e.line = line;
    CopyCut(e.message, message);
    e.is_set = true;
    return APPINFO_NORMAL;
}

AppInfoError GetAppInfoError() { return g_app_info_error; }

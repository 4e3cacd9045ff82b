#include "appinfo/AppInfoError.h"

#include <cstdarg>
#include <cstring>

#include "hostapi/VelkApiCore.h"

AppInfoError g_app_info_error;

int AppInfoError::CopyText(char *buffer, size_t size) const {
    if (!is_set)
        return APPINFO_FLOW_ERROR;
    FormatCut(buffer, size, "%s", message);
    return APPINFO_NORMAL;
}

const char *AppInfoError::GetText() { return CopyText(text, sizeof text) == APPINFO_NORMAL ? text : nullptr; }

// The base name begins after the last backslash that is not the text's last character; the
// first character is never taken for a separator.
const char *AppInfoBaseName(const char *path) {
    size_t length = std::strlen(path);
    for (size_t i = length >= 2 ? length - 2 : 0; i >= 1; --i)
        if (path[i] == '\\')
            return path + i + 1;
    return path;
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
    std::memset(e.file, 0, sizeof e.file);
    std::strncpy(e.file, AppInfoBaseName(file), sizeof e.file - 1);
    e.line = line;
    std::memset(e.message, 0, sizeof e.message);
    std::strncpy(e.message, message, sizeof e.message - 1);
    e.is_set = true;
    return APPINFO_NORMAL;
}

AppInfoError GetAppInfoError() { return g_app_info_error; }

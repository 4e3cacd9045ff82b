#include "appinfo/AppInfoError.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

const AppInfoResultText APP_INFO_RESULT_TEXTS[] = {
    {APPINFO_NORMAL, "normal"},
    {APPINFO_INVALID_ARGUMENT, "invalid argument"},
    {APPINFO_GIVEUP_TO_RETRY, "giveup to retry"},
    {APPINFO_FAILED_ALLOCATE_MEMORY, "failed allocate memory"},
    {APPINFO_C_LIBRARY_ERROR, "C library returns error"},
    {APPINFO_WINDOWS_API_ERROR, "WindowsAPI returns error"},
    {APPINFO_FILE_IO_ERROR, "file io error"},
    {APPINFO_FLOW_ERROR, "flow error. ex. init() does not call yet."},
    {APPINFO_NO_EXIST, "no exist."},
    {APPINFO_NO_SPACE, "no space."},
    {APPINFO_INTERNAL_ERROR, "internal error"},
    {APPINFO_END_OF_TABLE, ""},
};

const char *AppInfoResultTextOf(int32_t code) {
    const AppInfoResultText *entry = APP_INFO_RESULT_TEXTS;
    while (entry->code != code && entry->code != APPINFO_END_OF_TABLE)
        ++entry;
    return entry->text;
}

AppInfoError g_app_info_error;

void FormatCut(char *buffer, size_t size, const char *format, ...) {
    va_list args;
    va_start(args, format);
    const int untruncated_length = std::vsnprintf(buffer, size, format, args);
    (void)untruncated_length;
    va_end(args);
}

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
    const int untruncated_length = std::vsnprintf(message, sizeof message, format, args);
    (void)untruncated_length;
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

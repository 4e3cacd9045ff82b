// The settings record to and from the INI file, through the system's profile functions.
#include <windows.h>

#include "base/Text.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

static bool g_file_unread;

bool IsSettingsFileUnread() { return g_file_unread; }

// The profile functions give the defaults for a file that they cannot open, without a word.
// An open for reading that leaves every other program its own access tells a missing file,
// which is fine, from one that is there but cannot be read.
static DWORD CheckReadable(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
    }
    CloseHandle(file);
    return 0;
}

uint32_t LoadSettings() {
    const DWORD error = CheckReadable(g_ini_path);
    g_file_unread = error != 0;
    if (g_file_unread) {
        ApplyDefaults(g_cfg);
        return error;
    }
    for (const SettingsKey &k : SETTINGS_KEYS) {
        if (k.IsText()) {
            // Longer than any text field, so that the field's own cut, at a character, decides.
            char text[2 * EXCLUDE_TEXT_SIZE];
            GetPrivateProfileStringA(k.section, k.key, "", text, sizeof text, g_ini_path);
            k.SetText(g_cfg, text);
        } else {
            k.set(g_cfg, GetPrivateProfileIntA(k.section, k.key, k.default_value, g_ini_path));
        }
    }
    return 0;
}

// A failed call must not pass for a success, whatever it left as the last error.
static DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error ? error : fallback;
}

static DWORD WriteKeys(const char *path) {
    for (const SettingsKey &k : SETTINGS_KEYS) {
        char text[20];
        if (!k.IsText())
            FormatSettingValue(k.get(g_cfg), text);
        const char *value = k.IsText() ? k.Text(g_cfg) : text;
        if (!WritePrivateProfileStringA(k.section, k.key, value, path))
            return LastErrorOr(ERROR_WRITE_FAULT);
    }
    return 0;
}

// The new file's contents reach the disk before it takes the old file's name.
static DWORD FlushToDisk(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastErrorOr(ERROR_WRITE_FAULT);
    const DWORD error = FlushFileBuffers(file) ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
    CloseHandle(file);
    return error;
}

// A copy carries the read-only attribute of the file that it was made from.
static void RemoveFile(const char *path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// ReplaceFile keeps the file's attributes and security. It gets a name for the old file, which
// is removed afterwards: without one, a new file that fails to take the name may find the old
// one gone already (ERROR_UNABLE_TO_MOVE_REPLACEMENT), and Wine 8 leaves an empty file of its
// own (rfNNNN.tmp) behind whenever the replacement fails.
static DWORD PutInPlace(const char *temporary, const char *old_copy, bool replace) {
    const DWORD move_flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!replace)
        return MoveFileExA(temporary, g_ini_path, move_flags) ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
    if (ReplaceFileA(g_ini_path, temporary, old_copy, 0, nullptr, nullptr)) {
        RemoveFile(old_copy);
        return 0;
    }
    const DWORD error = LastErrorOr(ERROR_UNABLE_TO_REMOVE_REPLACED);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)   // the old file went to old_copy: it comes back
        MoveFileExA(old_copy, g_ini_path, move_flags);
    return error;
}

// The two files beside the settings file that a save uses: its own name with another extension,
// so never a longer path than its own, which every path that the system opens without a
// long-path prefix can be saved through. False for a settings file whose name has no extension
// of three characters (a module path so long that the ".ini" was cut): no such name then.
static bool SiblingPath(const char (&extension)[4], char (&path)[INI_PATH_SIZE]) {
    lstrcpynA(path, g_ini_path, sizeof path);
    const int length = lstrlenA(path);
    if (length < 4 || path[length - 4] != '.' || lstrcmpiA(path + length - 3, extension) == 0)
        return false;
    lstrcpynA(path + length - 3, extension, 4);
    return true;
}

static bool CreateEmptyFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The profile functions rewrite a file in place for every key, so a crash in between would
// leave a mix or an empty file. The keys go into a copy beside the file instead, which then
// takes the file's place in one step; the user's comments, other keys and sections stay.
// A folder that takes no new files (one where only the settings file may be written, say)
// leaves the rewrite in place.
uint32_t SaveSettings() {
    char temporary[INI_PATH_SIZE], old_copy[INI_PATH_SIZE];
    const bool has_siblings = SiblingPath("new", temporary) && SiblingPath("old", old_copy);
    if (has_siblings) {
        RemoveFile(temporary);   // left by a save that was cut short
        RemoveFile(old_copy);
    }

    const bool replace = has_siblings && CopyFileA(g_ini_path, temporary, FALSE) != 0;
    DWORD error = replace ? 0 : has_siblings ? LastErrorOr(ERROR_READ_FAULT) : ERROR_FILENAME_EXCED_RANGE;
    if (error == ERROR_FILE_NOT_FOUND)
        error = 0;   // a new file: the keys in their own order
    bool in_place = false;
    if (error && !(has_siblings && CreateEmptyFile(temporary))) {
        VELK_TRACE("一時ファイル%sを作れません(%lu)。%sをその場で書き換えます。", temporary, GetLastError(), g_ini_path);
        in_place = true;
        error = 0;
    }
    const char *target = in_place ? g_ini_path : temporary;
    if (!error)
        error = WriteKeys(target);
    if (!error)
        error = FlushToDisk(target);
    if (!error && !in_place)
        error = PutInPlace(temporary, old_copy, replace);
    if (error && !in_place)
        RemoveFile(temporary);
    if (!error)
        g_file_unread = false;
    return error;
}

#include "ui/ModuleTitle.h"

#include "base/FileName.h"
#include "base/Text.h"

void ModuleTitle(HMODULE module, char (&title)[MAX_PATH]) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const size_t length = CopyFileStem(path, title, sizeof title);
    const size_t first = CharLengthAt(title);
    // The system's ANSI rules leave the bytes of double-byte characters alone.
    if (length > first)
        CharLowerBuffA(title + first, static_cast<DWORD>(length - first));
}

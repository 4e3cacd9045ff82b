// The module's title, as the captions of the dialogs and of their message boxes show it.
#pragma once
#include <windows.h>

// The module's file name without folder and extension, every character after the first in
// lower case by the ANSI code page's rules: "Velkcursorwake" for VelkCursorwake.dll.
void ModuleTitle(HMODULE module, char (&title)[MAX_PATH]);

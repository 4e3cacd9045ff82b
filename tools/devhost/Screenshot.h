// A picture of a window as it stands on the screen, saved as a 24-bit BMP.
#pragma once
#include <windows.h>

#include <string>

bool SaveWindowPicture(HWND window, const std::string &bmp_path);

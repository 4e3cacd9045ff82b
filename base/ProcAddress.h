// A function of a DLL found by name, as the type it has: GetProcAddress gives an untyped
// address, and the cast through a plain function pointer keeps the compiler's cast check quiet.
#pragma once
#include <windows.h>

template <typename Fn> Fn ProcAddress(HMODULE module, const char *name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// File names in paths of the ANSI code page (Shift-JIS): the second byte of a double-byte
// character may equal '\\' and is never taken for a separator. Free of windows.h.
#pragma once
#include <cstddef>

// The file name within [begin, end): what follows the last '\\' or '/' there; begin when there
// is none.
const char *FileNameIn(const char *begin, const char *end);

// The file name of a whole path.
const char *FileNameOf(const char *path);

// The file name of `path` up to its first '.', into `stem`: at most size - 1 bytes and never
// half a character, then a NUL. Returns its length.
size_t CopyFileStem(const char *path, char *stem, size_t size);

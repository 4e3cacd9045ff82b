#include "base/FileName.h"

#include <cstring>

#include "base/Text.h"

const char *FileNameIn(const char *begin, const char *end) {
    const char *name = begin;
    for (const char *p = begin; p < end && *p; p += CharLengthAt(p))
        if (*p == '\\' || *p == '/')
            name = p + 1;
    return name;
}

const char *FileNameOf(const char *path) { return FileNameIn(path, path + std::strlen(path)); }

size_t CopyFileStem(const char *path, char *stem, size_t size) {
    size_t length = 0;
    for (const char *p = FileNameOf(path); *p && *p != '.';) {
        const size_t n = CharLengthAt(p);
        if (length + n >= size)
            break;
        for (size_t i = 0; i < n; ++i)
            stem[length++] = *p++;
    }
    if (size)
        stem[length] = '\0';
    return length;
}

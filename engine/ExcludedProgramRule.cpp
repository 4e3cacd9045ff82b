#include <cstring>

#include "base/FileName.h"
#include "base/Text.h"
#include "engine/ExcludedProgram.h"

static char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

static bool SameNameIgnoringCase(const char *a, const char *a_end, const char *b, const char *b_end) {
    while (a < a_end && b < b_end) {
        const size_t length = CharLengthAt(a);
        if (length != CharLengthAt(b))
            return false;
        if (length == 2 ? a[0] != b[0] || a[1] != b[1] : FoldAscii(*a) != FoldAscii(*b))
            return false;
        a += length;
        b += length;
    }
    return a == a_end && b == b_end;
}

bool IsProgramListed(const char *list, const char *program_path) {
    const char *name = FileNameOf(program_path);
    const char *name_end = name + std::strlen(name);
    if (name == name_end)
        return false;
    for (const char *p = list; *p;) {
        const char *end = p;
        while (*end && *end != ';')
            end += CharLengthAt(end);
        const char *begin = p, *last = end;
        while (begin < last && *begin == ' ')
            ++begin;
        while (last > begin && last[-1] == ' ')   // no second byte is a space
            --last;
        if (SameNameIgnoringCase(begin, last, name, name_end))
            return true;
        p = *end ? end + 1 : end;
    }
    return false;
}

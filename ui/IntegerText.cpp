#include "ui/IntegerText.h"

static int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ReadIntegerText(const char *text, IntegerField field, uint32_t &pattern) {
    const char *p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int base = 10;
    if (*p == '$' || *p == 'x' || *p == 'X') {
        base = 16;
        p += 1;
    } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (*p == '\0')
        return false;
    uint64_t value = 0;
    for (; *p; ++p) {
        int digit = DigitValue(*p, base);
        if (digit < 0)
            return false;
        value = value * base + digit;
        if (value > UINT32_MAX)
            return false;
    }
    if (base == 16) {
        pattern = static_cast<uint32_t>(value);
        return true;
    }
    const uint64_t limit = negative ? 2147483648u : field == IntegerField::Unsigned ? 4294967295u : 2147483647u;
    if (value > limit)
        return false;
    pattern = negative ? static_cast<uint32_t>(0 - value) : static_cast<uint32_t>(value);
    return true;
}

// Reading the text of an options edit as one 32-bit integer. No windows.h: tested natively.
#pragma once
#include <cstdint>

enum class IntegerField { Signed, Unsigned };

// The whole text must be one integer: optional leading blanks, an optional "+" or "-", then
// decimal digits (a leading 0 is still decimal) or a hexadecimal prefix ("$", "x", "X", "0x",
// "0X") with one or more hexadecimal digits, and nothing after the digits. A decimal value
// lies in -2147483648..2147483647, and for an unsigned field also up to 4294967295, so that
// every value the dialog shows reads back. A hexadecimal value is any 32-bit pattern; a sign
// before it changes nothing. On success `pattern` receives the 32-bit two's complement.
bool ReadIntegerText(const char *text, IntegerField field, uint32_t &pattern);

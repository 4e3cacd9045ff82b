// The options dialog's integer reader.
#include <gtest/gtest.h>

#include "ui/IntegerText.h"

namespace {

struct Case {
    const char *text;
    bool reads;
    uint32_t pattern;
};

void Check(IntegerField field, const Case &c) {
    uint32_t pattern = 0xDEADBEEF;
    EXPECT_EQ(ReadIntegerText(c.text, field, pattern), c.reads) << '"' << c.text << '"';
    if (c.reads)
        EXPECT_EQ(pattern, c.pattern) << '"' << c.text << '"';
    else
        EXPECT_EQ(pattern, 0xDEADBEEFu) << '"' << c.text << "\" must leave the output alone";
}

TEST(IntegerText, ExamplesOfTheOptionsDialog) {
    const Case CASES[] = {
        {"  250", true, 250}, {"250 ", false, 0}, {"", false, 0}, {"2.5", false, 0},
        {"$FA", true, 250},   {"0xFA", true, 250}, {"-5", true, 0xFFFFFFFB}, {"0", true, 0},
        {"0250", true, 250},
    };
    for (const Case &c : CASES)
        Check(IntegerField::Signed, c);
}

TEST(IntegerText, SignsPrefixesAndDigitCase) {
    const Case CASES[] = {
        {"+7", true, 7},          {"-0", true, 0},          {"xff", true, 255},     {"Xff", true, 255},
        {"0XaB", true, 0xAB},     {"$ffffffff", true, 0xFFFFFFFF},
        {"-0x10", true, 0x10},    {"+$10", true, 0x10},     {"  -$80000000", true, 0x80000000},
        {"0x000000001", true, 1}, {"00000000000000000042", true, 42},
    };
    for (const Case &c : CASES)
        Check(IntegerField::Signed, c);
}

TEST(IntegerText, WhatIsNotAnInteger) {
    for (const char *text : {" ", "   ", "+", "-", "$", "x", "0x", "-$", "+-1", "--1", "1-", "0x1g", "$-1",
                             "1e3", "abc", "\t5", "5\t", "0x 1", "$ 1", "- 1", "１２", "0x100000000",
                             "$123456789"})
        Check(IntegerField::Signed, {text, false, 0});
}

TEST(IntegerText, SignedDecimalRange) {
    Check(IntegerField::Signed, {"2147483647", true, 0x7FFFFFFF});
    Check(IntegerField::Signed, {"-2147483648", true, 0x80000000});
    Check(IntegerField::Signed, {"2147483648", false, 0});
    Check(IntegerField::Signed, {"-2147483649", false, 0});
    Check(IntegerField::Signed, {"4294967295", false, 0});
    Check(IntegerField::Signed, {"99999999999999999999999", false, 0});
}

TEST(IntegerText, UnsignedFieldsAlsoTakeDecimalsUpTo4294967295) {
    Check(IntegerField::Unsigned, {"4294967295", true, 0xFFFFFFFF});
    Check(IntegerField::Unsigned, {"2147483648", true, 0x80000000});
    Check(IntegerField::Unsigned, {"-1", true, 0xFFFFFFFF});
    Check(IntegerField::Unsigned, {"-2147483648", true, 0x80000000});
    Check(IntegerField::Unsigned, {"4294967296", false, 0});
    Check(IntegerField::Unsigned, {"-2147483649", false, 0});
    Check(IntegerField::Unsigned, {"-4294967295", false, 0});
}

}  // namespace

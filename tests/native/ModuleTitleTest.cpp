// The module title rule and the centring rule of the dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/ModuleTitle.h"
#include "ui/Placement.h"

namespace {

bool Cp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string BaseName(const char *path) {
    char name[260];
    const size_t length = ModuleBaseName(path, Cp932LeadByte, name, sizeof name);
    EXPECT_EQ(length, std::strlen(name));
    return name;
}

TEST(ModuleTitle, FolderAndExtensionAreRemoved) {
    EXPECT_EQ(BaseName("C:\\Program Files\\Velkora\\plugins\\VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("Z:/build/x/VelkCursorwake.dll"), "VelkCursorwake");
    EXPECT_EQ(BaseName("C:\\a.b\\Plugin"), "Plugin");
    EXPECT_EQ(BaseName("C:\\dir\\"), "");
    EXPECT_EQ(BaseName(""), "");
}

TEST(ModuleTitle, CutAtTheFirstDot) {
    EXPECT_EQ(BaseName("C:\\p\\Velk.Cursor.wake.dll"), "Velk");
    EXPECT_EQ(BaseName("C:\\p\\.hidden.dll"), "");
}

TEST(ModuleTitle, TrailByteThatLooksLikeABackslashIsPartOfTheName) {
    // "ソフト" in Shift-JIS: the trail byte of "ソ" is 0x5C.
    const char path[] = "C:\\p\\\x83\x5C\x83\x74\x83\x67.dll";
    EXPECT_EQ(BaseName(path), "\x83\x5C\x83\x74\x83\x67");
    EXPECT_EQ(BaseName("C:\\\x83\x5C\\Velk.dll"), "Velk");
}

TEST(ModuleTitle, ANameLongerThanTheBufferIsCutBetweenCharacters) {
    char name[4];
    EXPECT_EQ(ModuleBaseName("C:\\p\\Velk.dll", Cp932LeadByte, name, sizeof name), 3u);
    EXPECT_STREQ(name, "Vel");
    EXPECT_EQ(ModuleBaseName("C:\\p\\V\x83\x41X.dll", Cp932LeadByte, name, sizeof name), 3u);   // "VアX"
    EXPECT_STREQ(name, "V\x83\x41");
    EXPECT_EQ(ModuleBaseName("C:\\p\\Ve\x83\x41.dll", Cp932LeadByte, name, sizeof name), 2u);
    EXPECT_STREQ(name, "Ve");
}

TEST(ModuleTitle, FirstCharacterMayTakeTwoBytes) {
    EXPECT_EQ(FirstCharLength("Velk", Cp932LeadByte), 1u);
    EXPECT_EQ(FirstCharLength("\x83\x41X", Cp932LeadByte), 2u);   // "アX"
    EXPECT_EQ(FirstCharLength("\x83", Cp932LeadByte), 1u);         // a lone lead byte
    EXPECT_EQ(FirstCharLength("", Cp932LeadByte), 0u);
}

TEST(Placement, CentredWithHalvesRoundedDown) {
    // A 229 x 180 box on a monitor of 1280 x 1024 to the left of the primary one.
    EXPECT_EQ(CentredStart(-1280, 0, 229), -754);
    EXPECT_EQ(CentredStart(0, 1024, 180), 422);
    EXPECT_EQ(CentredStart(1280, 2304, 229), 1678);
    EXPECT_EQ(CentredStart(0, 1025, 100), 462);
    EXPECT_EQ(CentredStart(0, 100, 101), 0);
    EXPECT_EQ(CentredStart(-2147483647 - 1, 2147483647, 0), -1);
}

}  // namespace

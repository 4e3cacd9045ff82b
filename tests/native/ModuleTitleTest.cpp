// The module title rule and the centring rule of the dialogs.
#include <gtest/gtest.h>

#include "ui/ModuleTitle.h"
#include "ui/Placement.h"

namespace {

bool Cp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(ModuleTitle, FolderAndExtensionAreRemoved) {
    EXPECT_EQ(ModuleBaseName("C:\\Program Files\\Velkora\\plugins\\VelkCursorwake.dll", Cp932LeadByte),
              "VelkCursorwake");
    EXPECT_EQ(ModuleBaseName("VelkCursorwake.dll", Cp932LeadByte), "VelkCursorwake");
    EXPECT_EQ(ModuleBaseName("Z:/build/x/VelkCursorwake.dll", Cp932LeadByte), "VelkCursorwake");
    EXPECT_EQ(ModuleBaseName("C:\\a.b\\Plugin", Cp932LeadByte), "Plugin");
    EXPECT_EQ(ModuleBaseName("C:\\dir\\", Cp932LeadByte), "");
    EXPECT_EQ(ModuleBaseName("", Cp932LeadByte), "");
}

TEST(ModuleTitle, CutAtTheFirstDot) {
    EXPECT_EQ(ModuleBaseName("C:\\p\\Velk.Cursor.wake.dll", Cp932LeadByte), "Velk");
    EXPECT_EQ(ModuleBaseName("C:\\p\\.hidden.dll", Cp932LeadByte), "");
}

TEST(ModuleTitle, TrailByteThatLooksLikeABackslashIsPartOfTheName) {
    // "ソフト" in Shift-JIS: the trail byte of "ソ" is 0x5C.
    const char path[] = "C:\\p\\\x83\x5C\x83\x74\x83\x67.dll";
    EXPECT_EQ(ModuleBaseName(path, Cp932LeadByte), "\x83\x5C\x83\x74\x83\x67");
    EXPECT_EQ(ModuleBaseName("C:\\\x83\x5C\\Velk.dll", Cp932LeadByte), "Velk");
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

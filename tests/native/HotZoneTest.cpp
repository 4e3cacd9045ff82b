#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <string>
#include <vector>

#include "engine/ExcludedProgram.h"
#include "engine/FullScreen.h"
#include "engine/HotZones.h"
#include "engine/MonitorOrder.h"
#include "engine/Push.h"
#include "settings/Settings.h"

namespace {

const Rect32 FULL_HD = {0, 0, 1920, 1080};

TEST(HotZoneTest, CornersOfAFullHdMonitorWithTenPixels) {
    // Top-left reaches 0..10 (eleven columns), top-right 1910..1920.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 0, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 10, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, 11, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 10, 10, -1, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, 10, 10, 1910, 0));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, 10, 10, 1909, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RB, FULL_HD, 10, 10, 1919, 1079));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LB, FULL_HD, 10, 10, 0, 1070));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LB, FULL_HD, 10, 10, 0, 1069));
}

TEST(HotZoneTest, EdgeStripsSpanTheWholeSide) {
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_T, FULL_HD, 10, 10, 960, 10));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_T, FULL_HD, 10, 10, 960, 11));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_R, FULL_HD, 10, 10, 1915, 540));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 10, 960, 1075));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 10, 10, 3, 540));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 10, 10, 960, 540));
    // Only the switched-on zones count.
    EXPECT_FALSE(IsInMonitorZones(0xFF & ~MOVE_ZONE_L & ~MOVE_ZONE_LT & ~MOVE_ZONE_LB, FULL_HD, 10, 10, 3, 540));
}

TEST(HotZoneTest, ZeroWidthShrinksZonesToTheEdgeLine) {
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 0, 0, 0, 0));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, 0, 0, 1, 0));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 0, 10, 0, 700));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_L, FULL_HD, 0, 10, 1, 700));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 0, 5, 1080));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_B, FULL_HD, 10, 0, 5, 1079));
}

TEST(HotZoneTest, HugeSizesWrapInsteadOfOverflowing) {
    // L + INT_MAX and R - INT_MAX stay representable: the zones reach far off the screen.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, FULL_HD, INT_MAX, INT_MAX, 5000, 5000));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_RT, FULL_HD, INT_MAX, 10, -5000, 0));
    // A monitor far right: L + W wraps negative and the zone becomes empty.
    const Rect32 far = {INT_MAX - 100, 0, INT_MAX, 100};
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT, far, 1000, 10, INT_MAX - 50, 5));
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_LT, far, 10, 10, INT_MAX - 95, 5));
    // R - INT_MIN wraps to a large negative left bound, L + INT_MIN to an empty zone.
    EXPECT_TRUE(IsInMonitorZones(MOVE_ZONE_R, FULL_HD, INT_MIN, INT_MIN, 960, 540));
    EXPECT_FALSE(IsInMonitorZones(MOVE_ZONE_LT | MOVE_ZONE_L, FULL_HD, INT_MIN, INT_MIN, 960, 540));
}

// Monitors side by side (up to four, counted as the plug-in counts them), W = H = 10.
struct ZoneRow {
    const char *what;
    std::vector<Rect32> monitors;
    uint32_t onmove, onmove_others;
    int32_t x, y;
    bool in_zone;
    uint32_t push = 0;   // with Push bit 0, a strip rests only where another monitor continues beyond it
};

const Rect32 M1 = {0, 0, 1280, 1024}, M2_SHORT = {1280, 0, 2304, 768}, M2_LEFT = {-1024, 0, 0, 768};
const Rect32 M2 = {1280, 0, 2560, 1024}, M3 = {2560, 0, 3840, 1024}, M4 = {3840, 0, 5120, 1024};
const Rect32 M2_ABOVE = {0, -768, 1024, 0};
const uint32_t SEC = MOVE_ZONE_SECONDARY_SHIFT;

const ZoneRow ZONE_ROWS[] = {
    {"border 1|2: right strip of 1", {M1, M2_SHORT}, MOVE_ZONE_R, 0, 1280, 500, true},
    {"border 1|2: left strip of 2", {M1, M2_SHORT}, MOVE_ZONE_L << SEC, 0, 1280, 500, true},
    {"left strip of 2, inside", {M1, M2_SHORT}, MOVE_ZONE_L << SEC, 0, 1290, 500, true},
    {"left strip of 2, on 1", {M1, M2_SHORT}, MOVE_ZONE_L << SEC, 0, 1270, 500, false},
    {"no monitor 2: its bits do nothing", {M1}, MOVE_ZONE_L << SEC, 0, 1285, 500, false},
    {"below the shorter monitor 2", {M1, M2_SHORT}, MOVE_ZONE_B << SEC, 0, 1500, 1000, false},
    {"bottom strip of the shorter monitor 2", {M1, M2_SHORT}, MOVE_ZONE_B << SEC, 0, 1500, 760, true},
    {"monitor 2 on the left: its top-left corner", {M1, M2_LEFT}, MOVE_ZONE_LT << SEC, 0, -1024, 0, true},
    {"monitor 2 on the left: the corner's far end", {M1, M2_LEFT}, MOVE_ZONE_LT << SEC, 0, -1014, 10, true},
    {"monitor 2 on the left: past the corner", {M1, M2_LEFT}, MOVE_ZONE_LT << SEC, 0, -1013, 10, false},
    {"monitor 2 on the left: bottom-right corner", {M1, M2_LEFT}, MOVE_ZONE_RB << SEC, 0, -5, 765, true},
    {"monitor 2 on the left: not monitor 1's corner", {M1, M2_LEFT}, MOVE_ZONE_LT, 0, -1024, 0, false},
    {"top-left corner of 3", {M1, M2, M3}, 0, MOVE_ZONE_LT, 2563, 3, true},
    {"top-left corner of 3 with OnMoveOthers 0", {M1, M2, M3}, 0xFFFF, 0, 2563, 3, false},
    {"bottom strip of 4", {M1, M2, M3, M4}, 0, MOVE_ZONE_B, 4500, 1020, true},
    {"bottom strip of 4 above its reach", {M1, M2, M3, M4}, 0, MOVE_ZONE_B, 4500, 1013, false},
    {"border 2|3: right strip of 2", {M1, M2, M3}, MOVE_ZONE_R << SEC, 0, 2560, 500, true},
    {"border 2|3: left strip of 3", {M1, M2, M3}, 0, MOVE_ZONE_L, 2560, 500, true},
    {"border 2|3: right strip of 2 ends at 3's left", {M1, M2, M3}, MOVE_ZONE_R << SEC, 0, 2561, 500, false},
    {"OnMoveOthers: bits above 0xFF do nothing", {M1, M2, M3, M4}, 0, 0xFFFFFF00u, 2563, 3, false},
    {"OnMoveOthers: bits above 0xFF beside a zone", {M1, M2, M3, M4}, 0, 0xFFFFFF01u, 3843, 3, true},
    {"Push: right strip of 1 beside monitor 2 rests", {M1, M2_SHORT}, MOVE_ZONE_R, 0, 1275, 500, true, 1},
    {"Push: right strip of 1 below monitor 2 is pushed", {M1, M2_SHORT}, MOVE_ZONE_R, 0, 1275, 900, false, 1},
    {"Push: left strip of 1 on the desktop's edge is pushed", {M1, M2_SHORT}, MOVE_ZONE_L, 0, 3, 500, false, 1},
    {"Push: left strip of 1 beside monitor 2 on the left", {M1, M2_LEFT}, MOVE_ZONE_L, 0, 3, 500, true, 1},
    {"Push: left strip of 1 below monitor 2 on the left", {M1, M2_LEFT}, MOVE_ZONE_L, 0, 3, 900, false, 1},
    {"Push: top strip of 1 under monitor 2 above", {M1, M2_ABOVE}, MOVE_ZONE_T, 0, 500, 3, true, 1},
    {"Push: top strip of 1 past monitor 2 above", {M1, M2_ABOVE}, MOVE_ZONE_T, 0, 1100, 3, false, 1},
    {"Push: bottom strip of 2 above", {M1, M2_ABOVE}, MOVE_ZONE_B << SEC, 0, 500, -3, true, 1},
    {"Push: corners rest as ever", {M1}, MOVE_ZONE_LT | MOVE_ZONE_L, 0, 3, 3, true, 3},
};

TEST(HotZoneTest, MonitorsSideBySide) {
    Settings cfg;
    ApplyDefaults(cfg);
    for (const ZoneRow &row : ZONE_ROWS) {
        if (!row.push) {
            EXPECT_EQ(IsInAnyMonitorZone(row.onmove, row.onmove_others, row.monitors.data(), row.monitors.size(), 10,
                                         10, row.x, row.y),
                      row.in_zone)
                << row.what;
        }
        cfg.move.onmove = row.onmove;
        cfg.move.onmove_others = row.onmove_others;
        cfg.move.push = row.push;
        EXPECT_EQ(IsInRestZone(cfg, row.monitors.data(), row.monitors.size(), row.x, row.y), row.in_zone) << row.what;
    }
}

// What a move beyond every monitor pushes, from a point on the edge: the nearest monitor's zone.
struct PushRow {
    const char *what;
    std::vector<Rect32> monitors;
    uint32_t onmove, push;
    Point32 from, pt;
    int32_t monitor, zone, px;
};

const PushRow PUSH_ROWS[] = {
    {"right edge of 1", {M1}, MOVE_ZONE_R, 1, {1279, 500}, {1285, 501}, 0, ZONE_R, 6},
    {"the pixel past the edge", {M1}, MOVE_ZONE_R, 1, {1279, 500}, {1280, 500}, 0, ZONE_R, 1},
    {"below the shorter monitor 2", {M1, M2_SHORT}, 0xFF00, 1, {1500, 767}, {1500, 780}, 1, ZONE_B, 13},
    {"left edge of monitor 2 on the left", {M1, M2_LEFT}, 0xFF00, 1, {-1024, 300}, {-1030, 300}, 1, ZONE_L, 6},
    {"top edge of monitor 2 above", {M1, M2_ABOVE}, 0xFF00, 1, {500, -768}, {500, -800}, 1, ZONE_T, 15},
    {"a strip without its bit", {M1}, MOVE_ZONE_L, 1, {1279, 500}, {1285, 500}, 0, NO_PUSH, 0},
    {"a corner with Push bit 1 over its side edge", {M1}, MOVE_ZONE_RT, 2, {1279, 5}, {1284, 5}, 0, ZONE_RT, 5},
    {"a corner without Push bit 1", {M1}, MOVE_ZONE_RT, 1, {1279, 5}, {1284, 5}, 0, NO_PUSH, 0},
    {"a slide along the edge", {M1}, MOVE_ZONE_R, 1, {1279, 500}, {1282, 504}, 0, ZONE_R, 0},
};

TEST(HotZoneTest, PushAgainstTheDesktopsEdge) {
    Settings cfg;
    ApplyDefaults(cfg);
    for (const PushRow &row : PUSH_ROWS) {
        cfg.move.onmove = row.onmove;
        cfg.move.push = row.push;
        const PushStep step = MeasurePush(cfg, row.monitors.data(), row.monitors.size(), row.from, row.pt);
        EXPECT_EQ(step.zone, row.zone) << row.what;
        if (row.zone != NO_PUSH) {
            EXPECT_EQ(step.monitor, row.monitor) << row.what;
            EXPECT_EQ(step.px, row.px) << row.what;
        }
    }
}

// Each monitor as the system lists it, upper case for the one flagged primary; a list of four.
std::string MonitorOrder(const std::string &listed) {
    char entries[4];
    size_t count = 0;
    for (char m : listed)
        AddInMonitorOrder(entries, count, m, std::isupper(static_cast<unsigned char>(m)) != 0);
    return std::string(entries, count);
}

TEST(HotZoneTest, PrimaryMonitorIsMonitor1WhereverTheSystemListsIt) {
    EXPECT_EQ(MonitorOrder("abCd"), "Cabd");
    EXPECT_EQ(MonitorOrder("bA"), "Ab");
    EXPECT_EQ(MonitorOrder("Abc"), "Abc");
    EXPECT_EQ(MonitorOrder("ab"), "ab");   // no monitor flagged: the system's order
    EXPECT_EQ(MonitorOrder("abcdeF"), "Fabc");   // full: only the primary still gets in
}

TEST(HotZoneTest, HostFrameZoneFollowsTheQuickOptions) {
    uint8_t quick[8] = {};
    EXPECT_TRUE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    quick[1] = 1;
    EXPECT_FALSE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    quick[0] = 1;
    EXPECT_TRUE(IsHostFrameZoneOn(MOVE_ZONE_HOST_FRAME, quick));
    EXPECT_FALSE(IsHostFrameZoneOn(0xFFFF, quick));
}

TEST(HotZoneTest, FullScreenHoldsGesturesBackAsItsSettingSays) {
    const int32_t accepts_notifications = 5;
    for (int32_t state : {NOTIFICATION_STATE_D3D_FULL_SCREEN, NOTIFICATION_STATE_PRESENTATION_MODE}) {
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_REACT_ALWAYS, state, true));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, false));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, false));
        EXPECT_TRUE(IsHeldBackByFullScreen(7, state, false));   // an unknown value acts as 1
    }
    // "Busy" (a slide show, a borderless game, or only an overlay) counts at 1 with a window that
    // covers its monitor.
    for (int32_t state : {int32_t{NOTIFICATION_STATE_BUSY}, accepts_notifications}) {
        const bool busy = state == NOTIFICATION_STATE_BUSY;
        EXPECT_EQ(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, true), busy);
        EXPECT_EQ(IsHeldBackByFullScreen(-1, state, true), busy);
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_EXCLUSIVE, state, false));
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_REACT_ALWAYS, state, true));
        EXPECT_TRUE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, true));
        EXPECT_FALSE(IsHeldBackByFullScreen(FULLSCREEN_ANY_WINDOW, state, false));
        EXPECT_EQ(NeedsForegroundCover(FULLSCREEN_EXCLUSIVE, state), busy);
        EXPECT_TRUE(NeedsForegroundCover(FULLSCREEN_ANY_WINDOW, state));
        EXPECT_FALSE(NeedsForegroundCover(FULLSCREEN_REACT_ALWAYS, state));
    }
    // Borderless full screen covers the monitor exactly; a frame hanging over the edges covers it too.
    EXPECT_TRUE(CoversRect(FULL_HD, FULL_HD));
    EXPECT_TRUE(CoversRect({-8, -8, 1928, 1088}, FULL_HD));
    EXPECT_FALSE(CoversRect({0, 0, 1920, 1040}, FULL_HD));   // the taskbar stays visible
    EXPECT_FALSE(CoversRect({1, 0, 1920, 1080}, FULL_HD));
}

// Shift-JIS: ア is 83 41 and ヂ 83 61, which a fold of ASCII letters would take for the same; ソ
// is 83 5C, whose second byte is a '\\'.
TEST(HotZoneTest, ExcludedProgramsByFileNameWithoutRegardToCase) {
    const struct {
        const char *list, *path;
        bool listed;
    } ROWS[] = {
        {"mstsc.exe; Game.exe", "C:\\Windows\\System32\\mstsc.exe", true},
        {"mstsc.exe; Game.exe", "D:\\Games\\GAME.EXE", true},
        {"  game.exe  ;", "D:\\game.exe", true},
        {"mstsc.exe; Game.exe", "D:\\Games\\ame.exe", false},
        {"mstsc.exe; Game.exe", "D:\\mstsc.exe\\other.exe", false},
        {";;", "C:\\", false},
        {"ゲーム.exe", "C:\\遊び\\ゲーム.EXE", true},
        {"ア.exe", "C:\\ヂ.exe", false},
        {"ソフト.exe", "C:\\ソフト.exe", true},
        {"フト.exe", "C:\\ソフト.exe", false},
    };
    for (const auto &row : ROWS)
        EXPECT_EQ(IsProgramListed(row.list, row.path), row.listed) << row.list << " | " << row.path;
}

}  // namespace

// The settings record and the table of its INI keys. Free of windows.h, so the engine's
// decisions that read it build and are tested natively as well.
#pragma once
#include <cstddef>
#include <cstdint>

// The list of programs where no gesture answers: one line of a settings file can hold more, the
// field its first 259 bytes.
constexpr size_t EXCLUDE_TEXT_SIZE = 260;

struct Settings {
    struct General {
        int32_t enable;
        int32_t interval;       // ms between timer ticks
        int32_t fullscreen;     // FULLSCREEN_*: when full screen holds gestures back
        char exclude[EXCLUDE_TEXT_SIZE];   // program file names separated by ';'
    } general;
    struct Shortcut {
        char toggle_enable[24]; // carried through, never interpreted
    } shortcut;
    struct Wheel {
        int32_t onwheel;        // WHEEL_* bits
        int32_t up;
        int32_t down;
        int32_t allowance;      // notches of 120
        uint32_t timeout;       // ms
        int32_t bounce_guard;   // ms: a turn of the wheel sooner than this after the last wheel event is chatter
    } wheel;
    struct Move {
        uint32_t onmove;        // MOVE_ZONE_* bits
        int32_t width;
        int32_t height;
        int32_t delay;          // ms
        int32_t click_guard;    // not 0: a zone answers a resting cursor, not a click or a drag
        uint32_t onmove_others; // the zones of every monitor from the third on, as one monitor's byte
        uint32_t push;          // MOVE_PUSH_* bits: which zones answer a push against the screen's edge
        int32_t push_distance;  // pixels of push within a second that answer
        uint32_t modifier;      // MODIFIER_* bits: keys that must be held for a zone to answer
    } move;
    struct Click {
        uint32_t onclick;       // CLICK_* bits
        uint32_t msec_dblclick;
        int32_t msec_holddown;
        int32_t move_allowance; // pixels, in x and in y each
    } click;
};

extern Settings g_cfg;

// The settings file: the module's path with the extension of its file name replaced by ".ini".
constexpr int INI_PATH_SIZE = 262;
extern char g_ini_path[INI_PATH_SIZE];

// A dot in a folder name is not an extension; a file name without a dot gets ".ini" appended.
void DeriveIniPath(const char *module_path, char (&ini_path)[INI_PATH_SIZE]);

// The Push setting. Bit 0: the edge strips answer a push against the screen's edge, not a rest.
// Bit 1: the corners also answer a push, at once, besides a rest. Other bits are kept as read.
enum : uint32_t { MOVE_PUSH_EDGES = 0x01, MOVE_PUSH_CORNERS = 0x02 };
constexpr int32_t PUSH_DISTANCE_DEFAULT = 150;

// The Modifier setting: a hot zone answers only while every key chosen here is down (either key
// of a pair).
enum : uint32_t { MODIFIER_SHIFT = 0x01, MODIFIER_CTRL = 0x02, MODIFIER_ALT = 0x04, MODIFIER_WIN = 0x08 };

enum : uint32_t {
    MOVE_ZONE_LT = 0x01, MOVE_ZONE_RT = 0x02, MOVE_ZONE_RB = 0x04, MOVE_ZONE_LB = 0x08,
    MOVE_ZONE_T = 0x10, MOVE_ZONE_R = 0x20, MOVE_ZONE_B = 0x40, MOVE_ZONE_L = 0x80,
    MOVE_ZONE_SECONDARY_SHIFT = 8,
    MOVE_ZONE_HOST_FRAME = 0x10000,
};

// The FullScreen setting: 0 reacts always; 1 holds gestures back while a game or a slide show
// runs in exclusive full screen; 2 also while the foreground window covers its whole monitor.
// Any other value acts as 1.
enum : int32_t { FULLSCREEN_REACT_ALWAYS = 0, FULLSCREEN_EXCLUSIVE = 1, FULLSCREEN_ANY_WINDOW = 2 };

// Bit 0 turns the wheel gesture on. Bit 1 also counts wheels and touchpads that scroll in
// steps finer than a notch: their deltas add up to notches of 120.
enum : uint32_t { WHEEL_GESTURE_ON = 0x01, WHEEL_COUNT_FINE = 0x02 };

enum : uint32_t {
    CLICK_LEFT_DBLCLICK = 0x01, CLICK_MIDDLE_DBLCLICK = 0x02, CLICK_RIGHT_DBLCLICK = 0x04,
    CLICK_LEFT_HOLDDOWN = 0x10, CLICK_MIDDLE_HOLDDOWN = 0x20, CLICK_RIGHT_HOLDDOWN = 0x40,
};

// Copies what fits of `text` (null: empty) into a text field of `size` bytes: at most size - 1
// bytes, never half a character, the rest of the field zeroed.
void SetTextField(char *field, size_t size, const char *text);

// One INI key. Integer keys move the field's 32-bit pattern unchanged, but for a negative
// BounceGuard, which reads as 0, and a PushDistance of 0 or less, which reads as 150. Text keys
// have no accessors but their field's place and size in the record; their default is empty.
struct SettingsKey {
    const char *section;
    const char *key;
    int32_t default_value;
    uint32_t (*get)(const Settings &);
    void (*set)(Settings &, uint32_t);
    size_t text_offset = 0;
    size_t text_size = 0;

    bool IsText() const { return get == nullptr; }
    const char *Text(const Settings &cfg) const { return reinterpret_cast<const char *>(&cfg) + text_offset; }
    void SetText(Settings &cfg, const char *text) const {
        SetTextField(reinterpret_cast<char *>(&cfg) + text_offset, text_size, text);
    }
};

// The keys in the order in which they are read and written.
constexpr int SETTINGS_KEY_COUNT = 24;
extern const SettingsKey SETTINGS_KEYS[SETTINGS_KEY_COUNT];

void ApplyDefaults(Settings &cfg);

// "%d" of the field's pattern, as the file stores every integer (unsigned fields above
// 2147483647 come out negative and read back to the same pattern).
void FormatSettingValue(uint32_t value, char (&text)[20]);

// Reads g_ini_path into g_cfg; a missing file or key gives the default. A file that is there but
// cannot be read gives all the defaults and its error code (0 otherwise), and from then on
// IsSettingsFileUnread holds until a save succeeds.
uint32_t LoadSettings();

// Writes g_cfg into g_ini_path, which is either left as it was or replaced whole; 0, or the
// system's error code of the step that failed.
uint32_t SaveSettings();

// The file still holds settings that set-up could not read: only a save that the user asked for
// may replace them.
bool IsSettingsFileUnread();

#include "engine/FullScreen.h"

#include "settings/Settings.h"

bool CoversRect(const Rect32 &window, const Rect32 &monitor) {
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

bool NeedsForegroundCover(int32_t setting, int32_t notification_state) {
    return setting == FULLSCREEN_ANY_WINDOW || (setting != FULLSCREEN_REACT_ALWAYS && notification_state == NOTIFICATION_STATE_BUSY);
}

bool IsHeldBackByFullScreen(int32_t setting, int32_t notification_state, bool foreground_covers_monitor) {
    if (setting == FULLSCREEN_REACT_ALWAYS)
        return false;
    if (notification_state == NOTIFICATION_STATE_D3D_FULL_SCREEN ||
        notification_state == NOTIFICATION_STATE_PRESENTATION_MODE)
        return true;
    return NeedsForegroundCover(setting, notification_state) && foreground_covers_monitor;
}

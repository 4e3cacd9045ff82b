// Forms laid out from a table: each row is one standard control, placed in pixels inside its
// parent (the form, a tab page or a panel). Rows are created in table order, which is also
// the tab order among siblings. The pixels are those of a 96-DPI screen; a form is laid out
// at its own DPI, every measure scaled by the one rule of Scaled.
#pragma once
#include <windows.h>

#include <cstddef>

// The class of a row that is a page of the tab control named by its parent: a child dialog
// over the tab's display area, with the row's text on its tab.
extern const char LAYOUT_PAGE[];

enum class Look {
    Plain,
    Desktop,   // the desktop colour behind navy text: the monitor panels and their boxes
    Link,      // blue text: a clickable web address
};

struct LayoutRow {
    int id;              // -1 for text that nothing refers to
    int parent;          // 0 for the form, else the id of the row that holds this one
    const char *cls;     // "Button", "Edit", "Static", WC_TABCONTROLA or LAYOUT_PAGE
    const char *text;
    DWORD style;         // besides WS_CHILD | WS_VISIBLE
    DWORD ex_style;
    int x, y, w, h;      // pixels at 96 DPI, in the parent's client area (unused for pages)
    int font;            // index into the form's fonts
    Look look;
};

// The most rows that one form may have.
constexpr size_t LAYOUT_CAPACITY = 128;

class LayoutWindows {
public:
    HWND Get(int id) const;
    bool Add(int id, HWND window);
    // Forgets the windows, first taking off what BuildLayout put on them; call it while the
    // windows still exist (WM_DESTROY of the form comes before its children go).
    void Clear();

private:
    struct Entry {
        int id;
        HWND window;
    };
    Entry windows_[LAYOUT_CAPACITY] = {};
    size_t count_ = 0;
};

// The DPI that a form is laid out at: the window's own where the system tells it, else the
// screen's (96 for a program that the system scales).
int FormDpi(HWND form);
// The screen's DPI, which the system's own metrics and fonts are given in.
int ScreenDpi();
// The font of the system's message boxes, as the system gives it at the screen's DPI.
LOGFONTA SystemMessageFont();
// Pixels at 96 DPI as pixels at `dpi`. At 96 every measure stays as it is.
inline int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

// Creates every row at `dpi`; false, with the failure recorded (RECORD_ERROR), when a window
// could not be created. The form then ends itself with LAYOUT_NOT_BUILT.
constexpr INT_PTR LAYOUT_NOT_BUILT = IDABORT;
bool BuildLayout(HWND form, const LayoutRow *rows, size_t count, const HFONT *fonts, int dpi, LayoutWindows &out);

// The answer to WM_CTLCOLORSTATIC or WM_CTLCOLORBTN (the control's DC in wparam, the control
// in lparam) for a control of the layout: its brush, null when it keeps the default colours.
HBRUSH AnswerColourMessage(WPARAM wparam, LPARAM lparam);

// Shows a form without controls modally and without an owner, as a modal form of this thread:
// while it is shown every other enabled, visible top-level window of the thread is disabled,
// and when it closes exactly those are enabled again and the window that was active before
// is activated. Returns the result given to EndLayoutDialog; IDCANCEL when the thread is told
// to quit, or when a form is being shown already. A form that ends with LAYOUT_NOT_BUILT while
// it is created is never shown: the recorded failure goes into a message box, and the result is
// IDCANCEL.
INT_PTR ShowLayoutDialog(HINSTANCE instance, DLGPROC proc, LPARAM param);
void EndLayoutDialog(HWND form, INT_PTR result);

// While ShowLayoutDialog shows a form: brings it, or the message box it shows, to the front
// and returns true.
bool ActivateShownDialog();
// Whether ShowLayoutDialog is showing a form (or about to).
bool IsDialogShown();
// While ShowLayoutDialog shows a form: closes the message box that the form shows, if any, and
// ends the form with IDCANCEL, as if the user had cancelled; ShowLayoutDialog returns once the
// message that called this has been handled.
void CancelShownDialog();

// Sent to the shown form for Ctrl+Tab and Ctrl+PageDown (wparam 1) and for Ctrl+Shift+Tab and
// Ctrl+PageUp (wparam -1) from anywhere on it: turn the page.
const UINT LAYOUT_TURN_PAGE = WM_APP + 1;

// The form object that ShowLayoutDialog was given, kept with the dialog from WM_INITDIALOG on;
// null for the messages that come before it.
template <typename Form>
Form *FormObjectOf(HWND form, UINT message, LPARAM lparam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(form, DWLP_USER, lparam);
    return reinterpret_cast<Form *>(GetWindowLongPtrA(form, DWLP_USER));
}
void SetClientSize(HWND form, int width, int height);

// Moves the form so that it stands in the middle of the area (halves rounded down).
void CentreWindowIn(HWND form, const RECT &area);

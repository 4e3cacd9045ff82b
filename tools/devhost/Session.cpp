#include "tools/devhost/Session.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <commctrl.h>

#include "tools/hostside/WindowDriver.h"

namespace {

const char LOG_TAG[] = "Cursorwake ";

// How long a step may take to show its effect on a loaded machine; met steps end at once.
const DWORD STEP_LIMIT_MS = 10000;
// The timer lines that begin every tick.
const char TICK_START[] = "g_timer_event=";
// Ticks that must pass before "nothing happened" is believed: two whole dwell cycles (arm,
// evaluate, arm, evaluate), so the plug-in has looked at the cursor where the step left it.
const size_t TICKS_FOR_NOTHING = 4;

// The lines that every timer tick writes; the transcript counts them instead of listing them.
const char *const TICK_TRACE_PREFIXES[] = {
    "point.x=", "g_timer_event=", "yet time", "onmove=0x", "if(g_cfg.move.onmove)",
};

bool IsTickTrace(const std::string &text) {
    for (const char *prefix : TICK_TRACE_PREFIXES)
        if (text.compare(0, std::strlen(prefix), prefix) == 0)
            return true;
    return false;
}

std::string WithoutTag(const std::string &line) {
    return line.compare(0, sizeof LOG_TAG - 1, LOG_TAG) == 0 ? line.substr(sizeof LOG_TAG - 1) : line;
}

std::string Trim(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool ParseInt(const std::string &word, long &value) {
    char *end = nullptr;
    value = std::strtol(word.c_str(), &end, 10);
    return !word.empty() && *end == '\0';
}

struct ButtonFlags {
    const char *name;
    DWORD down, up;
};
const ButtonFlags BUTTONS[] = {
    {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
    {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
    {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
};

const ButtonFlags *FindButton(const std::string &name) {
    for (const ButtonFlags &button : BUTTONS)
        if (name == button.name)
            return &button;
    return nullptr;
}

std::string WithoutAccessKey(const std::string &caption) {
    std::string plain;
    for (char c : caption)
        if (c != '&')
            plain += c;
    return plain;
}

// A control of the class with the caption (any caption when it is empty), access keys aside.
HWND FindChild(HWND parent, const char *class_name, const std::string &caption) {
    for (HWND child : ControlsOfClass(parent, class_name))
        if (caption.empty() || WithoutAccessKey(TextOf(child)) == caption)
            return child;
    return nullptr;
}

struct OtherWindowSearch {
    HWND host;
    bool found;
};

BOOL CALLBACK MatchOtherWindow(HWND window, LPARAM param) {
    auto &search = *reinterpret_cast<OtherWindowSearch *>(param);
    if (window != search.host && IsWindowVisible(window) && (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION)) {
        search.found = true;
        return FALSE;
    }
    return TRUE;
}

// A window of the host's thread other than the host's own, shown: the plug-in's dialog.
bool HostThreadShowsAnotherWindow(HWND host) {
    OtherWindowSearch search = {host, false};
    EnumThreadWindows(GetWindowThreadProcessId(host, nullptr), MatchOtherWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

Session::Session(DevHost &host, Journal &journal, const std::string &transcript_path, const std::string &shots_dir)
    : host_(host), journal_(journal), shots_dir_(shots_dir.empty() ? "." : shots_dir) {
    if (!transcript_path.empty())
        transcript_.reset(new Utf8File(transcript_path));
}

Session::~Session() {
    if (thread_.joinable())
        thread_.join();
}

bool Session::Load(const std::string &path, std::string &error) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open the session " + path;
        return false;
    }
    std::string utf8(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &utf8[0], static_cast<DWORD>(utf8.size()), &read, nullptr);
    CloseHandle(file);
    utf8.resize(read);

    // Scripts are UTF-8 files; captions must be compared in the ANSI code page of the dialogs.
    std::istringstream lines(Utf8ToAnsi(utf8));
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::string text = Trim(raw);
        if (text.empty())
            continue;
        SessionStep step = {number, text, "", {}, "", text[0] == '#'};
        if (step.is_heading) {
            step.text = Trim(text.substr(1));
            steps_.push_back(step);
            continue;
        }
        std::istringstream words(text);
        for (std::string word; words >> word;)
            step.words.push_back(word);
        step.verb = step.words[0];
        step.words.erase(step.words.begin());
        step.rest = Trim(text.substr(step.verb.size()));

        const std::vector<std::string> &w = step.words;
        long n;
        bool ok;
        const std::string &v = step.verb;
        if (v == "move")
            ok = w.size() == 2 && ParseInt(w[0], n) && ParseInt(w[1], n);
        else if (v == "wheel") {
            ok = !w.empty();
            for (const std::string &word : w)
                ok = ok && ParseInt(word, n);
        } else if (v == "down" || v == "up")
            ok = w.size() == 1 && FindButton(w[0]);
        else if (v == "click")
            ok = (w.size() == 1 || (w.size() == 2 && ParseInt(w[1], n) && n > 0)) && FindButton(w[0]);
        else if (v == "wait" || v == "tab")
            ok = w.size() == 1 && ParseInt(w[0], n) && n >= 0;
        else if (v == "host")
            ok = w.size() == 1 && (w[0] == "show" || w[0] == "hide" || w[0] == "focus");
        else if (v == "menu" || v == "shot")
            ok = w.size() == 1;
        else if (v == "dialog" || v == "button")
            ok = !step.rest.empty();
        else if (v == "expect") {
            const std::string what = w.empty() ? "" : w[0];
            if (what == "in" || what == "out" || what == "none")
                ok = w.size() == 1 || (w.size() == 2 && ParseInt(w[1], n) && n >= 0);
            else if (what == "log")
                ok = w.size() >= 2;
            else if (what == "checked" || what == "unchecked")
                ok = w.size() == 2;
            else
                ok = false;
        } else
            ok = false;
        if (!ok) {
            error = Format("%s:%d: cannot read the step \"%s\"", path.c_str(), number, text.c_str());
            return false;
        }
        steps_.push_back(step);
    }
    return true;
}

void Session::Start() { thread_ = std::thread([this] { Play(); }); }

void Session::Play() {
    int number = 0, met = 0, failed = 0, skipped = 0;
    const DWORD start = GetTickCount();
    bool in_heading = false;
    for (const SessionStep &step : steps_) {
        if (step.is_heading) {
            if (!in_heading)
                Print("");
            Print("# " + step.text);
            in_heading = true;
            continue;
        }
        in_heading = false;
        const size_t first_line = journal_.LogCount(), first_move = journal_.TrayMoveCount();
        const bool is_action = step.verb != "expect" && step.verb != "wait";
        if (is_action)
            action_first_line_ = first_line;
        const StepOutcome outcome = step.verb == "expect" && action_skipped_
                                        ? StepOutcome{StepOutcome::SKIPPED, "follows a skipped step"}
                                        : Execute(step);
        if (is_action)
            action_skipped_ = outcome.kind == StepOutcome::SKIPPED;
        std::string details;
        switch (outcome.kind) {
        case StepOutcome::DONE:
            details = outcome.note;
            break;
        case StepOutcome::MET:
            details = "ok: " + outcome.note;
            ++met;
            break;
        case StepOutcome::FAILED:
            details = "FAILED: " + outcome.note;
            ++failed;
            break;
        case StepOutcome::SKIPPED:
            details = "skipped: " + outcome.note;
            ++skipped;
            break;
        }
        // An expectation describes the moves it checked itself.
        const std::string report = Report(first_line, step.verb == "expect" ? SIZE_MAX : first_move);
        if (!report.empty())
            details += details.empty() ? report : "  |  " + report;
        Print(Format("%3d  %-36s %s", ++number, step.text.c_str(), details.c_str()));
    }
    Print("");
    Print(Format("%d steps in %.1f s: %d expectations met, %d failed, %d steps skipped", number,
                 (GetTickCount() - start) / 1000.0, met, failed, skipped));
    PostMessageA(host_.Window(), WM_DEVHOST_SESSION_DONE, failed ? 1 : 0, 0);
}

StepOutcome Session::Execute(const SessionStep &step) {
    const std::vector<std::string> &w = step.words;
    const std::string &v = step.verb;
    if (v == "move") {
        input_ticks_.push_back(GetTickCount());
        SetCursorPos(std::atoi(w[0].c_str()), std::atoi(w[1].c_str()));
        return {StepOutcome::DONE, ""};
    }
    if (v == "wheel") {
        for (const std::string &delta : w)
            Inject(MOUSEEVENTF_WHEEL, static_cast<DWORD>(std::atol(delta.c_str())));
        return {StepOutcome::DONE, ""};
    }
    if (v == "down" || v == "up" || v == "click") {
        const ButtonFlags &button = *FindButton(w[0]);
        const int count = w.size() > 1 ? std::atoi(w[1].c_str()) : 1;
        for (int i = 0; i < count; ++i) {
            if (v != "up")
                Inject(button.down);
            if (v != "down")
                Inject(button.up);
        }
        return {StepOutcome::DONE, ""};
    }
    if (v == "wait") {
        Sleep(std::atoi(w[0].c_str()));
        return {StepOutcome::DONE, ""};
    }
    if (v == "host") {
        const HostAction action = w[0] == "show" ? HOST_SHOW : w[0] == "hide" ? HOST_HIDE : HOST_FOCUS;
        SendMessageA(host_.Window(), WM_DEVHOST_ACTION, action, 0);
        const bool focused = GetForegroundWindow() == host_.Window();
        return {StepOutcome::DONE, Format("Velkora %s%s", IsWindowVisible(host_.Window()) ? "shown" : "in the tray",
                                          focused ? ", with the focus" : "")};
    }
    if (v == "menu")
        return PickMenuItem(w[0]);
    if (v == "dialog")
        return WaitForDialog(step.rest);
    if (v == "tab")
        return SelectPage(std::atoi(w[0].c_str()));
    if (v == "shot")
        return TakePicture(w[0]);
    if (v == "button")
        return PressButton(step.rest);
    return Expect(step);
}

void Session::Inject(DWORD flags, DWORD data) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    if (flags == MOUSEEVENTF_WHEEL)
        input.mi.time = HandPacedWheelStamp();
    // Taken before sending: the hook, and with it a gesture's hot key, runs inside SendInput.
    input_ticks_.push_back(GetTickCount());
    SendInput(1, &input, sizeof input);
}

bool Session::WaitForCommand(unsigned commands_before, DWORD timeout_ms) {
    return WaitUntil([&] { return host_.CommandsReturned() != commands_before; }, timeout_ms);
}

StepOutcome Session::PickMenuItem(const std::string &name) {
    const UINT id = static_cast<UINT>(
        SendMessageA(host_.Window(), WM_DEVHOST_FIND_ITEM, 0, reinterpret_cast<LPARAM>(name.c_str())));
    if (!id)
        return {StepOutcome::FAILED, "the menu has no item " + name};
    const unsigned before = host_.CommandsReturned();
    // Posted, as a click on the item would: a command that shows a dialog returns only when it closes.
    PostMessageA(host_.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    dialog_ = nullptr;
    dialog_missing_ = !DevHost::IsHostItem(name) && !host_.HasCommand(name);
    if (dialog_missing_) {
        missing_command_ = name;
        WaitForCommand(before, STEP_LIMIT_MS);
        return {StepOutcome::SKIPPED, "this build of the plug-in does not export " + name};
    }
    commands_before_dialog_ = before;
    if (WaitUntil([&] { return host_.CommandsReturned() != before || HostThreadShowsAnotherWindow(host_.Window()); },
                STEP_LIMIT_MS) &&
        host_.CommandsReturned() != before)
        return {StepOutcome::DONE, "returned"};
    return {StepOutcome::DONE, "running: a dialog is open"};
}

StepOutcome Session::WaitForDialog(const std::string &caption) {
    if (dialog_missing_)
        return {StepOutcome::SKIPPED, "no " + missing_command_};
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowA(nullptr, caption.c_str());
            return found && IsWindowVisible(found);
        },
        STEP_LIMIT_MS);
    if (!found || !IsWindowVisible(found))
        return {StepOutcome::FAILED, "no window captioned \"" + caption + "\" within 10 s"};
    dialog_ = found;
    RECT rect;
    GetWindowRect(found, &rect);
    return {StepOutcome::DONE,
            Format("shown at %ld,%ld, %ldx%ld", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top)};
}

StepOutcome Session::SelectPage(int page) {
    if (dialog_missing_)
        return {StepOutcome::SKIPPED, "no " + missing_command_};
    HWND tabs = dialog_ ? FindChild(dialog_, WC_TABCONTROLA, "") : nullptr;
    if (!tabs)
        return {StepOutcome::FAILED, "the dialog has no tab control"};
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (page >= count)
        return {StepOutcome::FAILED, Format("the dialog has %d pages", count)};
    // As a click on the tab does: the control tells the dialog, which shows the page.
    SendMessageA(tabs, TCM_SETCURFOCUS, page, 0);
    if (SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != page)
        return {StepOutcome::FAILED, Format("page %d did not become current", page)};
    return {StepOutcome::DONE, Format("page %d 「%s」", page, TabText(tabs, page).c_str())};
}

StepOutcome Session::TakePicture(const std::string &name) {
    if (dialog_missing_)
        return {StepOutcome::SKIPPED, "no " + missing_command_};
    HWND target = dialog_ && IsWindowVisible(dialog_) ? dialog_ : host_.Window();
    if (!IsWindowVisible(target))
        return {StepOutcome::FAILED, "Velkora is in the tray: nothing to picture"};
    const std::string file = name + ".png";
    if (!SavePng(target, shots_dir_ + "\\" + file))
        return {StepOutcome::FAILED, "could not save " + file};
    return {StepOutcome::DONE, "saved " + file + " (" + TextOf(target) + ")"};
}

StepOutcome Session::PressButton(const std::string &caption) {
    if (dialog_missing_) {
        dialog_missing_ = false;   // the dialog's steps end here
        return {StepOutcome::SKIPPED, "no " + missing_command_};
    }
    HWND button = dialog_ ? FindChild(dialog_, WC_BUTTONA, caption) : nullptr;
    if (!button)
        return {StepOutcome::FAILED, "the dialog has no button \"" + caption + "\""};
    PostMessageA(button, BM_CLICK, 0, 0);
    HWND dialog = dialog_;
    dialog_ = nullptr;
    if (!WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, STEP_LIMIT_MS))
        return {StepOutcome::FAILED, "the dialog stayed open"};
    if (!WaitForCommand(commands_before_dialog_, STEP_LIMIT_MS))
        return {StepOutcome::FAILED, "the dialog closed but the menu command did not return"};
    return {StepOutcome::DONE, "dialog closed, the command returned"};
}

StepOutcome Session::Expect(const SessionStep &step) {
    const std::string &what = step.words[0];
    if (what == "in" || what == "out" || what == "none")
        return ExpectTrayMove(step);
    if (what == "log") {
        // (a line may take a few ticks of a starved host thread to come)
        const std::string text = Trim(step.rest.substr(step.rest.find("log") + 3));
        std::string found;
        WaitUntil(
            [&] {
                for (const LogEntry &line : journal_.LogSince(action_first_line_))
                    if (line.text.find(text) != std::string::npos) {
                        found = line.text;
                        return true;
                    }
                return false;
            },
            STEP_LIMIT_MS);
        if (found.empty())
            return {StepOutcome::FAILED, "the plug-in logged no line containing \"" + text + "\""};
        return {StepOutcome::MET, "logged \"" + WithoutTag(found) + "\""};
    }
    const std::string &name = step.words[1];
    const UINT id = static_cast<UINT>(
        SendMessageA(host_.Window(), WM_DEVHOST_FIND_ITEM, 0, reinterpret_cast<LPARAM>(name.c_str())));
    if (!id)
        return {StepOutcome::FAILED, "the menu has no item " + name};
    const bool checked = SendMessageA(host_.Window(), WM_DEVHOST_ITEM_CHECKED, id, 0) != 0;
    const bool want_checked = what == "checked";
    return {checked == want_checked ? StepOutcome::MET : StepOutcome::FAILED,
            name + (checked ? " has its check mark" : " has no check mark")};
}

StepOutcome Session::ExpectTrayMove(const SessionStep &step) {
    const std::string &what = step.words[0];
    const DWORD timeout =
        step.words.size() > 1 ? std::atoi(step.words[1].c_str()) : what == "none" ? 1000 : STEP_LIMIT_MS;
    if (what == "none") {
        // At least the given time, and until the plug-in's timer has had its chances to act:
        // on a busy machine the host's thread may run far fewer ticks than the interval promises.
        Sleep(timeout);
        if (IsPluginEnabled())
            WaitUntil([&] { return TicksSince(action_first_line_) >= TICKS_FOR_NOTHING; }, STEP_LIMIT_MS);
    } else {
        WaitUntil([&] { return journal_.TrayMoveCount() > moves_checked_; }, std::max(timeout, STEP_LIMIT_MS));
    }
    const std::vector<TrayMove> moves = journal_.TrayMovesSince(moves_checked_);
    moves_checked_ += moves.size();
    if (what == "none") {
        if (moves.empty())
            return {StepOutcome::MET, Format("Velkora stayed where it was for %lu ms", timeout)};
        return {StepOutcome::FAILED, DescribeMoves(moves)};
    }
    if (moves.empty())
        return {StepOutcome::FAILED, Format("Velkora did not %s within %lu ms", what == "in" ? "come in" : "go out",
                                            timeout)};
    const bool ok = moves.size() == 1 && moves[0].came_in == (what == "in");
    return {ok ? StepOutcome::MET : StepOutcome::FAILED, DescribeMoves(moves)};
}

size_t Session::TicksSince(size_t first_line) const {
    size_t ticks = 0;
    for (const LogEntry &entry : journal_.LogSince(first_line))
        if (WithoutTag(entry.text).compare(0, sizeof TICK_START - 1, TICK_START) == 0)
            ++ticks;
    return ticks;
}

bool Session::IsPluginEnabled() const {
    const UINT id = static_cast<UINT>(
        SendMessageA(host_.Window(), WM_DEVHOST_FIND_ITEM, 0, reinterpret_cast<LPARAM>("MyToggleEnable")));
    return id && SendMessageA(host_.Window(), WM_DEVHOST_ITEM_CHECKED, id, 0) != 0;
}

std::string Session::Latency(DWORD tick) const {
    // The last input sent at or before the move (tick counts wrap; differences do not mind).
    for (auto it = input_ticks_.rbegin(); it != input_ticks_.rend(); ++it)
        if (static_cast<int32_t>(tick - *it) >= 0)
            return Format("%ld ms after the last input", static_cast<long>(tick - *it));
    return "before any input";
}

std::string Session::DescribeMoves(const std::vector<TrayMove> &moves) const {
    std::string text;
    for (const TrayMove &move : moves) {
        if (!text.empty())
            text += ", then ";
        text += (move.came_in ? "Velkora came in, " : "Velkora went out, ") + Latency(move.tick);
    }
    return text;
}

std::string Session::Report(size_t first_line, size_t first_move) const {
    std::string text;
    if (first_move != SIZE_MAX) {
        const std::vector<TrayMove> moves = journal_.TrayMovesSince(first_move);
        if (!moves.empty())
            text = DescribeMoves(moves);
    }
    const std::vector<LogEntry> lines = journal_.LogSince(first_line);
    // Notable lines in order, a run of the same line once with its count.
    std::vector<std::pair<std::string, int>> notable;
    int tick_lines = 0;
    for (const LogEntry &entry : lines) {
        const std::string line = WithoutTag(entry.text);
        if (IsTickTrace(line))
            ++tick_lines;
        else if (!notable.empty() && notable.back().first == line)
            ++notable.back().second;
        else
            notable.push_back({line, 1});
    }
    const size_t most = 8;
    std::string logged;
    for (size_t i = 0; i < notable.size() && i < most; ++i) {
        logged += (logged.empty() ? "logged " : ", ") + ("\"" + notable[i].first + "\"");
        if (notable[i].second > 1)
            logged += Format(" x%d", notable[i].second);
    }
    const size_t shown = notable.size();
    if (shown > most)
        logged += Format(" and %u more", static_cast<unsigned>(shown - most));
    if (tick_lines)
        logged += Format("%s%d timer trace lines", logged.empty() ? "logged " : " (+", tick_lines) +
                  (shown ? ")" : "");
    if (!logged.empty())
        text += (text.empty() ? "" : "  |  ") + logged;
    return text;
}

void Session::Print(const std::string &line) {
    WriteStd(STD_OUTPUT_HANDLE, line + "\n");
    if (transcript_)
        transcript_->WriteLine(line);
}

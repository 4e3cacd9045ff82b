// A scripted session: a text file of steps, one a line, played against the running host and
// plug-in from a thread of its own, while the host's thread pumps messages as Velkora's does.
//
//   move X Y                  put the cursor at X, Y
//   wheel DELTA...            roll the wheel (120 is one notch forward, -120 one back), the
//                             notches stamped a hand's pace apart
//   down|up BUTTON            press or release left, middle or right
//   click BUTTON [COUNT]      press and release, COUNT times
//   wait MS                   let the host run
//   host show|hide|focus      Velkora's own doings: shown, put in the tray, clicked into
//   menu NAME                 pick a menu item: a plug-in command (MyToggleEnable, MyOption,
//                             MyVersion) or a host item (suspend, resume, quickoption0, ...)
//   dialog CAPTION            wait for the plug-in's dialog with this caption
//   tab N                     show page N (from 0) of the dialog's tab control
//   shot NAME                 save a picture of the dialog (or, with none open, of the host)
//   button CAPTION            press the dialog's button with this caption; waits until it closes
//   expect in|out [MS]        the hot key brought Velkora in (out) once since the last expect
//                             (waits up to MS, and at least 10 s: a busy machine is slow)
//   expect none [MS]          ... and not at all within MS, nor within the timer ticks the
//                             plug-in needs to act (four, while it is enabled)
//   expect log TEXT           the plug-in logged a line containing TEXT since the last step that
//                             did something (not a wait or an expectation)
//   expect checked|unchecked NAME   the check mark of a menu item
//
// A line starting with # is a comment; comments are copied into the transcript as headings.
// When the plug-in lacks a dialog's command, that dialog's steps and the expectations right
// after them are skipped, and said so.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/devhost/DevHost.h"
#include "tools/devhost/Journal.h"
#include "tools/devhost/Text.h"

struct SessionStep {
    int line;
    std::string text;   // the line as written, for the transcript
    std::string verb;
    std::vector<std::string> words;
    std::string rest;   // everything after the verb
    bool is_heading;
};

struct StepOutcome {
    enum Kind { DONE, MET, FAILED, SKIPPED } kind;
    std::string note;
};

class Session {
public:
    Session(DevHost &host, Journal &journal, const std::string &transcript_path, const std::string &shots_dir);
    ~Session();
    // Reads and checks the whole script; false with a message naming the line when it is wrong.
    bool Load(const std::string &path, std::string &error);
    // Plays the steps on a thread of its own; the host closes when the last one is done.
    void Start();

private:
    void Play();
    StepOutcome Execute(const SessionStep &step);
    StepOutcome Expect(const SessionStep &step);
    StepOutcome ExpectTrayMove(const SessionStep &step);
    StepOutcome PickMenuItem(const std::string &name);
    StepOutcome WaitForDialog(const std::string &caption);
    StepOutcome SelectPage(int page);
    StepOutcome PressButton(const std::string &caption);
    StepOutcome TakePicture(const std::string &name);
    void Inject(DWORD flags, DWORD data = 0);
    bool WaitForCommand(unsigned commands_before, DWORD timeout_ms);
    std::string Report(size_t first_line, size_t first_move) const;
    void Print(const std::string &line);
    std::string Latency(DWORD tick) const;
    size_t TicksSince(size_t first_line) const;
    bool IsPluginEnabled() const;
    std::string DescribeMoves(const std::vector<TrayMove> &moves) const;

    DevHost &host_;
    Journal &journal_;
    std::unique_ptr<Utf8File> transcript_;
    std::string shots_dir_;
    std::vector<SessionStep> steps_;
    std::thread thread_;

    std::vector<DWORD> input_ticks_;   // when each injected input was sent
    size_t moves_checked_ = 0;    // tray moves that an expectation has accounted for
    size_t action_first_line_ = 0; // the first log line of the last step that did something
    bool action_skipped_ = false;
    HWND dialog_ = nullptr;
    bool dialog_missing_ = false; // the plug-in has no such command: its dialog steps are skipped
    std::string missing_command_;
    unsigned commands_before_dialog_ = 0;
};

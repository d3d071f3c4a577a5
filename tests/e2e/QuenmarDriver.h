#pragma once
// Drives the real Quenmar.exe under Wine: starts it with an exact command line,
// waits for its notice or its exit, reads the notice from outside, closes it.
#include <windows.h>

#include <string>

struct NoticeWindow {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring line1;          // control 1005
    std::wstring line2;          // control 1006
    bool hasWarningIcon = false; // control 1010 shows an icon
    bool checkBoxVisible = false;
    bool topmost = false;
    bool toolWindow = false;
    bool centred = false;
};

enum class CloseBy { Button, Escape, CloseBox, TickedHiddenBoxThenButton };
// Whose dialog to wait for: the started program's, or any (one its child shows).
enum class NoticeOf { ThisProcess, AnyProcess };

class QuenmarRun {
public:
    // Starts "<bin>\Quenmar.exe" + arguments, exactly as written.
    explicit QuenmarRun(const std::string& arguments);
    // Starts another program (a caller of Quenmar.exe) the same way.
    QuenmarRun(const std::string& exePath, const std::string& arguments);
    ~QuenmarRun();
    QuenmarRun(const QuenmarRun&) = delete;
    QuenmarRun& operator=(const QuenmarRun&) = delete;

    bool Started() const { return m_process != nullptr; }
    HANDLE Process() const { return m_process; }
    // Waits for a visible dialog; false when the process ended (or time ran out) first.
    bool WaitForNotice(NoticeWindow& notice, DWORD timeoutMs = 15000,
                       NoticeOf whose = NoticeOf::ThisProcess);
    void Close(const NoticeWindow& notice, CloseBy how);
    // Waits for the process to end; false on time-out (the process is then killed).
    bool WaitForExit(DWORD timeoutMs = 15000);

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

// Runs Quenmar.exe + arguments to its notice, closes it `how` and waits for the end;
// false when no notice came or the run did not end. `seen` receives the notice.
bool RunToNoticeAndClose(const std::string& arguments, CloseBy how = CloseBy::Button,
                         NoticeWindow* seen = nullptr);

std::string QuenmarExePath();

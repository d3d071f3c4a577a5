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

class QuenmarRun {
public:
    // Starts "<bin>\Quenmar.exe" + arguments, exactly as written.
    explicit QuenmarRun(const std::string& arguments);
    explicit QuenmarRun(const std::string& exePath, const std::string& arguments);
    ~QuenmarRun();
    QuenmarRun(const QuenmarRun&) = delete;
    QuenmarRun& operator=(const QuenmarRun&) = delete;

    bool Started() const { return m_process != nullptr; }
    // Waits for a visible dialog of the process; false when it ended (or timed out) first.
    bool WaitForNotice(NoticeWindow& notice, DWORD timeoutMs = 15000);
    void Close(const NoticeWindow& notice, CloseBy how);
    // Waits for the process to end; false on time-out (the process is then killed).
    bool WaitForExit(DWORD timeoutMs = 15000);
    DWORD ProcessId() const { return m_processId; }

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

// A visible dialog of processId (0: of any process) while `process` still runs.
bool WaitForNoticeWindow(HANDLE process, DWORD processId, NoticeWindow& notice,
                         DWORD timeoutMs = 15000);
void CloseNotice(const NoticeWindow& notice, CloseBy how);

std::string QuenmarExePath();

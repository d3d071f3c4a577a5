#include "QuenmarDriver.h"

#include "WineSystem.h"

std::string QuenmarExePath() {
    return ProductExePath("Quenmar.exe");
}

QuenmarRun::QuenmarRun(const std::string& arguments) : QuenmarRun(QuenmarExePath(), arguments) {}

QuenmarRun::QuenmarRun(const std::string& exePath, const std::string& arguments) {
    const std::string line = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (StartProcess(line, false, si, pi)) {
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        m_processId = pi.dwProcessId;
    }
}

QuenmarRun::~QuenmarRun() {
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0)
            TerminateProcess(m_process, 255);
        CloseHandle(m_process);
    }
}

namespace {
struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    // A notice: a visible dialog with the check box and the two text lines both notices
    // have (an installer's own dialogs have other controls).
    if ((search->processId == 0 || pid == search->processId) && IsWindowVisible(hwnd) &&
        lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(hwnd, 1004) && GetDlgItem(hwnd, 1005) &&
        GetDlgItem(hwnd, 1006)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}
} // namespace

bool QuenmarRun::WaitForNotice(NoticeWindow& notice, DWORD timeoutMs, NoticeOf whose) {
    if (!m_process)
        return false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search search{whose == NoticeOf::AnyProcess ? 0 : m_processId, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Sleep(100); // let OnInitDialog's texts settle before reading them
            HWND h = search.found;
            notice.hwnd = h;
            notice.caption = TextOf(h);
            notice.line1 = TextOf(GetDlgItem(h, 1005));
            notice.line2 = TextOf(GetDlgItem(h, 1006));
            HWND icon = GetDlgItem(h, 1010);
            notice.hasWarningIcon = icon && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
            notice.checkBoxVisible = IsWindowVisible(GetDlgItem(h, 1004)) != FALSE;
            const LONG_PTR exStyle = GetWindowLongPtrW(h, GWL_EXSTYLE);
            notice.topmost = (exStyle & WS_EX_TOPMOST) != 0;
            notice.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
            RECT work, rc;
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            GetWindowRect(h, &rc);
            const LONG dx = (rc.left - work.left) - (work.right - rc.right);
            const LONG dy = (rc.top - work.top) - (work.bottom - rc.bottom);
            notice.centred = dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
            return true;
        }
        if (WaitForSingleObject(m_process, 20) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

void QuenmarRun::Close(const NoticeWindow& notice, CloseBy how) {
    HWND h = notice.hwnd;
    switch (how) {
    case CloseBy::TickedHiddenBoxThenButton:
        SendMessageW(GetDlgItem(h, 1004), BM_SETCHECK, BST_CHECKED, 0);
        [[fallthrough]];
    case CloseBy::Button:
        PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(h, IDCANCEL)));
        break;
    case CloseBy::Escape: {
        // The dialog manager turns Esc into IDCANCEL; the key goes to the focused control.
        DWORD threadId = GetWindowThreadProcessId(h, nullptr);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        HWND target = GetGUIThreadInfo(threadId, &info) && info.hwndFocus ? info.hwndFocus
                                                                          : GetDlgItem(h, IDCANCEL);
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        break;
    }
    case CloseBy::CloseBox:
        PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

bool QuenmarRun::WaitForExit(DWORD timeoutMs) {
    if (!m_process)
        return false;
    if (WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0)
        return true;
    TerminateProcess(m_process, 255);
    return false;
}

bool RunToNoticeAndClose(const std::string& arguments, CloseBy how, NoticeWindow* seen) {
    QuenmarRun run(arguments);
    NoticeWindow notice;
    if (!run.WaitForNotice(notice))
        return false;
    if (seen)
        *seen = notice;
    run.Close(notice, how);
    return run.WaitForExit();
}

#pragma once
// The application object's start-up and exit (Windows side): one global object
// derived from CWinApp; WinMain calls InitInstance, runs a message loop only when
// that returns TRUE, then ExitInstance, whose result is the exit status.
#include <windows.h>

class CDialog;
class CCommandLineInfo;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // Feeds GetCommandLineA to info.ParseParam, lead bytes by the ANSI code page.
    void ParseCommandLine(CCommandLineInfo& info);
    // Icon resource of this module at the system's large-icon size; shared, never destroyed.
    HICON LoadIcon(UINT nIDResource) const;

    // The window whose destruction ends the thread; cleared when that window is destroyed.
    CDialog* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
};

// The single application object, or nullptr before it is constructed.
CWinApp* AfxGetApp();

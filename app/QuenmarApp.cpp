#include "app/QuenmarApp.h"

#include "app/AppCommandLineInfo.h"
#include "app/KeyHolder.h"
#include "app/NoticeDecision.h"
#include "dialogs/QuenmarDlg.h"
#include "dialogs/RedAVDlg.h"
#include "history/NoticeHistory.h"
#include "osversion/OsVersion.h"

#include <commctrl.h>

CQuenmarApp theApp;

namespace {
void ShowServicePackNotice(const NoticeDecision& decision, const CString& keyPath) {
    // Before the dialog exists: a notice closed at once, or never shown, still counts.
    if (!keyPath.IsEmpty())
        WriteReportTime(keyPath.c_str());

    CQuenmarDlg dlg(decision.m_bInstallerText);
    dlg.m_bWin8Notice = decision.m_bWin8Notice;
    dlg.m_bWin10Notice = decision.m_bWin10Notice;
    CWinApp* app = AfxGetApp();
    app->m_pMainWnd = &dlg;
    // Destroying the window clears the reference; for a dialog that never came up the
    // dialog object does it as it goes.
    dlg.DoModal();

    if (!keyPath.IsEmpty() && dlg.m_bNoShow)
        WriteSuppressTime(keyPath.c_str());
}

void ShowEndOfSupportNotice() {
    RedAVDlg dlg;
    dlg.m_bShowCheck = false;
    dlg.DoModal();
}
} // namespace

BOOL CQuenmarApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    AppCommandLineInfo options;
    ParseCommandLine(options);
    const CString& keyPath = CreateKeyHolder(options.m_strKeyPath).m_strKeyPath;

    const NoticeDecision decision =
        DecideNotice(options, keyPath, ReadVersionRecord, ClassifyVersion, IsReportDue);
    switch (decision.m_nKind) {
    case NoticeServicePack:
        ShowServicePackNotice(decision, keyPath);
        break;
    case NoticeEndOfSupport:
        ShowEndOfSupportNotice();
        break;
    case NoticeNone:
        break;
    }
    // No message loop follows: the framework goes straight to ExitInstance.
    return FALSE;
}

int CQuenmarApp::ExitInstance() {
    ReleaseKeyHolder();
    return CWinApp::ExitInstance();
}

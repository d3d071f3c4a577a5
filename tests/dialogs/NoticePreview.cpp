// Shows one notice for the screenshots, then closes it once it has been on screen
// for the given time.
//
//   notice_preview.exe 102 ROW [MILLISECONDS]   service-pack notice, wording row 1..5
//   notice_preview.exe 129 [MILLISECONDS]       end-of-support notice (check box hidden)
#include "dialogs/QuenmarDlg.h"
#include "dialogs/RedAVDlg.h"
#include "framework/WinApp.h"

#include <cwchar>
#include <cwctype>

namespace {
CDialog* g_dlg = nullptr;
UINT g_shownFor = 0; // milliseconds
UINT g_showFor = 5000;
constexpr UINT kTick = 100;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_dlg || !g_dlg->m_hWnd || !IsWindowVisible(g_dlg->m_hWnd))
        return;
    g_shownFor += kTick;
    if (g_shownFor == g_showFor)
        PostMessageW(g_dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

UINT Number(int argc, wchar_t** argv, int i, UINT fallback) {
    return i < argc ? static_cast<UINT>(std::wcstoul(argv[i], nullptr, 10)) : fallback;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    CWinApp app;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    UINT which = Number(argc, argv, 1, 102);
    if (which == 102) {
        // Flags (win10, win8, installer) of the first row that shows each wording.
        static const BOOL rows[5][3] = {{1, 0, 0}, {0, 1, 1}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}};
        UINT row = Number(argc, argv, 2, 5);
        if (row < 1 || row > 5)
            return 2;
        CQuenmarDlg dlg(rows[row - 1][2]);
        dlg.m_bWin10Notice = rows[row - 1][0];
        dlg.m_bWin8Notice = rows[row - 1][1];
        g_dlg = &dlg;
        g_showFor = Number(argc, argv, 3, 5000) / kTick * kTick;
        SetTimer(nullptr, 0, kTick, Tick);
        dlg.DoModal();
    } else {
        RedAVDlg dlg;
        dlg.m_bShowCheck = false;
        g_dlg = &dlg;
        g_showFor = Number(argc, argv, 2, 5000) / kTick * kTick;
        SetTimer(nullptr, 0, kTick, Tick);
        dlg.DoModal();
    }
    g_dlg = nullptr;
    LocalFree(argv);
    return 0;
}

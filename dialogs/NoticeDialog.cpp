#include "dialogs/NoticeDialog.h"

#include "framework/WinApp.h"
#include "dialogs/NoticeLook.h"

static_assert(CTLCOLOR_STATIC == notice_look::kCtlColorStatic, "kind numbering");

namespace notice_dialog {

namespace {
constexpr UINT kApplicationIcon = 128;
}

HICON LoadApplicationIcon() {
    CWinApp* app = AfxGetApp();
    return app ? app->LoadIcon(kApplicationIcon) : nullptr;
}

void SetWindowIcons(CDialog& dlg, HICON icon) {
    dlg.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    dlg.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Paint(CDialog& dlg, HICON icon) {
    if (!dlg.IsIconic()) {
        dlg.CDialog::OnPaint();
        return;
    }
    CPaintDC dc(dlg.m_hWnd);
    dlg.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    RECT client{};
    ::GetClientRect(dlg.m_hWnd, &client);
    notice_look::IconOrigin at = notice_look::MinimisedIconOrigin(
        client.right - client.left, client.bottom - client.top, ::GetSystemMetrics(SM_CXICON),
        ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc, at.x, at.y, icon);
}

HBRUSH CtlColor(CDialog& dlg, CBrush& banner, HDC hDC, HWND hWnd, UINT nCtlColor) {
    dlg.CDialog::OnCtlColor(hDC, hWnd, nCtlColor);
    if (!banner.GetSafeHandle())
        banner.CreateSolidBrush(notice_look::kBannerColour);
    notice_look::ColourRule rule = notice_look::ChooseColourRule(nCtlColor, ::GetDlgCtrlID(hWnd));
    if (rule.transparentBackground)
        ::SetBkMode(hDC, TRANSPARENT);
    if (rule.whiteText)
        ::SetTextColor(hDC, notice_look::kHeadingTextColour);
    if (rule.brush == notice_look::BrushChoice::Banner)
        return banner;
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

void CancelCommand(CDialog& dlg) {
    dlg.UpdateData(TRUE);
    dlg.OnCancel();
}

} // namespace notice_dialog

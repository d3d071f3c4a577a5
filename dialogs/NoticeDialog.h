#pragma once
// CNoticeDialog: what both notice dialogs share (look, icons, closing), written once.
// Each notice derives from CNoticeDialog<itself> and keeps its own members: the
// handlers here work on the derived class's m_brBanner, m_bNoShow and m_hIcon. Each
// notice class has its own message map, an instance of the one below, whose base map
// is CDialog's.
#include "dialogs/NoticeLook.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"

template <class TDialog> class CNoticeDialog : public CDialog {
protected:
    explicit CNoticeDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    // The base initialisation (members into the controls), then the window icon in
    // both sizes; the notice's own steps follow in its override.
    BOOL OnInitDialog() override;

    // Minimised: the icon centred on the erased client area; otherwise the default.
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return Self().m_hIcon; }
    // The colour rules; creates the banner brush on the first request (and again on
    // a later one if creating it failed).
    HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);
    // Every way of closing: the controls' states into the members (a failure does not
    // stop the close), then OnCancel.
    void OnCancelCommand();

    // Icon group 128 of this program at the large-icon size; shared, never destroyed.
    // Null when it cannot be loaded (or there is no application object).
    static HICON LoadApplicationIcon();

    static const MessageMap messageMap;

private:
    TDialog& Self() { return static_cast<TDialog&>(*this); }

    static const MessageMapEntry messageEntries[];
};

template <class TDialog>
const MessageMapEntry CNoticeDialog<TDialog>::messageEntries[] = {
    OnPaintEntry<&CNoticeDialog::OnPaint>(),
    OnQueryDragIconEntry<&CNoticeDialog::OnQueryDragIcon>(),
    OnCtlColorEntry<&CNoticeDialog::OnCtlColor>(),
    OnCommandEntry<&CNoticeDialog::OnCancelCommand>(IDCANCEL, BN_CLICKED),
};
template <class TDialog>
const MessageMap CNoticeDialog<TDialog>::messageMap = MakeMessageMap(&CDialog::messageMap,
                                                                     messageEntries);

template <class TDialog> BOOL CNoticeDialog<TDialog>::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Self().m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Self().m_hIcon));
    return TRUE;
}

template <class TDialog> void CNoticeDialog<TDialog>::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const notice_look::IconOrigin at = notice_look::MinimisedIconOrigin(
        client.right - client.left, client.bottom - client.top, ::GetSystemMetrics(SM_CXICON),
        ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc, at.x, at.y, Self().m_hIcon);
}

template <class TDialog>
HBRUSH CNoticeDialog<TDialog>::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
    static_assert(CTLCOLOR_STATIC == notice_look::kCtlColorStatic, "kind numbering");
    CDialog::OnCtlColor(hDC, hWnd, nCtlColor);
    CBrush& banner = Self().m_brBanner;
    if (!banner.GetSafeHandle())
        banner.CreateSolidBrush(notice_look::kBannerColour);
    const notice_look::ColourRule rule =
        notice_look::ChooseColourRule(nCtlColor, ::GetDlgCtrlID(hWnd));
    if (rule.transparentBackground)
        ::SetBkMode(hDC, TRANSPARENT);
    if (rule.whiteText)
        ::SetTextColor(hDC, notice_look::kHeadingTextColour);
    if (rule.brush == notice_look::BrushChoice::Banner)
        return banner;
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

template <class TDialog> void CNoticeDialog<TDialog>::OnCancelCommand() {
    UpdateData(TRUE);
    OnCancel();
}

template <class TDialog> HICON CNoticeDialog<TDialog>::LoadApplicationIcon() {
    constexpr UINT kApplicationIcon = 128;
    CWinApp* app = AfxGetApp();
    return app ? app->LoadIcon(kApplicationIcon) : nullptr;
}

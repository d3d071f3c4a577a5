#include "dialogs/QuenmarDlg.h"

#include "dialogs/NoticeDialog.h"
#include "dialogs/NoticeLook.h"

const MessageMapEntry CQuenmarDlg::messageEntries[] = {
    OnPaintEntry<&CQuenmarDlg::OnPaint>(),
    OnQueryDragIconEntry<&CQuenmarDlg::OnQueryDragIcon>(),
    OnCtlColorEntry<&CQuenmarDlg::OnCtlColor>(),
    OnCommandEntry<&CQuenmarDlg::OnCancelCommand>(IDCANCEL, BN_CLICKED),
};
const MessageMap CQuenmarDlg::messageMap = MakeMessageMap(&CDialog::messageMap, messageEntries);

CQuenmarDlg::CQuenmarDlg(BOOL bInstallerText)
    : CDialog(IDD), m_bInstallerText(bInstallerText),
      m_hIcon(notice_dialog::LoadApplicationIcon()) {}

void CQuenmarDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, notice_look::kIdNoShow, m_bNoShow);
    DDX_Control(pDX, notice_look::kIdWarningIcon, m_wndIcon);
}

BOOL CQuenmarDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    notice_dialog::SetWindowIcons(*this, m_hIcon);

    // The system's warning icon: shared, never destroyed.
    m_wndIcon.SetIcon(::LoadIconW(nullptr, MAKEINTRESOURCEW(32515))); // IDI_WARNING

    // The texts are set as UTF-16, so they read right whatever the ANSI code page.
    const notice_look::Wording& wording = notice_look::ChooseWording(
        m_bWin10Notice != FALSE, m_bWin8Notice != FALSE, m_bInstallerText != FALSE);
    if (wording.line1) {
        ::SetWindowTextW(GetDlgItem(notice_look::kIdLine1), wording.line1);
        ::SetWindowTextW(GetDlgItem(notice_look::kIdLine2), wording.line2);
    }

    ::ShowWindow(GetDlgItem(notice_look::kIdNoShow), SW_HIDE);
    return TRUE;
}

void CQuenmarDlg::OnPaint() {
    notice_dialog::Paint(*this, m_hIcon);
}

HCURSOR CQuenmarDlg::OnQueryDragIcon() {
    return m_hIcon;
}

HBRUSH CQuenmarDlg::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
    return notice_dialog::CtlColor(*this, m_brBanner, hDC, hWnd, nCtlColor);
}

void CQuenmarDlg::OnCancelCommand() {
    notice_dialog::CancelCommand(*this);
}

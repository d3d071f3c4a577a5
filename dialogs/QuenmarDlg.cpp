#include "dialogs/QuenmarDlg.h"

#include "dialogs/NoticeLook.h"

CQuenmarDlg::CQuenmarDlg(BOOL bInstallerText)
    : CNoticeDialog(IDD), m_bInstallerText(bInstallerText), m_hIcon(LoadApplicationIcon()) {}

void CQuenmarDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, notice_look::kIdNoShow, m_bNoShow);
    DDX_Control(pDX, notice_look::kIdWarningIcon, m_wndIcon);
}

BOOL CQuenmarDlg::OnInitDialog() {
    CNoticeDialog::OnInitDialog();

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

#include "dialogs/RedAVDlg.h"

#include "dialogs/NoticeDialog.h"
#include "dialogs/NoticeLook.h"

const MessageMapEntry RedAVDlg::messageEntries[] = {
    OnPaintEntry<&RedAVDlg::OnPaint>(),
    OnQueryDragIconEntry<&RedAVDlg::OnQueryDragIcon>(),
    OnCtlColorEntry<&RedAVDlg::OnCtlColor>(),
    OnCommandEntry<&RedAVDlg::OnCancelCommand>(IDCANCEL, BN_CLICKED),
};
const MessageMap RedAVDlg::messageMap = MakeMessageMap(&CDialog::messageMap, messageEntries);

RedAVDlg::RedAVDlg() : CDialog(IDD), m_hIcon(notice_dialog::LoadApplicationIcon()) {}

void RedAVDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, notice_look::kIdNoShow, m_bNoShow);
}

BOOL RedAVDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    notice_dialog::SetWindowIcons(*this, m_hIcon);

    // A bold copy of the template's font. Read in UTF-16 so the full-width typeface
    // name survives any ANSI code page. No font to copy: the headings get none.
    LOGFONTW logFont;
    CFontHandle dialogFont(GetFont());
    if (dialogFont.GetLogFont(&logFont)) {
        logFont.lfWeight = FW_BOLD;
        m_fontBold.CreateFontIndirect(&logFont);
    }
    const WPARAM bold = reinterpret_cast<WPARAM>(m_fontBold.GetSafeHandle());
    ::SendMessageW(GetDlgItem(notice_look::kIdHeading1), WM_SETFONT, bold, TRUE);
    ::SendMessageW(GetDlgItem(notice_look::kIdHeading2), WM_SETFONT, bold, TRUE);

    if (!m_bShowCheck)
        ::ShowWindow(GetDlgItem(notice_look::kIdNoShow), SW_HIDE);
    return TRUE;
}

void RedAVDlg::OnPaint() {
    notice_dialog::Paint(*this, m_hIcon);
}

HCURSOR RedAVDlg::OnQueryDragIcon() {
    return m_hIcon;
}

HBRUSH RedAVDlg::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
    return notice_dialog::CtlColor(*this, m_brBanner, hDC, hWnd, nCtlColor);
}

void RedAVDlg::OnCancelCommand() {
    notice_dialog::CancelCommand(*this);
}

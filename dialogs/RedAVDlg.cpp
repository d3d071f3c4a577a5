#include "dialogs/RedAVDlg.h"

#include "dialogs/NoticeLook.h"

RedAVDlg::RedAVDlg() : CNoticeDialog(IDD), m_hIcon(LoadApplicationIcon()) {}

void RedAVDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, notice_look::kIdNoShow, m_bNoShow);
}

BOOL RedAVDlg::OnInitDialog() {
    CNoticeDialog::OnInitDialog();

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

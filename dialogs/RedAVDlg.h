#pragma once
// The Windows Vista end-of-support notice (template 129): a blue banner with a white
// bold two-line heading, four body lines; not topmost, no taskbar button.
#include "dialogs/NoticeDialog.h"
#include "framework/Gdi.h"

class RedAVDlg : public CNoticeDialog<RedAVDlg> {
public:
    enum { IDD = 129 };

    RedAVDlg();
    ~RedAVDlg() override = default;

    CBrush m_brBanner;
    CFont m_fontBold;
    bool m_bShowCheck = true;
    BOOL m_bNoShow = FALSE;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

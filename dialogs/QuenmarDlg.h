#pragma once
// The service-pack notice (template 102): the warning icon, one of five wordings, the
// don't-show-again box always hidden; topmost, no taskbar button.
#include "dialogs/NoticeDialog.h"
#include "framework/Gdi.h"
#include "framework/Static.h"

class CQuenmarDlg : public CNoticeDialog<CQuenmarDlg> {
public:
    enum { IDD = 102 };

    explicit CQuenmarDlg(BOOL bInstallerText);
    ~CQuenmarDlg() override = default;

    CBrush m_brBanner;
    CStatic m_wndIcon;
    BOOL m_bNoShow = FALSE;
    BOOL m_bInstallerText;
    BOOL m_bWin8Notice = FALSE;
    BOOL m_bWin10Notice = FALSE;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

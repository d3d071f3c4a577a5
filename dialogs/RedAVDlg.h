#pragma once
// The Windows Vista end-of-support notice (template 129): a blue banner with a white
// bold two-line heading, four body lines; not topmost, no taskbar button.
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class RedAVDlg : public CDialog {
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
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);
    void OnCancelCommand();

    static const MessageMap messageMap;

private:
    static const MessageMapEntry messageEntries[];
};

#pragma once
// CDialog: a modal dialog over the platform's dialog manager (DialogBoxParamW on a
// template resource of this module). One static dialog procedure finds the object
// (kept from WM_INITDIALOG) and dispatches through the class's static message map,
// then the base class's; what no map names goes to the dialog manager's default.
#include <windows.h>

class CDialog;

// How a message-map entry's handler is called and how its result is returned.
enum class MessageHandlerKind {
    Void,     // void OnXxx(); the message counts as handled
    DragIcon, // HCURSOR OnQueryDragIcon(); the handle is the answer
    CtlColor, // HBRUSH OnCtlColor(HDC, HWND, UINT kind); the brush is the answer
    Command,  // void OnXxx() for WM_COMMAND with the entry's id and code
};

using VoidHandler = void (CDialog::*)();
using DragIconHandler = HCURSOR (CDialog::*)();
using CtlColorHandler = HBRUSH (CDialog::*)(HDC, HWND, UINT);

struct MessageMapEntry {
    UINT nMessage; // WM_CTLCOLOR (0x0019) stands for every WM_CTLCOLOR* message
    UINT nID;      // command identifier (WM_COMMAND only)
    UINT nCode;    // notification code (WM_COMMAND only)
    MessageHandlerKind kind;
    VoidHandler pfnVoid;
    DragIconHandler pfnDragIcon;
    CtlColorHandler pfnCtlColor;
};

struct MessageMap {
    const MessageMap* pBaseMap; // null for the root
    const MessageMapEntry* pEntries;
    unsigned nEntries;
};

// Entry builders; the member pointers of a derived class are converted to CDialog's.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
template <class T> constexpr MessageMapEntry OnMessageEntry(UINT message, void (T::*handler)()) {
    return {message, 0,      0, MessageHandlerKind::Void, static_cast<VoidHandler>(handler),
            nullptr, nullptr};
}
template <class T> constexpr MessageMapEntry OnQueryDragIconEntry(HCURSOR (T::*handler)()) {
    return {WM_QUERYDRAGICON,
            0,
            0,
            MessageHandlerKind::DragIcon,
            nullptr,
            static_cast<DragIconHandler>(handler),
            nullptr};
}
template <class T>
constexpr MessageMapEntry OnCtlColorEntry(HBRUSH (T::*handler)(HDC, HWND, UINT)) {
    return {WM_CTLCOLOR,
            0,
            0,
            MessageHandlerKind::CtlColor,
            nullptr,
            nullptr,
            static_cast<CtlColorHandler>(handler)};
}
template <class T>
constexpr MessageMapEntry OnCommandEntry(UINT id, UINT code, void (T::*handler)()) {
    return {
        WM_COMMAND, id,     code, MessageHandlerKind::Command, static_cast<VoidHandler>(handler),
        nullptr,    nullptr};
}

// The state of one data transfer between the dialog's controls and its members.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
    // The control `nIDC` of the dialog; marks the transfer failed if there is none.
    HWND PrepareCtrl(int nIDC);
    void Fail() { m_bFailed = true; }

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    bool m_bFailed = false;
};

class CStatic;
// Check box state <-> value (0 unticked, 1 ticked, 2 indeterminate).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Attaches `control` to the dialog's control `nIDC` (once per window).
void DDX_Control(CDataExchange* pDX, int nIDC, CStatic& control);

class CDialog {
public:
    explicit CDialog(UINT nIDTemplate, HWND hWndParent = nullptr)
        : m_nIDTemplate(nIDTemplate), m_hWndParent(hWndParent) {}
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; IDOK / IDCANCEL as ended, -1 when it cannot be created.
    virtual INT_PTR DoModal();

    // Transfers members -> controls (FALSE) or controls -> members (TRUE);
    // FALSE when the transfer failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(int nResult);

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    // The dialog's font (set from the template); not owned.
    HFONT GetFont() const {
        return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }

    // The default handlers that a derived class's handlers of the same name call.
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);

    // Enter without a default push button: transfer, then end with IDOK if that worked.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();

    HWND m_hWnd = nullptr;

protected:
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }
    virtual void DoDataExchange(CDataExchange*) {}
    // Transfers the members into the controls; TRUE lets the platform set the focus.
    virtual BOOL OnInitDialog();

    // For a handler: let the dialog manager's default handling run as well.
    void Default() { m_bDefault = true; }

    static const MessageMap messageMap;

private:
    static const MessageMapEntry messageEntries[];
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void HandleInitDialog(INT_PTR& result);
    void HandleNcDestroy();

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    bool m_bDefault = false;
    // The message being handled, for the default handlers.
    UINT m_nMsgCur = 0;
    WPARAM m_wParamCur = 0;
    LPARAM m_lParamCur = 0;
};

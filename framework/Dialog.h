#pragma once
// CDialog: a modal dialog over the platform's dialog manager (DialogBoxParamW on a
// template resource of this module). One static dialog procedure finds the object
// (kept from WM_INITDIALOG) and dispatches through the class's static message map,
// then its base classes' maps; what no map names goes to the dialog manager's default.
#include <windows.h>

class CDialog;

// One entry's handler call: unpacks the message's arguments for the typed handler
// and returns what the dialog procedure answers.
using MessageThunk = INT_PTR (*)(CDialog& dlg, UINT nMessage, WPARAM wParam, LPARAM lParam);

// The messages nMessage to nLastMessage (for WM_COMMAND: from control nID with
// notification code nCode) go to pfnThunk. The entry builders are CDialog's.
struct MessageMapEntry {
    UINT nMessage;
    UINT nLastMessage;
    UINT nID;
    UINT nCode;
    MessageThunk pfnThunk;
};

struct MessageMap {
    const MessageMap* pBaseMap; // null for the root
    const MessageMapEntry* pEntries;
    unsigned nEntries;
};

template <unsigned N>
constexpr MessageMap MakeMessageMap(const MessageMap* pBaseMap,
                                    const MessageMapEntry (&entries)[N]) {
    return {pBaseMap, entries, N};
}

namespace message_map_detail {
template <class Member> struct OwnerOf;
template <class T, class Result, class... Args> struct OwnerOf<Result (T::*)(Args...)> {
    using Type = T;
};
// The class whose member function Handler is.
template <auto Handler> using Owner = typename OwnerOf<decltype(Handler)>::Type;
} // namespace message_map_detail

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

    // Message-map entries. Handler is a member function of the class whose map it is
    // (or of a base), of the shape the entry names.
    // void OnPaint()
    template <auto Handler> static constexpr MessageMapEntry OnPaintEntry() {
        return {WM_PAINT, WM_PAINT, 0, 0, &CallVoid<Handler>};
    }
    // HCURSOR OnQueryDragIcon(); null: the default drag icon
    template <auto Handler> static constexpr MessageMapEntry OnQueryDragIconEntry() {
        return {WM_QUERYDRAGICON, WM_QUERYDRAGICON, 0, 0, &CallQueryDragIcon<Handler>};
    }
    // HBRUSH OnCtlColor(HDC, HWND, UINT nCtlColor) for every control-colour request, the
    // kind as CTLCOLOR_MSGBOX to CTLCOLOR_STATIC; null: the default colours
    template <auto Handler> static constexpr MessageMapEntry OnCtlColorEntry() {
        return {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0, &CallCtlColor<Handler>};
    }
    // void OnXxx() for WM_COMMAND from control nID with notification code nCode
    template <auto Handler> static constexpr MessageMapEntry OnCommandEntry(UINT nID, UINT nCode) {
        return {WM_COMMAND, WM_COMMAND, nID, nCode, &CallVoid<Handler>};
    }

    static const MessageMap messageMap;

private:
    // The object that Handler runs on.
    template <auto Handler> static message_map_detail::Owner<Handler>& Of(CDialog& dlg) {
        return static_cast<message_map_detail::Owner<Handler>&>(dlg);
    }
    template <auto Handler> static INT_PTR CallVoid(CDialog& dlg, UINT, WPARAM, LPARAM) {
        (Of<Handler>(dlg).*Handler)();
        return dlg.AnswerHandled();
    }
    template <auto Handler> static INT_PTR CallQueryDragIcon(CDialog& dlg, UINT, WPARAM, LPARAM) {
        const HCURSOR cursor = (Of<Handler>(dlg).*Handler)();
        return reinterpret_cast<INT_PTR>(cursor);
    }
    template <auto Handler>
    static INT_PTR CallCtlColor(CDialog& dlg, UINT nMessage, WPARAM wParam, LPARAM lParam) {
        const HBRUSH brush = (Of<Handler>(dlg).*Handler)(reinterpret_cast<HDC>(wParam),
                                                         reinterpret_cast<HWND>(lParam),
                                                         nMessage - WM_CTLCOLORMSGBOX);
        return reinterpret_cast<INT_PTR>(brush);
    }
    // After a handler without a result: handled, answered with 0, unless it asked for
    // the dialog manager's default handling.
    INT_PTR AnswerHandled();

    static const MessageMapEntry messageEntries[];
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void HandleInitDialog(INT_PTR& result);
    void HandleNcDestroy();

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    bool m_bDefault = false;
};

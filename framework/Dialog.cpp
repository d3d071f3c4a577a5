#include "framework/Dialog.h"

#include "framework/Static.h"
#include "framework/WinApp.h"

const MessageMapEntry CDialog::messageEntries[] = {
    OnCommandEntry<&CDialog::OnOK>(IDOK, BN_CLICKED),
    OnCommandEntry<&CDialog::OnCancel>(IDCANCEL, BN_CLICKED),
};
const MessageMap CDialog::messageMap = MakeMessageMap(nullptr, messageEntries);

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWnd = m_pDlgWnd->GetDlgItem(nIDC);
    if (!hWnd)
        Fail();
    return hWnd;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd)
        return;
    if (pDX->m_bSaveAndValidate) {
        LRESULT state = ::SendMessageW(hWnd, BM_GETCHECK, 0, 0);
        value = state >= BST_UNCHECKED && state <= BST_INDETERMINATE ? static_cast<int>(state) : 0;
    } else {
        int state = value >= BST_UNCHECKED && value <= BST_INDETERMINATE ? value : 0;
        ::SendMessageW(hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CStatic& control) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    // Attached once per window: a later transfer finds it attached and leaves it.
    if (hWnd && control.m_hWnd != hWnd)
        control.Attach(hWnd);
}

CDialog::~CDialog() {
    // A main window that never existed or outlived its window must not stay referenced.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

INT_PTR CDialog::DoModal() {
    CWinApp* app = AfxGetApp();
    HINSTANCE instance = app ? app->m_hInstance : ::GetModuleHandleW(nullptr);
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(m_nIDTemplate), m_hWndParent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnPaint() {
    Default();
}

HCURSOR CDialog::OnQueryDragIcon() {
    Default();
    return nullptr;
}

HBRUSH CDialog::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
    // The window default: system text and background colours, a system brush.
    // (Calling the dialog manager's own default would come back here.)
    return reinterpret_cast<HBRUSH>(::DefWindowProcW(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(hDC),
                                                     reinterpret_cast<LPARAM>(hWnd)));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hWnd;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (the font, the frame) take the default handling.
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    if (message == WM_INITDIALOG)
        HandleInitDialog(result);
    else
        Dispatch(message, wParam, lParam, result);
    if (message == WM_NCDESTROY)
        HandleNcDestroy();
    return result;
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    for (const MessageMap* map = GetMessageMap(); map; map = map->pBaseMap) {
        for (unsigned i = 0; i < map->nEntries; ++i) {
            const MessageMapEntry& entry = map->pEntries[i];
            if (message < entry.nMessage || message > entry.nLastMessage)
                continue;
            if (message == WM_COMMAND &&
                (entry.nID != LOWORD(wParam) || entry.nCode != HIWORD(wParam)))
                continue;
            m_bDefault = false;
            result = entry.pfnThunk(*this, message, wParam, lParam);
            m_bDefault = false;
            return true;
        }
    }
    return false;
}

INT_PTR CDialog::AnswerHandled() {
    if (m_bDefault)
        return FALSE;
    // These messages answer 0 through DWLP_MSGRESULT.
    if (m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
    return TRUE;
}

void CDialog::HandleInitDialog(INT_PTR& result) {
    RECT before{};
    ::GetWindowRect(m_hWnd, &before);
    result = OnInitDialog();
    if (!m_hWnd)
        return;
    RECT after{};
    ::GetWindowRect(m_hWnd, &after);
    if (after.left != before.left || after.top != before.top)
        return; // placed by the initialisation: leave it there
    // Centred on the primary monitor's work area (a modal dialog without an owner).
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work.left = work.top = 0;
        work.right = ::GetSystemMetrics(SM_CXSCREEN);
        work.bottom = ::GetSystemMetrics(SM_CYSCREEN);
    }
    const int width = after.right - after.left;
    const int height = after.bottom - after.top;
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;
    // Larger than the work area: keep the caption reachable.
    if (x < work.left)
        x = work.left;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::HandleNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The main window is gone: the thread's work is done.
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    m_hWnd = nullptr;
}

#pragma once
// The behaviour both notice dialogs share (look, icons, closing), written once and
// called from each class's handlers, so each class keeps its own members.
#include "framework/Dialog.h"
#include "framework/Gdi.h"

namespace notice_dialog {

// Icon group 128 of this program at the large-icon size; shared, never destroyed.
// Null when it cannot be loaded (or there is no application object).
HICON LoadApplicationIcon();

// Window icon, both sizes.
void SetWindowIcons(CDialog& dlg, HICON icon);

// Minimised: the icon centred on the erased client area; otherwise the default paint.
void Paint(CDialog& dlg, HICON icon);

// The colour rules; creates the banner brush on the first request (and again on a
// later one if creating it failed).
HBRUSH CtlColor(CDialog& dlg, CBrush& banner, HDC hDC, HWND hWnd, UINT nCtlColor);

// Every way of closing: the controls' states into the members (a failure does not
// stop the close), then the dialog's OnCancel.
void CancelCommand(CDialog& dlg);

} // namespace notice_dialog

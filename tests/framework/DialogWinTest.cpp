// The message map of CDialog under Wine: which messages reach which entry, what the
// dialog procedure answers, and the base class's map behind a derived one. A dialog
// on the program's template 102 probes itself from OnInitDialog.
#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
HWND g_probe = nullptr;
// Ends a dialog that the IDOK command did not end, so the test fails instead of hanging.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_probe)
        EndDialog(g_probe, -2);
}

class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(102) {}

    std::vector<UINT> colourKinds;
    std::vector<HWND> colourWindows;
    int closeCommands = 0;
    int transfersOut = 0; // UpdateData(TRUE) runs
    // What OnInitDialog saw; checked once DoModal has returned (the dialog's own
    // painting asks for colours afterwards).
    std::vector<UINT> probedKinds;
    HWND probedWindow = nullptr;
    std::vector<LRESULT> colourAnswers;
    LRESULT commandAnswer = -1;
    int closeCommandsAfterOtherCode = -1;

protected:
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    void DoDataExchange(CDataExchange* pDX) override {
        if (pDX->m_bSaveAndValidate)
            ++transfersOut;
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        g_probe = m_hWnd;
        SetTimer(nullptr, 0, 5000, Watchdog);
        HDC dc = ::GetDC(m_hWnd);
        HWND line = probedWindow = GetDlgItem(1005);
        for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC + 1; ++message)
            colourAnswers.push_back(
                SendMessage(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(line)));
        ::ReleaseDC(m_hWnd, dc);
        probedKinds = colourKinds;
        // The close command with another notification code, then with BN_CLICKED.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_SETFOCUS), 0);
        closeCommandsAfterOtherCode = closeCommands;
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 42);
        commandAnswer = SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        // IDOK is in CDialog's map only: transfer, then end with IDOK.
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

    HBRUSH OnCtlColor(HDC, HWND hWnd, UINT nCtlColor) {
        colourKinds.push_back(nCtlColor);
        colourWindows.push_back(hWnd);
        return static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    }
    void OnCloseCommand() { ++closeCommands; }

    static const MessageMap messageMap;

private:
    static const MessageMapEntry messageEntries[];
};

const MessageMapEntry ProbeDialog::messageEntries[] = {
    OnCtlColorEntry<&ProbeDialog::OnCtlColor>(),
    OnCommandEntry<&ProbeDialog::OnCloseCommand>(IDCANCEL, BN_CLICKED),
};
const MessageMap ProbeDialog::messageMap = MakeMessageMap(&CDialog::messageMap, messageEntries);
} // namespace

TEST(DialogMessageMap, EntriesTheBaseMapAndTheAnswers) {
    ProbeDialog dlg;
    ASSERT_EQ(IDOK, dlg.DoModal()) << "IDOK did not reach CDialog's own entry";
    EXPECT_EQ(1, dlg.transfersOut);

    // Every control-colour request reaches the one entry with its kind, and the brush is
    // the answer; the message after the range is not the entry's.
    const HBRUSH gray = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    EXPECT_EQ((std::vector<UINT>{CTLCOLOR_MSGBOX, CTLCOLOR_EDIT, CTLCOLOR_LISTBOX, CTLCOLOR_BTN,
                                 CTLCOLOR_DLG, CTLCOLOR_SCROLLBAR, CTLCOLOR_STATIC}),
              dlg.probedKinds);
    ASSERT_EQ(8u, dlg.colourAnswers.size());
    for (unsigned i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reinterpret_cast<LRESULT>(gray), dlg.colourAnswers[i]);
        EXPECT_EQ(dlg.probedWindow, dlg.colourWindows[i]);
    }
    EXPECT_NE(reinterpret_cast<LRESULT>(gray), dlg.colourAnswers[7]);

    // A command entry takes its control's one notification code; a handler without a
    // result answers 0.
    EXPECT_EQ(0, dlg.closeCommandsAfterOtherCode);
    EXPECT_EQ(1, dlg.closeCommands);
    EXPECT_EQ(0, dlg.commandAnswer);
}

// The two notices run modally for real under Wine; a thread timer in their modal
// loop inspects them from inside, then closes them the way the case asks.
#include "NoticeTexts.h"
#include "dialogs/QuenmarDlg.h"
#include "dialogs/RedAVDlg.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

enum class CloseBy { Button, Escape, CloseBox };

const char* Name(CloseBy how) {
    switch (how) {
    case CloseBy::Button:
        return "close button";
    case CloseBy::Escape:
        return "Esc";
    case CloseBy::CloseBox:
        return "caption close box";
    }
    return "?";
}

// The dialogs load their icon through the application object.
void EnsureApplicationObject() {
    static CWinApp* app = AfxGetApp() ? nullptr : new CWinApp;
    (void)app;
}

struct ModalRun {
    CDialog* dlg;
    std::function<void(HWND)> inside;
    CloseBy how;
    int ticks = 0;
    bool inspected = false;
    bool forced = false; // the dialog ignored the close and was ended by the watchdog
};
ModalRun* g_run = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR timer, DWORD) {
    ModalRun& run = *g_run;
    HWND hDlg = run.dlg->m_hWnd;
    if (!hDlg)
        return;
    ++run.ticks;
    if (!run.inspected) {
        if (!IsWindowVisible(hDlg) && run.ticks < 200)
            return; // not shown yet (template 129 is shown by the modal loop)
        run.inspected = true;
        UpdateWindow(hDlg); // every control painted: the colour requests happened
        run.inside(hDlg);
        switch (run.how) {
        case CloseBy::Button:
            SendMessageW(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case CloseBy::Escape: {
            HWND target = GetFocus();
            if (!target || (target != hDlg && !IsChild(hDlg, target)))
                target = GetDlgItem(hDlg, IDCANCEL);
            PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        }
        case CloseBy::CloseBox:
            PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        return;
    }
    if (run.ticks > 400) { // about 4 s after the close: it did not work
        KillTimer(nullptr, timer);
        run.forced = true;
        EndDialog(hDlg, -2);
    }
}

// Runs dlg.DoModal(); `inside` sees the shown dialog; then it is closed by `how`.
INT_PTR RunModal(CDialog& dlg, std::function<void(HWND)> inside, CloseBy how = CloseBy::Button) {
    ModalRun run{&dlg, std::move(inside), how};
    g_run = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, OnTick);
    INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    g_run = nullptr;
    EXPECT_TRUE(run.inspected) << "the dialog never came up";
    EXPECT_FALSE(run.forced) << "closing by " << Name(how) << " did not end the dialog";
    return result;
}

std::wstring TextOf(HWND hWnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hWnd, buffer, 256);
    return buffer;
}

std::string NarrowTextOf(HWND hWnd) {
    char buffer[512] = {};
    GetWindowTextA(hWnd, buffer, 512);
    return buffer;
}

std::string InCodePage932(const std::wstring& text) {
    char buffer[512] = {};
    WideCharToMultiByte(932, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}

LOGFONTW FontOf(HWND hWnd) {
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0));
    EXPECT_TRUE(font != nullptr);
    EXPECT_EQ(static_cast<int>(sizeof(lf)), GetObjectW(font, sizeof(lf), &lf));
    return lf;
}

HICON SystemWarningIcon() {
    return LoadIconW(nullptr, MAKEINTRESOURCEW(32515));
}

class NoticeDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplicationObject();
        // A quit request left by an earlier main window would end the next modal loop.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

} // namespace

TEST(LocaleOfThisRun, IsTheOneTheRunAsksFor) {
    const char* expected = std::getenv("QUENMAR_EXPECT_ACP");
    if (!expected)
        GTEST_SKIP() << "no code page asked for";
    EXPECT_EQ(static_cast<UINT>(std::atoi(expected)), GetACP());
}

TEST_F(NoticeDialogs, ServicePackNoticeShowsEachWordingWithTheWarningIcon) {
    using namespace expected_text;
    struct {
        BOOL win10, win8, installer;
        std::wstring line1, line2;
    } cases[] = {
        {TRUE, FALSE, FALSE, kWindows10.line1, kWindows10.line2},
        {TRUE, TRUE, TRUE, kWindows10.line1, kWindows10.line2},
        {FALSE, TRUE, TRUE, kWindows8Installer.line1, kWindows8Installer.line2},
        {FALSE, TRUE, FALSE, kWindows8.line1, kWindows8.line2},
        {FALSE, FALSE, TRUE, kInstaller.line1, kInstaller.line2},
        {FALSE, FALSE, FALSE, kServicePackTemplate.line1, kServicePackTemplate.line2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "win10 " << c.win10 << " win8 " << c.win8 << " installer " << c.installer);
        CQuenmarDlg dlg(c.installer);
        dlg.m_bWin8Notice = c.win8;
        dlg.m_bWin10Notice = c.win10;
        INT_PTR result = RunModal(dlg, [&](HWND hDlg) {
            EXPECT_EQ(c.line1, TextOf(GetDlgItem(hDlg, 1005)));
            EXPECT_EQ(c.line2, TextOf(GetDlgItem(hDlg, 1006)));
            if (GetACP() == 932) { // what narrow code page 932 texts would have shown
                EXPECT_EQ(InCodePage932(c.line1), NarrowTextOf(GetDlgItem(hDlg, 1005)));
                EXPECT_EQ(InCodePage932(c.line2), NarrowTextOf(GetDlgItem(hDlg, 1006)));
            }
            HICON warning = SystemWarningIcon();
            ASSERT_TRUE(warning != nullptr);
            EXPECT_EQ(warning,
                      reinterpret_cast<HICON>(SendDlgItemMessageW(hDlg, 1010, STM_GETICON, 0, 0)));
            EXPECT_EQ(GetDlgItem(hDlg, 1010), dlg.m_wndIcon.m_hWnd);
            HWND check = GetDlgItem(hDlg, 1004);
            ASSERT_TRUE(check != nullptr);
            EXPECT_FALSE(IsWindowVisible(check));
            EXPECT_EQ(GetDlgItem(hDlg, IDCANCEL), GetFocus());
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(FALSE, dlg.m_bNoShow);
        EXPECT_EQ(nullptr, dlg.m_hWnd);
    }
}

TEST_F(NoticeDialogs, BothCarryTheApplicationIconAsWindowAndDragIcon) {
    CQuenmarDlg servicePack(FALSE);
    RedAVDlg endOfSupport;
    for (CDialog* dlg : std::vector<CDialog*>{&servicePack, &endOfSupport}) {
        HICON icon = dlg == &servicePack ? servicePack.m_hIcon : endOfSupport.m_hIcon;
        ASSERT_TRUE(icon != nullptr) << "icon group 128 not loaded";
        RunModal(*dlg, [&](HWND hDlg) {
            EXPECT_EQ(icon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, ICON_BIG, 0)));
            EXPECT_EQ(icon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, ICON_SMALL, 0)));
            EXPECT_EQ(icon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_QUERYDRAGICON, 0, 0)));
        });
    }
}

TEST_F(NoticeDialogs, StylesCentringAndFocus) {
    struct Expect {
        bool topmost;
        bool flatButton;
    };
    CQuenmarDlg servicePack(FALSE);
    RedAVDlg endOfSupport;
    endOfSupport.m_bShowCheck = false;
    std::pair<CDialog*, Expect> cases[] = {{&servicePack, {true, true}},
                                           {&endOfSupport, {false, false}}};
    for (auto& [dlg, expect] : cases) {
        SCOPED_TRACE(dlg == &servicePack ? "service-pack notice" : "end-of-support notice");
        RunModal(*dlg, [&, expect = expect](HWND hDlg) {
            LONG_PTR ex = GetWindowLongPtrW(hDlg, GWL_EXSTYLE);
            EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
            EXPECT_EQ(expect.topmost, (ex & WS_EX_TOPMOST) != 0);
            LONG_PTR style = GetWindowLongPtrW(hDlg, GWL_STYLE);
            EXPECT_TRUE(style & WS_CAPTION);
            EXPECT_TRUE(style & WS_SYSMENU);
            EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
            LONG_PTR button = GetWindowLongPtrW(GetDlgItem(hDlg, IDCANCEL), GWL_STYLE);
            EXPECT_EQ(expect.flatButton, (button & BS_FLAT) != 0);
            EXPECT_EQ(nullptr, GetWindow(hDlg, GW_OWNER));

            RECT work{}, rc{};
            ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
            GetWindowRect(hDlg, &rc);
            int width = rc.right - rc.left, height = rc.bottom - rc.top;
            EXPECT_GT(width, 100);
            EXPECT_NEAR(work.left + (work.right - work.left - width) / 2, rc.left, 1);
            EXPECT_NEAR(work.top + (work.bottom - work.top - height) / 2, rc.top, 1);
            EXPECT_EQ(GetDlgItem(hDlg, IDCANCEL), GetFocus());
        });
    }
}

TEST_F(NoticeDialogs, EveryWayOfClosingTransfersTheCheckBoxAndCancels) {
    // A ticked box read back into m_bNoShow proves that the close went through the
    // transfer of OnCancelCommand, not straight to OnCancel.
    struct QuenmarProbe : CQuenmarDlg {
        QuenmarProbe() : CQuenmarDlg(FALSE) {}
        int cancels = 0;
        void OnCancel() override {
            ++cancels;
            CQuenmarDlg::OnCancel();
        }
    };
    struct RedAVProbe : RedAVDlg {
        int cancels = 0;
        void OnCancel() override {
            ++cancels;
            RedAVDlg::OnCancel();
        }
    };
    for (CloseBy how : {CloseBy::Button, CloseBy::Escape, CloseBy::CloseBox}) {
        SCOPED_TRACE(Name(how));
        auto tick = [](HWND hDlg) { SendDlgItemMessageW(hDlg, 1004, BM_SETCHECK, BST_CHECKED, 0); };
        QuenmarProbe servicePack;
        EXPECT_EQ(IDCANCEL, RunModal(servicePack, tick, how));
        EXPECT_EQ(1, servicePack.cancels);
        EXPECT_EQ(1, servicePack.m_bNoShow);

        RedAVProbe endOfSupport;
        EXPECT_EQ(IDCANCEL, RunModal(endOfSupport, tick, how));
        EXPECT_EQ(1, endOfSupport.cancels);
        EXPECT_EQ(1, endOfSupport.m_bNoShow);
    }
}

TEST_F(NoticeDialogs, EndOfSupportCheckBoxShownOnRequest) {
    RedAVDlg shown; // m_bShowCheck left on
    RunModal(shown, [](HWND hDlg) {
        HWND check = GetDlgItem(hDlg, 1004);
        HWND close = GetDlgItem(hDlg, IDCANCEL);
        EXPECT_TRUE(IsWindowVisible(check));
        EXPECT_EQ(BST_UNCHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
        EXPECT_EQ(close, GetFocus());
        EXPECT_EQ(check, GetNextDlgTabItem(hDlg, close, FALSE)); // the second tab stop
        EXPECT_EQ(close, GetNextDlgTabItem(hDlg, check, FALSE));
        SendMessageW(check, BM_CLICK, 0, 0); // the user ticks it
        EXPECT_EQ(BST_CHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
    });
    EXPECT_EQ(1, shown.m_bNoShow);

    RedAVDlg hidden;
    hidden.m_bShowCheck = false;
    RunModal(hidden, [](HWND hDlg) { EXPECT_FALSE(IsWindowVisible(GetDlgItem(hDlg, 1004))); });
    EXPECT_EQ(FALSE, hidden.m_bNoShow);
}

TEST_F(NoticeDialogs, EndOfSupportHeadingsAreABoldCopyOfTheDialogFont) {
    HFONT bold = nullptr;
    {
        RedAVDlg dlg;
        dlg.m_bShowCheck = false;
        RunModal(dlg, [&](HWND hDlg) {
            LOGFONTW face = FontOf(hDlg);
            EXPECT_STREQ(L"ＭＳ Ｐゴシック", face.lfFaceName);
            // (The template asks for character set 128; Wine's dialog manager makes the
            // font with DEFAULT_CHARSET. The headings must match whichever it is.)
            EXPECT_EQ(FW_NORMAL, face.lfWeight);
            bold = dlg.m_fontBold.GetSafeHandle();
            ASSERT_TRUE(bold != nullptr);
            for (int id : {1001, 1002}) {
                SCOPED_TRACE(id);
                EXPECT_EQ(bold,
                          reinterpret_cast<HFONT>(SendDlgItemMessageW(hDlg, id, WM_GETFONT, 0, 0)));
                LOGFONTW heading = FontOf(GetDlgItem(hDlg, id));
                EXPECT_EQ(FW_BOLD, heading.lfWeight);
                EXPECT_STREQ(face.lfFaceName, heading.lfFaceName);
                EXPECT_EQ(face.lfHeight, heading.lfHeight);
                EXPECT_EQ(face.lfCharSet, heading.lfCharSet);
                EXPECT_EQ(face.lfItalic, heading.lfItalic);
            }
            for (int id : {1005, 1006, 1007, 1008, 1004, IDCANCEL}) {
                SCOPED_TRACE(id);
                EXPECT_EQ(FW_NORMAL, FontOf(GetDlgItem(hDlg, id)).lfWeight);
            }
        });
        // The window is gone; the font lives as long as the dialog object.
        EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(bold));
    }
    EXPECT_EQ(0u, GetObjectType(bold));
}

namespace {
struct ColourAnswer {
    HBRUSH brush;
    int bkMode;
    COLORREF text;
};

const COLORREF kSentinelText = RGB(1, 2, 3);

ColourAnswer AskColour(HWND hDlg, UINT message, HWND target) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, kSentinelText);
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(
        hDlg, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(target)));
    ColourAnswer answer{brush, GetBkMode(dc), GetTextColor(dc)};
    DeleteDC(dc);
    return answer;
}

// What the window default leaves in the device context for this request.
COLORREF DefaultTextColour(HWND hDlg, UINT message, HWND target) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, kSentinelText);
    DefWindowProcW(hDlg, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(target));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}
} // namespace

TEST_F(NoticeDialogs, ColourRequestsAnswerWithOneBannerBrushOrStockWhite) {
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HBRUSH banner = nullptr;
    {
        RedAVDlg dlg;
        dlg.m_bShowCheck = false;
        EXPECT_EQ(nullptr, dlg.m_brBanner.GetSafeHandle());
        RunModal(dlg, [&](HWND hDlg) {
            banner = dlg.m_brBanner.GetSafeHandle();
            ASSERT_TRUE(banner != nullptr) << "painting made no colour request";
            LOGBRUSH lb{};
            ASSERT_EQ(static_cast<int>(sizeof(lb)), GetObjectW(banner, sizeof(lb), &lb));
            EXPECT_EQ(static_cast<UINT>(BS_SOLID), lb.lbStyle);
            EXPECT_EQ(RGB(84, 144, 212), lb.lbColor);

            struct {
                UINT message;
                int id; // 0: the dialog itself
                bool transparent, whiteText, bannerBrush;
            } cases[] = {
                {WM_CTLCOLORSTATIC, 1001, true, true, true},
                {WM_CTLCOLORSTATIC, 1002, true, true, true},
                {WM_CTLCOLORSTATIC, 1000, true, false, true},
                {WM_CTLCOLORSTATIC, 1005, true, false, false},
                {WM_CTLCOLORSTATIC, 1008, true, false, false},
                {WM_CTLCOLORBTN, 1000, false, false, true},
                {WM_CTLCOLORBTN, 1001, false, false, false},
                {WM_CTLCOLORBTN, IDCANCEL, false, false, false},
                {WM_CTLCOLORBTN, 1004, false, false, false},
                {WM_CTLCOLORDLG, 0, false, false, false},
                {WM_CTLCOLORDLG, 1002, false, false, false},
            };
            for (const auto& c : cases) {
                SCOPED_TRACE(::testing::Message() << "message 0x" << std::hex << c.message
                                                  << std::dec << ", control " << c.id);
                HWND target = c.id ? GetDlgItem(hDlg, c.id) : hDlg;
                ColourAnswer a = AskColour(hDlg, c.message, target);
                EXPECT_EQ(c.bannerBrush ? banner : white, a.brush);
                EXPECT_EQ(c.transparent ? TRANSPARENT : OPAQUE, a.bkMode);
                COLORREF expected =
                    c.whiteText ? RGB(255, 255, 255) : DefaultTextColour(hDlg, c.message, target);
                EXPECT_EQ(expected, a.text);
                EXPECT_NE(kSentinelText, a.text); // the default handling ran first
            }
            // The same brush every time: none made per request.
            EXPECT_EQ(banner, dlg.m_brBanner.GetSafeHandle());
        });
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(banner));
    }
    EXPECT_EQ(0u, GetObjectType(banner)) << "the banner brush outlived its dialog";

    // The service-pack notice has no banner controls; its face and controls are white.
    HBRUSH servicePackBanner = nullptr;
    {
        CQuenmarDlg dlg(FALSE);
        RunModal(dlg, [&](HWND hDlg) {
            servicePackBanner = dlg.m_brBanner.GetSafeHandle();
            EXPECT_TRUE(servicePackBanner != nullptr);
            for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
                for (HWND target : {hDlg, GetDlgItem(hDlg, 1005), GetDlgItem(hDlg, 1010),
                                    GetDlgItem(hDlg, IDCANCEL)})
                    EXPECT_EQ(white, AskColour(hDlg, message, target).brush);
            }
            EXPECT_EQ(servicePackBanner, dlg.m_brBanner.GetSafeHandle());
        });
    }
    EXPECT_EQ(0u, GetObjectType(servicePackBanner));
}

TEST_F(NoticeDialogs, MainWindowReferenceClearedWhenItsWindowIsDestroyed) {
    CWinApp* app = AfxGetApp();
    ASSERT_TRUE(app != nullptr);
    {
        CQuenmarDlg dlg(FALSE);
        app->m_pMainWnd = &dlg;
        RunModal(dlg, [&](HWND) { EXPECT_EQ(&dlg, app->m_pMainWnd); });
        EXPECT_EQ(nullptr, app->m_pMainWnd);
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "no quit request posted for the main window";
    }
    {
        RedAVDlg dlg; // not the main window: nothing to clear, no quit request
        dlg.m_bShowCheck = false;
        RunModal(dlg, [&](HWND) { EXPECT_EQ(nullptr, app->m_pMainWnd); });
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    {
        // A main window whose template never came up is not left referenced.
        struct Missing : CDialog {
            Missing() : CDialog(4242) {}
        };
        Missing dlg;
        app->m_pMainWnd = &dlg;
        EXPECT_EQ(-1, dlg.DoModal());
    }
    EXPECT_EQ(nullptr, app->m_pMainWnd);
}

#include "framework/WinApp.h"

#include "framework/AnsiLeadByte.h"
#include "framework/CommandLine.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp::CWinApp() : m_hInstance(GetModuleHandleA(nullptr)) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    ::ParseCommandLine(GetCommandLineA(), IsAnsiLeadByte, info);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

#include "app/QuenmarApp.h"

#include "app/AppCommandLineInfo.h"

CQuenmarApp theApp;

BOOL CQuenmarApp::InitInstance() {
    AppCommandLineInfo options;
    ParseCommandLine(options);
    return FALSE;
}

int CQuenmarApp::ExitInstance() { return CWinApp::ExitInstance(); }

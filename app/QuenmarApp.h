#pragma once
// The application object: one run from the command line to the chosen notice.
#include "framework/WinApp.h"

class CQuenmarApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
};

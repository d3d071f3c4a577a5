#pragma once
#include "app/WinApp.h"

class CQuenmarApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
};

#pragma once
// The program's options: the key path and the switches N, I, E, T and V.
#include "framework/CString.h"
#include "framework/CommandLine.h"

class AppCommandLineInfo : public CCommandLineInfo {
public:
    ~AppCommandLineInfo() override = default;
    void ParseParam(const char* pszParam, bool bFlag, bool bLast) override;

    CString m_strKeyPath;       // last plain argument
    bool m_bForce = false;      // N: show the service-pack notice without classifying
    bool m_bInstaller = false;  // I: installer wording
    bool m_bWin8Check = true;   // E turns off: the Windows 8 wording is allowed
    bool m_bWin10Check = false; // T turns on: the Windows 10 wording is allowed
    bool m_bVistaNotice = true; // V turns off: the end-of-support notice is allowed
};

#include "app/AppCommandLineInfo.h"

namespace {
// The whole switch text against one ASCII letter, regardless of case.
bool IsSwitch(const char* text, char upperLetter) {
    const char c = text[0];
    return (c == upperLetter || c == upperLetter - 'A' + 'a') && text[1] == '\0';
}
} // namespace

void AppCommandLineInfo::ParseParam(const char* pszParam, bool bFlag, bool /*bLast*/) {
    if (!bFlag) {
        m_strKeyPath = CString(pszParam);
        return;
    }
    if (IsSwitch(pszParam, 'N'))
        m_bForce = true;
    else if (IsSwitch(pszParam, 'I'))
        m_bInstaller = true;
    else if (IsSwitch(pszParam, 'E'))
        m_bWin8Check = false;
    else if (IsSwitch(pszParam, 'T'))
        m_bWin10Check = true;
    else if (IsSwitch(pszParam, 'V'))
        m_bVistaNotice = false;
}

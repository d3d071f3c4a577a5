#pragma once
// The key path of this run, held from the parse of the command line until
// ExitInstance. At most one exists; one global reference reaches it.
#include "framework/CString.h"

struct KeyHolder {
    explicit KeyHolder(CString keyPath) : m_strKeyPath(static_cast<CString&&>(keyPath)) {}
    CString m_strKeyPath;
};

// Creates the holder with keyPath, releasing any earlier one first.
KeyHolder& CreateKeyHolder(CString keyPath);
// The current holder, or nullptr before CreateKeyHolder and after ReleaseKeyHolder.
KeyHolder* CurrentKeyHolder();
void ReleaseKeyHolder();

#pragma once
// Registry and clock helpers shared by the notice history tests under Wine.
#include "DateTestSupport.h"
#include "framework/OleDateTime.h"

#include <windows.h>

#include <string>

struct StoredValue {
    bool exists = false;
    DWORD type = 0;
    std::string data; // the bytes as the ANSI query returns them
};

// The value read with a buffer far larger than the program's.
StoredValue ReadStoredValue(const std::string& keyPath, const char* name);
// Creates HKCU\keyPath as needed and sets the value to exactly these bytes.
void SetStoredValue(const std::string& keyPath, const char* name, DWORD type,
                    const std::string& data);
bool KeyExists(const std::string& keyPath);

// Clocks for the operations that take one.
extern double g_fixedNow;
COleDateTime FixedClock();

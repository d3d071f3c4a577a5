#pragma once
// Registry and clock helpers shared by the notice history tests under Wine.
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

// A DATE from calendar numbers, through SystemTimeToVariantTime.
double DateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The time-stamp text of a date in this process's regional settings.
std::string TextOf(double date);

// Clocks for the operations that take one.
extern double g_fixedNow;
COleDateTime FixedClock();

#pragma once
// Test-only helpers for the Windows tests under Wine: make Wine report a chosen
// Windows version to processes started afterwards, and start processes with an
// exact command line.
#include "HexOf.h"

#include <windows.h>

#include <string>

struct EmulatedWindows {
    DWORD major = 6;
    DWORD minor = 1;
    DWORD build = 7600;
    WORD servicePackMajor = 0;
    WORD servicePackMinor = 0;
    std::wstring servicePackText;          // CSDVersion text, may be empty
    const wchar_t* productType = L"WinNT"; // WinNT 1, LanmanNT 2, ServerNT 3
};

// A version to emulate; the service-pack text is "Service Pack N" for a service pack N.
EmulatedWindows WindowsVersion(DWORD major, DWORD minor, DWORD build, WORD servicePack = 0,
                               const wchar_t* productType = L"WinNT");

// Makes Wine report `windows` to the 32-bit and 64-bit processes started afterwards
// (Wine reads the values at process start).
void EmulateWindows(const EmulatedWindows& windows);

// EmulateWindows for a scope: restores the values it replaced when it goes out of scope.
class ScopedEmulatedWindows {
public:
    explicit ScopedEmulatedWindows(const EmulatedWindows& windows);
    ~ScopedEmulatedWindows();
    ScopedEmulatedWindows(const ScopedEmulatedWindows&) = delete;
    ScopedEmulatedWindows& operator=(const ScopedEmulatedWindows&) = delete;

private:
    struct Saved;
    Saved* m_saved;
};

struct ProcessResult {
    bool started = false;
    bool finished = false; // within the time-out
    DWORD exitCode = 0;
    std::string output; // what it wrote to standard output
};

// CreateProcessA with commandLine exactly as given, no application name, no creation
// flags. Wine now and then fails a start with ERROR_INTERNAL_ERROR (about one start in
// a few hundred here, with nothing wrong in the program); such a start is tried again,
// up to three times. Any other failure is returned at once.
bool StartProcess(const std::string& commandLine, bool inheritHandles, STARTUPINFOA& si,
                  PROCESS_INFORMATION& pi);

// Starts commandLine exactly as given (CreateProcessA), waits up to timeoutMs and
// returns what it wrote to standard output (through a file: Wine's services keep
// inherited pipes open, so end-of-file never comes).
ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 20000);

// The folder of the running test exe, with a trailing backslash.
std::string ThisExeDirectory();
// An exe of the product under test (Quenmar.exe, QuenmarCheck.exe): the shipped i686
// build for the i686 tests, this build's own otherwise.
std::string ProductExePath(const char* exeName);
// An exe of the Windows test build of the other machine type; empty when there is none.
std::string PeerExePath(const char* exeName);

// A key path under HKCU unique to this process and call, e.g. "Software\QuenmarTest\123-4".
std::string UniqueTestKeyPath();
// Deletes HKCU\keyPath and everything below it.
void DeleteTestKey(const std::string& keyPath);

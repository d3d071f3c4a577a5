#pragma once
// Test-only helpers for the Windows tests under Wine: make Wine report a chosen
// Windows version to processes started afterwards, and start processes with an
// exact command line.
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

// Wine reads these at process start: only processes started later see them.
// Restores the values it replaced when it goes out of scope.
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

// Starts commandLine exactly as given (CreateProcessA), waits up to timeoutMs and
// returns what it wrote to standard output (through a file: Wine's services keep
// inherited pipes open, so end-of-file never comes).
ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs = 20000);

// Bytes as lower-case hex, two digits each: readable in a failure message.
std::string HexOf(const std::string& bytes);

// The folder of the running test exe, with a trailing backslash.
std::string ThisExeDirectory();

// A key path under HKCU unique to this process and call, e.g. "Software\QuenmarTest\123-4".
std::string UniqueTestKeyPath();
// Deletes HKCU\keyPath and everything below it.
void DeleteTestKey(const std::string& keyPath);

#pragma once
// The process's narrow command line, split by the Windows C run-time rules and
// classified into switches and plain arguments. Pure: the ANSI code page's
// lead-byte test is handed in (IsAnsiLeadByte on Windows).
#include <cstddef>

using LeadByteTest = bool (*)(unsigned char byte);

// Receives the arguments after the program name, one call each, in order.
class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    // pszParam: the argument, without its switch character when bFlag is set.
    // bLast: true for the final argument of the command line.
    virtual void ParseParam(const char* pszParam, bool bFlag, bool bLast);
};

// Splits a command line into its arguments, skipping the program name token.
class ArgumentSplitter {
public:
    ArgumentSplitter(const char* commandLine, LeadByteTest isLeadByte);
    ~ArgumentSplitter();
    ArgumentSplitter(const ArgumentSplitter&) = delete;
    ArgumentSplitter& operator=(const ArgumentSplitter&) = delete;

    // The next argument, NUL-terminated and valid until the next call; nullptr at the end.
    const char* Next();
    // True when no argument follows the one Next returned last.
    bool AtEnd() const;

private:
    const char* m_pNext; // where the next argument's scan starts
    LeadByteTest m_isLeadByte;
    char* m_pBuffer = nullptr; // holds the argument being returned
};

// Splits commandLine and calls info.ParseParam for every argument after the program
// name: "-" or "/" as the first character marks a switch and is removed.
void ParseCommandLine(const char* commandLine, LeadByteTest isLeadByte, CCommandLineInfo& info);

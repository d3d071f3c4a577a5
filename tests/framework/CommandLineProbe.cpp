// Runs the program's own splitting and classification on this process's narrow
// command line, lead bytes by the ANSI code page, and prints the code page and then
// one line per ParseParam call: "S" or "P" (switch or plain), 1 or 0 (last argument
// or not), and the text as hex bytes.
#include "framework/AnsiLeadByte.h"
#include "framework/CommandLine.h"

#include <windows.h>

#include <cstdio>

namespace {
class PrintingInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* pszParam, bool bFlag, bool bLast) override {
        std::printf("%c %d ", bFlag ? 'S' : 'P', bLast ? 1 : 0);
        for (const char* p = pszParam; *p; ++p)
            std::printf("%02x", static_cast<unsigned char>(*p));
        std::printf("\n");
    }
};
} // namespace

int main() {
    std::printf("acp=%u\n", GetACP());
    PrintingInfo info;
    ParseCommandLine(GetCommandLineA(), IsAnsiLeadByte, info);
    return 0;
}

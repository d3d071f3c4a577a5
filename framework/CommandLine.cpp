#include "framework/CommandLine.h"

#include <cstdlib>
#include <cstring>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Past the program name: to the first blank outside double quotes; quotes only group.
const char* SkipProgramName(const char* p, LeadByteTest isLeadByte) {
    bool inQuotes = false;
    while (*p && (inQuotes || !IsBlank(*p))) {
        if (*p == '"')
            inQuotes = !inQuotes;
        else if (isLeadByte(static_cast<unsigned char>(*p)) && p[1])
            ++p;
        ++p;
    }
    return p;
}
} // namespace

void CCommandLineInfo::ParseParam(const char*, bool, bool) {}

ArgumentSplitter::ArgumentSplitter(const char* commandLine, LeadByteTest isLeadByte)
    : m_pNext(commandLine ? commandLine : ""), m_isLeadByte(isLeadByte) {
    // No argument is longer than the command line it comes from.
    m_pBuffer = static_cast<char*>(std::malloc(std::strlen(m_pNext) + 1));
    m_pNext = SkipProgramName(m_pNext, m_isLeadByte);
}

ArgumentSplitter::~ArgumentSplitter() {
    std::free(m_pBuffer);
}

const char* ArgumentSplitter::Next() {
    const char* p = m_pNext;
    while (IsBlank(*p))
        ++p;
    if (!*p || !m_pBuffer) {
        m_pNext = p;
        return nullptr;
    }

    char* out = m_pBuffer;
    bool inQuotes = false;
    while (*p && (inQuotes || !IsBlank(*p))) {
        if (*p == '\\') {
            std::size_t backslashes = 0;
            while (*p == '\\') {
                ++backslashes;
                ++p;
            }
            if (*p != '"') {
                // Not before a quote: every backslash is literal.
                for (; backslashes; --backslashes)
                    *out++ = '\\';
                continue;
            }
            for (std::size_t i = 0; i < backslashes / 2; ++i)
                *out++ = '\\';
            if (backslashes % 2) {
                *out++ = '"'; // an escaped, literal quote
                ++p;
                continue;
            }
            // An even run: the quote below is a delimiter.
        }
        if (*p == '"') {
            if (inQuotes && p[1] == '"') {
                *out++ = '"'; // "" inside quotes: one literal quote, quoting stays on
                p += 2;
            } else {
                inQuotes = !inQuotes;
                ++p;
            }
            continue;
        }
        // A double-byte character is taken whole: its trail byte is never a delimiter.
        if (m_isLeadByte(static_cast<unsigned char>(*p)) && p[1])
            *out++ = *p++;
        *out++ = *p++;
    }
    *out = '\0';
    m_pNext = p;
    return m_pBuffer;
}

bool ArgumentSplitter::AtEnd() const {
    const char* p = m_pNext;
    while (IsBlank(*p))
        ++p;
    return !*p;
}

void ParseCommandLine(const char* commandLine, LeadByteTest isLeadByte, CCommandLineInfo& info) {
    ArgumentSplitter splitter(commandLine, isLeadByte);
    while (const char* argument = splitter.Next()) {
        const bool isSwitch = argument[0] == '-' || argument[0] == '/';
        info.ParseParam(isSwitch ? argument + 1 : argument, isSwitch, splitter.AtEnd());
    }
}

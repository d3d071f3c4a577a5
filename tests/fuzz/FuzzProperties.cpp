#include "FuzzProperties.h"

#include "HexOf.h"

#include "app/AppCommandLineInfo.h"
#include "framework/CommandLine.h"
#include "history/DayRule.h"
#include "osversion/VersionCode.h"

#include <cmath>
#include <cstring>

namespace {
bool NoLeadBytes(unsigned char) {
    return false;
}

// A lead byte with nothing after it in its argument is no character of the code page:
// whatever follows it on the command line would become its second byte. Such a byte
// cannot be handed over, so it is dropped before the round trip.
std::string WholeCharacters(const std::string& argument, LeadByteRule isLeadByte) {
    std::string whole;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(argument[i]))) {
            if (i + 1 == argument.size())
                break;
            whole += argument[i++];
        }
        whole += argument[i];
    }
    return whole;
}

struct Recorded {
    std::string text;
    bool isSwitch;
    bool isLast;
};

class RecordingInfo : public CCommandLineInfo {
public:
    void ParseParam(const char* pszParam, bool bFlag, bool bLast) override {
        calls.push_back({pszParam, bFlag, bLast});
    }
    std::vector<Recorded> calls;
};

bool SameLetter(const std::string& text, char upper) {
    return text.size() == 1 && (text[0] == upper || text[0] == upper - 'A' + 'a');
}
} // namespace

bool Cp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string QuoteArgument(const std::string& argument, LeadByteRule isLeadByte) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const char c = argument[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            quoted.append(backslashes, '\\'); // not before a quote: literal
            if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < argument.size())
                quoted += argument[i++];
        }
        backslashes = 0;
        quoted += argument[i];
    }
    quoted.append(2 * backslashes, '\\'); // before the closing quote
    return quoted + '"';
}

std::string QuoteCommandLine(const std::vector<std::string>& arguments, LeadByteRule isLeadByte) {
    std::string line = "\"C:\\Program Files\\Vendor\\Quenmar.exe\"";
    for (const std::string& argument : arguments)
        line += ' ' + QuoteArgument(argument, isLeadByte);
    return line;
}

std::string CheckCommandLine(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return "";
    const LeadByteRule isLeadByte = (data[0] & 1) ? Cp932LeadByte : NoLeadBytes;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // The raw bytes as a command line (NULs as blanks): no fault, bLast on the final one.
    {
        std::string raw = bytes;
        for (char& c : raw)
            if (c == '\0')
                c = ' ';
        RecordingInfo info;
        ParseCommandLine(raw.c_str(), isLeadByte, info);
        for (std::size_t i = 0; i < info.calls.size(); ++i)
            if (info.calls[i].isLast != (i + 1 == info.calls.size()))
                return "raw line: last-argument flag wrong on argument " + std::to_string(i);
    }

    std::vector<std::string> arguments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\0') {
            arguments.push_back(WholeCharacters(bytes.substr(start, i - start), isLeadByte));
            start = i + 1;
        }
    }
    const std::string line = QuoteCommandLine(arguments, isLeadByte);

    std::vector<std::string> split;
    ArgumentSplitter splitter(line.c_str(), isLeadByte);
    while (const char* argument = splitter.Next())
        split.emplace_back(argument);
    if (split != arguments) {
        std::string report = "round trip broken; line: " + HexOf(line) + "\n";
        for (const std::string& a : arguments)
            report += "  in:  " + HexOf(a) + "\n";
        for (const std::string& a : split)
            report += "  out: " + HexOf(a) + "\n";
        return report;
    }

    // The options: switches by their first character, the key path the last plain one.
    AppCommandLineInfo expected;
    for (const std::string& argument : arguments) {
        if (argument.empty() || (argument[0] != '-' && argument[0] != '/')) {
            expected.m_strKeyPath = CString(argument.c_str());
            continue;
        }
        const std::string text = argument.substr(1);
        if (SameLetter(text, 'N'))
            expected.m_bForce = true;
        else if (SameLetter(text, 'I'))
            expected.m_bInstaller = true;
        else if (SameLetter(text, 'E'))
            expected.m_bWin8Check = false;
        else if (SameLetter(text, 'T'))
            expected.m_bWin10Check = true;
        else if (SameLetter(text, 'V'))
            expected.m_bVistaNotice = false;
    }
    AppCommandLineInfo parsed;
    ParseCommandLine(line.c_str(), isLeadByte, parsed);
    if (std::strcmp(parsed.m_strKeyPath.c_str(), expected.m_strKeyPath.c_str()) != 0)
        return "key path " + HexOf(parsed.m_strKeyPath.c_str()) + ", not the last plain argument " +
               HexOf(expected.m_strKeyPath.c_str());
    if (parsed.m_bForce != expected.m_bForce || parsed.m_bInstaller != expected.m_bInstaller ||
        parsed.m_bWin8Check != expected.m_bWin8Check ||
        parsed.m_bWin10Check != expected.m_bWin10Check ||
        parsed.m_bVistaNotice != expected.m_bVistaNotice)
        return "switches differ from the arguments; line: " + HexOf(line);
    return "";
}

std::string CheckDayRule(const uint8_t* data, std::size_t size) {
    double now = 0.0, stored = 0.0;
    if (size < 2 * sizeof(double))
        return "";
    std::memcpy(&now, data, sizeof(now));
    std::memcpy(&stored, data + sizeof(now), sizeof(stored));
    const bool due = IsDayElapsed(now, stored);
    const double span = DaySpan(now, stored);
    if (std::isnan(now) || std::isnan(stored) || std::isnan(span)) {
        if (!due)
            return "no day count, yet not due";
        return "";
    }
    // With a day count: a day or more is due, clearly less than a day is not.
    if (span >= 1.0 && !due)
        return "a day or more (" + std::to_string(span) + " days), yet not due";
    if (span < 1.0 - 2 * kHalfSecondInDays && due)
        return "less than a day (" + std::to_string(span) + " days), yet due";
    return "";
}

std::string CheckVersionCode(const uint8_t* data, std::size_t size) {
    VersionRecord record;
    int32_t serverR2 = 0;
    if (size < sizeof(record) + sizeof(serverR2))
        return "";
    std::memcpy(&record, data, sizeof(record));
    std::memcpy(&serverR2, data + sizeof(record), sizeof(serverR2));

    int asked = 0;
    const unsigned code = MapVersionCode(record, [&] {
        ++asked;
        return serverR2;
    });
    if (code > 27)
        return "code " + std::to_string(code) + " is none of the 28";
    const bool r2Question = record.wProductType != kWorkstation && record.dwMajorVersion == 5 &&
                            record.dwMinorVersion == 2;
    if (asked != (r2Question ? 1 : 0))
        return "the R2 answer was asked " + std::to_string(asked) + " times";

    // The fields that carry no behaviour, filled from the rest of the input (or inverted).
    VersionRecord other = record;
    const uint8_t* rest = data + sizeof(record) + sizeof(serverR2);
    const std::size_t restSize = size - sizeof(record) - sizeof(serverR2);
    for (std::size_t i = 0; i < sizeof(other.szCSDVersion); ++i)
        other.szCSDVersion[i] = static_cast<char>(i < restSize ? rest[i] : ~record.szCSDVersion[i]);
    other.dwOSVersionInfoSize = ~record.dwOSVersionInfoSize;
    other.dwBuildNumber = ~record.dwBuildNumber;
    other.dwPlatformId = ~record.dwPlatformId;
    other.wServicePackMinor = static_cast<uint16_t>(~record.wServicePackMinor);
    other.wSuiteMask = static_cast<uint16_t>(~record.wSuiteMask);
    other.wReserved = static_cast<uint8_t>(~record.wReserved);
    if (MapVersionCode(other, [&] { return serverR2; }) != code)
        return "the code changed with fields that carry no behaviour";
    return "";
}

// A seeded sweep of bad input against the real Quenmar.exe and QuenmarCheck.exe under
// Wine, on a Windows whose history counts (Windows 7 without a service pack):
// ReportQuenmar of every registry type and of awkward sizes, random bytes, texts
// without a terminator or in other date formats, dates far away; key paths that are
// empty, long, oddly written or refused, or under keys that deny access; two runs on
// one key path at once. Every case must end by itself or with its notice, exit with
// 0, show no window but the notice, write nothing but ReportQuenmar under its own key
// path, and decide what the history rules say, with the checker agreeing.
//
// The seed is printed; QUENMAR_SWEEP_SEED replays a run, QUENMAR_SWEEP_JOBS sets how
// many cases run at once.
#include "HistoryTestSupport.h"
#include "NoticeTexts.h"
#include "QuenmarDriver.h"
#include "RegistrySnapshot.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <oleauto.h>
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr std::uint64_t kDefaultSeed = 20261211;
constexpr DWORD kReadLimit = 1024;          // bytes the program reads, NUL included
constexpr double kHalfSecond = 0.5 / 86400; // in days
constexpr double kHour = 1.0 / 24;
constexpr DWORD kRunTimeoutMs = 20000;
const char kReport[] = "ReportQuenmar";

// splitmix64: the same numbers from the same seed on every build.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    std::string Bytes(std::size_t n) {
        std::string out(n, '\0');
        for (char& c : out)
            c = static_cast<char>(Next() & 0xFF);
        return out;
    }
    std::string From(const std::vector<std::string>& pieces, std::size_t count) {
        std::string out;
        for (std::size_t i = 0; i < count; ++i)
            out += pieces[Below(pieces.size())];
        return out;
    }

private:
    std::uint64_t m_state;
};

std::uint64_t SweepSeed() {
    const char* text = std::getenv("QUENMAR_SWEEP_SEED");
    return text && *text ? std::strtoull(text, nullptr, 0) : kDefaultSeed;
}

unsigned SweepJobs() {
    const char* text = std::getenv("QUENMAR_SWEEP_JOBS");
    const unsigned jobs = text && *text ? static_cast<unsigned>(std::atoi(text)) : 4;
    return jobs ? jobs : 1;
}

// ---- Dates, as the program documents them ----------------------------------------

// Now as the program takes it: the C run-time's local time in whole seconds.
double Now() {
    const __time64_t seconds = _time64(nullptr);
    const tm* local = _localtime64(&seconds);
    return DateOf(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                  local->tm_min, local->tm_sec);
}

// The documented parse: ANSI text to UTF-16 in the thread's code page, then
// VarDateFromStr with the user's default locale and flags 0.
bool ParseStamp(const std::string& text, double* date) {
    const int n = MultiByteToWideChar(CP_THREAD_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, text.c_str(), -1, &wide[0], n) != n)
        return false;
    DATE parsed = 0;
    if (FAILED(VarDateFromStr(&wide[0], LOCALE_USER_DEFAULT, 0, &parsed)))
        return false;
    *date = parsed;
    return true;
}

// A day less half a second has passed from stored to now, days before 30 December 1899
// counted continuously.
bool DayHasPassed(double now, double stored) {
    auto continuous = [](double d) { return d > -kHalfSecond ? d : 2.0 * std::ceil(d) - d; };
    const double span = continuous(now) - continuous(stored);
    return std::trunc(span >= 0 ? span + kHalfSecond : span - kHalfSecond) >= 1.0;
}

// ---- The registry, through the ANSI functions the program uses --------------------

struct AnsiValue {
    bool exists = false;
    DWORD type = 0;
    std::string bytes; // exactly the size the ANSI query reports
};

AnsiValue ReadAnsiValue(HKEY key, const char* name) {
    AnsiValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    std::vector<char> buffer(size + 2, '\0');
    DWORD read = size + 2;
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer.data()),
                         &read) != ERROR_SUCCESS)
        return value;
    value.exists = true;
    value.bytes.assign(buffer.data(), read);
    return value;
}

// What the history query can see under a key path.
struct HistoryView {
    bool keyReadable = false;
    AnsiValue report;
};

HistoryView ViewHistory(const std::string& keyPath) {
    HistoryView view;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return view;
    view.keyReadable = true;
    view.report = ReadAnsiValue(key, kReport);
    RegCloseKey(key);
    return view;
}

// The documented answer of the once-a-day rule; `why` names the rule that settled it,
// `dated` (when given) says whether the value held a date the rule could count from.
bool ExpectedDue(const HistoryView& view, double now, std::string* why, bool* dated = nullptr) {
    if (dated)
        *dated = false;
    auto due = [why](const std::string& reason) {
        *why = reason;
        return true;
    };
    const AnsiValue& v = view.report;
    if (!view.keyReadable)
        return due("the key is missing or cannot be read");
    if (!v.exists)
        return due("no ReportQuenmar");
    if (v.type != REG_SZ && v.type != REG_EXPAND_SZ)
        return due("type " + std::to_string(v.type) + " is no string");
    if (v.bytes.size() > kReadLimit)
        return due(std::to_string(v.bytes.size()) + " bytes, over the read limit");
    if (v.bytes.size() == kReadLimit && v.bytes.find('\0') == std::string::npos)
        return due("1,024 bytes without a NUL");
    const std::string text = v.bytes.substr(0, v.bytes.find('\0'));
    double stored = 0;
    if (!ParseStamp(text, &stored))
        return due("the text does not parse");
    if (dated)
        *dated = true;
    const bool passed = DayHasPassed(now, stored);
    *why = "parses as " + TextOf(stored) +
           (passed ? ", a day or more ago" : ", less than a day ago or later");
    return passed;
}

// Sets a value to exactly these bytes. The registry counts a string's NUL itself when
// the byte after the data is one, so the byte after is never one.
bool SetExactValue(const std::string& keyPath, const char* name, DWORD type,
                   const std::string& bytes, bool wide) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    std::string guarded = bytes + "GG";
    LONG result;
    if (wide) {
        std::vector<wchar_t> wname(name, name + std::strlen(name) + 1);
        result = RegSetValueExW(key, wname.data(), 0, type,
                                reinterpret_cast<const BYTE*>(guarded.data()),
                                static_cast<DWORD>(bytes.size()));
    } else {
        result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                                static_cast<DWORD>(bytes.size()));
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Everything under HKCU\keyPath; nullopt when it cannot be opened for reading.
std::optional<RegistrySnapshot> SnapshotOfKey(const std::string& keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RegistrySnapshot snapshot = TakeRegistrySnapshot(key, L"key");
    RegCloseKey(key);
    return snapshot;
}

// Whether the registry lets a writer have the key with full access: open it or create it.
bool RegistryAcceptsWrite(const std::string& keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS ||
        RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return true;
    }
    return false;
}

// A key whose DACL refuses some rights to everyone; the old DACL comes back on Unlock.
const char kDenyWriting[] = "D:P(D;;0x6;;;WD)(A;;KA;;;WD)";      // set value, create key
const char kDenyReadAndWrite[] = "D:P(D;;0x7;;;WD)(A;;KA;;;WD)"; // and query value

struct KeyLock {
    std::string keyPath;
    std::vector<BYTE> oldSecurity;
};

bool LockKey(const std::string& keyPath, const char* sddl, KeyLock* lock) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    lock->keyPath = keyPath;
    lock->oldSecurity.assign(size, 0);
    PSECURITY_DESCRIPTOR sd = nullptr;
    const bool locked =
        size &&
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, lock->oldSecurity.data(), &size) ==
            ERROR_SUCCESS &&
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr) &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (sd)
        LocalFree(sd);
    RegCloseKey(key);
    return locked;
}

void UnlockKey(const KeyLock& lock) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, lock.keyPath.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, const_cast<BYTE*>(lock.oldSecurity.data()));
    RegCloseKey(key);
}

// ---- The checker's report ---------------------------------------------------------

std::string Narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

// A reader of one JSON document, strict about strings; keeps every member whose value
// is a string.
class JsonReader {
public:
    explicit JsonReader(const std::string& text) : m_text(text) {}
    bool Document() {
        Space();
        if (!Value(nullptr))
            return false;
        Space();
        return m_at == m_text.size();
    }
    std::map<std::string, std::string> strings; // member name -> text, in UTF-8

private:
    void Space() {
        while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) && m_text[m_at])
            ++m_at;
    }
    bool Take(char c) {
        Space();
        if (m_at < m_text.size() && m_text[m_at] == c)
            return ++m_at, true;
        return false;
    }
    bool Value(const std::string* member) {
        Space();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{' || c == '[') {
            ++m_at;
            const char close = c == '{' ? '}' : ']';
            if (Take(close))
                return true;
            do {
                std::string name;
                if (c == '{' && (!Take('"') || !String(&name) || !Take(':')))
                    return false;
                if (!Value(c == '{' ? &name : nullptr))
                    return false;
            } while (Take(','));
            return Take(close);
        }
        if (c == '"') {
            ++m_at;
            std::string text;
            if (!String(&text))
                return false;
            if (member)
                strings[*member] = text;
            return true;
        }
        for (const char* word : {"true", "false", "null"})
            if (m_text.compare(m_at, std::strlen(word), word) == 0)
                return m_at += std::strlen(word), true;
        const std::size_t start = m_at;
        while (m_at < m_text.size() && std::strchr("+-.0123456789eE", m_text[m_at]) && m_text[m_at])
            ++m_at;
        return m_at > start;
    }
    // After the opening quote: plain UTF-8, escapes decoded, no raw control characters.
    bool String(std::string* out) {
        while (m_at < m_text.size()) {
            const unsigned char c = static_cast<unsigned char>(m_text[m_at++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c != '\\') {
                *out += static_cast<char>(c);
                continue;
            }
            if (m_at >= m_text.size())
                return false;
            const char e = m_text[m_at++];
            static const char kEscapes[] = "\"\\/bfnrt";
            static const char kMeanings[] = "\"\\/\b\f\n\r\t";
            if (const char* simple = e ? std::strchr(kEscapes, e) : nullptr) {
                *out += kMeanings[simple - kEscapes];
                continue;
            }
            unsigned code = 0;
            if (e != 'u' || !Hex4(&code))
                return false;
            if (code >= 0xD800 && code < 0xDC00) {
                unsigned low = 0;
                if (m_text.compare(m_at, 2, "\\u") != 0 || (m_at += 2, !Hex4(&low)) ||
                    low < 0xDC00 || low >= 0xE000)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            } else if (code >= 0xDC00 && code < 0xE000) {
                return false;
            }
            AppendUtf8(code, out);
        }
        return false;
    }
    bool Hex4(unsigned* code) {
        if (m_at + 4 > m_text.size())
            return false;
        for (int k = 0; k < 4; ++k) {
            const unsigned char h = static_cast<unsigned char>(m_text[m_at++]);
            if (!std::isxdigit(h))
                return false;
            *code = *code * 16 +
                    static_cast<unsigned>(std::isdigit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        return true;
    }
    static void AppendUtf8(unsigned code, std::string* out) {
        if (code < 0x80) {
            *out += static_cast<char>(code);
        } else if (code < 0x800) {
            *out += static_cast<char>(0xC0 | (code >> 6));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            *out += static_cast<char>(0xE0 | (code >> 12));
            *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            *out += static_cast<char>(0xF0 | (code >> 18));
            *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    const std::string& m_text;
    std::size_t m_at = 0;
};

// ANSI text of the thread's code page as UTF-8, the way the checker reports it.
std::string Utf8OfAnsi(const std::string& ansi) {
    if (ansi.empty())
        return {};
    const int n = MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_THREAD_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                            n);
    return Narrow(wide);
}

// ---- Command lines and windows ------------------------------------------------------

// One argument as the program's splitter reads it back: quoted, backslashes before a
// quote doubled, double-byte characters taken whole.
std::string QuoteArgument(const std::string& text) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
            out.append(backslashes, '\\');
            backslashes = 0;
            out += c;
            out += text[++i];
        } else if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
            backslashes = 0;
            out += c;
        } else {
            out.append(backslashes, '\\');
            backslashes = 0;
            out += c;
        }
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string Printable(const std::string& bytes, std::size_t limit = 80) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        }
    }
    if (bytes.size() > limit)
        out += "... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

bool IsNotice(HWND hwnd) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    return lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(hwnd, 1004) && GetDlgItem(hwnd, 1005) &&
           GetDlgItem(hwnd, 1006);
}

std::string DescribeWindow(HWND hwnd) {
    wchar_t cls[64] = {}, title[128] = {};
    GetClassNameW(hwnd, cls, 64);
    GetWindowTextW(hwnd, title, 128);
    return "class \"" + Narrow(cls) + "\", title \"" + Narrow(title) + "\"";
}

struct WindowSearch {
    DWORD processId; // 0: every process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((search->processId == 0 || pid == search->processId) && IsWindowVisible(hwnd))
        search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One run of Quenmar.exe: whether its notice came, and how it ended.
struct ProgramRun {
    bool noticeShown = false;
    std::wstring caption;
    std::vector<std::string> faults;
};

// Waits for the notice or the end; a window of the process that is not the notice
// (an error box, a crash report) is a fault, and so is neither coming in time.
bool AwaitNotice(QuenmarRun& run, NoticeWindow* notice, ProgramRun* out) {
    const DWORD pid = GetProcessId(run.Process());
    const DWORD start = GetTickCount();
    // Idle means waiting for input, as a notice does, or ended; asking the windows
    // only then keeps many runs at once from loading the server.
    WaitForInputIdle(run.Process(), kRunTimeoutMs);
    while (GetTickCount() - start < kRunTimeoutMs) {
        for (HWND hwnd : VisibleWindows(pid)) {
            if (!IsNotice(hwnd)) {
                out->faults.push_back("a window that is not the notice: " + DescribeWindow(hwnd));
                return false;
            }
            // Shown only once it has initialised: its texts are in place.
            notice->hwnd = hwnd;
            wchar_t caption[64] = {};
            GetWindowTextW(hwnd, caption, 64);
            out->caption = caption;
            return true;
        }
        if (WaitForSingleObject(run.Process(), 20) == WAIT_OBJECT_0)
            return false;
    }
    out->faults.push_back("neither a notice nor the end within 20 s");
    return false;
}

void FinishRun(QuenmarRun& run, ProgramRun* out) {
    if (!run.WaitForExit(kRunTimeoutMs)) {
        out->faults.push_back(out->noticeShown ? "did not end within 20 s of its notice's closing"
                                               : "did not end within 20 s");
        return;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(run.Process(), &exitCode);
    if (exitCode != 0) {
        char text[64];
        std::snprintf(text, sizeof(text), "exit status 0x%08lX",
                      static_cast<unsigned long>(exitCode));
        out->faults.push_back(text);
    }
    if (out->noticeShown && out->caption != expected_text::kServicePackCaption)
        out->faults.push_back("the notice was not the service-pack notice: \"" +
                              Narrow(out->caption) + "\"");
}

// Runs Quenmar.exe with `arguments`, closes its notice with the close button.
ProgramRun RunProgram(const std::string& arguments) {
    ProgramRun out;
    QuenmarRun run(arguments);
    if (!run.Started()) {
        out.faults.push_back("Quenmar.exe did not start");
        return out;
    }
    NoticeWindow notice;
    out.noticeShown = AwaitNotice(run, &notice, &out);
    if (out.noticeShown)
        run.Close(notice, CloseBy::Button);
    FinishRun(run, &out);
    return out;
}

// ---- The cases ---------------------------------------------------------------------

enum class Lock { None, Writing, ReadingAndWriting };

struct SweepCase {
    std::string name;
    std::string keyPath;
    bool keyPathGiven = true; // false: no key path on the command line at all
    // The ReportQuenmar to store first, if any.
    bool setReport = false;
    DWORD type = REG_SZ;
    std::string data;
    bool wide = false;        // stored through the UTF-16 function, bytes as they are
    bool reportAsKey = false; // a sub-key named ReportQuenmar instead of a value
    Lock lock = Lock::None;
    bool lockParent = false; // the lock is on the key above the key path's key
    int runsAtOnce = 1;
    bool runAgainAfterWrite = false;

    std::string LockedKey() const {
        return lockParent ? keyPath.substr(0, keyPath.rfind('\\')) : keyPath;
    }

    // Filled in by the setup.
    std::optional<RegistrySnapshot> keyBefore;
    KeyLock keyLock;
    std::vector<std::string> setupFaults;
};

struct CaseResult {
    std::vector<std::string> faults;
    std::string decision; // what the oracle said, for the failure report
    bool wrote = false;   // the program rewrote ReportQuenmar under the key path
    bool noticeShown = false;
};

std::string Arguments(const SweepCase& c) {
    return c.keyPathGiven ? QuoteArgument(c.keyPath) : std::string();
}

// The date-and-time text of a date in another shape than this machine's default.
std::string Shaped(const char* shape, double date) {
    SYSTEMTIME st{};
    VariantTimeToSystemTime(date, &st);
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const int hour12 = st.wHour % 12 ? st.wHour % 12 : 12;
    const char* ampm = st.wHour < 12 ? "AM" : "PM";
    const std::string s = shape;
    if (s == "fullwidth") { // this machine's shape in full-width digits (０ is 0x82 0x4F)
        std::string out;
        for (char c : TextOf(date)) {
            if (c >= '0' && c <= '9') {
                out += '\x82';
                out += static_cast<char>(0x4F + (c - '0'));
            } else {
                out += c;
            }
        }
        return out;
    }
    char text[128];
    if (s == "en-US")
        std::snprintf(text, sizeof(text), "%d/%d/%d %d:%02d:%02d %s", st.wMonth, st.wDay, st.wYear,
                      hour12, st.wMinute, st.wSecond, ampm);
    else if (s == "de-DE")
        std::snprintf(text, sizeof(text), "%02d.%02d.%04d %02d:%02d:%02d", st.wDay, st.wMonth,
                      st.wYear, st.wHour, st.wMinute, st.wSecond);
    else if (s == "en-GB")
        std::snprintf(text, sizeof(text), "%02d/%02d/%04d %02d:%02d:%02d", st.wDay, st.wMonth,
                      st.wYear, st.wHour, st.wMinute, st.wSecond);
    else if (s == "ISO")
        std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d", st.wYear, st.wMonth,
                      st.wDay, st.wHour, st.wMinute, st.wSecond);
    else if (s == "ISO-space")
        std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth,
                      st.wDay, st.wHour, st.wMinute, st.wSecond);
    else if (s == "RFC1123")
        std::snprintf(text, sizeof(text), "%s, %02d %.3s %04d %02d:%02d:%02d GMT",
                      kDays[st.wDayOfWeek], st.wDay, kMonths[st.wMonth - 1], st.wYear, st.wHour,
                      st.wMinute, st.wSecond);
    else if (s == "en-long")
        std::snprintf(text, sizeof(text), "%s %d, %d %d:%02d %s", kMonths[st.wMonth - 1], st.wDay,
                      st.wYear, hour12, st.wMinute, ampm);
    else if (s == "ja-kanji") // 年月日時分秒 in code page 932
        std::snprintf(text, sizeof(text),
                      "%d\x94\x4e%d\x8c\x8e%d\x93\xfa %d\x8e\x9e%d\x95\xaa%d\x95\x62", st.wYear,
                      st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    else // "ja-ampm": 午前 / 午後 before a 12-hour time
        std::snprintf(text, sizeof(text), "%04d/%02d/%02d %s %d:%02d:%02d", st.wYear, st.wMonth,
                      st.wDay, st.wHour < 12 ? "\x8c\xdf\x91\x4f" : "\x8c\xdf\x8c\xe3", hour12,
                      st.wMinute, st.wSecond);
    return text;
}

std::vector<SweepCase> MakeCases(std::uint64_t seed, const std::string& root, double now) {
    Random random(seed);
    std::deque<SweepCase> cases; // references to its cases stay valid as it grows
    int serial = 0;
    auto add = [&](const std::string& name) -> SweepCase& {
        cases.emplace_back();
        SweepCase& c = cases.back();
        c.name = name;
        c.keyPath = root + "\\" + std::to_string(++serial);
        return c;
    };
    auto stored = [&](const std::string& name, DWORD type, const std::string& data,
                      bool wide = false) -> SweepCase& {
        SweepCase& c = add(name);
        c.setReport = true;
        c.type = type;
        c.data = data;
        c.wide = wide;
        return c;
    };
    const std::string recent = TextOf(now - kHour);
    const std::string printable =
        " !#$%&()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_abcdefghijklmnopqrstuvwxyz";
    auto filler = [&](std::size_t n) {
        std::string out(n, ' ');
        for (char& c : out)
            c = printable[random.Below(printable.size())];
        return out;
    };

    // Every type at every awkward size. The data starts with a stamp of an hour ago,
    // so only a string within the read limit holds the notice back.
    const struct {
        DWORD type;
        const char* name;
    } kTypes[] = {{REG_NONE, "REG_NONE"},
                  {REG_SZ, "REG_SZ"},
                  {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
                  {REG_BINARY, "REG_BINARY"},
                  {REG_DWORD, "REG_DWORD"},
                  {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
                  {REG_LINK, "REG_LINK"},
                  {REG_MULTI_SZ, "REG_MULTI_SZ"},
                  {REG_RESOURCE_LIST, "REG_RESOURCE_LIST"},
                  {REG_FULL_RESOURCE_DESCRIPTOR, "REG_FULL_RESOURCE_DESCRIPTOR"},
                  {REG_RESOURCE_REQUIREMENTS_LIST, "REG_RESOURCE_REQUIREMENTS_LIST"},
                  {REG_QWORD, "REG_QWORD"},
                  {0xFFFFFFFF, "type 0xFFFFFFFF"}};
    for (const auto& t : kTypes)
        for (std::size_t size : {0u, 1u, 1023u, 1024u, 1025u, 65536u}) {
            std::string data = recent + '\0';
            data += filler(size > data.size() ? size - data.size() : 0);
            data.resize(size);
            stored(std::string(t.name) + ", " + std::to_string(size) + " bytes", t.type, data);
        }

    // Texts without a terminator, short and at the read limit.
    stored("stamp of an hour ago without a NUL", REG_SZ, recent);
    stored("stamp of two days ago without a NUL", REG_SZ, TextOf(now - 2));
    stored("stamp and spaces, 1023 bytes without a NUL", REG_SZ,
           recent + std::string(1023 - recent.size(), ' '));
    stored("stamp and spaces, 1024 bytes without a NUL", REG_SZ,
           recent + std::string(1024 - recent.size(), ' '));
    stored("stamp and letters, 1023 bytes without a NUL", REG_SZ,
           recent + filler(1023 - recent.size()));
    {
        std::string utf16;
        for (char ch : recent) {
            utf16 += ch;
            utf16 += '\0';
        }
        stored("UTF-16 stamp of an hour ago with an odd byte count", REG_SZ, utf16 + 'x', true);
        stored("UTF-16 stamp of an hour ago without a NUL", REG_EXPAND_SZ, utf16, true);
    }

    // Random bytes, through the ANSI and the UTF-16 function.
    for (int i = 0; i < 4; ++i) {
        const std::size_t size = 1 + random.Below(i == 3 ? 65536 : 1100);
        stored("random bytes, ANSI, " + std::to_string(size), REG_SZ, random.Bytes(size));
    }
    for (int i = 0; i < 3; ++i) {
        const std::size_t size = 1 + random.Below(2100);
        stored("random bytes, UTF-16, " + std::to_string(size), i == 2 ? REG_EXPAND_SZ : REG_SZ,
               random.Bytes(size), true);
    }
    stored("random bytes, REG_MULTI_SZ", REG_MULTI_SZ, random.Bytes(1 + random.Below(900)));
    // Random dates in this machine's shape, their fields at times out of range or
    // their separators and tails odd: some parse, some do not.
    auto pick = [&](std::initializer_list<int> values) {
        return *(values.begin() + random.Below(values.size()));
    };
    for (int i = 0; i < 8; ++i) {
        const std::string separator = random.Below(4) ? "/" : (random.Below(2) ? "-" : ".");
        std::string text = std::to_string(pick({0, 30, 100, 1899, 1900, 2026, 2026, 2026, 9999})) +
                           separator + std::to_string(random.Below(14)) + separator +
                           std::to_string(random.Below(33));
        if (random.Below(3))
            text += " " + std::to_string(random.Below(26)) + ":" +
                    std::to_string(random.Below(62)) +
                    (random.Below(2) ? ":" + std::to_string(random.Below(62)) : "");
        if (random.Below(4) == 0)
            text += random.From({" ", "PM", "\x8c\xdf\x8c\xe3", "Z", " +09:00", ".5", "x"},
                                1 + random.Below(2));
        stored("date-like text", REG_SZ, text + '\0');
    }

    // Other regional settings' shapes: numeric ones of a recent and of an older date
    // (day and month may trade places), the ones with words of either.
    for (const char* shape : {"en-US", "de-DE", "en-GB", "ISO", "ISO-space", "fullwidth", "RFC1123",
                              "en-long", "ja-kanji", "ja-ampm"}) {
        const bool numeric =
            std::string("RFC1123 en-long ja-kanji ja-ampm").find(shape) == std::string::npos;
        const double hoursAgo = 1 + static_cast<double>(random.Below(22));
        const double daysAgo = 2 + static_cast<double>(random.Below(60));
        const bool recentOne = numeric || random.Below(2) == 0;
        if (recentOne)
            stored(std::string(shape) + " text, hours ago", REG_SZ,
                   Shaped(shape, now - hoursAgo * kHour) + '\0');
        if (numeric || !recentOne)
            stored(std::string(shape) + " text, days ago", REG_SZ,
                   Shaped(shape, now - daysAgo) + '\0');
    }

    // Dates far away and near the day's edge, in this machine's own shape.
    for (const char* text :
         {"100/01/01 0:00:00", "1601/01/01 0:00:00", "1899/12/29 6:00:00", "1899/12/30",
          "1899/12/30 0:00:01", "1899/12/31 23:59:59", "1900/01/01", "1970/01/01 0:00:00",
          "2038/01/19 3:14:08", "3000/01/01", "3001/01/01 8:00:00", "9999/12/31 23:59:59",
          "10000/01/01", "0/01/01", "99/12/31", "0:00:00", "23:59:59"})
        stored(std::string("far date ") + text, REG_SZ, std::string(text) + '\0');
    for (const double offset : {-25 * kHour, -23 * kHour, 1 * kHour, 400.0, 3000 * 365.0})
        stored("stamp " + std::to_string(static_cast<long long>(offset * 24)) + " hours from now",
               REG_SZ, TextOf(now + offset) + '\0');
    stored("Invalid DateTime", REG_SZ, std::string("Invalid DateTime") + '\0');

    // Key paths.
    const std::size_t firstKeyPathCase = cases.size();
    {
        SweepCase& c = add("no key path at all");
        c.keyPathGiven = false;
        c.keyPath.clear();
        SweepCase& e = add("empty key path");
        e.keyPath.clear();
    }
    auto padded = [&](std::size_t length) {
        std::string path = root + "\\len" + std::to_string(length) + "-";
        return path + std::string(length - path.size(), 'p');
    };
    for (std::size_t length : {255u, 256u, 260u, 261u, 300u, 4000u})
        add("key path of " + std::to_string(length) + " characters").keyPath = padded(length);
    for (std::size_t length : {255u, 256u}) {
        // One component of this length, directly under HKEY_CURRENT_USER.
        std::string name = "QuenmarSweep" + std::to_string(GetCurrentProcessId()) + "-";
        add("one component of " + std::to_string(length) + " characters").keyPath =
            name + std::string(length - name.size(), 'c');
    }
    add("a component of 300 characters").keyPath += "\\" + std::string(300, 'o');
    add("trailing backslash").keyPath += "\\";
    add("doubled backslash").keyPath += "\\\\inner";
    add("leading backslash").keyPath.insert(0, "\\");
    add("a lone backslash").keyPath = "\\";
    add("control characters").keyPath += "\\ctl\x01\x07\x1f\x7f";
    add("wildcards, quote and colon").keyPath += "\\*?<>|:\"";
    add("bytes that are no characters in code page 932").keyPath += "\\\x80\xa0\xfd\xfe\xff";
    add("tabs and spaces").keyPath += "\\ \t two  words \t";
    add("dot components").keyPath += "\\.\\..\\end";
    add("ReportQuenmar is a key, not a value").reportAsKey = true;
    stored("key denying writing, stamp of two days ago", REG_SZ, TextOf(now - 2) + '\0').lock =
        Lock::Writing;
    stored("key denying writing, stamp of an hour ago", REG_SZ, recent + '\0').lock = Lock::Writing;
    stored("key denying reading and writing, stamp of an hour ago", REG_SZ, recent + '\0').lock =
        Lock::ReadingAndWriting;
    {
        // A key path under a key that denies creating sub-keys.
        SweepCase& c = add("path under a key denying writing");
        c.keyPath += "\\child";
        c.lock = Lock::Writing;
        c.lockParent = true;
    }

    for (std::size_t i = firstKeyPathCase; i < cases.size(); ++i)
        cases[i].runAgainAfterWrite = true;

    // Two runs at once on one key path.
    add("two runs at once, no history").runsAtOnce = 2;
    stored("two runs at once, stamp of two days ago", REG_SZ, TextOf(now - 2) + '\0').runsAtOnce =
        2;
    return {std::make_move_iterator(cases.begin()), std::make_move_iterator(cases.end())};
}

const char kSentinel[] = "QuenmarSweepSentinel";

void SetUpCase(SweepCase& c) {
    auto fault = [&](const std::string& what) { c.setupFaults.push_back("setup: " + what); };
    const bool keyFirst = c.setReport || c.reportAsKey || (c.lock != Lock::None && !c.lockParent);
    if (c.lockParent)
        SetExactValue(c.LockedKey(), kSentinel, REG_BINARY, "\x01\x02keep", false);
    if (keyFirst) {
        // Values the program must leave alone, beside the ones it may write.
        if (!SetExactValue(c.keyPath, kSentinel, REG_BINARY, "\x01\x02keep", false) ||
            !SetExactValue(c.keyPath, "", REG_SZ, std::string("default value") + '\0', false))
            fault("the sentinel values could not be set");
    }
    if (c.setReport) {
        if (!SetExactValue(c.keyPath, kReport, c.type, c.data, c.wide))
            fault("ReportQuenmar could not be set");
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, c.keyPath.c_str(), 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            const AnsiValue v = ReadAnsiValue(key, kReport);
            RegCloseKey(key);
            // ASCII and data of other types read back through the ANSI function unchanged.
            const bool ascii =
                std::all_of(c.data.begin(), c.data.end(), [](char ch) { return (ch & 0x80) == 0; });
            const bool text = c.type == REG_SZ || c.type == REG_EXPAND_SZ || c.type == REG_MULTI_SZ;
            if (!v.exists || v.type != c.type)
                fault("ReportQuenmar did not keep its type");
            else if (!c.wide && (ascii || !text) && v.bytes != c.data)
                fault("ReportQuenmar reads back as " + Printable(v.bytes));
        }
    }
    if (c.reportAsKey) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (c.keyPath + "\\" + kReport).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
            RegCloseKey(key);
        else
            fault("the sub-key could not be made");
    }
    if (c.keyPathGiven && !c.keyPath.empty())
        c.keyBefore = SnapshotOfKey(c.keyPath);
    if (c.lock != Lock::None &&
        !LockKey(c.LockedKey(), c.lock == Lock::Writing ? kDenyWriting : kDenyReadAndWrite,
                 &c.keyLock))
        fault("the key's DACL could not be set");
}

// What changed in the key, as lines; values ReportQuenmar may change when allowed.
std::vector<std::string> KeyChanges(const std::optional<RegistrySnapshot>& before,
                                    const std::optional<RegistrySnapshot>& after,
                                    bool reportMayChange) {
    std::vector<std::string> lines;
    if (before.has_value() != after.has_value() && !(reportMayChange && after))
        lines.push_back(after ? "the key appeared" : "the key disappeared");
    if (!after)
        return lines;
    const RegistrySnapshot empty;
    for (const std::wstring& line : DiffSnapshots(before ? *before : empty, *after)) {
        const bool isReport =
            line.size() > 2 && line.compare(2, std::wstring::npos, L"key\\ : ReportQuenmar") == 0;
        const bool isKey = line == L"+ key\\";
        if (reportMayChange && (isReport || isKey) && line[0] != L'-')
            continue;
        lines.push_back(Narrow(line));
    }
    return lines;
}

// The value the program writes: REG_SZ, a stamp of the run's time, one NUL.
void CheckFreshStamp(const std::string& keyPath, double t0, double t1,
                     std::vector<std::string>& faults) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        faults.push_back("the key cannot be read after the write");
        return;
    }
    const AnsiValue v = ReadAnsiValue(key, kReport);
    RegCloseKey(key);
    double date = 0;
    const std::size_t nul = v.bytes.find('\0');
    if (!v.exists || v.type != REG_SZ)
        faults.push_back("ReportQuenmar is not a REG_SZ after the write");
    else if (nul != v.bytes.size() - 1)
        faults.push_back("ReportQuenmar is not text and one NUL: " + Printable(v.bytes));
    else if (!ParseStamp(v.bytes.substr(0, nul), &date))
        faults.push_back("ReportQuenmar does not parse: " + Printable(v.bytes));
    else if (date < t0 - 2.0 / 86400 || date > t1 + 2.0 / 86400)
        faults.push_back("ReportQuenmar is not the run's time: " + Printable(v.bytes));
}

// One run of the checker and the program on the key as it stands; `keyBefore` is the
// key's content before it. Adds what went wrong to r.faults, with `label` first.
std::optional<RegistrySnapshot> RunPass(const SweepCase& c,
                                        const std::optional<RegistrySnapshot>& keyBefore,
                                        const std::string& label, CaseResult& r) {
    auto fault = [&](const std::string& what) { r.faults.push_back(label + what); };
    const bool keyPathUsed = c.keyPathGiven && !c.keyPath.empty();
    const HistoryView view = keyPathUsed ? ViewHistory(c.keyPath) : HistoryView{};

    const double t0 = Now();
    const ProcessResult check = RunProcess(
        "\"" + ProductExePath("QuenmarCheck.exe") + "\" --json " + Arguments(c), kRunTimeoutMs);
    const std::optional<RegistrySnapshot> afterCheck =
        keyPathUsed ? SnapshotOfKey(c.keyPath) : std::nullopt;
    const ProgramRun run = RunProgram(Arguments(c));
    const double t1 = Now();
    for (const std::string& what : run.faults)
        fault(what);
    r.noticeShown = r.noticeShown || run.noticeShown;

    // The decision the rules give, at the first and the last moment the run could
    // have looked; a case on the day's edge may go either way.
    std::string why0 = "no key path", why1;
    bool due0 = true, due1 = true, dated = false;
    if (keyPathUsed) {
        due0 = ExpectedDue(view, t0, &why0, &dated);
        due1 = ExpectedDue(view, t1, &why1);
    }
    const std::string decision = std::string(due0 ? "due" : "not due") + " (" + why0 + ")";
    r.decision += (r.decision.empty() ? "" : "; then ") + decision;
    if (due0 == due1 && run.noticeShown != due0)
        fault(std::string(run.noticeShown ? "a notice was shown" : "no notice was shown") +
              ", but the history rules say " + decision);

    if (!check.finished)
        fault("QuenmarCheck.exe did not end");
    else if (check.exitCode != (run.noticeShown ? 10u : 0u))
        fault("QuenmarCheck.exe exit status " + std::to_string(check.exitCode) +
              " does not match what the program did: " + Printable(check.output, 400));
    // Its report stays JSON whatever it quotes, and names the key path it was given.
    JsonReader json(check.output);
    if (check.finished && !json.Document())
        fault("QuenmarCheck.exe --json printed no valid JSON: " + Printable(check.output, 2000));
    else if (check.finished && json.strings["keyPath"] != Utf8OfAnsi(c.keyPath))
        fault("QuenmarCheck.exe read the key path as \"" + Printable(json.strings["keyPath"]) +
              "\"");
    // It explains the decision with a stored time only where the rules found one.
    else if (check.finished && keyPathUsed && json.strings.count("reportTime") != (dated ? 1u : 0u))
        fault(std::string("QuenmarCheck.exe reports ") +
              (dated ? "no stored time" : "a stored time of " + json.strings["reportTime"]) +
              ", but the history rules say " + decision);

    if (!keyPathUsed)
        return std::nullopt; // nothing may be written anywhere: the HKCU comparison shows it

    if (c.lock != Lock::ReadingAndWriting) {
        for (const std::string& line : KeyChanges(keyBefore, afterCheck, false))
            fault("QuenmarCheck.exe changed the key: " + line);
    }
    const bool mustWrite = run.noticeShown && RegistryAcceptsWrite(c.keyPath);
    std::optional<RegistrySnapshot> after = SnapshotOfKey(c.keyPath);
    if (c.lock != Lock::ReadingAndWriting) {
        for (const std::string& line : KeyChanges(keyBefore, after, mustWrite))
            fault("the key changed: " + line);
    }
    if (mustWrite) {
        r.wrote = true;
        std::vector<std::string> stampFaults;
        CheckFreshStamp(c.keyPath, t0, t1, stampFaults);
        for (const std::string& what : stampFaults)
            fault(what);
    }
    return after;
}

CaseResult RunOneRunCase(const SweepCase& c) {
    CaseResult r;
    const std::optional<RegistrySnapshot> after = RunPass(c, c.keyBefore, "", r);
    // A stamp written under an odd key path must be the one the next run reads.
    if (c.runAgainAfterWrite && r.wrote)
        RunPass(c, after, "second run: ", r);
    return r;
}

// Runs that start together both read the history before either writes, or one reads
// what the other wrote: either way the first to read finds what was there before.
CaseResult RunRunsAtOnceCase(const SweepCase& c) {
    CaseResult r;
    const double t0 = Now();
    std::string why;
    const bool due = ExpectedDue(ViewHistory(c.keyPath), t0, &why);
    r.decision = std::string(due ? "due" : "not due") + " (" + why + ") for the first run";
    const ProcessResult check = RunProcess(
        "\"" + ProductExePath("QuenmarCheck.exe") + "\" --json " + Arguments(c), kRunTimeoutMs);
    std::vector<std::unique_ptr<QuenmarRun>> runs;
    for (int i = 0; i < c.runsAtOnce; ++i)
        runs.push_back(std::make_unique<QuenmarRun>(Arguments(c)));
    std::vector<ProgramRun> outcomes(runs.size());
    std::vector<NoticeWindow> notices(runs.size());
    bool anyShown = false;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        outcomes[i].noticeShown =
            runs[i]->Started() && AwaitNotice(*runs[i], &notices[i], &outcomes[i]);
        anyShown = anyShown || outcomes[i].noticeShown;
    }
    r.noticeShown = anyShown;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (outcomes[i].noticeShown)
            runs[i]->Close(notices[i], CloseBy::Button);
        FinishRun(*runs[i], &outcomes[i]);
        for (const std::string& fault : outcomes[i].faults)
            r.faults.push_back("run " + std::to_string(i + 1) + ": " + fault);
    }
    if (anyShown != due)
        r.faults.push_back(std::string(anyShown ? "a notice was shown" : "no run showed a notice") +
                           ", but the history rules say " + r.decision);
    if (!check.finished || check.exitCode != (anyShown ? 10u : 0u))
        r.faults.push_back("QuenmarCheck.exe exit status " + std::to_string(check.exitCode) +
                           " does not match what the runs did");
    for (const std::string& line : KeyChanges(c.keyBefore, SnapshotOfKey(c.keyPath), true))
        r.faults.push_back("the key changed: " + line);
    r.wrote = anyShown;
    if (anyShown)
        CheckFreshStamp(c.keyPath, t0, Now(), r.faults);
    return r;
}

CaseResult RunCase(const SweepCase& c) {
    CaseResult r = c.runsAtOnce > 1 ? RunRunsAtOnceCase(c) : RunOneRunCase(c);
    r.faults.insert(r.faults.begin(), c.setupFaults.begin(), c.setupFaults.end());
    return r;
}

// The key path's key and the keys above it, as the registry names them.
std::vector<std::wstring> KeyChain(const std::string& keyPath) {
    const int n = MultiByteToWideChar(CP_ACP, 0, keyPath.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, keyPath.c_str(), -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    std::vector<std::wstring> chain;
    std::wstring path = L"HKCU";
    std::size_t start = 0;
    while (start <= wide.size()) {
        const std::size_t end = std::min(wide.find(L'\\', start), wide.size());
        if (end > start) {
            path += L"\\" + wide.substr(start, end - start);
            chain.push_back(path);
        }
        start = end + 1;
    }
    return chain;
}

// What Wine does with a DACL on a key, found out rather than assumed.
std::string DaclFacts(const std::string& root) {
    const std::string probe = root + "\\dacl-probe";
    SetExactValue(probe, kSentinel, REG_SZ, std::string("x") + '\0', false);
    KeyLock lock;
    if (!LockKey(probe, kDenyWriting, &lock))
        return "the DACL could not be set";
    HKEY key;
    const bool openRefused =
        RegOpenKeyExA(HKEY_CURRENT_USER, probe.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS;
    if (!openRefused)
        RegCloseKey(key);
    const bool createRefused =
        RegCreateKeyExA(HKEY_CURRENT_USER, (probe + "\\child").c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS;
    if (!createRefused)
        RegCloseKey(key);
    UnlockKey(lock);
    DeleteTestKey(probe);
    return std::string("Wine ") + (openRefused ? "enforces" : "does not enforce") +
           " a key's DACL when the key is opened with full access, and " +
           (createRefused ? "enforces" : "does not enforce") +
           " it when a sub-key is created under it";
}
} // namespace

TEST(BadInputSweep, EveryCaseHolds) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    const std::uint64_t seed = SweepSeed();
    const std::string root =
        "Software\\QuenmarTest\\Sweep-" + std::to_string(GetCurrentProcessId());
    std::vector<SweepCase> cases = MakeCases(seed, root, Now());
    const std::string daclFacts = DaclFacts(root);
    std::printf("sweep: %s\n", daclFacts.c_str());
    RecordProperty("dacl", daclFacts);

    // Wine settles some keys of its own in the background of a prefix's first
    // programs; a program that does nothing lets it finish before the comparison.
    ASSERT_TRUE(RunProcess("\"" + ThisExeDirectory() + "bench_empty.exe\"").finished);
    for (SweepCase& c : cases)
        SetUpCase(c);
    const std::vector<HWND> windowsBefore = VisibleWindows(0);
    const RegistrySnapshot userBefore = TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU");

    std::vector<CaseResult> results(cases.size());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    const DWORD start = GetTickCount();
    for (unsigned i = 0; i < SweepJobs(); ++i)
        workers.emplace_back([&] {
            for (std::size_t k; (k = next++) < cases.size();)
                results[k] = RunCase(cases[k]);
        });
    for (std::thread& worker : workers)
        worker.join();
    const DWORD elapsed = GetTickCount() - start;

    // Windows left behind by any process: a crash report, an error box.
    std::vector<std::string> globalFaults;
    for (HWND hwnd : VisibleWindows(0))
        if (std::find(windowsBefore.begin(), windowsBefore.end(), hwnd) == windowsBefore.end())
            globalFaults.push_back("a window was left open: " + DescribeWindow(hwnd));

    // Nothing written in HKCU but the keys along the paths written to and ReportQuenmar.
    const RegistrySnapshot userAfter = TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU");
    std::set<std::wstring> allowed;
    std::vector<std::pair<std::wstring, std::size_t>> owners; // key -> case
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (!cases[i].keyPathGiven || cases[i].keyPath.empty())
            continue;
        const std::vector<std::wstring> chain = KeyChain(cases[i].keyPath);
        if (chain.empty())
            continue;
        owners.emplace_back(chain.back() + L"\\", i);
        if (!results[i].wrote)
            continue;
        for (const std::wstring& key : chain)
            allowed.insert(L"+ " + key + L"\\");
        allowed.insert(L"+ " + chain.back() + L"\\ : ReportQuenmar");
        allowed.insert(L"~ " + chain.back() + L"\\ : ReportQuenmar");
    }
    for (const std::wstring& line : DiffSnapshots(userBefore, userAfter)) {
        if (allowed.count(line))
            continue;
        // Blamed on the case whose key it lies in, the deepest one; else on the sweep.
        std::size_t owner = cases.size(), ownerLength = 0;
        for (const auto& [key, index] : owners)
            if (line.compare(2, key.size(), key) == 0 && key.size() > ownerLength)
                owner = index, ownerLength = key.size();
        const std::string text = "written outside its key path: " + Narrow(line);
        if (owner < cases.size())
            results[owner].faults.push_back(text);
        else
            globalFaults.push_back(text);
    }

    // Keys that refused access: their content, seen again once they allow it.
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SweepCase& c = cases[i];
        if (c.lock == Lock::None)
            continue;
        UnlockKey(c.keyLock);
        if (c.lockParent)
            continue;
        for (const std::string& line : KeyChanges(c.keyBefore, SnapshotOfKey(c.keyPath), false))
            results[i].faults.push_back("the key that refused writing changed: " + line);
    }

    std::size_t held = 0, notices = 0;
    std::string report;
    const bool verbose = std::getenv("QUENMAR_SWEEP_VERBOSE") != nullptr;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        notices += results[i].noticeShown ? 1 : 0;
        if (verbose)
            std::printf("case %zu, %s: %s; expected %s\n", i + 1, cases[i].name.c_str(),
                        results[i].noticeShown ? "notice" : "no notice",
                        results[i].decision.c_str());
        if (results[i].faults.empty()) {
            ++held;
            continue;
        }
        const SweepCase& c = cases[i];
        report += "case " + std::to_string(i + 1) + ", " + c.name + ": key path \"" +
                  Printable(c.keyPath) + "\"";
        if (c.setReport)
            report += ", ReportQuenmar type " + std::to_string(c.type) + " data \"" +
                      Printable(c.data) + "\"";
        report += "; expected " + results[i].decision + "\n";
        for (const std::string& fault : results[i].faults)
            report += "    " + fault + "\n";
    }
    std::string globalReport;
    for (const std::string& fault : globalFaults)
        globalReport += "sweep: " + fault + "\n";

    for (SweepCase& c : cases)
        if (c.keyPathGiven && c.keyPath.rfind("QuenmarSweep", 0) == 0)
            DeleteTestKey(c.keyPath);
    DeleteTestKey(root);

    char summary[160];
    std::snprintf(summary, sizeof(summary),
                  "sweep: %zu cases (seed %llu), %zu held; %zu showed a notice; %.1f s, %u at once",
                  cases.size(), static_cast<unsigned long long>(seed), held, notices,
                  elapsed / 1000.0, SweepJobs());
    std::printf("%s\n", summary);
    std::fflush(stdout);
    RecordProperty("sweep", summary);
    // The test command prints it after the run.
    if (FILE* f = std::fopen((ThisExeDirectory() + "e2e-sweep.txt").c_str(), "w")) {
        std::fprintf(f, "%s\n", summary);
        std::fclose(f);
    }
    EXPECT_EQ(cases.size(), held) << "cases that did not hold:\n" << report;
    EXPECT_TRUE(globalFaults.empty()) << globalReport;
}

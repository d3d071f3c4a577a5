// The real Quenmar.exe under Wine: emulated Windows versions, the real registry,
// a virtual display. Each case starts the exe with an exact command line.
#include "HistoryTestSupport.h"
#include "NoticeTexts.h"
#include "QuenmarDriver.h"
#include "RegistrySnapshot.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
const EmulatedWindows kXpSp3 = WindowsVersion(5, 1, 2600, 3);
const EmulatedWindows kVistaSp1 = WindowsVersion(6, 0, 6001, 1);
const EmulatedWindows kVistaSp2 = WindowsVersion(6, 0, 6002, 2);
const EmulatedWindows kWin7Sp0 = WindowsVersion(6, 1, 7600, 0);
const EmulatedWindows kWin7Sp1 = WindowsVersion(6, 1, 7601, 1);
const EmulatedWindows kWin8 = WindowsVersion(6, 2, 9200, 0);
const EmulatedWindows kWin81 = WindowsVersion(6, 3, 9600, 0);
const EmulatedWindows kWin10 = WindowsVersion(10, 0, 19045, 0);
const EmulatedWindows kServer2008Sp1 = WindowsVersion(6, 0, 6001, 1, L"ServerNT");
const EmulatedWindows kServer2012 = WindowsVersion(6, 2, 9200, 0, L"ServerNT");
const EmulatedWindows kServer2019 = WindowsVersion(10, 0, 17763, 0, L"ServerNT");

using Wording = ExpectedLines;
const Wording kTemplate = expected_text::kServicePackTemplate;
const Wording kWin10Text = expected_text::kWindows10;
const Wording kWin8Installer = expected_text::kWindows8Installer;
const Wording kWin8Text = expected_text::kWindows8;
const Wording kInstallerText = expected_text::kInstaller;
const Wording kEndOfSupport = expected_text::kEndOfSupport;

enum class History { None, ShownNow, ShownTwoDaysAgo }; // ShownNow: an hour ago
enum class Expect { Nothing, ServicePack, EndOfSupport };

DATE NowAsDate() {
    return COleDateTime::GetCurrentTime().GetDate();
}

void SetReportTime(const std::string& keyPath, const std::string& text) {
    SetStoredValue(keyPath, "ReportQuenmar", REG_SZ, text + '\0');
}

bool ParsesAsDate(const std::string& text) {
    return COleDateTime().ParseDateTime(text.c_str());
}

// The string data of a value without its terminating NUL; "" when absent.
std::string StoredText(const std::string& keyPath, const char* name) {
    const StoredValue value = ReadStoredValue(keyPath, name);
    return value.exists ? std::string(value.data.c_str()) : std::string();
}

bool HasValue(const std::string& keyPath, const char* name) {
    return ReadStoredValue(keyPath, name).exists;
}

std::string ToCodePage932(const wchar_t* text) {
    char narrow[512] = {};
    WideCharToMultiByte(932, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

// Device, display, network and service state that Wine's own services and display
// driver write when programs start or first draw; nothing of the program's.
bool IsWineServiceState(const std::wstring& diffLine) {
    // Matched anywhere in the path: 64-bit Wine mirrors some under Wow6432Node.
    static const wchar_t* const kSubtrees[] = {
        L"\\CurrentControlSet\\Control\\DeviceClasses\\",
        L"\\CurrentControlSet\\Control\\ServiceCurrent\\",
        L"\\CurrentControlSet\\Control\\Video\\",
        L"\\CurrentControlSet\\Enum\\",
        L"HKLM\\HARDWARE\\",
        L"\\Windows NT\\CurrentVersion\\NetworkCards\\",
    };
    for (const wchar_t* subtree : kSubtrees)
        if (diffLine.find(subtree) != std::wstring::npos)
            return true;
    return false;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { m_keyPath = UniqueTestKeyPath(); }
    void TearDown() override { DeleteTestKey("Software\\QuenmarTest"); }

    std::string m_keyPath;
};

void ExpectServicePackLook(const NoticeWindow& notice, const Wording& wording) {
    EXPECT_EQ(expected_text::kServicePackCaption, notice.caption);
    EXPECT_EQ(wording.line1, notice.line1);
    EXPECT_EQ(wording.line2, notice.line2);
    EXPECT_TRUE(notice.hasWarningIcon);
    EXPECT_FALSE(notice.checkBoxVisible);
    EXPECT_TRUE(notice.topmost);
    EXPECT_TRUE(notice.toolWindow);
    EXPECT_TRUE(notice.centred);
}

void ExpectEndOfSupportLook(const NoticeWindow& notice) {
    EXPECT_EQ(expected_text::kEndOfSupportCaption, notice.caption);
    EXPECT_EQ(kEndOfSupport.line1, notice.line1);
    EXPECT_EQ(kEndOfSupport.line2, notice.line2);
    EXPECT_FALSE(notice.hasWarningIcon);
    EXPECT_FALSE(notice.checkBoxVisible);
    EXPECT_FALSE(notice.topmost);
    EXPECT_TRUE(notice.toolWindow);
    EXPECT_TRUE(notice.centred);
}
} // namespace

struct DecisionCase {
    const char* name;
    EmulatedWindows windows;
    const char* switches; // the key path, when used, goes first
    bool withKeyPath;
    History history;
    Expect expect;
    Wording wording;
};

// Named in test listings by its name, not its bytes.
void PrintTo(const DecisionCase& c, std::ostream* os) {
    *os << c.name;
}

class EndToEndDecision : public EndToEnd, public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(EndToEndDecision, RealExeShowsWhatTheDecisionSays) {
    const DecisionCase& c = GetParam();
    ScopedEmulatedWindows emulated(c.windows);
    // An hour ago: within the day, and never the same text as a stamp written now.
    if (c.history == History::ShownNow)
        SetReportTime(m_keyPath, TextOf(NowAsDate() - 1.0 / 24));
    if (c.history == History::ShownTwoDaysAgo)
        SetReportTime(m_keyPath, TextOf(NowAsDate() - 2.0));
    const std::string before = StoredText(m_keyPath, "ReportQuenmar");
    ASSERT_EQ(c.history != History::None, !before.empty());

    std::string args = c.withKeyPath ? "\"" + m_keyPath + "\"" : "";
    if (*c.switches)
        args += (args.empty() ? "" : " ") + std::string(c.switches);
    QuenmarRun run(args);
    ASSERT_TRUE(run.Started());
    NoticeWindow notice;
    const bool shown = run.WaitForNotice(notice);
    ASSERT_EQ(c.expect != Expect::Nothing, shown);
    if (c.expect == Expect::ServicePack) {
        ExpectServicePackLook(notice, c.wording);
        // Recorded before the dialog opened, so already there while it is on screen.
        EXPECT_EQ(c.withKeyPath, HasValue(m_keyPath, "ReportQuenmar"));
        run.Close(notice, CloseBy::Button);
    } else if (c.expect == Expect::EndOfSupport) {
        ExpectEndOfSupportLook(notice);
        run.Close(notice, CloseBy::Button);
    }
    ASSERT_TRUE(run.WaitForExit());

    const std::string after = StoredText(m_keyPath, "ReportQuenmar");
    if (c.expect == Expect::ServicePack && c.withKeyPath) {
        EXPECT_TRUE(ParsesAsDate(after));
        EXPECT_NE(before, after);
    } else if (c.history == History::None) {
        EXPECT_FALSE(KeyExists(m_keyPath)); // nothing written, not even the key
    } else {
        EXPECT_EQ(before, after); // read, never rewritten
    }
    EXPECT_FALSE(HasValue(m_keyPath, "ShowQuenmar"));
}

INSTANTIATE_TEST_SUITE_P(
    DecisionTable, EndToEndDecision,
    ::testing::Values(
        DecisionCase{"VistaWorkstationGetsEndOfSupport",
                     kVistaSp2,
                     "",
                     true,
                     History::None,
                     Expect::EndOfSupport,
                     {}},
        DecisionCase{
            "VistaWithVGetsNothing", kVistaSp1, "/V", true, History::None, Expect::Nothing, {}},
        DecisionCase{"VistaIgnoresForce",
                     kVistaSp2,
                     "/N -i -e -t",
                     true,
                     History::None,
                     Expect::EndOfSupport,
                     {}},
        DecisionCase{"ForceOnCurrentCodeEmptyKey", kWin7Sp1, "-N", false, History::None,
                     Expect::ServicePack, kTemplate},
        DecisionCase{"ForceSkipsHistory", kWin7Sp0, "/n", true, History::ShownNow,
                     Expect::ServicePack, kTemplate},
        DecisionCase{"Windows8Wording", kWin8, "", true, History::ShownNow, Expect::ServicePack,
                     kWin8Text},
        DecisionCase{"Windows8InstallerWording", kWin8, "/I", false, History::None,
                     Expect::ServicePack, kWin8Installer},
        DecisionCase{"Windows8WithE", kWin8, "/E", true, History::None, Expect::Nothing, {}},
        DecisionCase{"Windows10WithT", kWin10, "/T", true, History::ShownNow, Expect::ServicePack,
                     kWin10Text},
        DecisionCase{"Windows10WithoutT", kWin10, "", true, History::None, Expect::Nothing, {}},
        DecisionCase{"Server10WithTAndInstaller", kServer2019, "-t /I", false, History::None,
                     Expect::ServicePack, kWin10Text},
        DecisionCase{
            "Windows81WithEAndT", kWin81, "/E /T", true, History::None, Expect::Nothing, {}},
        DecisionCase{
            "Server2012Current", kServer2012, "", true, History::None, Expect::Nothing, {}},
        DecisionCase{"OldLevelEmptyKeyPath", kWin7Sp0, "", false, History::None,
                     Expect::ServicePack, kTemplate},
        DecisionCase{"OldLevelNoHistory", kWin7Sp0, "", true, History::None, Expect::ServicePack,
                     kTemplate},
        DecisionCase{"OldLevelInstallerWording", kServer2008Sp1, "/I", true, History::None,
                     Expect::ServicePack, kInstallerText},
        DecisionCase{
            "OldLevelShownRecently", kWin7Sp0, "/I", true, History::ShownNow, Expect::Nothing, {}},
        DecisionCase{"OldLevelShownTwoDaysAgo", kXpSp3, "", true, History::ShownTwoDaysAgo,
                     Expect::ServicePack, kTemplate}),
    [](const ::testing::TestParamInfo<DecisionCase>& info) { return info.param.name; });

TEST_F(EndToEnd, KeyPathsWithSpacesAndDoubleByteCharacters) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    // ソ (0x83 0x5C) ends the path: its trail byte is a backslash in code page 932.
    for (const std::wstring& tail :
         {std::wstring(L"With Spaces\\Key Name"), std::wstring(L"製品 キー\\表示ソ")}) {
        const std::string keyPath = m_keyPath + "\\" + ToCodePage932(tail.c_str());
        SCOPED_TRACE(keyPath);
        ASSERT_TRUE(RunToNoticeAndClose("/I \"" + keyPath + "\""));
        EXPECT_TRUE(HasValue(keyPath, "ReportQuenmar"));
    }
}

TEST_F(EndToEnd, EveryWayOfClosingEndsTheRunWithoutSuppressTime) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    for (CloseBy how : {CloseBy::Button, CloseBy::Escape, CloseBy::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(how));
        EXPECT_TRUE(RunToNoticeAndClose("\"" + m_keyPath + "\" -N", how));
        EXPECT_FALSE(HasValue(m_keyPath, "ShowQuenmar"));
    }
}

TEST_F(EndToEnd, TickedCheckBoxWritesSuppressTimeEvenWhenHidden) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    QuenmarRun run("\"" + m_keyPath + "\"");
    NoticeWindow notice;
    ASSERT_TRUE(run.WaitForNotice(notice));
    EXPECT_FALSE(notice.checkBoxVisible);
    run.Close(notice, CloseBy::TickedHiddenBoxThenButton);
    ASSERT_TRUE(run.WaitForExit());
    const StoredValue stored = ReadStoredValue(m_keyPath, "ShowQuenmar");
    ASSERT_TRUE(stored.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type);
    std::string show = stored.data;
    ASSERT_FALSE(show.empty());
    EXPECT_EQ('\0', show.back()); // the text and exactly one NUL
    show.pop_back();
    EXPECT_EQ(std::string::npos, show.find('\0'));
    EXPECT_TRUE(ParsesAsDate(show));
    EXPECT_TRUE(HasValue(m_keyPath, "ReportQuenmar"));
}

TEST_F(EndToEnd, OnceADayAcrossTwoRuns) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    ASSERT_TRUE(RunToNoticeAndClose("\"" + m_keyPath + "\""));
    QuenmarRun second("\"" + m_keyPath + "\"");
    NoticeWindow notice;
    EXPECT_FALSE(second.WaitForNotice(notice));
    EXPECT_TRUE(second.WaitForExit());
}

TEST_F(EndToEnd, EndOfSupportNoticeReadsAndWritesNoHistory) {
    ScopedEmulatedWindows emulated(kVistaSp1);
    SetReportTime(m_keyPath, "not a date"); // would make a service-pack notice due
    QuenmarRun run("\"" + m_keyPath + "\"");
    NoticeWindow notice;
    ASSERT_TRUE(run.WaitForNotice(notice));
    ExpectEndOfSupportLook(notice);
    run.Close(notice, CloseBy::TickedHiddenBoxThenButton);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ("not a date", StoredText(m_keyPath, "ReportQuenmar"));
    EXPECT_FALSE(HasValue(m_keyPath, "ShowQuenmar"));
}

TEST_F(EndToEnd, SilentRunEndsAtOnceWithExitStatusZero) {
    ScopedEmulatedWindows emulated(kWin10);
    QuenmarRun run("\"" + m_keyPath + "\"");
    NoticeWindow notice;
    EXPECT_FALSE(run.WaitForNotice(notice, 5000));
    ASSERT_TRUE(run.WaitForExit());
    ProcessResult again = RunProcess("\"" + QuenmarExePath() + "\" \"" + m_keyPath + "\"");
    ASSERT_TRUE(again.finished);
    EXPECT_EQ(0u, again.exitCode);
    EXPECT_FALSE(KeyExists(m_keyPath));
}

// The machine type in the exe's PE header: IMAGE_FILE_MACHINE_*, 0 when unreadable.
WORD MachineOfExe(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    IMAGE_DOS_HEADER dos{};
    IMAGE_FILE_HEADER header{};
    DWORD signature = 0, read = 0;
    WORD machine = 0;
    if (ReadFile(file, &dos, sizeof(dos), &read, nullptr) && read == sizeof(dos) &&
        dos.e_magic == IMAGE_DOS_SIGNATURE &&
        SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
        ReadFile(file, &signature, sizeof(signature), &read, nullptr) &&
        signature == IMAGE_NT_SIGNATURE &&
        ReadFile(file, &header, sizeof(header), &read, nullptr) && read == sizeof(header))
        machine = header.Machine;
    CloseHandle(file);
    return machine;
}

// Which exe this suite runs, proven by a run of it: a PE32 exe must really run as a
// 32-bit process. The test command reports the line it leaves behind.
TEST_F(EndToEnd, ProductRunsAsItsMachineType) {
    const std::string exe = QuenmarExePath();
    const WORD machine = MachineOfExe(exe);
    ASSERT_TRUE(machine == IMAGE_FILE_MACHINE_I386 || machine == IMAGE_FILE_MACHINE_AMD64) << exe;
    ScopedEmulatedWindows emulated(kWin10); // silent
    QuenmarRun run("");
    ASSERT_TRUE(run.Started()) << exe;
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(run.Process(), &wow64));
    ASSERT_TRUE(run.WaitForExit());
    DWORD exitCode = 1;
    ASSERT_TRUE(GetExitCodeProcess(run.Process(), &exitCode));
    EXPECT_EQ(0u, exitCode);
    const bool pe32 = machine == IMAGE_FILE_MACHINE_I386;
    EXPECT_EQ(pe32, wow64 != FALSE) << "a 32-bit exe runs under WoW64, a 64-bit one does not";

    const std::string line =
        exe + (pe32 ? " (i686, PE32, ran under WoW64)" : " (x86_64, PE32+, ran natively)");
    if (FILE* f = std::fopen((ThisExeDirectory() + "e2e-product.txt").c_str(), "w")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

// Signed as installer authors ship it (a copy signed with a throwaway certificate):
// the signature changes nothing of what the program does.
TEST_F(EndToEnd, SignedExeShowsItsNoticeAndRecordsIt) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    QuenmarRun run(ThisExeDirectory() + "signed\\Quenmar.exe", "\"" + m_keyPath + "\"");
    ASSERT_TRUE(run.Started());
    NoticeWindow notice;
    ASSERT_TRUE(run.WaitForNotice(notice));
    ExpectServicePackLook(notice, kTemplate);
    run.Close(notice, CloseBy::Button);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_TRUE(ParsesAsDate(StoredText(m_keyPath, "ReportQuenmar")));
}

TEST_F(EndToEnd, RunLeavesNoOtherTrace) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    // Wine fills some keys of its own once, in the background of the first programs of
    // a prefix (network cards, for one); a program that does nothing settles them first.
    ASSERT_TRUE(RunProcess("\"" + ThisExeDirectory() + "bench_empty.exe\"").finished);
    const RegistrySnapshot userBefore = TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU");
    const RegistrySnapshot machineBefore = TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, L"HKLM");
    {
        QuenmarRun run("/I \"" + m_keyPath + "\"");
        NoticeWindow notice;
        ASSERT_TRUE(run.WaitForNotice(notice));
        run.Close(notice, CloseBy::TickedHiddenBoxThenButton);
        ASSERT_TRUE(run.WaitForExit());
    }
    std::wstring key(m_keyPath.begin(), m_keyPath.end());
    std::vector<std::wstring> expected;
    // The chain of keys the write created, then the two values.
    for (size_t pos = key.find(L'\\'); pos != std::wstring::npos; pos = key.find(L'\\', pos + 1))
        expected.push_back(L"+ HKCU\\" + key.substr(0, pos) + L"\\");
    expected.push_back(L"+ HKCU\\" + key + L"\\");
    expected.push_back(L"+ HKCU\\" + key + L"\\ : ReportQuenmar");
    expected.push_back(L"+ HKCU\\" + key + L"\\ : ShowQuenmar");

    std::vector<std::wstring> changes =
        DiffSnapshots(userBefore, TakeRegistrySnapshot(HKEY_CURRENT_USER, L"HKCU"));
    std::vector<std::wstring> unexpected;
    for (const std::wstring& line : changes) {
        bool isExpected = false;
        for (const std::wstring& e : expected)
            isExpected = isExpected || e == line;
        if (!isExpected)
            unexpected.push_back(line);
    }
    for (const std::wstring& line : unexpected)
        ADD_FAILURE() << "unexpected HKCU change: "
                      << std::string(line.begin(), line.end()).c_str();
    EXPECT_GE(changes.size(), 3u);
    for (const std::wstring& line :
         DiffSnapshots(machineBefore, TakeRegistrySnapshot(HKEY_LOCAL_MACHINE, L"HKLM")))
        if (!IsWineServiceState(line))
            ADD_FAILURE() << "unexpected HKLM change: "
                          << std::string(line.begin(), line.end()).c_str();

    // Nor an initialisation file for the framework's profile.
    char windowsDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, MAX_PATH);
    for (const std::string& ini :
         {std::string(windowsDir) + "\\Quenmar.ini", ProductExePath("Quenmar.ini")})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ini.c_str())) << ini;
}

TEST_F(EndToEnd, TwoRunsTogetherOnOneKeyPathBothFinish) {
    ScopedEmulatedWindows emulated(kWin7Sp0);
    QuenmarRun first("\"" + m_keyPath + "\"");
    QuenmarRun second("\"" + m_keyPath + "\"");
    NoticeWindow a, b;
    // Both decided before either wrote, or one after the other's write: either way
    // both end, and the stamp left behind is valid.
    const bool firstShown = first.WaitForNotice(a);
    const bool secondShown = second.WaitForNotice(b, firstShown ? 3000 : 15000);
    EXPECT_TRUE(firstShown || secondShown);
    if (firstShown)
        first.Close(a, CloseBy::Button);
    if (secondShown)
        second.Close(b, CloseBy::Button);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_TRUE(ParsesAsDate(StoredText(m_keyPath, "ReportQuenmar")));
}

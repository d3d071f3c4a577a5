// The installer samples as real callers of the Quenmar.exe under test: an NSIS installer
// and a Windows Installer package, each with a user interface (the notice appears, the
// install waits for it and goes on) and without one (no notice, nothing written).
#include "HistoryTestSupport.h"
#include "NoticeTexts.h"
#include "QuenmarDriver.h"
#include "WineSystem.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {
// The key path both samples hand to Quenmar.exe.
const char kSampleKeyPath[] = "Software\\Example Vendor\\Quenmar Sample Product";

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs the caller to its end, watching for a notice all the while: false if one came.
bool RunsThroughWithoutNotice(QuenmarRun& caller, DWORD& exitCode) {
    NoticeWindow notice;
    if (caller.WaitForNotice(notice, 60000, NoticeOf::AnyProcess)) {
        caller.Close(notice, CloseBy::Button);
        caller.WaitForExit(20000);
        return false;
    }
    EXPECT_TRUE(caller.WaitForExit(20000));
    exitCode = 1;
    GetExitCodeProcess(caller.Process(), &exitCode);
    return true;
}

// Shows the installer wording from whichever process the caller started; closes it.
void ExpectInstallerNoticeAndClose(QuenmarRun& caller) {
    NoticeWindow notice;
    ASSERT_TRUE(caller.WaitForNotice(notice, 60000, NoticeOf::AnyProcess));
    EXPECT_EQ(expected_text::kInstaller.line1, notice.line1);
    EXPECT_EQ(expected_text::kInstaller.line2, notice.line2);
    // Recorded before the notice opened.
    EXPECT_TRUE(ReadStoredValue(kSampleKeyPath, "ReportQuenmar").exists);
    caller.Close(notice, CloseBy::Button);
}

class NsisSample : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTestKey(kSampleKeyPath);
        DeleteFileA(m_installed.c_str());
    }
    void TearDown() override {
        DeleteTestKey(kSampleKeyPath);
        DeleteFileA(m_installed.c_str());
        RemoveDirectoryA(m_installDir.c_str());
    }
    // /D= sets the install folder; it must come last and stay unquoted.
    QuenmarRun Start(const std::string& switches) {
        return QuenmarRun(ThisExeDirectory() + "quenmar_nsis_sample.exe",
                          switches + "/D=" + m_installDir);
    }

    const std::string m_installDir = ThisExeDirectory() + "nsis-sample-install";
    const std::string m_installed = m_installDir + "\\installed.txt";
};

TEST_F(NsisSample, WaitsForTheNoticeThenInstalls) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    QuenmarRun installer = Start("");
    ASSERT_TRUE(installer.Started());
    ExpectInstallerNoticeAndClose(installer);
    EXPECT_TRUE(installer.WaitForExit(20000));
    EXPECT_TRUE(FileExists(m_installed)); // it went on after Quenmar.exe ended
}

TEST_F(NsisSample, SilentInstallShowsNoNoticeAndWritesNoHistory) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    QuenmarRun installer = Start("/S ");
    ASSERT_TRUE(installer.Started());
    DWORD exitCode = 1;
    EXPECT_TRUE(RunsThroughWithoutNotice(installer, exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(FileExists(m_installed));
    EXPECT_FALSE(KeyExists(kSampleKeyPath));
}

class MsiSample : public ::testing::Test {
protected:
    void SetUp() override { DeleteTestKey(kSampleKeyPath); }
    void TearDown() override {
        QuenmarRun remove = Msiexec("/x", "/qn");
        remove.WaitForExit(60000);
        DeleteTestKey(kSampleKeyPath);
    }

    static QuenmarRun Msiexec(const char* action, const char* uiLevel) {
        const std::string package = ThisExeDirectory() + "quenmar_msi_sample.msi";
        return QuenmarRun("msiexec.exe", std::string(action) + " \"" + package + "\" " + uiLevel);
    }

    // Where a package for 32-bit Windows puts its files.
    static std::string InstalledExe() {
        char programFiles[MAX_PATH] = {};
        SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT,
                         programFiles);
        return std::string(programFiles) + "\\Quenmar Sample Product\\Quenmar.exe";
    }

    static DWORD ExitCodeOf(QuenmarRun& run) {
        DWORD exitCode = 1;
        EXPECT_TRUE(run.WaitForExit(60000));
        GetExitCodeProcess(run.Process(), &exitCode);
        return exitCode;
    }
};

TEST_F(MsiSample, WithUserInterfaceShowsTheNoticeAndRemovalKeepsTheHistory) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    for (const char* uiLevel : {"/qb", "/qf"}) {
        SCOPED_TRACE(uiLevel);
        QuenmarRun install = Msiexec("/i", uiLevel);
        ASSERT_TRUE(install.Started());
        ExpectInstallerNoticeAndClose(install);
        EXPECT_EQ(0u, ExitCodeOf(install)); // the notice never fails the install
        EXPECT_TRUE(FileExists(InstalledExe()));

        QuenmarRun remove = Msiexec("/x", "/qn");
        EXPECT_EQ(0u, ExitCodeOf(remove));
        EXPECT_FALSE(FileExists(InstalledExe()));
        // The program never deletes its history, and the package does not own it.
        EXPECT_TRUE(ReadStoredValue(kSampleKeyPath, "ReportQuenmar").exists);
        DeleteTestKey(kSampleKeyPath);
    }
}

TEST_F(MsiSample, WithoutUserInterfaceRunsThroughAndWritesNoHistory) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    QuenmarRun install = Msiexec("/i", "/qn");
    ASSERT_TRUE(install.Started());
    DWORD exitCode = 1;
    EXPECT_TRUE(RunsThroughWithoutNotice(install, exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(FileExists(InstalledExe()));
    EXPECT_FALSE(KeyExists(kSampleKeyPath));
}

TEST_F(MsiSample, OnCurrentWindowsRunsThroughEitherWay) {
    ScopedEmulatedWindows emulated(WindowsVersion(10, 0, 19045));
    for (const char* uiLevel : {"/qb", "/qn"}) {
        SCOPED_TRACE(uiLevel);
        QuenmarRun install = Msiexec("/i", uiLevel);
        ASSERT_TRUE(install.Started());
        DWORD exitCode = 1;
        EXPECT_TRUE(RunsThroughWithoutNotice(install, exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_FALSE(KeyExists(kSampleKeyPath));
        QuenmarRun remove = Msiexec("/x", "/qn");
        EXPECT_EQ(0u, ExitCodeOf(remove));
    }
}
} // namespace

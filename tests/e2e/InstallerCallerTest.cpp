// An installer built with NSIS runs Quenmar.exe as installers do: /I and a key path,
// waiting for it to end before going on.
#include "HistoryTestSupport.h"
#include "NoticeTexts.h"
#include "QuenmarDriver.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

TEST(InstallerCaller, ShowsInstallerWordingAndContinuesAfterClose) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    const std::string keyPath = "Software\\QuenmarTest\\Installer Caller";
    DeleteTestKey(keyPath);
    const std::string marker = ThisExeDirectory() + "quenmar_caller_done.txt";
    DeleteFileA(marker.c_str());

    QuenmarRun installer(ThisExeDirectory() + "quenmar_caller.exe", "");
    ASSERT_TRUE(installer.Started());
    NoticeWindow notice;
    const bool shown = installer.WaitForNotice(notice, 20000, NoticeOf::AnyProcess);
    EXPECT_TRUE(shown);
    if (shown) {
        EXPECT_EQ(expected_text::kInstaller.line1, notice.line1);
        EXPECT_EQ(expected_text::kInstaller.line2, notice.line2);
        // The installer waits while the notice is open.
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str()));
        installer.Close(notice, CloseBy::Button);
    }
    EXPECT_TRUE(installer.WaitForExit(20000));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str()));
    EXPECT_TRUE(ReadStoredValue(keyPath, "ReportQuenmar").exists);
    DeleteFileA(marker.c_str());
    DeleteTestKey("Software\\QuenmarTest");
}

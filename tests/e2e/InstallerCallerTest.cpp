// An installer built with NSIS runs Quenmar.exe as installers do: /I and a key path,
// waiting for it to end before going on.
#include "HistoryTestSupport.h"
#include "QuenmarDriver.h"
#include "WineSystem.h"

#include <gtest/gtest.h>

#include <vector>

TEST(InstallerCaller, ShowsInstallerWordingAndContinuesAfterClose) {
    ScopedEmulatedWindows emulated(WindowsVersion(6, 1, 7600));
    const std::string keyPath = "Software\\QuenmarTest\\Installer Caller";
    DeleteTestKey(keyPath);
    const std::string marker = ThisExeDirectory() + "quenmar_caller_done.txt";
    DeleteFileA(marker.c_str());

    std::string line = "\"" + ThisExeDirectory() + "quenmar_caller.exe\"";
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    CloseHandle(pi.hThread);

    NoticeWindow notice;
    const bool shown = WaitForNoticeWindow(pi.hProcess, 0, notice, 20000);
    EXPECT_TRUE(shown);
    if (shown) {
        EXPECT_EQ(L"お使いのWindowsのサービスパックはサポート対象外です。", notice.line1);
        EXPECT_EQ(L"インストール前にサービスパックを最新にすることを推奨します。", notice.line2);
        // The installer waits while the notice is open.
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str()));
        CloseNotice(notice, CloseBy::Button);
    }
    const bool finished = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
    if (!finished)
        TerminateProcess(pi.hProcess, 255);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(finished);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(marker.c_str()));
    EXPECT_TRUE(ReadStoredValue(keyPath, "ReportQuenmar").exists);
    DeleteFileA(marker.c_str());
    DeleteTestKey("Software\\QuenmarTest");
}

// Times silent Quenmar.exe runs against two reference programs built the same way,
// interleaved in one process so that all share one warm wineserver. Prints medians
// and ratios; asserts nothing (figures, not a test).
//
//   silent_path_benchmark.exe [runs [folder]]
//
// folder: where the three programs are (default: beside this exe). Compare only
// programs of one machine type: a PE32 starts slower under WoW64.
#include "WineSystem.h"
#include "history/NoticeHistory.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
double RunOnce(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 30000);
    QueryPerformanceCounter(&end);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Scenario {
    const char* name;
    EmulatedWindows windows;
    bool freshHistory;
};
} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 41;
    std::string dir = argc > 2 ? argv[2] : ThisExeDirectory();
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    const std::string empty = "\"" + dir + "bench_empty.exe\"";
    const std::string controls = "\"" + dir + "bench_common_controls.exe\"";
    const std::string keyPath = "Software\\QuenmarBenchmark";

    const EmulatedWindows win10 = WindowsVersion(10, 0, 19045);
    const EmulatedWindows win7 = WindowsVersion(6, 1, 7600);
    const Scenario scenarios[] = {{"Windows 10, no T", win10, false},
                                  {"Windows 7 SP0, history fresh under a key path", win7, true}};

    std::printf("silent path, %d runs each, interleaved, median wall time of one run\n"
                "(programs in %s):\n",
                runs, dir.c_str());
    for (const Scenario& s : scenarios) {
        ScopedEmulatedWindows emulated(s.windows);
        if (s.freshHistory)
            WriteReportTime(keyPath.c_str()); // shown just now: the run stays silent
        const std::string quenmar =
            "\"" + dir + "Quenmar.exe\"" + (s.freshHistory ? " \"" + keyPath + "\"" : "");
        std::vector<double> tEmpty, tControls, tQuenmar;
        RunOnce(empty); // warm the caches once before measuring
        RunOnce(controls);
        RunOnce(quenmar);
        for (int i = 0; i < runs; ++i) {
            // Rotate the order so that no program always runs first.
            for (int k = 0; k < 3; ++k) {
                switch ((i + k) % 3) {
                case 0:
                    tEmpty.push_back(RunOnce(empty));
                    break;
                case 1:
                    tControls.push_back(RunOnce(controls));
                    break;
                case 2:
                    tQuenmar.push_back(RunOnce(quenmar));
                    break;
                }
            }
        }
        const double mEmpty = Median(tEmpty), mControls = Median(tControls),
                     mQuenmar = Median(tQuenmar);
        std::printf("  %s\n", s.name);
        std::printf("    empty program            %8.2f ms\n", mEmpty);
        std::printf("    InitCommonControlsEx     %8.2f ms\n", mControls);
        std::printf("    Quenmar.exe (silent)     %8.2f ms\n", mQuenmar);
        std::printf("    ratio to empty           %8.3f\n", mQuenmar / mEmpty);
        std::printf("    ratio to common controls %8.3f   (goal: at most 1.05)\n",
                    mQuenmar / mControls);
    }
    DeleteTestKey(keyPath);
    return 0;
}

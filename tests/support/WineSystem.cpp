#include "WineSystem.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {
const wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t kWindows[] = L"System\\CurrentControlSet\\Control\\Windows";
const wchar_t kProductOptions[] = L"System\\CurrentControlSet\\Control\\ProductOptions";

// A 32-bit program reads HKLM\Software through Wow6432Node, a 64-bit one does not:
// the version values go into both registry views. The other keys are shared, and
// the flag is ignored there.
constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

struct RegValue {
    HKEY root;
    const wchar_t* key;
    const wchar_t* name;
    REGSAM view;
    std::optional<std::vector<BYTE>> data; // nullopt: the value did not exist
    DWORD type = 0;
};

RegValue ReadValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
    RegValue v{root, key, name, view, std::nullopt, 0};
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_READ | view, &h) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (RegQueryValueExW(h, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        if (RegQueryValueExW(h, name, nullptr, &v.type, data.data(), &size) == ERROR_SUCCESS) {
            data.resize(size);
            v.data = std::move(data);
        }
    }
    RegCloseKey(h);
    return v;
}

void WriteValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                DWORD size, REGSAM view = 0) {
    HKEY h;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(h);
}

void WriteString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text,
                 REGSAM view = 0) {
    WriteValue(root, key, name, REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), view);
}

void DeleteValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS | view, &h) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(h, name);
    RegCloseKey(h);
}

void Restore(const RegValue& v) {
    if (v.data)
        WriteValue(v.root, v.key, v.name, v.type, v.data->data(),
                   static_cast<DWORD>(v.data->size()), v.view);
    else
        DeleteValue(v.root, v.key, v.name, v.view);
}

// The product's or the peer build's folder: relative to this exe's when configured.
std::string ConfiguredDirectory(const char* relative) {
    std::string dir = ThisExeDirectory() + relative;
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(dir.c_str(), MAX_PATH, full, nullptr);
    if (n > 0 && n < MAX_PATH)
        dir.assign(full, n);
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    return dir;
}
} // namespace

EmulatedWindows WindowsVersion(DWORD major, DWORD minor, DWORD build, WORD servicePack,
                               const wchar_t* productType) {
    EmulatedWindows w;
    w.major = major;
    w.minor = minor;
    w.build = build;
    w.servicePackMajor = servicePack;
    w.servicePackText = servicePack ? L"Service Pack " + std::to_wstring(servicePack) : L"";
    w.productType = productType;
    return w;
}

struct ScopedEmulatedWindows::Saved {
    std::vector<RegValue> values;
};

void EmulateWindows(const EmulatedWindows& w) {
    // A preset in HKCU\Software\Wine\Version would win over the values below.
    DeleteValue(HKEY_CURRENT_USER, L"Software\\Wine", L"Version");
    for (REGSAM view : kViews) {
        WriteString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentVersion",
                    std::to_wstring(w.major) + L"." + std::to_wstring(w.minor), view);
        WriteString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber",
                    std::to_wstring(w.build), view);
        WriteString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CSDVersion", w.servicePackText, view);
    }
    const DWORD servicePack = w.servicePackMajor * 0x100u + w.servicePackMinor;
    WriteValue(HKEY_LOCAL_MACHINE, kWindows, L"CSDVersion", REG_DWORD, &servicePack,
               sizeof(servicePack));
    WriteString(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType", w.productType);
}

ScopedEmulatedWindows::ScopedEmulatedWindows(const EmulatedWindows& w) : m_saved(new Saved) {
    m_saved->values = {
        ReadValue(HKEY_CURRENT_USER, L"Software\\Wine", L"Version"),
        ReadValue(HKEY_LOCAL_MACHINE, kWindows, L"CSDVersion"),
        ReadValue(HKEY_LOCAL_MACHINE, kProductOptions, L"ProductType"),
    };
    for (REGSAM view : kViews)
        for (const wchar_t* name : {L"CurrentVersion", L"CurrentBuildNumber", L"CSDVersion"})
            m_saved->values.push_back(ReadValue(HKEY_LOCAL_MACHINE, kCurrentVersion, name, view));
    EmulateWindows(w);
}

ScopedEmulatedWindows::~ScopedEmulatedWindows() {
    for (const RegValue& v : m_saved->values)
        Restore(v);
    delete m_saved;
}

bool StartProcess(const std::string& commandLine, bool inheritHandles, STARTUPINFOA& si,
                  PROCESS_INFORMATION& pi) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
        mutableLine.push_back('\0');
        if (CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, inheritHandles, 0,
                           nullptr, nullptr, &si, &pi))
            return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR)
            return false;
        std::fprintf(stderr, "Wine failed to start %s (ERROR_INTERNAL_ERROR); trying again\n",
                     commandLine.c_str());
    }
    return false;
}

ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    char tempDir[MAX_PATH], tempFile[MAX_PATH];
    GetTempPathA(MAX_PATH, tempDir);
    GetTempFileNameA(tempDir, "qout", 0, tempFile);

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileA(tempFile, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi{};
    result.started = StartProcess(commandLine, true, si, pi);
    CloseHandle(out);
    if (result.started) {
        result.finished = WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!result.finished)
            TerminateProcess(pi.hProcess, 255);
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (FILE* f = std::fopen(tempFile, "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            result.output.append(buffer, n);
        std::fclose(f);
    }
    DeleteFileA(tempFile);
    return result;
}

std::string ThisExeDirectory() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string ProductExePath(const char* exeName) {
    return ConfiguredDirectory(QUENMAR_PRODUCT_DIR) + exeName;
}

std::string PeerExePath(const char* exeName) {
    return *QUENMAR_PEER_DIR ? ConfiguredDirectory(QUENMAR_PEER_DIR) + exeName : std::string();
}

std::string UniqueTestKeyPath() {
    static LONG counter = 0;
    return "Software\\QuenmarTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(InterlockedIncrement(&counter));
}

namespace {
void DeleteKeyTree(HKEY parent, const std::string& name) {
    HKEY h;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char child[256];
        DWORD size = sizeof(child);
        while (RegEnumKeyExA(h, 0, child, &size, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS) {
            DeleteKeyTree(h, child);
            size = sizeof(child);
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(parent, name.c_str());
}
} // namespace

void DeleteTestKey(const std::string& keyPath) {
    DeleteKeyTree(HKEY_CURRENT_USER, keyPath);
}

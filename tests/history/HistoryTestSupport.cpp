#include "HistoryTestSupport.h"

#include <vector>

StoredValue ReadStoredValue(const std::string& keyPath, const char* name) {
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    std::vector<char> buffer(1 << 16);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(buffer.data(), size);
    }
    RegCloseKey(key);
    return value;
}

void SetStoredValue(const std::string& keyPath, const char* name, DWORD type,
                    const std::string& data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    // The registry counts a string's missing NUL itself when the byte after the data is
    // one, as it always is after a std::string's: a byte that is none keeps the size.
    const std::string guarded = data + 'G';
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

bool KeyExists(const std::string& keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

double g_fixedNow = 0.0;
COleDateTime FixedClock() {
    return COleDateTime(g_fixedNow, COleDateTime::valid);
}

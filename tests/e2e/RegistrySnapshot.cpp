#include "RegistrySnapshot.h"

namespace {
void Walk(HKEY key, const std::wstring& path, RegistrySnapshot& out) {
    out[path + L"\\"] = {}; // the key itself, so an added empty key shows too
    DWORD maxName = 0, maxData = 0, maxSub = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSub, nullptr, nullptr, &maxName,
                     &maxData, nullptr, nullptr);
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + 8);
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
            ERROR_SUCCESS)
            break;
        std::vector<BYTE> entry(reinterpret_cast<BYTE*>(&type),
                                reinterpret_cast<BYTE*>(&type) + sizeof(type));
        entry.insert(entry.end(), data.begin(), data.begin() + dataLen);
        // " : " cannot stand in a key name's place, so a value never looks like a key.
        out[path + L"\\ : " + std::wstring(name.data(), nameLen)] = std::move(entry);
    }
    std::vector<wchar_t> sub(maxSub + 2);
    for (DWORD i = 0;; ++i) {
        DWORD subLen = static_cast<DWORD>(sub.size());
        if (RegEnumKeyExW(key, i, sub.data(), &subLen, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY child;
        std::wstring childName(sub.data(), subLen);
        if (RegOpenKeyExW(key, childName.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
            Walk(child, path + L"\\" + childName, out);
            RegCloseKey(child);
        }
    }
}
} // namespace

RegistrySnapshot TakeRegistrySnapshot(HKEY root, const std::wstring& rootName) {
    RegistrySnapshot snapshot;
    Walk(root, rootName, snapshot);
    return snapshot;
}

std::vector<std::wstring> DiffSnapshots(const RegistrySnapshot& before,
                                        const RegistrySnapshot& after) {
    std::vector<std::wstring> lines;
    for (const auto& [name, value] : after) {
        auto it = before.find(name);
        if (it == before.end())
            lines.push_back(L"+ " + name);
        else if (it->second != value)
            lines.push_back(L"~ " + name);
    }
    for (const auto& [name, value] : before)
        if (!after.count(name))
            lines.push_back(L"- " + name);
    return lines;
}

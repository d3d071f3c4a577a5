#pragma once
// Every key and value under a root, for comparing the registry before and after a run.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// "root\\key\\" for each key; "root\\key\\ : name" -> type and data for each value.
using RegistrySnapshot = std::map<std::wstring, std::vector<BYTE>>;

RegistrySnapshot TakeRegistrySnapshot(HKEY root, const std::wstring& rootName);

// Entries that differ, as readable lines "+ added", "- removed", "~ changed".
std::vector<std::wstring> DiffSnapshots(const RegistrySnapshot& before,
                                        const RegistrySnapshot& after);

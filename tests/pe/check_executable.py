#!/usr/bin/python3
"""Checks the PE header and imports of a built Quenmar.exe.

usage: check_executable.py EXE (i686|x86_64) [gui|console]
"""
import sys

import pefile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll",
               "advapi32.dll", "oleaut32.dll", "msvcrt.dll"}
# Functions a 32-bit build must not import: Windows XP does not have them.
NEWER_THAN_XP = {"GetTickCount64", "InitializeCriticalSectionEx", "InitOnceExecuteOnce",
                 "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
                 "SleepConditionVariableCS", "SleepConditionVariableSRW", "FlsAlloc",
                 "GetSystemTimePreciseAsFileTime", "RegGetValueA", "RegGetValueW",
                 "RegDeleteTreeA", "RegDeleteTreeW", "SetProcessDPIAware", "strcpy_s",
                 "sprintf_s", "_localtime64_s", "localtime_s"}
SIZE_GOAL = 128 * 1024


def main():
    path, arch = sys.argv[1], sys.argv[2]
    subsystem = 3 if len(sys.argv) > 3 and sys.argv[3] == "console" else 2
    pe = pefile.PE(path)
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    machine = pe.FILE_HEADER.Machine
    if arch == "i686":
        check(machine == 0x14C, f"machine {machine:#x}, not i386")
        check(pe.OPTIONAL_HEADER.Magic == 0x10B, "not a PE32 image")
    else:
        check(machine == 0x8664, f"machine {machine:#x}, not AMD64")
    opt = pe.OPTIONAL_HEADER
    check(opt.Subsystem == subsystem, f"subsystem {opt.Subsystem}, not {subsystem}")
    check((opt.MajorOperatingSystemVersion, opt.MinorOperatingSystemVersion) == (5, 1),
          f"OS version {opt.MajorOperatingSystemVersion}.{opt.MinorOperatingSystemVersion}")
    check((opt.MajorSubsystemVersion, opt.MinorSubsystemVersion) == (5, 1),
          f"subsystem version {opt.MajorSubsystemVersion}.{opt.MinorSubsystemVersion}")
    flags = opt.DllCharacteristics
    for bit, name in ((0x40, "DYNAMIC_BASE"), (0x100, "NX_COMPAT"),
                      (0x8000, "TERMINAL_SERVER_AWARE")):
        check(flags & bit, f"{name} not set")
    check(opt.CheckSum != 0 and opt.CheckSum == pe.generate_checksum(),
          f"PE checksum {opt.CheckSum:#x}, not the file's {pe.generate_checksum():#x}")
    check(pe.FILE_HEADER.PointerToSymbolTable == 0 and pe.FILE_HEADER.NumberOfSymbols == 0,
          "not stripped")

    imported = {}
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode().lower()
        imported[dll] = {imp.name.decode() for imp in entry.imports if imp.name}
    extra = set(imported) - SYSTEM_DLLS
    check(not extra, f"imports DLLs that are not part of Windows: {sorted(extra)}")
    all_functions = set().union(*imported.values()) if imported else set()
    check("RtlGetVersion" not in all_functions, "RtlGetVersion is imported, not looked up")
    if arch == "i686":
        newer = all_functions & NEWER_THAN_XP
        check(not newer, f"imports functions Windows XP lacks: {sorted(newer)}")
        size = len(pe.__data__)
        if subsystem == 2:  # the notice program; the checker has no size goal
            check(size <= SIZE_GOAL, f"{size} bytes, over {SIZE_GOAL}")

    for message in failures:
        print(f"FAIL {path}: {message}")
    if not failures:
        print(f"ok {path}: {len(pe.__data__)} bytes, imports {sorted(imported)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

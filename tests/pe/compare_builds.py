#!/usr/bin/python3
"""Compares the exes of two builds byte for byte; where they differ, names the first
offset and the part of the PE file that holds it.

usage: compare_builds.py DIR_A DIR_B EXE...
"""
import os
import sys

import pefile


def where(path, offset):
    """The header, section or trailing data that holds a file offset."""
    pe = pefile.PE(path, fast_load=True)
    if offset < pe.OPTIONAL_HEADER.SizeOfHeaders:
        if offset == pe.FILE_HEADER.get_file_offset() + 4:
            return "headers (the time stamp)"
        if offset in range(pe.OPTIONAL_HEADER.get_file_offset() + 64,
                           pe.OPTIONAL_HEADER.get_file_offset() + 68):
            return "headers (the checksum)"
        return "headers"
    for section in pe.sections:
        start = section.PointerToRawData
        if start <= offset < start + section.SizeOfRawData:
            name = section.Name.rstrip(b"\0").decode(errors="replace")
            return f"section {name} (+{offset - start:#x})"
    return "data after the last section"


def main():
    dir_a, dir_b, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    differing = 0
    for name in names:
        a_path, b_path = os.path.join(dir_a, name), os.path.join(dir_b, name)
        with open(a_path, "rb") as a, open(b_path, "rb") as b:
            a_bytes, b_bytes = a.read(), b.read()
        if a_bytes == b_bytes:
            print(f"same {name}: {len(a_bytes)} bytes")
            continue
        differing += 1
        first = next((i for i, (x, y) in enumerate(zip(a_bytes, b_bytes)) if x != y),
                     min(len(a_bytes), len(b_bytes)))
        print(f"DIFFERENT {name}: sizes {len(a_bytes)} and {len(b_bytes)}, first at "
              f"offset {first:#x}, in {where(a_path, first)}")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())

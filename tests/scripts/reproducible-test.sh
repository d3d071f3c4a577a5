#!/usr/bin/env bash
# The shipped exes are reproducible: built once more, in a folder of another name and
# depth, with the SOURCE_DATE_EPOCH they carry, they come out byte for byte the same.
# Where SOURCE_DATE_EPOCH is set, the exes carry it.
#
#   reproducible-test.sh SOURCE_DIR BIN_DIR
set -u
source_dir="$(realpath "$1")"
bin_dir="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

stamp=$(/usr/bin/python3 -c 'import pefile, sys; print(pefile.PE(sys.argv[1], fast_load=True).FILE_HEADER.TimeDateStamp)' \
    "$bin_dir/Quenmar.exe") || { echo "FAILED: cannot read $bin_dir/Quenmar.exe"; exit 1; }
status=0
if [ -n "${SOURCE_DATE_EPOCH:-}" ] && [ "$stamp" != "$SOURCE_DATE_EPOCH" ]; then
    echo "FAILED: time stamp $stamp, not SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH"
    status=1
fi

again="$work/another/build-with-a-longer-name"
if ! SOURCE_DATE_EPOCH="$stamp" cmake -S "$source_dir" --preset win32 -B "$again" >"$work/log" 2>&1 ||
    ! SOURCE_DATE_EPOCH="$stamp" cmake --build "$again" --target Quenmar QuenmarCheck >>"$work/log" 2>&1; then
    cat "$work/log"
    echo "FAILED: the second build"
    exit 1
fi
/usr/bin/python3 "$source_dir/tests/pe/compare_builds.py" "$bin_dir" "$again/bin" \
    Quenmar.exe QuenmarCheck.exe || status=1
if grep -lF -e "$work" -e "$bin_dir" "$again/bin/Quenmar.exe" "$again/bin/QuenmarCheck.exe"; then
    echo "FAILED: a build path is in the exes above"
    status=1
fi
exit $status

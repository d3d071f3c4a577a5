#!/usr/bin/env bash
# Two clean builds of the shipped exes, in folders of different names and depths, give
# the same bytes: the time stamp is SOURCE_DATE_EPOCH, and no build path gets in.
#
#   reproducible-test.sh SOURCE_DIR
set -u
source_dir="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-1700000000}"

for dir in "$work/first" "$work/second/build-with-a-longer-name"; do
    if ! cmake -S "$source_dir" --preset win32 -B "$dir" >"$work/log" 2>&1 ||
        ! cmake --build "$dir" --target Quenmar QuenmarCheck >>"$work/log" 2>&1; then
        cat "$work/log"
        echo "FAILED: the build in $dir"
        exit 1
    fi
done

status=0
/usr/bin/python3 "$source_dir/tests/pe/compare_builds.py" "$work/first/bin" \
    "$work/second/build-with-a-longer-name/bin" Quenmar.exe QuenmarCheck.exe || status=1
stamp=$(/usr/bin/python3 -c 'import pefile, sys; print(pefile.PE(sys.argv[1], fast_load=True).FILE_HEADER.TimeDateStamp)' \
    "$work/first/bin/Quenmar.exe")
if [ "$stamp" != "$SOURCE_DATE_EPOCH" ]; then
    echo "FAILED: time stamp $stamp, not SOURCE_DATE_EPOCH $SOURCE_DATE_EPOCH"
    status=1
fi
if grep -rlF "$work" "$work/first/bin/Quenmar.exe" "$work/first/bin/QuenmarCheck.exe"; then
    echo "FAILED: a build path is in the exes above"
    status=1
fi
exit $status

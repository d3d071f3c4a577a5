#!/usr/bin/env bash
# Installs every Debian package the build, the run command and the tests need.
# Idempotent: asks apt only for what is missing, and says nothing when all is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 python3-pefile file
    clang libclang-rt-14-dev # the fuzzers and their libFuzzer runtime
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    googletest
    wine wine64 xvfb x11-utils xdotool imagemagick fonts-ipafont-gothic
    nsis wixl msitools osslsigncode openssl # installer samples, signing
    wine32:i386 # runs the shipped i686 exes (WoW64) where the kernel runs 32-bit code
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
if ! "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null; then
    # The 32-bit Wine is optional: without it the tests fall back to the x86_64 build.
    rest=()
    for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
    echo "setup: wine32:i386 could not be installed; 32-bit programs will not run under Wine" >&2
    [ ${#rest[@]} -eq 0 ] || "${sudo_cmd[@]}" apt-get install -y -qq "${rest[@]}" >/dev/null
fi

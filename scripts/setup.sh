#!/usr/bin/env bash
# Installs every Debian package the build, the run command and the tests need.
# Idempotent: asks apt only for what is missing, and says nothing when all is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 python3-pefile
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    googletest
    wine xvfb x11-utils xdotool imagemagick fonts-ipafont-gothic
    nsis
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
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# A copy of the exe under test signed with a throwaway certificate, for the end-to-end
# run of a signed Quenmar.exe.
#
#   sign-copy.sh EXE OUT_EXE
set -eu
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Quenmar test signer" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
mkdir -p "$(dirname "$2")"
cp "$1" "$work/copy.exe"
"$(dirname "$0")/../../scripts/sign.sh" --cert "$work/cert.pem" --key "$work/key.pem" \
    "$work/copy.exe" >/dev/null
mv "$work/copy.exe" "$2"

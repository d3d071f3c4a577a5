#!/usr/bin/env bash
# scripts/sign.sh on the shipped exes with a throwaway self-signed certificate: both
# are signed with SHA-256 and verify, stay valid PE files that are the built exes again
# once the signature is removed, and every bad input ends with one line, a non-zero
# status and the exe byte for byte as it was.
#
#   sign-test.sh Quenmar.exe QuenmarCheck.exe
set -u
exes=()
for exe in "$@"; do exes+=("$(realpath "$exe")"); done
set -- "${exes[@]}"
sign="$(cd "$(dirname "$0")/../.." && pwd)/scripts/sign.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

cd "$work"
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Quenmar test signer" \
    -addext "extendedKeyUsage=codeSigning" -keyout key.pem -out cert.pem \
    -passout pass:right-password 2>/dev/null || { echo "openssl could not make a certificate"; exit 1; }
echo right-password >password.txt
echo wrong-password >wrong.txt
openssl pkcs12 -export -inkey key.pem -in cert.pem -passin pass:right-password \
    -passout pass:right-password -out bundle.p12 2>/dev/null || { echo "openssl: no PKCS#12"; exit 1; }

# verifies FILE: a SHA-256 signature whose digest matches, and a valid PE checksum.
verifies() {
    local log current calculated
    log=$(osslsigncode verify -in "$1" 2>&1)
    current=$(sed -n 's/^Current message digest *: *//p' <<<"$log" | tr -d ' ')
    calculated=$(sed -n 's/^Calculated message digest *: *//p' <<<"$log" | tr -d ' ')
    grep -q '^Signature Index: 0' <<<"$log" && grep -q '^Message digest algorithm *: SHA256' <<<"$log" &&
        [ -n "$current" ] && [ "$current" = "$calculated" ] &&
        /usr/bin/python3 -c 'import pefile, sys; sys.exit(not pefile.PE(sys.argv[1]).verify_checksum())' "$1"
}

# Both exes, certificate and key in PEM files.
for exe in "$@"; do
    name=$(basename "$exe")
    cp "$exe" "$name"
    out=$("$sign" --cert cert.pem --key key.pem --password-file password.txt "$name" 2>&1) ||
        fail "$name: signing failed: $out"
    verifies "$name" || fail "$name: does not verify after signing"
    cmp -s "$exe" "$name" && fail "$name: unchanged by signing"
    # Whole: without its signature it is the built exe again, byte for byte.
    osslsigncode remove-signature -in "$name" -out "unsigned-$name" >/dev/null 2>&1
    cmp -s "$exe" "unsigned-$name" || fail "$name: removing the signature does not give the exe back"
done

# The same with a PKCS#12 file.
cp "$1" bundle-signed.exe
"$sign" --pkcs12 bundle.p12 --password-file password.txt bundle-signed.exe >/dev/null 2>&1 ||
    fail "PKCS#12: signing failed"
verifies bundle-signed.exe || fail "PKCS#12: does not verify"

# expect_refusal NAME ARGS...: one line "sign: ...", non-zero, target.exe unchanged.
echo "not a program" >text.exe
expect_refusal() {
    local name="$1" before after out status
    shift
    cp "$1" target.exe 2>/dev/null
    before=$(sha256sum target.exe text.exe)
    out=$("$sign" "${@:2}" 2>&1)
    status=$?
    after=$(sha256sum target.exe text.exe)
    [ "$status" -ne 0 ] || fail "$name: status 0"
    [ "$(grep -c . <<<"$out")" -eq 1 ] && grep -q '^sign: ' <<<"$out" || fail "$name: said '$out'"
    [ "$before" = "$after" ] || fail "$name: the exe changed"
}
expect_refusal "missing certificate" "$1" --cert none.pem --key key.pem --password-file password.txt target.exe
expect_refusal "missing key" "$1" --cert cert.pem --key none.pem --password-file password.txt target.exe
expect_refusal "key is a folder" "$1" --cert cert.pem --key "$work" --password-file password.txt target.exe
expect_refusal "wrong password" "$1" --cert cert.pem --key key.pem --password-file wrong.txt target.exe
expect_refusal "wrong PKCS#12 password" "$1" --pkcs12 bundle.p12 --password-file wrong.txt target.exe
expect_refusal "not a PE file" "$1" --cert cert.pem --key key.pem --password-file password.txt text.exe
expect_refusal "time-stamp server unreachable" "$1" --cert cert.pem --key key.pem \
    --password-file password.txt --timestamp http://127.0.0.1:9/ target.exe

[ "$failures" -eq 0 ] && echo "signing held for $# exes and 7 refusals"
[ "$failures" -eq 0 ]

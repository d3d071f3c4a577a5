#!/usr/bin/env bash
# Signs the shipped exes with Authenticode (SHA-256), through osslsigncode.
#
#   scripts/sign.sh --cert CERT --key KEY [--password-file FILE] [--timestamp URL] EXE...
#   scripts/sign.sh --pkcs12 FILE [--password-file FILE] [--timestamp URL] EXE...
#
#   --cert, --key      the code-signing certificate (PEM or DER; a chain may follow it in
#                      the PEM file) and its private key
#   --pkcs12           certificate and key in one PKCS#12 file instead
#   --password-file    a file whose first line is the key's password (kept off the
#                      command line, where other users could read it)
#   --timestamp URL    an RFC 3161 time-stamp server; optional
#
# Each exe is signed into a new file that replaces it only once signing and a
# verification of the result have succeeded: on any error the exe stays byte for byte as
# it was, the script says why in one line, and it ends with a non-zero status.
set -uo pipefail

die() {
    echo "sign: $*" >&2
    exit 1
}

cert="" key="" pkcs12="" password_file="" timestamp=""
exes=()
while [ $# -gt 0 ]; do
    case "$1" in
    --cert) cert="${2:-}"; shift 2 ;;
    --key) key="${2:-}"; shift 2 ;;
    --pkcs12) pkcs12="${2:-}"; shift 2 ;;
    --password-file) password_file="${2:-}"; shift 2 ;;
    --timestamp) timestamp="${2:-}"; shift 2 ;;
    --help | -h) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) die "unknown option $1 (see --help)" ;;
    *) exes+=("$1"); shift ;;
    esac
done

command -v osslsigncode >/dev/null || die "osslsigncode is not installed (scripts/setup.sh installs it)"
readable() { [ -f "$2" ] && [ -r "$2" ] || die "the $1 $2 cannot be read"; }
credentials=()
if [ -n "$pkcs12" ]; then
    [ -z "$cert$key" ] || die "give either --pkcs12 or --cert and --key, not both"
    readable "PKCS#12 file" "$pkcs12"
    credentials=(-pkcs12 "$pkcs12")
else
    [ -n "$cert" ] && [ -n "$key" ] || die "a certificate and a key are needed (--cert and --key, or --pkcs12)"
    readable certificate "$cert"
    readable "private key" "$key"
    credentials=(-certs "$cert" -key "$key")
fi
if [ -n "$password_file" ]; then
    readable "password file" "$password_file"
    credentials+=(-readpass "$password_file")
fi
[ ${#exes[@]} -gt 0 ] || die "no exe to sign (see --help)"

for exe in "${exes[@]}"; do
    readable exe "$exe"
    # "MZ" and, at the offset stored at 0x3C, "PE\0\0".
    pe_offset=$(od -An -tu4 -j60 -N4 "$exe" 2>/dev/null | tr -d ' ')
    if [ "$(head -c 2 "$exe")" != "MZ" ] || [ -z "$pe_offset" ] ||
        [ "$(od -An -c -j "$pe_offset" -N4 "$exe" 2>/dev/null | tr -d ' ')" != 'PE\0\0' ]; then
        die "$exe is not a PE file; nothing was signed"
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for exe in "${exes[@]}"; do
    signed="$work/$(basename "$exe")"
    args=(sign "${credentials[@]}" -h sha256 -n "Quenmar" -in "$exe" -out "$signed")
    [ -n "$timestamp" ] && args+=(-ts "$timestamp")
    if ! log=$(osslsigncode "${args[@]}" 2>&1); then
        reason=$(grep -iE 'error|fail|unable|bad|invalid' <<<"$log" | head -n 1)
        die "$exe could not be signed (${reason:-osslsigncode failed}); it is unchanged"
    fi
    # The signature present and its digest matching the file. Whether the certificate
    # chain is trusted is for the user's system to say, not for this check.
    log=$(osslsigncode verify -in "$signed" 2>&1)
    current=$(sed -n 's/^Current message digest *: *//p' <<<"$log" | tr -d ' ')
    calculated=$(sed -n 's/^Calculated message digest *: *//p' <<<"$log" | tr -d ' ')
    if ! grep -q '^Signature Index: 0' <<<"$log" || [ -z "$current" ] ||
        [ "$current" != "$calculated" ]; then
        die "$exe: the signed copy does not verify; it is unchanged"
    fi
    # Same folder first, then one rename: the exe is either the old file or the new one.
    cp "$signed" "$exe.signing" && mv -f "$exe.signing" "$exe" ||
        { rm -f "$exe.signing"; die "$exe could not be replaced; it is unchanged"; }
    echo "signed: $exe"
done

# Sourced by the run, test, benchmark and screenshot commands: a virtual display, a
# Wine prefix set up for Quenmar with one Windows process kept alive in it, the
# answer to whether 32-bit programs run here, and emulated Windows versions. Wine
# reads the version values at each process start, so a change applies to the next
# program started. Every failure prints one line naming what is missing.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
WINE32_LOADER=/usr/lib/wine/wine # what starts a PE32 program; an i386 Linux program
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts in a fresh prefix
# Writes the emulated version into both registry views (built by the win64 preset).
EMULATE_WINDOWS="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win64/bin/emulate_windows.exe"

# wine_prefix_init DIR: a fresh prefix with Japanese font replacements, no window
# manager waits, no version preset; a persistent wineserver and a process kept alive.
wine_prefix_init() {
    export WINEPREFIX="$1"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine_prefix_start || return 1
    # Font names in full-width letters: imported as UTF-16 (see wine_reg_import_utf8).
    wine_reg_import_utf8 <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"Tahoma"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine]
"Version"=-
REG
}

# wine_prefix_start: the server and the kept-alive process for $WINEPREFIX, building
# the prefix first if it is new.
wine_prefix_start() {
    # The server first, kept alive between programs: a start then costs ~0.1 s, not 1-3 s.
    "$WINESERVER" -p 900
    # The server writes system.reg lazily; the Windows folder shows the prefix is there.
    if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
        if ! "$WINE" wineboot -i >/dev/null 2>&1 ||
            [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
            echo "wine: the prefix $WINEPREFIX could not be built (wineboot -i failed)" >&2
            return 1
        fi
    fi
    wine_keepalive_start
}

# One Windows process for the whole run: without one, Wine shuts its desktop and
# services down whenever the last program ends, and the next window then waits 10 s
# for them to come back. cmd.exe reads a pipe that this shell holds open.
wine_keepalive_start() {
    WINE_KEEPALIVE_DIR="$(mktemp -d)"
    mkfifo "$WINE_KEEPALIVE_DIR/stdin"
    "$WINE" cmd.exe /q <"$WINE_KEEPALIVE_DIR/stdin" >/dev/null 2>&1 &
    WINE_KEEPALIVE_PID=$!
    exec {WINE_KEEPALIVE_FD}>"$WINE_KEEPALIVE_DIR/stdin"
}

wine_keepalive_stop() {
    if [ -n "${WINE_KEEPALIVE_FD:-}" ]; then
        exec {WINE_KEEPALIVE_FD}>&- # end of input: cmd.exe ends
        WINE_KEEPALIVE_FD=
    fi
    if [ -n "${WINE_KEEPALIVE_PID:-}" ]; then
        local _
        for _ in $(seq 20); do
            kill -0 "$WINE_KEEPALIVE_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$WINE_KEEPALIVE_PID" 2>/dev/null
        wait "$WINE_KEEPALIVE_PID" 2>/dev/null
        WINE_KEEPALIVE_PID=
    fi
    [ -n "${WINE_KEEPALIVE_DIR:-}" ] && rm -rf "$WINE_KEEPALIVE_DIR"
    WINE_KEEPALIVE_DIR=
    return 0
}

# wine_reg_import_utf8 < text: imports a registry file written in UTF-8 on stdin.
wine_reg_import_utf8() {
    local reg
    reg="$(mktemp --suffix=.reg)"
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    "$WINE" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
    rm -f "$reg"
}

# Unix path -> the Z: drive path Wine maps it to.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# wine_display_start: an Xvfb on a free display number; sets DISPLAY and XVFB_PID.
wine_display_start() {
    if ! command -v Xvfb >/dev/null; then
        echo "display: Xvfb is not installed (package xvfb)" >&2
        return 1
    fi
    local n i
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for i in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    echo "display: Xvfb did not start on any display from :90 to :140" >&2
    return 1
}

# Ends what the functions above started: the kept-alive process, the Wine server
# (and with it every Windows process of the prefix), the virtual display.
wine_stop() {
    wine_keepalive_stop
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    return 0
}

# wine_cleanup_on_exit: wine_stop when the script ends, also when it is interrupted.
wine_cleanup_on_exit() {
    trap 'wine_stop' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# wine_check_pe32 EXE: whether 32-bit programs run in this prefix, tried by starting
# the shipped PE32 EXE (QuenmarCheck.exe) with --help. Sets WINE_PE32 (1 or 0) and,
# when they do not, WINE_PE32_WHY.
wine_check_pe32() {
    local exe="$1" out status
    WINE_PE32=0
    WINE_PE32_WHY=""
    if [ ! -x "$WINE32_LOADER" ]; then
        WINE_PE32_WHY="the 32-bit Wine (package wine32:i386) is not installed"
        return 1
    fi
    if ! out="$("$WINE32_LOADER" --version 2>&1)"; then
        # A kernel without 32-bit support: "cannot execute binary file: Exec format error".
        WINE_PE32_WHY="the 32-bit Wine loader does not run on this kernel (${out##*: })"
        return 1
    fi
    if [ ! -f "$exe" ]; then
        WINE_PE32_WHY="$exe has not been built"
        return 1
    fi
    out="$("$WINE" "$exe" --help </dev/null 2>&1)"
    status=$?
    if [ "$status" -eq 2 ] && grep -q 'usage: QuenmarCheck' <<<"$out"; then
        WINE_PE32=1
        return 0
    fi
    WINE_PE32_WHY="$(basename "$exe") --help did not run (exit status $status: $(head -n 1 <<<"$out" | tr -d '\r'))"
    return 1
}

# wine_pe_machine EXE: "i686, PE32" or "x86_64, PE32+", from the PE header.
wine_pe_machine() {
    case "$(file -b "$1")" in
    PE32+*) echo "x86_64, PE32+" ;;
    PE32*) echo "i686, PE32" ;;
    *) echo "not a PE file" ;;
    esac
}

# The Windows versions the run command can emulate:
# name  major.minor  build  service-pack(major minor)  product type  text
wine_windows_table() {
    cat <<'TABLE'
xp-sp2        5.1  2600  2 0  WinNT     Service_Pack_2
xp-sp3        5.1  2600  3 0  WinNT     Service_Pack_3
vista-sp0     6.0  6000  0 0  WinNT     -
vista-sp1     6.0  6001  1 0  WinNT     Service_Pack_1
vista-sp2     6.0  6002  2 0  WinNT     Service_Pack_2
win7-sp0      6.1  7600  0 0  WinNT     -
win7-sp1      6.1  7601  1 0  WinNT     Service_Pack_1
win8          6.2  9200  0 0  WinNT     -
win81         6.3  9600  0 0  WinNT     -
win10         10.0 19045 0 0  WinNT     -
win11         10.0 22631 0 0  WinNT     -
server2003    5.2  3790  0 0  ServerNT  -
server2003-sp2 5.2 3790  2 0  ServerNT  Service_Pack_2
server2008    6.0  6001  1 0  ServerNT  Service_Pack_1
server2008-sp2 6.0 6002  2 0  ServerNT  Service_Pack_2
server2008r2  6.1  7600  0 0  ServerNT  -
server2008r2-sp1 6.1 7601 1 0 ServerNT  Service_Pack_1
server2012    6.2  9200  0 0  ServerNT  -
server2012r2  6.3  9600  0 0  ServerNT  -
server2019    10.0 17763 0 0  ServerNT  -
TABLE
}

# wine_emulate NAME: makes Wine report that Windows to the 32-bit and 64-bit programs
# started afterwards, through the same tool the Windows tests use.
wine_emulate() {
    local line
    line="$(wine_windows_table | awk -v n="$1" '$1 == n')"
    if [ -z "$line" ]; then
        echo "unknown Windows '$1'; choose one of:" $(wine_windows_table | awk '{print $1}') >&2
        return 1
    fi
    local name version build spmajor spminor type text
    read -r name version build spmajor spminor type text <<<"$line"
    [ "$text" = "-" ] && text="" || text="${text//_/ }"
    "$WINE" "$EMULATE_WINDOWS" "$version" "$build" "$spmajor" "$spminor" "$type" "$text" \
        </dev/null >/dev/null
}

# wine_wait_for_window PID [TENTHS]: prints the first visible window that appears while
# PID runs (up to TENTHS tenths of a second, default 100); prints nothing otherwise.
wine_wait_for_window() {
    local pid="$1" tries="${2:-100}" window="" _
    for _ in $(seq "$tries"); do
        window=$(xdotool search --onlyvisible --name '.' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    printf '%s' "$window"
}

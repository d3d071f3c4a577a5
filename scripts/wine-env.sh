# Sourced by the run and test commands: a Wine prefix set up for Quenmar, a virtual
# display, and emulated Windows versions. Wine reads the version values at each
# process start, so a change applies to the next program started.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts in a fresh prefix

# wine_prefix_init DIR: a fresh prefix with Japanese font replacements, no window
# manager waits, no version preset; a persistent wineserver for it.
wine_prefix_init() {
    export WINEPREFIX="$1"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # The server first, kept alive between programs: a start then costs ~0.1 s, not 1-3 s.
    "$WINESERVER" -p 900
    "$WINE" wineboot -i >/dev/null 2>&1
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
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        local i
        for i in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "no free display for Xvfb" >&2
    return 1
}

wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    return 0
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

# wine_emulate NAME: makes Wine report that Windows to programs started afterwards.
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
    wine_reg_import_utf8 <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"=-

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]
"CurrentVersion"="$version"
"CurrentBuildNumber"="$build"
"CSDVersion"="$text"

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Windows]
"CSDVersion"=dword:$(printf '%08x' $((spmajor * 256 + spminor)))

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ProductOptions]
"ProductType"="$type"
REG
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

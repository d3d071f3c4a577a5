; A real caller: an installer that unpacks Quenmar.exe, runs it with a key path and
; the installer switch, waits for it, and then goes on (it writes a marker file).
; makensis -DQUENMAR_EXE=<path> -DOUT_FILE=<path> QuenmarCaller.nsi
Unicode true
Target amd64-unicode
SilentInstall silent
RequestExecutionLevel user
Name "Quenmar caller"
OutFile "${OUT_FILE}"

Section
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    File "/oname=Quenmar.exe" "${QUENMAR_EXE}"
    ExecWait '"$PLUGINSDIR\Quenmar.exe" "Software\QuenmarTest\Installer Caller" /I' $0
    FileOpen $1 "$EXEDIR\quenmar_caller_done.txt" w
    FileWrite $1 "continued after Quenmar ended"
    FileClose $1
SectionEnd

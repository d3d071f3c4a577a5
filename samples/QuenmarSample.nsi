; An installer made with NSIS that runs Quenmar.exe before it installs the product, so the
; user learns that this Windows is not supported while there is still time to stop. Copy it
; and change the names and the key path; build it with
;
;   makensis -DQUENMAR_EXE=path\to\Quenmar.exe -DOUT_FILE=Setup.exe QuenmarSample.nsi
;
; Quenmar.exe is unpacked into the installer's temporary folder and never installed. The
; installer waits for it (ExecWait) and ignores its exit status, which carries no meaning.
;
; A silent install (Setup.exe /S: software distribution, often as SYSTEM in a session
; nobody sees) does not run it: nobody would be there to close a modal notice, and the
; install would wait for ever.
Unicode true
Name "Quenmar Sample Product"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Quenmar Sample Product"
AutoCloseWindow true

!include LogicLib.nsh

Page instfiles

Section
    ${IfNot} ${Silent}
        InitPluginsDir
        File "/oname=$PLUGINSDIR\Quenmar.exe" "${QUENMAR_EXE}"
        ExecWait '"$PLUGINSDIR\Quenmar.exe" "Software\Example Vendor\Quenmar Sample Product" /I'
    ${EndIf}

    ; The product's own files go here.
    SetOutPath "$INSTDIR"
    FileOpen $0 "$INSTDIR\installed.txt" w
    FileWrite $0 "installed after Quenmar.exe ended"
    FileClose $0
SectionEnd

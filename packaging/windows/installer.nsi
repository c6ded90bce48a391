; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: for the current user only, so that it needs no
; administrator. Made by make-packages.sh (BIN: the staged files, TOP: the source tree).
; A 64-bit installer for the 64-bit programs (and for Wine without its 32-bit part).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "KDR Switch Panel"
!define PROGID "KDR.SwitchPanel.Configuration"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KDRSwitchPanel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT}"
Icon "${TOP}/src/app/windows/kdr-switch-panel.ico"
UninstallIcon "${TOP}/src/app/windows/kdr-switch-panel.ico"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
LicenseData "${BIN}/LICENSE.txt"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running program's file cannot be opened for writing: that is how Windows tells
; that one of the three runs. Asks to close it (Retry) until none runs; Cancel, or a
; silent run, ends here with status 2 and nothing changed.
!macro TryWrite FILE
    IfFileExists "$INSTDIR\${FILE}" 0 +6
        ClearErrors
        FileOpen $0 "$INSTDIR\${FILE}" a
        IfErrors 0 +2
            StrCpy $1 "${FILE}"
        FileClose $0
!macroend
!macro WaitUntilNoneRuns UN
Function ${UN}WaitUntilNoneRuns
    again:
    StrCpy $1 ""
    !insertmacro TryWrite "kdr-switch-panel.exe"
    !insertmacro TryWrite "kdr-switch-panel-simulated.exe"
    !insertmacro TryWrite "kdr-panel.exe"
    StrCmp $1 "" 0 running
        Return
    running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running ($1).$\r$\nClose it, then choose Retry." \
        /SD IDCANCEL IDRETRY again
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro WaitUntilNoneRuns ""
!insertmacro WaitUntilNoneRuns "un."

Section "Install"
    SetShellVarContext current
    ; Over a running copy nothing would be replaced: close it first.
    Call WaitUntilNoneRuns
    SetOutPath "$INSTDIR"
    File "${BIN}/kdr-switch-panel.exe"
    File "${BIN}/kdr-switch-panel-simulated.exe"
    File "${BIN}/kdr-panel.exe"
    File "${BIN}/LICENSE.txt"
    File "${BIN}/READ-ME.txt"
    File "${BIN}/THIRD-PARTY-NOTICES.txt"
    SetOutPath "$INSTDIR\licences"
    File "${BIN}/licences/*.txt"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\kdr-switch-panel.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} (simulated panel).lnk" "$INSTDIR\kdr-switch-panel-simulated.exe"

    ; .kdc files open in the tool, with its icon: the user's own file-type classes.
    WriteRegStr HKCU "Software\Classes\.kdc" "" "${PROGID}"
    WriteRegStr HKCU "Software\Classes\${PROGID}" "" "KDR switch panel configuration"
    WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\kdr-switch-panel.exe,0"
    WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\kdr-switch-panel.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "KDR switch panel tools"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kdr-switch-panel.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Function un.onInit
    Call un.WaitUntilNoneRuns
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    ; The programs first: where one cannot go, everything stays, the entry in the
    ; installed programs and this uninstaller too, so that it can be run again.
    ClearErrors
    Delete "$INSTDIR\kdr-switch-panel.exe"
    Delete "$INSTDIR\kdr-switch-panel-simulated.exe"
    Delete "$INSTDIR\kdr-panel.exe"
    IfErrors 0 removed
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} could not be removed: a program of it is in use.$\r$\nClose it and uninstall again." /SD IDOK
        SetErrorLevel 2
        Quit
    removed:
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\READ-ME.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\licences\*.txt"
    RMDir "$INSTDIR\licences"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} (simulated panel).lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    ; .kdc goes only while it is still this tool's.
    ReadRegStr $0 HKCU "Software\Classes\.kdc" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegKey HKCU "Software\Classes\.kdc"
    DeleteRegKey HKCU "Software\Classes\${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

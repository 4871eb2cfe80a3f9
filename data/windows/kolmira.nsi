; The setup program: installs Kolmira for the current user only, with no
; administrator rights, adds it to the Start menu and to Windows' list of
; installed apps. tools/windows/package.sh passes the folder to install
; the lists of its files (files.nsh, removed_files.nsh), the licence
; text and where to write the setup program.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

Name "Kolmira ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kolmira"
BrandingText "Kolmira ${VERSION}"
; The setup program is built the same from the same folder on any day.
SetDateSave off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolmira"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kolmira.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Swedish"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SWEDISH} "ProductName" "Kolmira"
VIAddVersionKey /LANG=${LANG_SWEDISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SWEDISH} "FileDescription" "Installationsprogram för Kolmira"
VIAddVersionKey /LANG=${LANG_SWEDISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SWEDISH} "LegalCopyright" "Copyright (c) 2026 The Kolmira developers"

Section
    SetShellVarContext current
    !include "${FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\avinstallera.exe"

    ; The shortcut's working folder is where Kolmira looks for
    ; kolmira_fam.txt: the user's Documents folder.
    SetOutPath "$DOCUMENTS"
    CreateShortCut "$SMPROGRAMS\Kolmira.lnk" "$INSTDIR\kolmira.exe" "" "$INSTDIR\kolmira.exe" 0 \
        SW_SHOWNORMAL "" "Rätta familjens lottorader"
    CreateShortCut "$SMPROGRAMS\Kolmira – hjälp.lnk" "$INSTDIR\${GUIDE}" "" "" 0 \
        SW_SHOWNORMAL "" "Så använder du Kolmira"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kolmira"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kolmira developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kolmira.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\avinstallera.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\avinstallera.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes only what the setup program put there, so that a folder chosen by
; the user keeps the user's own files.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Kolmira.lnk"
    Delete "$SMPROGRAMS\Kolmira – hjälp.lnk"
    !include "${REMOVED_FILES}"
    Delete "$INSTDIR\avinstallera.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The setup program: installs Kolmira for the current user only, with no
; administrator rights, adds it to the Start menu and to Windows' list of
; installed apps, and puts the example row file into Documents where none
; lies; over an installed Kolmira, it replaces that one.
; tools/windows/pack.sh passes the version, where to write the setup
; program, and the folder LISTS with the files to install (files.nsh) and
; to remove (removed_files.nsh), which CMake writes as it installs, and the
; licence text (licence.txt). The
; uninstaller and the setup program are signed as they are written
; (tools/windows/sign.sh, which signs only when given a certificate).
; A 64-bit setup program for a 64-bit program: it runs wherever Kolmira does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolmira"
Name "Kolmira ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kolmira"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kolmira ${VERSION}"
; The setup program is built the same from the same folder on any day.
SetDateSave off
!uninstfinalize '"${__FILEDIR__}/../../tools/windows/sign.sh" "%1"' = 0
!finalize '"${__FILEDIR__}/../../tools/windows/sign.sh" "%1"' = 0

!define GUIDE "README.sv.html"
!define MUI_ICON "${__FILEDIR__}/kolmira.ico"
!define MUI_UNICON "${__FILEDIR__}/kolmira.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\kolmira.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
; The guide is where a household learns to write its row file.
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\${GUIDE}"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Läs hur du använder Kolmira"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LISTS}/licence.txt"
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
    ; An installed Kolmira, of any version, is removed first by its own
    ; uninstaller, which deletes exactly the files that version installed
    ; and leaves the user's. _? runs it in place and waits for it.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\avinstallera.exe"
        ExecWait '"$0\avinstallera.exe" /S _?=$0'
        Delete "$0\avinstallera.exe"
        RMDir "$0"
    ${EndIf}

    !include "${LISTS}/files.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\avinstallera.exe"

    ; The household's row file lies in Documents, outside the program's
    ; folder, so that no setup program or uninstaller replaces or removes it.
    ; The first setup program puts the example there, so that the first start
    ; shows a check; one already there is the household's and stays as it is.
    ${IfNot} ${FileExists} "$DOCUMENTS\kolmira_fam.txt"
        CopyFiles /SILENT "$INSTDIR\exempel\kolmira_fam.txt" "$DOCUMENTS\kolmira_fam.txt"
    ${EndIf}

    ; The shortcut's working folder is where Kolmira looks for
    ; kolmira_fam.txt: the user's Documents folder.
    SetOutPath "$DOCUMENTS"
    CreateShortCut "$SMPROGRAMS\Kolmira.lnk" "$INSTDIR\kolmira.exe" "" "$INSTDIR\kolmira.exe" 0 \
        SW_SHOWNORMAL "" "Rätta familjens lottorader"
    CreateShortCut "$SMPROGRAMS\Kolmira – hjälp.lnk" "$INSTDIR\${GUIDE}" "" "" 0 \
        SW_SHOWNORMAL "" "Så använder du Kolmira"
    ; The rows Kolmira reads, in Notepad, which offers to make the file anew
    ; where the household has removed it.
    CreateShortCut "$SMPROGRAMS\Kolmira – lottorader.lnk" "$WINDIR\notepad.exe" \
        '"$DOCUMENTS\kolmira_fam.txt"' "" 0 SW_SHOWNORMAL "" "Familjens lottorader, i Anteckningar"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kolmira"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kolmira developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kolmira.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\avinstallera.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\avinstallera.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes only what the setup program put there, so that a folder chosen by
; the user keeps the user's own files; the row file in Documents stays.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Kolmira.lnk"
    Delete "$SMPROGRAMS\Kolmira – hjälp.lnk"
    Delete "$SMPROGRAMS\Kolmira – lottorader.lnk"
    ; An earlier version's entry, which opened the example in the program's folder.
    Delete "$SMPROGRAMS\Kolmira – exempelfil.lnk"
    !include "${LISTS}/removed_files.nsh"
    Delete "$INSTDIR\avinstallera.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

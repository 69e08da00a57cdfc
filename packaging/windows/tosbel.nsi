; The Windows installer: per user (no administrator needed), in Japanese, with
; a Start-menu entry, an optional desktop shortcut and an uninstaller that
; leaves the teacher's rosters, results and settings where they are.
; scripts/windows-package.sh builds it: makensis -DVERSION=… -DSTAGE=… -DOUTFILE=…

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Tosbel君 for Windows"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tosbel"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program under bin\ beside share\tosbel\ keeps the teacher's files in the
; per-user data folder (%APPDATA%\TOSBEL), never beside itself.
InstallDir "$LOCALAPPDATA\Programs\Tosbel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "the authors of Tosbel君 for Windows"

!define MUI_ICON "${STAGE}\tosbel.ico"
!define MUI_UNICON "${STAGE}\tosbel.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\tosbel.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "このプログラムは 64 ビット版の Windows で動きます。"
        Abort
    ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR\bin"
    File "${STAGE}\tosbel.exe"
    SetOutPath "$INSTDIR\share\tosbel"
    File "${STAGE}\share\*.*"
    SetOutPath "$INSTDIR\licenses"
    File "${STAGE}\licenses\*.*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\bin\tosbel.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\アンインストール.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\tosbel.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "デスクトップにショートカットを作る" SecDesktop
    CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\bin\tosbel.exe"
SectionEnd

; Only what the installer put there goes: the rosters, results and pictures
; in %APPDATA%\TOSBEL and the settings in the registry stay for the next copy.
Section "Uninstall"
    Delete "$INSTDIR\bin\tosbel.exe"
    RMDir "$INSTDIR\bin"
    ; One Delete for each default file and licence text, written by the
    ; package script from what it staged.
    !include "${STAGE}\uninstall-files.nsh"
    RMDir "$INSTDIR\share\tosbel"
    RMDir "$INSTDIR\share"
    RMDir "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\アンインストール.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

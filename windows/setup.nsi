; SPDX-License-Identifier: MIT
; The setup program: installs the staged files for the current user alone, with a
; Start-menu shortcut and an entry under Settings -> Apps. windows/Packages.cmake
; runs makensis with
;   VERSION          the build's version, as the program shows it
;   VERSION_NUMBERS  Windows' four numbers (cmake/BuildVersion.cmake)
;   STAGE            the staged files: bin\, share\vellumark\, the notices
;   FILES, UNFILES   the lists of what STAGE holds, to install and to remove
;   SIZE_KB, HOMEPAGE, ICON, OUTFILE
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include WordFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumark"
!define PUBLISHER "Vellumark developers"

Name "Vellumark"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vellumark"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "Vellumark"
VIAddVersionKey /LANG=0 "FileDescription" "Vellumark セットアップ"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 the Vellumark developers, MIT License"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\vellumark.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for a Windows in any language but these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NewerInstalled ${LANG_ENGLISH} "A newer Vellumark ($0) is already installed. This setup changes nothing."
LangString NewerInstalled ${LANG_JAPANESE} "新しい Vellumark ($0) が既に入っています。このセットアップは何も変えずに終わります。"

Function .onInit
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "VersionNumbers"
  ${If} $1 != ""
    ${VersionCompare} "${VERSION_NUMBERS}" $1 $2
    ${If} $2 == 2
      ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
      MessageBox MB_ICONEXCLAMATION|MB_OK "$(NewerInstalled)" /SD IDOK
      SetErrorLevel 3
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section
  ; The files of the version installed before go first, by its own list, so that
  ; none is left behind; the user's own files in the folder stay.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
  ${EndIf}

  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR\bin"
  CreateShortcut "$SMPROGRAMS\Vellumark.lnk" "$INSTDIR\bin\vellumark.exe" "" "$INSTDIR\bin\vellumark.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vellumark"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\vellumark.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "VersionNumbers" "${VERSION_NUMBERS}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the setup put there and nothing else: the pairs in
; %APPDATA%\Vellumark stay, and so does anything the user added to the folder.
Section "Uninstall"
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Vellumark.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

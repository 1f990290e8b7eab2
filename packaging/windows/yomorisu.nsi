; SPDX-License-Identifier: GPL-3.0-or-later
; The setup of ヨモリス for 64-bit Windows, all in Japanese. scripts/package.sh
; --windows installs the Windows build into a folder (cmake --install) and
; makes this script's lists of that folder's files, so the install rules stay
; the one list of what the program needs:
;   makensis -INPUTCHARSET UTF8 -DVERSION=0.1 -DVERSION4=0.1.0.0 -DSTAGING=DIR
;            -DFILES=files.nsh -DUNFILES=unfiles.nsh -DSIZE_KB=N -DICON=yomorisu.ico
;            -DOUTFILE=yomorisu-0.1-setup.exe yomorisu.nsi
; /S installs or uninstalls without a window, for administrators who deploy it.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "ヨモリス"
!define PROGRAM "$INSTDIR\bin\yomorisu.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.yomorisu.Yomorisu"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Installed again, it goes where it went before.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Japanese throughout: the line under the pages names the program, not NSIS.
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; The GPL before anything is installed.
!insertmacro MUI_PAGE_LICENSE "${STAGING}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; The setup's own file properties.
VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} ${VERSION} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "GPL-3.0-or-later"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} は 64 ビット版の Windows で動きます。" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Section
  SetRegView 64
  ; For every user of the PC: the Start menu of all users.
  SetShellVarContext all

  ; An installed version is removed first by its own uninstaller, run in its
  ; folder, so nothing of it lingers that this version's uninstaller would
  ; not know; the user's files in Documents are not its to touch.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}

  !include "${FILES}"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The shortcut starts it in its own folder.
  SetOutPath "$INSTDIR\bin"
  CreateShortCut "${SHORTCUT}" "${PROGRAM}" "" "${PROGRAM}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${PROGRAM},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Delete "${SHORTCUT}"
  ; File by file what the setup installed, and each folder only once it is
  ; empty: whatever else someone put there stays.
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; SPDX-License-Identifier: GPL-3.0-or-later
; The setup of ヨモリス for 64-bit Windows, all in Japanese. scripts/package.sh
; --windows installs the Windows build into a folder (cmake --install),
; makes this script's lists of that folder's files, so the install rules stay
; the one list of what the program needs, and builds the uninstaller
; (uninstall.nsi) before it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=0.1 -DVERSION4=0.1.0.0 -DMAJOR=0 -DMINOR=1
;            -DSTAGING=DIR -DFILES=files.nsh -DUNINSTALLER=uninstall.exe -DSIZE_KB=N
;            -DICON=yomorisu.ico -DOUTFILE=yomorisu-0.1-setup.exe yomorisu.nsi
; /S installs without a window, for administrators who deploy it; the exit
; statuses are in common.nsh. A newer version replaces an installed one in
; place, the same version repairs it, an older one is refused.

!include "common.nsh"
!include MUI2.nsh
!include FileFunc.nsh
!include WordFunc.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Installed again, it goes where it went before.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Japanese throughout: the line under the pages names the program, not NSIS.
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; The GPL before anything is installed.
!insertmacro MUI_PAGE_LICENSE "${STAGING}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

!insertmacro FileProperties "${PRODUCT} ${VERSION} セットアップ"

Function .onInit
  !insertmacro PerMachine
  !insertmacro RequireAdmin "すべてのユーザーに ${PRODUCT} を入れる"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${If} $1 == 1
      MessageBox MB_ICONSTOP "${PRODUCT} $0 が入っています。それより古い ${VERSION} は入れられません。" /SD IDOK
      !insertmacro Stop ${STATUS_NEWER_INSTALLED}
    ${EndIf}
  ${EndIf}
  !insertmacro WaitWhileRunning
FunctionEnd

Section
  !insertmacro PerMachine
  ; Started while the pages were shown? Checked again before anything changes.
  !insertmacro WaitWhileRunning

  ; An installed version is removed first by its own uninstaller, run in its
  ; folder, so nothing of it lingers that this version's uninstaller would
  ; not know; the user's files in Documents are not its to touch. If it
  ; fails, this setup stops before installing anything. `_?=` keeps the
  ; uninstallers of 0.1, NSIS's own, from returning before they are done.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ClearErrors
    ExecWait '"$0\uninstall.exe" /S /replacing _?=$0' $1
    ${If} ${Errors}
    ${OrIf} $1 <> 0
      MessageBox MB_ICONSTOP "入っている ${PRODUCT} を削除できませんでした（終了コード $1）。何も入れずに終わります。" /SD IDOK
      !insertmacro Stop ${STATUS_OLD_UNINSTALL_FAILED}
    ${EndIf}
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}

  !include "${FILES}"

  SetOutPath "$INSTDIR"
  File "/oname=uninstall.exe" "${UNINSTALLER}"
  ; The shortcut starts it in its own folder.
  SetOutPath "$INSTDIR\bin"
  CreateShortCut "${SHORTCUT}" "${PROGRAM}" "" "${PROGRAM}" 0

  ; ファイル名を指定して実行 starts it as "yomorisu".
  WriteRegStr HKLM "${APP_PATHS_KEY}" "" "${PROGRAM}"
  WriteRegStr HKLM "${APP_PATHS_KEY}" "Path" "$INSTDIR\bin"

  ; What the Windows settings page and inventory tools read.
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${MAJOR}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${MINOR}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Comments" "健康指導の表と計算"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallDate" "$2$1$0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${PROGRAM},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

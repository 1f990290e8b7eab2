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

; すべてのユーザー (the default for an administrator) or このユーザーだけ,
; chosen on a page an administrator sees, or with /AllUsers or /CurrentUser;
; a user without administrator rights installs for themselves, under
; %LOCALAPPDATA%\Programs, and is never asked for them.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; Installed again, it goes where and for whom it went before.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "${PRODUCT} を、このコンピューターを使うすべてのユーザーに入れるか、このユーザーだけに入れるかを選んでください。このユーザーだけなら、管理者の権限は要りません。"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "すべてのユーザー"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "このユーザーだけ"
; The uninstaller is a program of its own (uninstall.nsi).
!define MULTIUSER_NOUNINSTALL
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include WordFunc.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; Japanese throughout: the line under the pages names the program, not NSIS.
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; The GPL before anything is installed.
!insertmacro MUI_PAGE_LICENSE "${STAGING}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

!insertmacro FileProperties "${PRODUCT} ${VERSION} セットアップ"

; Refuses, with nothing changed, what cannot be installed for the chosen
; users: over a newer version, or beside an installation for the other
; users or from the MSI, whose shortcut and entry would stand next to this
; one's.
Function CheckInstalled
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r0) i .r1'
  ${If} $1 == 0
    MessageBox MB_ICONSTOP "${PRODUCT} が MSI から入っています。先にそれを削除してください。" /SD IDOK
    !insertmacro Stop ${STATUS_OTHER_INSTALLED}
  ${EndIf}
  ${If} $MultiUser.InstallMode == "CurrentUser"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $1 "すべてのユーザー"
  ${Else}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $1 "このユーザー"
  ${EndIf}
  ${If} $0 != ""
    MessageBox MB_ICONSTOP "$1に入れた ${PRODUCT} が $0 にあります。先にそれを削除してください。" /SD IDOK
    !insertmacro Stop ${STATUS_OTHER_INSTALLED}
  ${EndIf}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${If} $1 == 1
      MessageBox MB_ICONSTOP "${PRODUCT} $0 が入っています。それより古い ${VERSION} は入れられません。" /SD IDOK
      !insertmacro Stop ${STATUS_NEWER_INSTALLED}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro RegistryView
  !insertmacro MULTIUSER_INIT
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    Call MultiUser.InstallMode.CurrentUser
  ${Else}
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $R1
    ; A silent setup installs for everyone unless told otherwise: a
    ; deployment without the rights fails rather than installing for
    ; whichever account ran it.
    ${IfNot} ${Errors}
    ${OrIf} ${Silent}
      !insertmacro RequireAdmin "すべてのユーザーに ${PRODUCT} を入れる"
      Call MultiUser.InstallMode.AllUsers
    ${EndIf}
  ${EndIf}
  Call CheckInstalled
  !insertmacro WaitWhileRunning
FunctionEnd

Section
  ; For whom may have changed on its page; started while the pages were
  ; shown? Both checked again before anything changes.
  Call CheckInstalled
  !insertmacro WaitWhileRunning

  ; An installed version is removed first by its own uninstaller, run in its
  ; folder, so nothing of it lingers that this version's uninstaller would
  ; not know; the user's files in Documents are not its to touch. If it
  ; fails, this setup stops before installing anything. `_?=` keeps the
  ; uninstallers of 0.1, NSIS's own, from returning before they are done.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
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
  WriteRegStr SHCTX "${APP_PATHS_KEY}" "" "${PROGRAM}"
  WriteRegStr SHCTX "${APP_PATHS_KEY}" "Path" "$INSTDIR\bin"

  ; What the Windows settings page and inventory tools read.
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${MAJOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${MINOR}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Comments" "健康指導の表と計算"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallDate" "$2$1$0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "${PROGRAM},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

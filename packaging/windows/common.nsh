; SPDX-License-Identifier: GPL-3.0-or-later
; What the setup (yomorisu.nsi) and the uninstaller (uninstall.nsi) share:
; the names, the registry keys and the exit statuses an administrator's
; deployment reads, and the wait for a running ヨモリス.
; Installed for all users, the keys are under HKLM and the shortcut in every
; user's Start menu; for one user (no administrator rights needed), under
; HKCU and in that user's: SHCTX and the shell folders follow
; SetShellVarContext.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; Elevated for an administrator; as they are for a user without the rights,
; who can install for themselves alone.
RequestExecutionLevel highest
ManifestDPIAware true
ManifestSupportedOS all
; A file that cannot be written stops the setup instead of being skipped
; over an old one.
AllowSkipFiles off

!include LogicLib.nsh

!define PRODUCT "ヨモリス"
!define PROGRAM "$INSTDIR\bin\yomorisu.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.yomorisu.Yomorisu"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\yomorisu.exe"
; The MSI's, which marks every version of it (packaging/windows/msi.py).
!define MSI_UPGRADE_CODE "{5D0F6E2A-8C1B-4B7E-9A63-2F4C7D8E1B90}"
; The program holds it while it runs (src/system/runninginstance.h).
!define RUNNING_MUTEX "Global\jp.yomorisu.Yomorisu"

; Exit statuses besides NSIS's own (0 done, 1 cancelled, 2 stopped by an
; error); README lists them for administrators.
!define STATUS_RUNNING 3
!define STATUS_NEWER_INSTALLED 4
!define STATUS_NOT_ADMIN 5
!define STATUS_OLD_UNINSTALL_FAILED 6
!define STATUS_OTHER_INSTALLED 7
!define STATUS_FILES_LEFT 8

; The 64-bit registry: a 64-bit setup is refused by a 32-bit Windows itself.
!macro RegistryView
  SetRegView 64
!macroend

!macro Stop status
  SetErrorLevel ${status}
  Quit
!macroend

; Returns while ヨモリス is not running; asks to end it (再試行 / キャンセル)
; while it is. Cancelled, or silent, it stops with STATUS_RUNNING before
; anything is changed. The mutex is another user's when it cannot be opened
; for lack of rights: running too.
!macro WaitWhileRunning
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT}が起動しています。終了してから［再試行］を押してください。" /SD IDCANCEL IDRETRY +2
    !insertmacro Stop ${STATUS_RUNNING}
  ${Loop}
!macroend

!macro RequireAdmin what
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP "${what}には、管理者の権限が要ります。管理者として実行してください。" /SD IDOK
    !insertmacro Stop ${STATUS_NOT_ADMIN}
  ${EndIf}
!macroend

!macro FileProperties description
  VIProductVersion "${VERSION4}"
  VIFileVersion "${VERSION4}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PRODUCT}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${description}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
  VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "GPL-3.0-or-later"
!macroend

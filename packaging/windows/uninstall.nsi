; SPDX-License-Identifier: GPL-3.0-or-later
; ヨモリス's uninstaller, uninstall.exe in the folder the setup installed.
; It is a program of its own rather than NSIS's uninstaller, which runs a
; copy of itself from the temporary folder and ends at once with status 0
; whatever the copy then does: deployment tools and the setup read this
; one's status. scripts/package.sh --windows builds it before the setup:
;   makensis -INPUTCHARSET UTF8 -DVERSION=0.1 -DVERSION4=0.1.0.0
;            -DUNFILES=unfiles.nsh -DUNFOLDERS=unfolders.nsh -DICON=yomorisu.ico
;            -DOUTFILE=uninstall.exe uninstall.nsi
; /S removes without a window. It stops with nothing removed while ヨモリス
; runs, and keeps the uninstall entry when a file could not be removed, so
; that it can be run again. The setup runs it with /replacing before it
; installs in the same folder: this one then leaves itself for the setup to
; overwrite.

!include "common.nsh"
!include MUI2.nsh
!include FileFunc.nsh

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} の削除"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
!define MUI_ICON "${ICON}"
!define MUI_PAGE_HEADER_TEXT "${PRODUCT} の削除"
!define MUI_PAGE_HEADER_SUBTEXT "${PRODUCT} をこのコンピューターから削除します。"
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "削除が終わりました"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT ""
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro FileProperties "${PRODUCT} ${VERSION} の削除"

Var finishing
Var removed
Var thisUser

; The uninstaller and its folder go once this process has ended: a copy in
; the temporary folder removes them.
Function StartFinishing
  CopyFiles /SILENT "$EXEPATH" "$TEMP\yomorisu-uninstall.exe"
  Exec '"$TEMP\yomorisu-uninstall.exe" /S /finish="$INSTDIR"'
FunctionEnd

; With its window, when the user closes it.
Function .onGUIEnd
  ${If} $removed == 1
    Call StartFinishing
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro RegistryView
  ; What it removes is beside it: this user's installation if this user's
  ; entry names its folder, else the one for all users.
  StrCpy $INSTDIR $EXEDIR
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $thisUser 1
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/finish=" $R1
  ${IfNot} ${Errors}
    StrCpy $finishing $R1
    Return
  ${EndIf}
  ${If} $thisUser != 1
    !insertmacro RequireAdmin "${PRODUCT} を削除する"
  ${EndIf}
  !insertmacro WaitWhileRunning
  ${If} ${Silent}
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION "${PRODUCT} をこのコンピューターから削除しますか？$\r$\n（ドキュメントの表などはそのまま残ります。）" IDYES +2
  !insertmacro Stop 1
FunctionEnd

Section
  ; The last step, run by StartFinishing's copy: the uninstaller and its
  ; folder, once the uninstaller has ended (within 10 s).
  ${If} $finishing != ""
    ${ForEach} $0 1 100 + 1
      Delete "$finishing\uninstall.exe"
      ${IfNot} ${FileExists} "$finishing\uninstall.exe"
        ${Break}
      ${EndIf}
      Sleep 100
    ${Next}
    RMDir "$finishing"
    Delete /REBOOTOK "$EXEPATH"
    Return
  ${EndIf}

  ; Ended while the pages were shown? Checked again before anything goes.
  !insertmacro WaitWhileRunning
  Delete "${SHORTCUT}"
  ; File by file what the setup installed, then each folder only once it is
  ; empty: whatever else someone put there stays.
  ClearErrors
  !include "${UNFILES}"
  ${If} ${Errors}
    ; The entry stays, so the uninstaller can be run again.
    MessageBox MB_ICONSTOP "削除できないファイルがありました。${PRODUCT} を終了してから、もう一度削除してください。" /SD IDOK
    !insertmacro Stop ${STATUS_FILES_LEFT}
  ${EndIf}
  !include "${UNFOLDERS}"
  DeleteRegKey SHCTX "${APP_PATHS_KEY}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/replacing" $R1
  ${If} ${Errors}
    StrCpy $removed 1
    ${If} ${Silent}
      Call StartFinishing
    ${EndIf}
  ${EndIf}
SectionEnd

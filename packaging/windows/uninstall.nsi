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
  !insertmacro PerMachine
  ; What it removes is beside it.
  StrCpy $INSTDIR $EXEDIR
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/finish=" $R1
  ${IfNot} ${Errors}
    StrCpy $finishing $R1
    Return
  ${EndIf}
  !insertmacro RequireAdmin "${PRODUCT} を削除する"
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
  DeleteRegKey HKLM "${APP_PATHS_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

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

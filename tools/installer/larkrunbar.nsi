; The larkRunBar installer. tools/package.sh compiles it with makensis and passes:
;   VERSION  the program's version, four numbers (1.0.0.1)
;   SOURCE   the folder holding LarkB.exe, larkb.icl, LarkB.ini and the language packs
;   OUTFILE  the installer to write
;   ICON     the program's icon, for the installer and uninstaller
;   EDITION  optional: a word shown after the name ("single-byte")
; Installed for all users under Program Files\larkRunBar. The uninstaller removes exactly the
; files, shortcuts and registry values listed here; the user's data file (in the roaming
; application data folder) and settings (HKCU\Software\Tarvo\Lark-RunBar) stay.

; A 64-bit installer for a 64-bit program: its paths and registry views are the program's.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!macro LARK_NEEDS NAME
  !ifndef ${NAME}
    !error "makensis needs /D${NAME}=..."
  !endif
!macroend
!insertmacro LARK_NEEDS VERSION
!insertmacro LARK_NEEDS SOURCE
!insertmacro LARK_NEEDS OUTFILE
!insertmacro LARK_NEEDS ICON

!define APP "larkRunBar"
!ifdef EDITION
  !define TITLE "${APP} ${VERSION} (${EDITION} edition)"
!else
  !define TITLE "${APP} ${VERSION}"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${APP}"
Caption "${TITLE} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${TITLE} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "larkRunBar developers"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\LarkB.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${APP} has been removed"
!define MUI_FINISHPAGE_TEXT "The program files, the Start-menu shortcut and the log-on start \
  are removed.$\r$\n$\r$\nYour buttons and categories (the data file LarkB_U.tdb in \
  $APPDATA\Tarvo\LarkRunBar) and your settings (HKEY_CURRENT_USER\Software\Tarvo\Lark-RunBar) \
  are kept, so a later installation finds them again. Delete them yourself if you no longer \
  want them."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "${APP}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${SOURCE}\LarkB.exe"
  File "${SOURCE}\larkb.icl"
  File "${SOURCE}\LarkB.ini"
  File "${SOURCE}\LarkB.DEU"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\LarkB.exe" "" "$INSTDIR\LarkB.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\LarkB.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "larkRunBar developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless the user ticks it (and never in a silent installation).
Section /o "Start ${APP} when I log on" SecLogOn
  WriteRegStr HKLM "${RUN_KEY}" "${APP}" '"$INSTDIR\LarkB.exe"'
SectionEnd

Section "Uninstall"
  ; A running bar would keep its program file.
  FindWindow $0 "" "larkRunBar "
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Please close ${APP} first, then run the uninstaller again." /SD IDOK
    Abort
  ${EndIf}
  Delete "$INSTDIR\LarkB.exe"
  Delete "$INSTDIR\larkb.icl"
  Delete "$INSTDIR\LarkB.ini"
  Delete "$INSTDIR\LarkB.DEU"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: anything the user put there stays.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"

  DeleteRegValue HKLM "${RUN_KEY}" "${APP}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

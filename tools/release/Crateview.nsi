; The Crateview installer: finds the player's folder, puts the plugin into its Plugins folder and
; the language packs where the plugin looks for them, and leaves an uninstaller beside the player
; that takes away exactly those files and never the user's settings, cache or playlists.
;
; Built by the `release` target, which passes VERSION, VERSION_QUAD, PLUGIN_DLL, PACKS_NSH (the
; generated list of language packs) and OUT_FILE on makensis's command line.

Unicode true
ManifestDPIAware true
; The player usually lives under Program Files, which only an administrator may write.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be replaced (the player still holding the old plugin) must stop the
; installation rather than leave an old plugin beside new language packs.
AllowSkipFiles off

!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include MUI2.nsh

!include "PlayerFacts.nsh"

!define PRODUCT "Crateview"
!define PLUGIN_NAME "gen_cv.dll"
!define UNINSTALLER "Uninstall ${PRODUCT}.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The plugin reads its language packs only from its own folder under the user's documents.
!define PACKS_FOLDER "$DOCUMENTS\${PRODUCT}\lang"
!define BASE_FOLDER "$DOCUMENTS\${PRODUCT}"

; Exit codes of a silent run that changed nothing.
!define EXIT_NOT_PLAYER_FOLDER 2
!define EXIT_PLAYER_RUNNING 3
; The uninstaller could not remove the plugin: it stops with everything still in place.
!define EXIT_PLUGIN_IN_USE 4

!include "${PACKS_NSH}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"

!define MUI_ABORTWARNING
!define MUI_PAGE_HEADER_TEXT "Choose ${PLAYER_NAME}'s folder"
!define MUI_PAGE_HEADER_SUBTEXT "${PRODUCT} ${VERSION} is installed into ${PLAYER_NAME}'s Plugins folder."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Choose the folder ${PLAYER_NAME} is installed in (the one holding ${PLAYER_EXE}). ${PRODUCT} goes into its Plugins folder."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "${PLAYER_NAME} folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeavePlayerFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Start ${PLAYER_NAME}, open ${PRODUCT} from its menu, right-click the empty space of the tree and choose Insert root, then Folder, to add your music."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Closing the player is asked for, never forced: it may hold unsaved playlists. A silent run
; has nobody to ask and stops instead.
!macro DefineClosePlayer UN
Function ${UN}ClosePlayer
  ${Do}
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 == 0
      Return
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "${PLAYER_NAME} is running. ${PRODUCT} can only be installed or removed while it is closed.$\n$\nPress OK to close ${PLAYER_NAME}, or Cancel to stop here." /SD IDCANCEL IDOK close
    SetErrorLevel ${EXIT_PLAYER_RUNNING}
    Quit
  close:
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ; The player may take a moment to save and go; ask again if it is still there after that.
    StrCpy $1 0
    ${DoWhile} $1 < 40
      Sleep 250
      IsWindow $0 0 gone
      IntOp $1 $1 + 1
    ${Loop}
  gone:
  ${Loop}
FunctionEnd
!macroend
!insertmacro DefineClosePlayer ""
!insertmacro DefineClosePlayer "un."

; $0: a folder as the registry holds it; out $0 without a trailing backslash.
Function TrimBackslash
  ${DoWhile} $0 != ""
    StrCpy $1 $0 1 -1
    ${If} $1 != "\"
      Return
    ${EndIf}
    StrCpy $0 $0 -1
  ${Loop}
FunctionEnd

; $0: the player's uninstall command, quoted or not; out $0: the folder of its program.
Function FolderOfCommand
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  ${GetParent} $0 $0
FunctionEnd

; Out $0: the player's folder the registry names, or "" when no named folder holds the player.
; The player records its folder as the default value of its own key; an installation that
; never ran for this user has only its uninstall entry, whose InstallLocation names the folder
; when present and whose UninstallString names a program inside it otherwise.
Function FindPlayerFolder
  ReadRegStr $0 HKCU "${PLAYER_KEY}" ""
  Call TrimBackslash
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${PLAYER_EXE}"
    Return
  ${EndIf}
  ReadRegStr $0 HKLM "${PLAYER_UNINSTALL_KEY}" "InstallLocation"
  Call TrimBackslash
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${PLAYER_EXE}"
    Return
  ${EndIf}
  ReadRegStr $0 HKLM "${PLAYER_UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    Call FolderOfCommand
    ${If} ${FileExists} "$0\${PLAYER_EXE}"
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $0 ""
FunctionEnd

Function .onInit
  ; /D= on the command line has already set the folder; otherwise look it up.
  ${If} $INSTDIR == ""
    Call FindPlayerFolder
    ${If} $0 == ""
      StrCpy $0 "$PROGRAMFILES\${PLAYER_NAME}"
    ${EndIf}
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    SetErrorLevel ${EXIT_NOT_PLAYER_FOLDER}
    Quit
  ${EndIf}
FunctionEnd

Function LeavePlayerFolderPage
  ${IfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$INSTDIR does not hold ${PLAYER_EXE}.$\n$\nChoose the folder ${PLAYER_NAME} is installed in."
    Abort
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  Call ClosePlayer
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=${PLUGIN_NAME}" "${PLUGIN_DLL}"
  SetOutPath "${PACKS_FOLDER}"
  !insertmacro InstallLanguagePacks
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR\Plugins" "/M=${PLUGIN_NAME} /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.ClosePlayer
  ; A plugin some program still holds cannot go; saying it went would leave a plugin nobody
  ; can uninstall any more, so the uninstaller and its entry stay for another try.
  Delete "$INSTDIR\Plugins\${PLUGIN_NAME}"
  ${If} ${FileExists} "$INSTDIR\Plugins\${PLUGIN_NAME}"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Plugins\${PLUGIN_NAME} could not be removed.$\n$\nClose every program that uses it and run the uninstaller again." /SD IDOK
    SetErrorLevel ${EXIT_PLUGIN_IN_USE}
    Quit
  ${EndIf}
  !insertmacro RemoveLanguagePacks
  ; Only folders left empty go: the plugin keeps its settings and cache beside them.
  RMDir "${PACKS_FOLDER}"
  RMDir "${BASE_FOLDER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

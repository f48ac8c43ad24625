; The Windows installer of Propdesk, in Japanese. scripts/package-windows.sh runs makensis on it with
;   VERSION       the project's version (0.31), and VERSION_QUAD the same in four numbers (0.31.0.0)
;   ARCH          x86_64 or i686: the programs' architecture, and the installer's own
;   STAGE         the folder holding propdesk.exe, propdesk-native2ascii.exe and propdesk.ico
;   HOMEPAGE      the project's home page
;   OUTFILE       the installer to write
; It installs for the current user into %LOCALAPPDATA%\Programs\Propdesk without administrator
; rights, or for all users into Program Files after the system asks for them. Command line:
;   /S            silent; /AllUsers for all users; /AddToPath puts the folder on PATH;
;   /D=FOLDER     another installation folder (last, unquoted, as NSIS wants it)
; The uninstaller removes what the installer made and keeps the editor's settings key.

!define PRODUCT Propdesk
!define PUBLISHER Orvandi
!define EDITOR propdesk.exe
!define CONVERTER propdesk-native2ascii.exe
!define UNINSTALLER uninstall.exe
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The file type the installer registers: offered in "Open with", never made the default.
!define PROGID "${PRODUCT}.properties"
!define EXTENSION_KEY "Software\Classes\.properties"

!if ${ARCH} == x86_64
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
ManifestDPIAware true
Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=1041 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1041 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1041 FileDescription "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 ProductVersion "${VERSION}"
; Like the programs' own version information, the installer's names no copyright holder.
!pragma warning disable 9100

; Per user unless /AllUsers is given; the all-users choice on the first page starts an elevated
; copy of the installer with /AllUsers, so the system asks for administrator rights only then.
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!define MULTIUSER_INSTALLMODE_FUNCTION OnInstallMode
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.OnInstallMode
!if ${ARCH} == x86_64
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define MUI_ICON "${STAGE}\propdesk.ico"
!define MUI_UNICON "${STAGE}\propdesk.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
Page custom InstallModePage InstallModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Unlocks the language file's texts of the install-mode choice, which InstallModePage shows.
!define MULTIUSER_INSTALLMODEPAGE
!insertmacro MUI_LANGUAGE Japanese

LangString AllUsersNote ${LANG_JAPANESE} "(管理者の承認が必要です)"
LangString PropertiesFileType ${LANG_JAPANESE} "Java プロパティ ファイル"
LangString ProgramsSection ${LANG_JAPANESE} "${PRODUCT} (エディターと propdesk-native2ascii)"
LangString PathSection ${LANG_JAPANESE} "propdesk-native2ascii のフォルダーを PATH に追加する"
LangString PathTooLong ${LANG_JAPANESE} "環境変数 PATH が長すぎるため、変更しませんでした。$\r$\n$\r$\n次のフォルダーを手動で PATH に追加してください:$\r$\n$INSTDIR"
LangString ElevationRefused ${LANG_JAPANESE} "管理者の承認が得られなかったため、すべてのユーザーに対する処理を中止しました。"

; Where the install mode keeps PATH, and what the uninstaller must be told to find the same mode.
Var EnvironmentKey
Var ModeArgument

!macro SET_MODE_DETAILS
  ${If} $MultiUser.InstallMode == AllUsers
    StrCpy $EnvironmentKey "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
    StrCpy $ModeArgument " /AllUsers"
  ${Else}
    StrCpy $EnvironmentKey "Environment"
    StrCpy $ModeArgument ""
  ${EndIf}
!macroend
Function OnInstallMode
  !insertmacro SET_MODE_DETAILS
FunctionEnd
Function un.OnInstallMode
  !insertmacro SET_MODE_DETAILS
FunctionEnd

; Tells running programs (Explorer, new consoles) that PATH and the file types changed.
!macro ANNOUNCE_CHANGES
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  System::Call "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)" ; SHCNE_ASSOCCHANGED
!macroend

Section "$(ProgramsSection)" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\${EDITOR}"
  File "${STAGE}\${CONVERTER}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EDITOR}"

  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "$(PropertiesFileType)"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\${EDITOR},0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\${EDITOR}" "%1"'
  WriteRegNone SHCTX "${EXTENSION_KEY}\OpenWithProgids" "${PROGID}"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\${EDITOR},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" URLInfoAbout "${HOMEPAGE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"$ModeArgument'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\${UNINSTALLER}"$ModeArgument /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section /o "$(PathSection)" SecPath
  Call AddToPath
SectionEnd

Section -Announce
  !insertmacro ANNOUNCE_CHANGES
SectionEnd

; Asked to install or uninstall for all users without administrator rights (so it is when Apps &
; features starts the uninstaller of an all-users installation), the program starts itself again
; with them, with the same parameters; the system asks the person first. The uninstaller runs from
; a temporary copy that needs the installation folder named with _?=.
!macro ELEVATE_FOR_ALL_USERS UN
  ${${UN}GetParameters} $R0
  ClearErrors
  ${${UN}GetOptions} $R0 /AllUsers $R1
  ${IfNot} ${Errors}
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != Admin
      !if "${UN}" == "un."
        StrCpy $R0 "$R0 _?=$INSTDIR"
      !endif
      !insertmacro RUN_ELEVATED $R0
      Quit
    ${EndIf}
  ${EndIf}
!macroend

; Starts this program with administrator rights; when the person refuses, says so and sets the
; error flag.
!macro RUN_ELEVATED PARAMETERS
  ClearErrors
  ExecShell runas "$EXEPATH" "${PARAMETERS}"
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "$(ElevationRefused)" /SD IDOK
    SetErrors
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ELEVATE_FOR_ALL_USERS ""
  ; A folder given with /D= comes before the install mode's default.
  StrCpy $3 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $3 != ""
    StrCpy $INSTDIR $3
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 /AddToPath $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPath} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; The choice between this user and all users, shown unless /AllUsers already made it.
Var AllUsersButton
Function InstallModePage
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 /AllUsers $1
  ${IfNot} ${Errors}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT $(MULTIUSER_TEXT_INSTALLMODE_TITLE) $(MULTIUSER_TEXT_INSTALLMODE_SUBTITLE)
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "$(MULTIUSER_INNERTEXT_INSTALLMODE_TOP)"
  Pop $0
  ${NSD_CreateRadioButton} 15u 50u -15u 12u "$(MULTIUSER_INNERTEXT_INSTALLMODE_CURRENTUSER)"
  Pop $0
  ${NSD_Check} $0
  ${NSD_CreateRadioButton} 15u 70u -15u 12u "$(MULTIUSER_INNERTEXT_INSTALLMODE_ALLUSERS) $(AllUsersNote)"
  Pop $AllUsersButton
  nsDialogs::Show
FunctionEnd

Function InstallModePageLeave
  ${NSD_GetState} $AllUsersButton $0
  ${If} $0 <> ${BST_CHECKED}
    Return
  ${EndIf}
  ${If} $MultiUser.Privileges == Admin
    Call MultiUser.InstallMode.AllUsers
    Return
  ${EndIf}
  !insertmacro RUN_ELEVATED /AllUsers
  ${If} ${Errors}
    Abort
  ${EndIf}
  Quit
FunctionEnd

; Reads PATH of the install mode into $0. Sets the error flag when PATH exists but is longer than
; this installer's strings hold: written back, a cut-off copy would lose the rest.
!macro READ_PATH UN
Function ${UN}ReadPath
  ClearErrors
  ReadRegStr $0 SHCTX $EnvironmentKey Path
  ${IfNot} ${Errors}
    Return
  ${EndIf}
  ; Absent is not an error; present but unreadable is.
  ClearErrors
  StrCpy $1 0
  ${Do}
    EnumRegValue $2 SHCTX $EnvironmentKey $1
    ${If} $2 == ""
      StrCpy $0 ""
      Return
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $2 == Path
  SetErrors
FunctionEnd
!macroend
!insertmacro READ_PATH ""
!insertmacro READ_PATH un.

; Appends the installation folder to PATH unless it is on it already.
Function AddToPath
  Call ReadPath
  StrCpy $1 ${NSIS_MAX_STRLEN}
  ${IfNot} ${Errors}
    StrLen $1 $0
    StrLen $2 $INSTDIR
    IntOp $1 $1 + $2
  ${EndIf}
  ${If} $1 >= ${NSIS_MAX_STRLEN}
    MessageBox MB_ICONEXCLAMATION "$(PathTooLong)" /SD IDOK
    Return
  ${EndIf}
  Push $0
  Call PathWithoutInstallFolder
  Pop $1
  ${If} $1 != $0
    Return
  ${EndIf}
  ${If} $0 == ""
    WriteRegExpandStr SHCTX $EnvironmentKey Path "$INSTDIR"
  ${Else}
    ; One separator, whether or not PATH already ends with one.
    StrCpy $1 $0 1 -1
    ${If} $1 == ";"
      StrCpy $0 $0 -1
    ${EndIf}
    WriteRegExpandStr SHCTX $EnvironmentKey Path "$0;$INSTDIR"
  ${EndIf}
FunctionEnd

; Takes a PATH from the stack and gives back the same PATH without the entries naming the
; installation folder (compared without regard to case, with or without a final backslash).
!macro PATH_WITHOUT_INSTALL_FOLDER UN
Function ${UN}PathWithoutInstallFolder
  Exch $0 ; the PATH
  Push $1 ; the result
  Push $2 ; the entry being read
  Push $3 ; the character at hand
  Push $4 ; the separator before the next kept entry: none before the first
  StrCpy $1 ""
  StrCpy $2 ""
  StrCpy $4 ""
  ${Do}
    StrCpy $3 $0 1
    StrCpy $0 $0 "" 1
    ${If} $3 == ";"
    ${OrIf} $3 == ""
      ${If} $2 != $INSTDIR
      ${AndIf} $2 != "$INSTDIR\"
        StrCpy $1 "$1$4$2"
        StrCpy $4 ";"
      ${EndIf}
      StrCpy $2 ""
    ${Else}
      StrCpy $2 "$2$3"
    ${EndIf}
  ${LoopUntil} $3 == ""
  StrCpy $0 $1
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro PATH_WITHOUT_INSTALL_FOLDER ""
!insertmacro PATH_WITHOUT_INSTALL_FOLDER un.

Function un.RemoveFromPath
  Call un.ReadPath
  ${If} ${Errors}
  ${OrIf} $0 == ""
    Return
  ${EndIf}
  Push $0
  Call un.PathWithoutInstallFolder
  Pop $1
  ${If} $1 == $0
    Return
  ${ElseIf} $1 == ""
    DeleteRegValue SHCTX $EnvironmentKey Path
  ${Else}
    WriteRegExpandStr SHCTX $EnvironmentKey Path $1
  ${EndIf}
FunctionEnd

!macro DELETE_KEY_IF_EMPTY KEY
  EnumRegKey $0 SHCTX "${KEY}" 0
  ${If} $0 == ""
    DeleteRegKey /ifnovalues SHCTX "${KEY}"
  ${EndIf}
!macroend

Function un.onInit
  !insertmacro ELEVATE_FOR_ALL_USERS un.
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Removes only what the installer made: the editor's settings under Software\Orvandi\Propdesk stay,
; and so does any file the person put into the installation folder.
Section Uninstall
  Delete "$INSTDIR\${EDITOR}"
  Delete "$INSTDIR\${CONVERTER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegValue SHCTX "${EXTENSION_KEY}\OpenWithProgids" "${PROGID}"
  ; Other programs' entries (values, subkeys) keep these keys.
  !insertmacro DELETE_KEY_IF_EMPTY "${EXTENSION_KEY}\OpenWithProgids"
  !insertmacro DELETE_KEY_IF_EMPTY "${EXTENSION_KEY}"

  Call un.RemoveFromPath
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro ANNOUNCE_CHANGES
SectionEnd

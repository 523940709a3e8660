; The setup program of KorvoScreenQuill for 64-bit Windows 10 and 11, made by
; scripts/package-windows.sh with makensis:
;   makensis -DVERSION=4.0 -DSTAGE=<installed files> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> installer.nsi
; STAGE holds the files as `cmake --install` puts them; FILES is written by the script from that
; folder and defines the macros InstallFiles and UninstallFiles, so that the uninstaller removes
; exactly the files the setup program put there and nothing the user keeps in the same folder.
;
; It installs for the current user (no administrator needed) or for all users, adds a Start-menu
; entry, offers the program under "Open with" for .set and .lset files without taking the default
; away from a program that holds it, and registers an uninstaller with Windows. Silent use:
;   KorvoScreenQuill-4.0-setup.exe /S [/CurrentUser | /AllUsers] [/D=C:\Folder\Of\Choice]
;   uninstall.exe /S

Target amd64-unicode
SetCompressor /SOLID lzma
SetCompressorDictSize 32
RequestExecutionLevel user

!define APP "KorvoScreenQuill"
!define EXE "korvoscreenquill.exe"
!define PROGID "KorvoScreenQuill.Layout"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION KeepChosenFolder
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include WinVer.nsh
!include FileFunc.nsh

!include "${FILES}"

!define MUI_ICON "${__FILEDIR__}/korvoscreenquill.ico"
!define MUI_UNICON "${__FILEDIR__}/korvoscreenquill.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${APP} developers"
VIAddVersionKey "LegalCopyright" "See LICENSE.txt"

; The folder given with /D=, which the install mode's own default must not replace.
Var ChosenFolder

Function .onInit
  ${IfNot} ${RunningX64}
  ${OrIfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "${APP} needs 64-bit Windows 10 or 11." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  SetRegView 64
  StrCpy $ChosenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

; Called whenever the install mode sets its default folder.
Function KeepChosenFolder
  ${If} $ChosenFolder != ""
    StrCpy $INSTDIR $ChosenFolder
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${APP}" Main
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  ; "Open with": a file type of its own, offered for both extensions beside whatever program
  ; opens them by default.
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${APP} screen layout"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
  WriteRegStr SHCTX "Software\Classes\.set\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\.lset\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\Applications\${EXE}" "FriendlyAppName" "${APP}"
  WriteRegStr SHCTX "Software\Classes\Applications\${EXE}\SupportedTypes" ".set" ""
  WriteRegStr SHCTX "Software\Classes\Applications\${EXE}\SupportedTypes" ".lset" ""
  WriteRegStr SHCTX "Software\Classes\Applications\${EXE}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'

  ; Apps & features.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${APP} developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Explorer reads the file types again.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Removes a registry key that holds no value (not even a default) and no key.
!macro RemoveKeyIfUnused KEY
  ClearErrors
  ReadRegStr $1 SHCTX "${KEY}" ""
  ${If} ${Errors}
    EnumRegValue $2 SHCTX "${KEY}" 0
    EnumRegKey $3 SHCTX "${KEY}" 0
    ${If} $2 == ""
    ${AndIf} $3 == ""
      DeleteRegKey /ifempty SHCTX "${KEY}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP}.lnk"

  ; Only what the setup program added: another program's default for .set or .lset stays, and
  ; so does any key that holds something else.
  DeleteRegValue SHCTX "Software\Classes\.set\OpenWithProgids" "${PROGID}"
  !insertmacro RemoveKeyIfUnused "Software\Classes\.set\OpenWithProgids"
  !insertmacro RemoveKeyIfUnused "Software\Classes\.set"
  DeleteRegValue SHCTX "Software\Classes\.lset\OpenWithProgids" "${PROGID}"
  !insertmacro RemoveKeyIfUnused "Software\Classes\.lset\OpenWithProgids"
  !insertmacro RemoveKeyIfUnused "Software\Classes\.lset"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "Software\Classes\Applications\${EXE}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

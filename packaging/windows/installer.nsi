; The Windows installer. makensis gets from CMake: PRODUCT, VERSION, VERSION4 (four numbers),
; WINDOW_EXE, CONVERT_EXE, ICON and OUTFILE.
;
; By default it installs for the current user, without administrator rights. /ALLUSERS on the
; command line (or the choice on the first page) installs for all users, which needs them.
; /PATH (or the component) puts the converter on the user's PATH; /DEFAULT makes the program
; the default for .gpx files. It never takes over .gpx without being asked.

; A 64-bit installer for 64-bit programs: it sees the registry and Program Files as they do.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include StrFunc.nsh
${StrStr}
${UnStrStr}
${UnStrRep}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define PROGID "${PRODUCT}.gpx"
!define ENV_USER "Environment"
!define ENV_ALL "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvola.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var AllUsers

Section "!${PRODUCT} (the window and the converter)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=tarvola.exe" "${WINDOW_EXE}"
  SetOutPath "$INSTDIR\bin"
  File "/oname=tarvola-convert.exe" "${CONVERT_EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tarvola.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvola.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; "Open with" only: the user's default program for .gpx stays what it was.
Section "Open with ${PRODUCT} for .gpx files" SecOpenWith
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "GPS Exchange file"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tarvola.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\tarvola.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.gpx\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\Applications\tarvola.exe" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "Software\Classes\Applications\tarvola.exe\SupportedTypes" ".gpx" ""
  WriteRegStr SHCTX "Software\Classes\Applications\tarvola.exe\shell\open\command" "" '"$INSTDIR\tarvola.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\SystemFileAssociations\.gpx\shell\${PRODUCT}" "" "Open with ${PRODUCT}"
  WriteRegStr SHCTX "Software\Classes\SystemFileAssociations\.gpx\shell\${PRODUCT}" "Icon" "$INSTDIR\tarvola.exe,0"
  WriteRegStr SHCTX "Software\Classes\SystemFileAssociations\.gpx\shell\${PRODUCT}\command" "" \
    '"$INSTDIR\tarvola.exe" "%1"'
SectionEnd

Section /o "Make ${PRODUCT} the default program for .gpx files" SecDefault
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "GPS Exchange file"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\tarvola.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.gpx" "" "${PROGID}"
SectionEnd

Section /o "Add tarvola-convert to the PATH" SecPath
  Call PathKey
  Pop $1
  ReadRegStr $0 SHCTX "$1" "Path"
  ${StrStr} $2 ";$0;" ";$INSTDIR\bin;"
  ${If} $2 == ""
    ${If} $0 == ""
      StrCpy $0 "$INSTDIR\bin"
    ${Else}
      StrCpy $0 "$0;$INSTDIR\bin"
    ${EndIf}
    WriteRegExpandStr SHCTX "$1" "Path" "$0"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}
SectionEnd

Function PathKey
  ${If} $AllUsers == 1
    Push "${ENV_ALL}"
  ${Else}
    Push "${ENV_USER}"
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $AllUsers 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/PATH" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecPath} ${SF_SELECTED}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/DEFAULT" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecDefault} ${SF_SELECTED}
  ${EndIf}
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_ICONSTOP "Installing ${PRODUCT} for all users needs administrator rights: \
        run the setup as administrator, or install it for yourself alone." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    SetShellVarContext all
    ; A /D= on the command line has already set the folder and wins.
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; The uninstaller removes only what the installer wrote, for the users it was installed for.
Var UnAllUsers

Function un.onInit
  StrCpy $UnAllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $UnAllUsers 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\tarvola.exe"
  Delete "$INSTDIR\bin\tarvola-convert.exe"
  RMDir "$INSTDIR\bin"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The default for .gpx is given back only if it is still ours.
  ReadRegStr $0 SHCTX "Software\Classes\.gpx" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.gpx" ""
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\.gpx\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.gpx\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.gpx"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "Software\Classes\Applications\tarvola.exe"
  DeleteRegKey SHCTX "Software\Classes\SystemFileAssociations\.gpx\shell\${PRODUCT}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.gpx\shell"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.gpx"

  ${If} $UnAllUsers == 1
    StrCpy $1 "${ENV_ALL}"
  ${Else}
    StrCpy $1 "${ENV_USER}"
  ${EndIf}
  ReadRegStr $0 SHCTX "$1" "Path"
  ${UnStrStr} $2 ";$0;" ";$INSTDIR\bin;"
  ${If} $2 != ""
    ${UnStrRep} $0 ";$0;" ";$INSTDIR\bin;" ";"
    ; Back without the separators added around it above.
    StrCpy $0 $0 "" 1
    StrCpy $0 $0 -1
    ${If} $0 == ""
      DeleteRegValue SHCTX "$1" "Path"
    ${Else}
      WriteRegExpandStr SHCTX "$1" "Path" "$0"
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
  ${EndIf}

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

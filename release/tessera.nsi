; The Tessera setup program: per-user or per-machine install, Start-menu
; entries, an uninstaller listed in Add/Remove Programs and the optional
; association of .btl boot files with the server.
; scripts/package.sh compiles it with these defines:
;   VERSION  release version (x.y.z)      STAGE  the release folder packed
;   FILES    the generated file list      OUTFILE  the setup program written
;   ICON     (optional) the server's icon
; Command line: /S silent; /CurrentUser (the default) or /AllUsers;
; /ASSOCIATE selects the .btl association (for silent installs);
; /D=<folder> (last) installs there. The uninstaller takes /S.

Unicode true
!define PRODUCT "Tessera"
!define PUBLISHER "The Tessera project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessera"
!define BOOT_FILE_CLASS "Tessera.BootFile"
!define MENU "$SMPROGRAMS\Tessera"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "Tessera"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include "${FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
ShowInstDetails show
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Tessera project contributors. MIT licence."

!ifdef ICON
  !define MUI_ICON "${ICON}"
!endif
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tessera (required)" SecMain
  SectionIn RO
  !insertmacro TESSERA_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${MENU}"
  CreateShortcut "${MENU}\Tessera server.lnk" "$INSTDIR\tessel.exe"
  CreateShortcut "${MENU}\Tessera demo on the emulated board.lnk" "$INSTDIR\tessel-demo.cmd" "" \
                 "$INSTDIR\tessel.exe" 0 SW_SHOWMINIMIZED
  CreateShortcut "${MENU}\Read me.lnk" "$INSTDIR\README.txt"
  CreateShortcut "${MENU}\Uninstall Tessera.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Open .btl boot files with the server" SecAssociate
  WriteRegStr SHCTX "Software\Classes\.btl" "" "${BOOT_FILE_CLASS}"
  WriteRegStr SHCTX "Software\Classes\${BOOT_FILE_CLASS}" "" "Transputer boot file"
  WriteRegStr SHCTX "Software\Classes\${BOOT_FILE_CLASS}\DefaultIcon" "" "$INSTDIR\tessel.exe,0"
  WriteRegStr SHCTX "Software\Classes\${BOOT_FILE_CLASS}\shell\open\command" "" '"$INSTDIR\tessel.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'   ; SHCNE_ASSOCCHANGED
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "The server, the board libraries, mantle.dll and the demo."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociate} "Double-clicking a .btl boot file starts the server with it."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Var GivenFolder

Function .onInit
  ; MultiUser sets the folder of the chosen mode; a folder given with /D= wins.
  StrCpy $GivenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $GivenFolder != ""
    StrCpy $INSTDIR $GivenFolder
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ASSOCIATE" $2
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAssociate}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  ; Remove what the install wrote, in the mode it was installed in, whatever
  ; the command line says: a per-machine install lists this folder in HKLM.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.AllUsers
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro TESSERA_UNINSTALL_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${MENU}\Tessera server.lnk"
  Delete "${MENU}\Tessera demo on the emulated board.lnk"
  Delete "${MENU}\Read me.lnk"
  Delete "${MENU}\Uninstall Tessera.lnk"
  RMDir "${MENU}"

  ; The extension is left alone when another program has taken it since.
  ReadRegStr $0 SHCTX "Software\Classes\.btl" ""
  ${If} $0 == "${BOOT_FILE_CLASS}"
    DeleteRegKey SHCTX "Software\Classes\.btl"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${BOOT_FILE_CLASS}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

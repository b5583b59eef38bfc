; Scanlet's Windows installer. Built by tools/windows/package.sh:
;   makensis -DVERSION=1.14 -DSTAGE=dist/Scanlet-1.14-win64 -DOUTFILE=... scanlet.nsi
; Installs for the current user (no administrator rights needed) or for every user of the
; machine, with a Start-menu entry and an uninstaller; the Russian interface is a choice.
Unicode true
SetCompressor /SOLID lzma

!define APP "Scanlet"
!define PUBLISHER "Tarnwell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
; Kept with the uninstall entry: Software\Tarnwell\Scanlet holds the user's report details.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"

!define MUI_ICON "${STAGE}\tarnwell.ico"
!define MUI_UNICON "${STAGE}\tarnwell.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\scanlet.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString SecProgram ${LANG_ENGLISH} "Scanlet"
LangString SecProgram ${LANG_RUSSIAN} "Scanlet"
LangString SecRussian ${LANG_ENGLISH} "Russian interface"
LangString SecRussian ${LANG_RUSSIAN} "Русский интерфейс"
LangString Only64 ${LANG_ENGLISH} "Scanlet needs 64-bit Windows."
LangString Only64 ${LANG_RUSSIAN} "Для Scanlet нужна 64-разрядная Windows."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "$(Only64)"
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "$(SecProgram)" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r /x russian "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\scanlet.exe" "" "$INSTDIR\tarnwell.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scanlet.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(SecRussian)" SecRussianUi
  SetOutPath "$INSTDIR"
  File "${STAGE}\russian\scanlet_ru.qm"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP}.lnk"
  ; Only what the installer put there: the program's folder may hold a remembered save folder.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\printsupport"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\images"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.htm"
  Delete "$INSTDIR\*.qm"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\TARNWELL_logo_bw.bmp"
  Delete "$INSTDIR\tarnwell.ico"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\scanlet_savedir"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

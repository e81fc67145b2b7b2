; Kelvaran's installer, built by makensis from the build (packaging/CMakeLists.txt passes the defines):
;   VERSION      the release number, such as 0.11      VERSION_QUAD  the same as four numbers, 0.11.0.0
;   SOURCE_DIR   the source tree (for the icon)        FILES_DIR     Kelvaran.exe, Kelvaran.chm, kelvaran-scan.exe
;   OUTFILE      the installer to write
;
; Installs the three files for all users under Program Files when it may (an administrator), else for the
; current user under the user's programs folder; /AllUsers and /CurrentUser choose on the command line and
; /S runs silently. Adds a Start menu shortcut, the entry in the system's list of installed programs, and
; the .klv association (a program identifier with the program's icon and the open command). The
; uninstaller removes all of that; the user's settings go only when asked (a component on its page, or
; /REMOVESETTINGS when silent).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Kelvaran"
!define PROGID "Kelvaran.DataFile"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaran"
!define SETTINGS_KEY "SOFTWARE\Tervanic\Kelvaran"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "Tervanic"
VIAddVersionKey "LegalCopyright" "Written by the Tervanic developers."

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; The uninstaller finds the mode it was installed in by where this value is (HKLM or HKCU).
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define MUI_ICON "${SOURCE_DIR}/res/Kelvaran.ico"
!define MUI_UNICON "${SOURCE_DIR}/res/Kelvaran.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kelvaran.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Kelvaran will be removed from this computer. Tick the box to remove your own Kelvaran settings (window places, view options, recent folders) as well."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Also remove:"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Section "Kelvaran" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES_DIR}/Kelvaran.exe"
  File "${FILES_DIR}/Kelvaran.chm"
  File "${FILES_DIR}/kelvaran-scan.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Kelvaran.exe" "" "$INSTDIR\Kelvaran.exe" 0

  ; The association, under HKLM or HKCU as the install mode chose (SHCTX).
  WriteRegStr SHCTX "Software\Classes\.klv" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\.klv\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Kelvaran data file"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\Kelvaran.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\Kelvaran.exe" "%1"'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kelvaran.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tervanic"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Explorer re-reads the associations (icons of .klv files) now, not at the next logon.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "-un.Program"
  Delete "$INSTDIR\Kelvaran.exe"
  Delete "$INSTDIR\Kelvaran.chm"
  Delete "$INSTDIR\kelvaran-scan.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The extension stays another program's when it was taken over since.
  DeleteRegValue SHCTX "Software\Classes\.klv\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.klv\OpenWithProgids"
  ReadRegStr $0 SHCTX "Software\Classes\.klv" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.klv" ""
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "Software\Classes\.klv"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Unselected unless asked for: settings outlive a reinstall.
Section /o "un.My settings" SecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "SOFTWARE\Tervanic"
SectionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSettings}
  ${EndIf}
FunctionEnd

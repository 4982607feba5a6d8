; The Windows installer of Salt Fang: puts the game into Program Files, adds a Start-menu shortcut
; (a desktop one on request) and an uninstaller that Windows lists among the installed programs.
; The player's settings and high scores (%APPDATA%\saltfang) are theirs: the uninstaller keeps them.
;
; scripts/windows/package builds it; makensis gets everything that changes as defines:
;   VERSION          the game's version, e.g. 1.0.0 or 1.0.0+5.gab44ca3
;   VERSION_NUMBERS  four numbers for Windows' version fields, e.g. 1.0.0.0
;   INPUT_DIR        the program folder as it is installed (the installed build's saltfang.exe,
;                    its DLLs, Data\, sound\, font.ttf, moregames.url)
;   REMOVE_LIST      a script of Delete and RMDir lines for every file and folder of INPUT_DIR
;   ICON             the game's icon (.ico)
;   OUTFILE          the installer to write

!macro REQUIRE_DEFINE NAME
  !ifndef ${NAME}
    !error "define ${NAME} with -D${NAME}=..."
  !endif
!macroend
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE VERSION_NUMBERS
!insertmacro REQUIRE_DEFINE INPUT_DIR
!insertmacro REQUIRE_DEFINE REMOVE_LIST
!insertmacro REQUIRE_DEFINE ICON
!insertmacro REQUIRE_DEFINE OUTFILE

; The game is a 64-bit program, so is its installer: it needs no 32-bit layer under Wine, and
; Program Files and the registry are the 64-bit ones without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestSupportedOS all
ManifestDPIAware true

!define PRODUCT "Salt Fang"
!define PUBLISHER "The Salt Fang developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SaltFang"
!define UNINSTALLER "Uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=0 "OriginalFilename" "saltfang-${VERSION}-setup.exe"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "${PRODUCT}" SecGame
  SectionIn RO
  ; An earlier version in the same place goes first, so no file it had and this one has not stays
  ; behind. _?= keeps its uninstaller in place until it is done.
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
    Delete "$INSTDIR\${UNINSTALLER}"
  ${EndIf}

  SetOutPath "$INSTDIR"
  File /r "${INPUT_DIR}/*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the game in its own folder; the game finds its data there by itself anyway.
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\saltfang.exe" "" "$INSTDIR\saltfang.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\saltfang.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\saltfang.exe" "" "$INSTDIR\saltfang.exe" 0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  ; Exactly what the installer put there: whatever else the folder holds is not ours to delete.
  !include "${REMOVE_LIST}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

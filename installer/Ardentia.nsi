; Per-user installer for Ardentia: no administrator rights, installs under the user's local programs
; folder, adds a Start menu shortcut and an entry in the user's list of installed programs.
; makensis -DVERSION=x.y.z -DPROGRAM_DIR=<folder with Ardentia.exe and HAND-M.CUR> -DICON_FILE=<.ico>
;          -DOUT_FILE=<setup.exe> [-DWIN64_PROGRAM] Ardentia.nsi
; With WIN64_PROGRAM the installer is itself a 64-bit program and installs the 64-bit build.
; Silent: Setup.exe /S, Uninstall.exe /S. The uninstaller keeps the settings unless
; "Remove my settings" is ticked (interactive) or /REMOVESETTINGS is given (silent).
Unicode true
!ifdef WIN64_PROGRAM
Target amd64-unicode
!endif
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ardentia"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Ardentia"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Ardentia"
Icon "${ICON_FILE}"
UninstallIcon "${ICON_FILE}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Ardentia"
VIAddVersionKey "CompanyName" "Kestrovan"
VIAddVersionKey "FileDescription" "Ardentia setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Kestrovan"

!include "FileFunc.nsh"
!include "Sections.nsh"

Page directory
Page instfiles
UninstPage components
UninstPage instfiles

Section "Ardentia"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${PROGRAM_DIR}/Ardentia.exe"
  File "${PROGRAM_DIR}/HAND-M.CUR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Ardentia"
  CreateShortcut "$SMPROGRAMS\Ardentia\Ardentia.lnk" "$INSTDIR\Ardentia.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ardentia"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kestrovan"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ardentia.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "un.Ardentia" SecProgram
  SectionIn RO
  SetShellVarContext current
  Delete "$INSTDIR\Ardentia.exe"
  Delete "$INSTDIR\HAND-M.CUR"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Ardentia\Ardentia.lnk"
  RMDir "$SMPROGRAMS\Ardentia"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The start-with-Windows values the program wrote; the machine-wide one only where the user may, in both
  ; registry views: the 32-bit build writes the 32-bit one, and an upgrade may have left its value there.
  DeleteRegValue HKCU "${RUN_KEY}" "Ardentia.exe"
  SetRegView 64
  DeleteRegValue HKLM "${RUN_KEY}" "Ardentia.exe"
  SetRegView 32
  DeleteRegValue HKLM "${RUN_KEY}" "Ardentia.exe"
  SetRegView default
SectionEnd

Section /o "un.Remove my settings" SecSettings
  DeleteRegKey HKCU "Software\Kestrovan\Ardentia"
  DeleteRegKey /ifempty HKCU "Software\Kestrovan"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  IfErrors +2
  SectionSetFlags ${SecSettings} ${SF_SELECTED}
FunctionEnd

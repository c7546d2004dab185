; Installer of Quillet for the current user: no administrator rights, and the
; program folder stays writable for the INI file beside the program.
; makensis -DVERSION=x.y.z -DSTAGE=folder -DOUTFILE=file quillet.nsi
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

Name "Quillet ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillet"
InstallDirRegKey HKCU "Software\Quillet" "InstallDir"

!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quillet"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quillet.exe"
  File "${STAGE}\ZESCIN.DLL"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\LICENSE-Scintilla.txt"
  File "${STAGE}\LICENSE-Lexilla.txt"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\examples\hello-freebasic.bas"
  File "${STAGE}\examples\hello-freebasic.res"
  File "${STAGE}\examples\hello-powerbasic.bas"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Quillet"
  CreateShortcut "$SMPROGRAMS\Quillet\Quillet.lnk" "$INSTDIR\Quillet.exe"
  CreateShortcut "$SMPROGRAMS\Quillet\Uninstall Quillet.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "Software\Quillet" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "Quillet ${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Vandrell"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

; Removes the program files and nothing else: the INI file, the keyword files
; and every listing stay, the examples too (a user may have worked in them),
; and so does the folder when anything is left in it.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Quillet.exe"
  Delete "$INSTDIR\ZESCIN.DLL"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\LICENSE-Scintilla.txt"
  Delete "$INSTDIR\LICENSE-Lexilla.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Quillet\Quillet.lnk"
  Delete "$SMPROGRAMS\Quillet\Uninstall Quillet.lnk"
  RMDir "$SMPROGRAMS\Quillet"
  DeleteRegKey HKCU "${UNINSTKEY}"
  DeleteRegKey HKCU "Software\Quillet"
SectionEnd

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

; "Open with Quillet" for Basic listings, for this user only. Quillet is
; offered beside whatever program opens these files; the default stays that
; program's, so the extension keys' own values are never written. Explorer
; finds Quillet two ways: through our ProgID named in each extension's
; OpenWithProgids, and through the application key, whose SupportedTypes list
; the same extensions (it also names Quillet when the user picks it from the
; full list of programs).
!define CLASSES "Software\Classes"
!define PROGID "Quillet.BasicListing"
!define APPKEY "${CLASSES}\Applications\Quillet.exe"
!define OPENCOMMAND '"$INSTDIR\Quillet.exe" "%1"'
!define SHCNE_ASSOCCHANGED 0x08000000
!define SHCNF_IDLIST 0

; The uninstaller removes an extension's OpenWithProgids key and the
; extension key itself only when nothing else is left in them. DeleteRegKey
; /ifempty looks at the values only since NSIS 3.06; before, it would take
; another program's default value with the key.
!if ${NSIS_PACKEDVERSION} < 0x03006000
  !error "NSIS 3.06 or later is needed: DeleteRegKey /ifempty must spare keys that hold values"
!endif

!macro OPENWITH EXT
  WriteRegNone HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${PROGID}"
  WriteRegStr HKCU "${APPKEY}\SupportedTypes" "${EXT}" ""
!macroend

; Our value goes; the keys only if they held nothing but it.
!macro UNOPENWITH EXT
  DeleteRegValue HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}"
!macroend

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

  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "BASIC listing"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" '"$INSTDIR\Quillet.exe",0'
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '${OPENCOMMAND}'
  WriteRegStr HKCU "${APPKEY}" "FriendlyAppName" "Quillet"
  WriteRegStr HKCU "${APPKEY}\shell\open\command" "" '${OPENCOMMAND}'
  !insertmacro OPENWITH ".bas"
  !insertmacro OPENWITH ".bi"
  !insertmacro OPENWITH ".inc"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i ${SHCNF_IDLIST}, p 0, p 0)'
SectionEnd

; Removes the program files and what the installer registered, nothing else:
; the INI file, the keyword files and every listing stay, the examples too (a
; user may have worked in them), and so does the folder when anything is left
; in it; another program's values under the extension keys stay as they are.
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

  !insertmacro UNOPENWITH ".bas"
  !insertmacro UNOPENWITH ".bi"
  !insertmacro UNOPENWITH ".inc"
  DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  DeleteRegKey HKCU "${APPKEY}"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i ${SHCNF_IDLIST}, p 0, p 0)'
SectionEnd

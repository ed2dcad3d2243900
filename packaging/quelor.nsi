; The Windows installer: the programs, quelor.exe, the user guide and the
; licence under Program Files, Start-menu entries per instrument.
; makensis -DVERSION=... -DSOURCE=<unpacked folder> -DOUTFILE=... quelor.nsi
Unicode true
Name "Quelor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quelor"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro Instrument FOLDER ZELKO QYN
  CreateDirectory "$SMPROGRAMS\Quelor\${FOLDER}"
  CreateShortcut "$SMPROGRAMS\Quelor\${FOLDER}\${ZELKO}.lnk" "$INSTDIR\${ZELKO}.exe"
  CreateShortcut "$SMPROGRAMS\Quelor\${FOLDER}\${QYN}.lnk" "$INSTDIR\${QYN}.exe"
!macroend

Section "Quelor"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\*.exe"
  File "${SOURCE}\user-guide.txt"
  File "${SOURCE}\licence.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  !insertmacro Instrument "EM31-MK2" "Zelko31" "Qyn31"
  !insertmacro Instrument "EM38" "Zelko38" "Qyn38"
  !insertmacro Instrument "EM34-3" "Zelko34-3" "Qyn34-3"
  !insertmacro Instrument "EM38-MK2" "Zelko38MK2" "Qyn38MK2"
  !insertmacro Instrument "EM38-4" "Zelko38-4" "Qyn38-4"
  !insertmacro Instrument "DualEM CS-21" "ZelkoCS-21" "QynCS-21"
  !insertmacro Instrument "Grad601" "Zelko601" "Qyn601"
  !insertmacro Instrument "EM61-LX2" "Zelko61LX2" "Qyn61LX2"
  !insertmacro Instrument "EM61-MK2" "Zelko61MK2" "Qyn61MK2"
  CreateShortcut "$SMPROGRAMS\Quelor\User guide.lnk" "$INSTDIR\user-guide.txt"
  CreateShortcut "$SMPROGRAMS\Quelor\Uninstall.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  RMDir /r "$SMPROGRAMS\Quelor"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\user-guide.txt"
  Delete "$INSTDIR\licence.txt"
  RMDir "$INSTDIR"
SectionEnd

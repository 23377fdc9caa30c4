; The Windows installer: the programs, the help book and the licence in the
; user's own program folder (no administrator needed, as the programs need
; none), Start-menu entries, and an uninstaller that leaves the settings,
; the log and the waiting mails in %LOCALAPPDATA%\Vigilon.
; makensis -DVERSION=1.0 -DSTAGE=DIR -DOUTFILE=FILE [-DWITH_RAVELIN] vigilon.nsi
; 64-bit like the programs it installs (and so Wine64 runs it in the tests).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vigilon"

Name "Vigilon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vigilon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${STAGE}\LICENSE.txt"

Section "Vigilon"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\vigilon.exe"
!ifdef WITH_RAVELIN
  File "${STAGE}\ravelin.exe"
!endif
  File "${STAGE}\vigilon.htb"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The menu starts Vigilon with the user's own data folder.
  CreateDirectory "$SMPROGRAMS\Vigilon"
  CreateShortCut "$SMPROGRAMS\Vigilon\Vigilon.lnk" "$INSTDIR\vigilon.exe" "--user-data" \
    "$INSTDIR\vigilon.exe" 0
!ifdef WITH_RAVELIN
  CreateShortCut "$SMPROGRAMS\Vigilon\Ravelin.lnk" "$INSTDIR\ravelin.exe" "" "$INSTDIR\ravelin.exe" 0
!endif
  CreateShortCut "$SMPROGRAMS\Vigilon\Uninstall Vigilon.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vigilon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vigilon.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the user's data lives elsewhere and stays.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Vigilon\Vigilon.lnk"
  Delete "$SMPROGRAMS\Vigilon\Ravelin.lnk"
  Delete "$SMPROGRAMS\Vigilon\Uninstall Vigilon.lnk"
  RMDir "$SMPROGRAMS\Vigilon"
  Delete "$INSTDIR\vigilon.exe"
  Delete "$INSTDIR\ravelin.exe"
  Delete "$INSTDIR\vigilon.htb"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

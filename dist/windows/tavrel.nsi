; The Windows installer of Tavrel Wizard: both programs, the help page, the
; licence and the example registry settings in one folder, a Start-menu entry
; for the wizard, and an uninstaller listed under Add/Remove Programs. The
; example settings are imported only when their component is chosen. Silent
; with /S (install and uninstall alike).
; makensis -DVERSION=1.2.3 -DSTAGE=<folder> -DOUTFILE=<setup.exe> tavrel.nsi
; where the folder holds the release zip's files (cmake --install build/windows
; --prefix <folder> --strip).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Tavrel Wizard"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrelWizard"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show

Page license
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

LicenseData "${STAGE}\LICENSE"

Section "${PRODUCT}" SectionProgram
  SectionIn RO
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "${STAGE}\tavrel.exe"
  File "${STAGE}\tavrel-wizard.exe"
  File "${STAGE}\tavrel-wizard.html"
  File "/oname=LICENSE.txt" "${STAGE}\LICENSE"
  File "${STAGE}\windows-example.reg"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tavrel-wizard.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavrel-wizard.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless chosen: the example names folders this machine may not have.
Section /o "Import the example web server settings" SectionExample
  ExecWait '"$WINDIR\regedit.exe" /S "$INSTDIR\windows-example.reg"'
SectionEnd

Section "Uninstall"
  SetRegView 64
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\tavrel.exe"
  Delete "$INSTDIR\tavrel-wizard.exe"
  Delete "$INSTDIR\tavrel-wizard.html"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\windows-example.reg"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The shop's installer: the two programs, the read-me and the alias template, into the
; folder of the printer maker's libraries (the programs bind them from their own folder).
; Built by tools/release.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DSTAGE=<files> -DOUTFILE=<exe> KaloraNFP.nsi
Unicode true
!include "MUI2.nsh"

Name "Kalora PDV NFP ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "C:\Varnex\PDV"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KaloraNFP"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Escolha a pasta onde estão as bibliotecas do fabricante da impressora (BEMAFI32.DLL, BemaMFD.dll, BemaMFD2.dll). O programa procura essas bibliotecas na própria pasta."

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

Section "Kalora PDV NFP"
  ; Every user of the machine gets the shortcuts.
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\KaloraNFP.exe"
  File "${STAGE}\kalora-nfp.exe"
  File "${STAGE}\LEIA-ME.txt"
  ; The shop's own alias file is never replaced.
  SetOverwrite off
  File "${STAGE}\kalora-aliases.ini"
  SetOverwrite on

  IfFileExists "$INSTDIR\BEMAFI32.DLL" +2
    MessageBox MB_ICONEXCLAMATION|MB_OK "Não encontrei BEMAFI32.DLL em $INSTDIR. Copie as bibliotecas do fabricante da impressora para esta pasta antes de abrir o programa."

  WriteUninstaller "$INSTDIR\Desinstalar-KaloraNFP.exe"
  ; The shortcut starts in the program's folder: the work files are made in the current folder.
  CreateDirectory "$SMPROGRAMS\Kalora PDV NFP"
  CreateShortCut "$SMPROGRAMS\Kalora PDV NFP\Kalora PDV NFP.lnk" "$INSTDIR\KaloraNFP.exe"
  CreateShortCut "$SMPROGRAMS\Kalora PDV NFP\Leia-me.lnk" "$INSTDIR\LEIA-ME.txt"
  CreateShortCut "$SMPROGRAMS\Kalora PDV NFP\Desinstalar.lnk" "$INSTDIR\Desinstalar-KaloraNFP.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kalora PDV NFP"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Desinstalar-KaloraNFP.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the printer maker's libraries, the shop's alias file and
; the generated files in C:\Varnex\PDV\NFP stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\KaloraNFP.exe"
  Delete "$INSTDIR\kalora-nfp.exe"
  Delete "$INSTDIR\LEIA-ME.txt"
  Delete "$INSTDIR\Desinstalar-KaloraNFP.exe"
  Delete "$SMPROGRAMS\Kalora PDV NFP\Kalora PDV NFP.lnk"
  Delete "$SMPROGRAMS\Kalora PDV NFP\Leia-me.lnk"
  Delete "$SMPROGRAMS\Kalora PDV NFP\Desinstalar.lnk"
  RMDir "$SMPROGRAMS\Kalora PDV NFP"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The sample game's setup: installs Star Duel with ZelInterstitial.dll, registers the
; library once every file is in place, and removes all of it again.
;
;   makensis -DVERSION=1.0.1.6 -DBIN=FOLDER -DOUTFILE=setup.exe sample-setup.nsi
;
; BIN (an absolute path: makensis works in this script's folder) holds the game's
; ZelInterstitial.dll and sample_game.exe; `make installer` passes the shipped 32-bit build
; and the version in include/ZelInterstitial.h. -DX64 builds the setup of a 64-bit game (BIN
; holding the 64-bit build): the 64-bit Program Files, the 64-bit registry view, and
; registration through the 64-bit regsvr32, since the setup itself is a 32-bit program and
; cannot load a 64-bit DLL.
;
; Silent: setup.exe /S [/D=C:\Any Folder]   (/D= comes last and is not quoted)
; The uninstaller: uninstall.exe [/S]; it copies itself away and waits for nothing unless
; started as uninstall.exe _?=INSTALL-FOLDER (then the caller deletes it afterwards).

Unicode true
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!ifndef VERSION | BIN | OUTFILE
  !error "usage: makensis -DVERSION=W.X.Y.Z -DBIN=FOLDER -DOUTFILE=FILE [-DX64] sample-setup.nsi"
!endif
!define PUBLISHER "Sample Studio"
!define GAME "Star Duel"
!define DLL "ZelInterstitial.dll"
!define EXE "sample_game.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PUBLISHER} ${GAME}"
; What DllRegisterServer writes: the DLL's full path.
!define REG_KEY "Software\Pellago\Preferences"
!define REG_VALUE "ZelInterstitialDLL"
; Beside the uninstall entry's values: the top key under HKEY_CLASSES_ROOT that the first
; registration created ("" when it created none).
!define CREATED_KEY "CreatedRegistrationKey"
!define NOT_REGISTERED "Setup could not register $INSTDIR\${DLL}: the value ${REG_VALUE} of \
HKEY_CLASSES_ROOT\${REG_KEY} does not name it.$\r$\n${GAME} is not installed properly: \
remove it with its uninstaller and try again."

Name "${GAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!ifdef X64
  InstallDir "$PROGRAMFILES64\${PUBLISHER}\${GAME}"
!else
  InstallDir "$PROGRAMFILES\${PUBLISHER}\${GAME}"
!endif
VIProductVersion "${VERSION}"
VIAddVersionKey ProductName "${GAME}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${GAME} Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Registration (REGISTER) or unregistration (UNREGISTER) of the installed DLL; sets the error
; flag when the DLL cannot be loaded or called.
!macro CallDllServer ACTION
  ClearErrors
  !ifdef X64
    ${DisableX64FSRedirection}
    !if ${ACTION} == REGISTER
      ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${DLL}"' $0
    !else
      ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${DLL}"' $0
    !endif
    ${EnableX64FSRedirection}
    ${If} $0 != 0
      SetErrors
    ${EndIf}
  !else
    !if ${ACTION} == REGISTER
      RegDLL "$INSTDIR\${DLL}"      ; DllRegisterServer
    !else
      UnRegDLL "$INSTDIR\${DLL}"    ; DllUnregisterServer
    !endif
  !endif
!macroend

; $R1 = KEY, when $R1 is still empty and KEY is missing under HKEY_CLASSES_ROOT.
!macro FirstMissingKey KEY
  ${If} $R1 == ""
    ClearErrors
    EnumRegKey $0 HKCR "${KEY}" 0
    ${If} ${Errors}
      StrCpy $R1 "${KEY}"
    ${EndIf}
  ${EndIf}
!macroend

!macro Views
  SetShellVarContext all
  !ifdef X64
    SetRegView 64
  !endif
!macroend

Function .onInit
  !ifdef X64
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP|MB_OK "${GAME} needs a 64-bit Windows." /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  !endif
  !insertmacro Views
FunctionEnd

Function un.onInit
  !insertmacro Views
FunctionEnd

Section "${GAME}"
  ; Registration creates whichever of its keys are missing. The first install records the
  ; top one of those (or nothing), so that the uninstaller removes no key that was there before.
  ClearErrors
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "${CREATED_KEY}"
  ${If} ${Errors}
    StrCpy $R1 ""
    !insertmacro FirstMissingKey "Software"
    !insertmacro FirstMissingKey "Software\Pellago"
    !insertmacro FirstMissingKey "${REG_KEY}"
  ${EndIf}

  ; Every file first. Installing over an earlier install replaces its files in place.
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${BIN}/${DLL}"
  File "${BIN}/${EXE}"
  File "/oname=launch.ini" "../launch.ini"
  File "/oname=readme.txt" "readme.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${GAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  ; The entry in "Add or remove programs".
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${GAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "${CREATED_KEY}" "$R1"

  ; Then the registration, which must name this install's DLL. Each registration by the
  ; library rewrites the value, so an upgrade points it at the new DLL; a shorter value that
  ; other software wrote is left as it is, and counts as a failure here.
  !insertmacro CallDllServer REGISTER
  ReadRegStr $0 HKCR "${REG_KEY}" "${REG_VALUE}"
  ${If} ${Errors}
  ${OrIf} $0 != "$INSTDIR\${DLL}"
    MessageBox MB_ICONSTOP|MB_OK "${NOT_REGISTERED}" /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
SectionEnd

Section "Uninstall"
  ; Unregister first, while the DLL is there, and only when the value names this DLL (the
  ; value is shared: another game's registration is left alone). DeleteRegValue covers a DLL
  ; deleted by hand, which cannot unregister itself.
  ReadRegStr $0 HKCR "${REG_KEY}" "${REG_VALUE}"
  ${If} $0 == "$INSTDIR\${DLL}"
    !insertmacro CallDllServer UNREGISTER
    DeleteRegValue HKCR "${REG_KEY}" "${REG_VALUE}"
  ${EndIf}
  ; The keys that the first registration created go, when nothing else is in them.
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "${CREATED_KEY}"
  ${If} $1 != ""
    DeleteRegKey /ifempty HKCR "${REG_KEY}"
    ${If} $1 != "${REG_KEY}"
      DeleteRegKey /ifempty HKCR "Software\Pellago"
      ${If} $1 == "Software"
        DeleteRegKey /ifempty HKCR "Software"
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\${DLL}"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\launch.ini"   ; the library writes the portal's verdict into it
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"               ; only when empty: files the player made stay
  RMDir "$INSTDIR\.."            ; the folder above (by default the publisher's), when empty
  Delete "$SMPROGRAMS\${GAME}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

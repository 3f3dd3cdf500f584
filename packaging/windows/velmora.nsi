; The Windows installer: the game, its DLLs, data\ and licences under
; Program Files, a Start-menu shortcut that starts in the folder holding
; data\, and an uninstaller that removes exactly what was installed.
; makensis -DVERSION=... -DSTAGE=<folder to install> -DLISTS=<folder with
; uninstall-files.nsh and uninstall-dirs.nsh> -DOUTFILE=... velmora.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"

Name "Velmora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Velmora"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; The shortcut's working folder is the output path: the one with data\.
  CreateDirectory "$SMPROGRAMS\Velmora"
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Velmora\Velmora.lnk" "$INSTDIR\velmora.exe"
  CreateShortCut "$SMPROGRAMS\Velmora\Uninstall Velmora.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Velmora\Velmora.lnk"
  Delete "$SMPROGRAMS\Velmora\Uninstall Velmora.lnk"
  RMDir "$SMPROGRAMS\Velmora"
  ; Only our own files and folders: whatever else a player put there stays.
!include "${LISTS}/uninstall-files.nsh"
!include "${LISTS}/uninstall-dirs.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

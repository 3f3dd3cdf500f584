; The Windows installer: it shows the game's licence, puts the game, its
; DLLs, data\ and licences under Program Files, adds a Start-menu shortcut
; that starts in the folder holding data\, an entry in the system's list of
; programs with icon, version and publisher, and an uninstaller that removes
; exactly what was installed.
; makensis -DVERSION=... -DSTAGE=<folder to install> -DLISTS=<folder with
; uninstall-files.nsh and uninstall-dirs.nsh> -DICON=<velmora.ico>
; -DSIZE_KB=<size of the stage> -DOUTFILE=... velmora.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define PUBLISHER "Velmora developers"

Name "Velmora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora"
Icon "${ICON}"
UninstallIcon "${ICON}"
LicenseData "${STAGE}/LICENSE.txt"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Velmora"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Velmora ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence, see LICENSE.txt"

Page license
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
  CreateShortCut "$SMPROGRAMS\Velmora\Velmora.lnk" "$INSTDIR\velmora.exe" "" "$INSTDIR\velmora.exe" 0
  CreateShortCut "$SMPROGRAMS\Velmora\Uninstall Velmora.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
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

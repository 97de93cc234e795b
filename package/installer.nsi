; Tillwick-Setup: puts the plugin folder into the browser's Plugin\Tillwick,
; registers the plugin's COM class and leaves an uninstaller behind.
;
; makensis -DARCH=x86|amd64 -DVERSION=x.y.z -DSRC=<plugin folder>
;          -DFILES=<folder with the generated file lists> -DOUTFILE=<exe> installer.nsi
;
; Exit codes of a silent run (/S): 0 done; 2 stopped (the folder has no
; Maxthon.exe or Tillwick.dll is in use: nothing changed; a file that could not
; be written). Where the script stops by itself, the reason also goes to the
; standard error handle when the caller gave one.
Unicode true
!if "${ARCH}" == "amd64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define PRODUCT "Tillwick"
!define PUBLISHER "Tillwick authors"
!define BROWSER "Maxthon"
!define BROWSER_EXE "Maxthon.exe"
!define PLUGIN_SUBDIR "Plugin\Tillwick"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tillwick"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\${BROWSER_EXE}"
!define EXIT_NOT_INSTALLED 2

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The browser's folder is under Program Files and the class goes into HKLM.
RequestExecutionLevel admin
; A file that cannot be written stops the installation instead of being skipped.
AllowSkipFiles off
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var PluginDir
Var StopReason  ; shown under "Installation Aborted"

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, a plugin for the ${BROWSER} browser.$\r$\n$\r$\nPlease close ${BROWSER} before you continue.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "Choose the ${BROWSER} Folder"
!define MUI_PAGE_HEADER_SUBTEXT "Choose the folder in which ${BROWSER} is installed."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup installs ${PRODUCT} into the Plugin folder of ${BROWSER}. The folder below must be the one that holds ${BROWSER_EXE}; to choose another, click Browse."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "${BROWSER} folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE BrowserFolderLeave
!insertmacro MUI_PAGE_DIRECTORY
; Kept for the uninstaller's page too.
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "$StopReason"
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed in ${BROWSER}'s Plugin folder.$\r$\n$\r$\nStart ${BROWSER} and turn ${PRODUCT} on in its plugin list: its button appears in the plugins bar.$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings stay for a later installation unless you tick the box below."
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.HideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Stops with the reason: under the page's "Installation Aborted", in the
; details and on the standard error handle if there is one.
!macro StopWith prefix reason
  Push "${reason}"
  Call ${prefix}StopWith
!macroend
!define StopWith '!insertmacro StopWith ""'
!macro StopWithFunction prefix
Function ${prefix}StopWith
  Exch $0
  StrCpy $StopReason $0
  DetailPrint "$0"
  System::Call 'kernel32::GetStdHandle(i -12) p .r1'
  ${If} $1 P<> 0
  ${AndIf} $1 P<> -1
    StrLen $2 "$0$\r$\n"
    System::Call 'kernel32::WriteFile(p r1, m "$0$\r$\n", i r2, *i .r3, p 0)'
  ${EndIf}
  SetErrorLevel ${EXIT_NOT_INSTALLED}
  Abort
FunctionEnd
!macroend
!insertmacro StopWithFunction ""
!insertmacro StopWithFunction "un."

; Waits while $PluginDir\Tillwick.dll is loaded by a running browser: a
; loaded DLL cannot be opened for writing. Silent runs do not wait.
!macro WaitForDllFunction prefix
Function ${prefix}WaitForDll
  ${Do}
    ${IfNot} ${FileExists} "$PluginDir\Tillwick.dll"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $0 "$PluginDir\Tillwick.dll" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${BROWSER} is running and uses ${PRODUCT}.$\r$\n$\r$\nPlease close every ${BROWSER} window, then click Retry." /SD IDCANCEL IDRETRY retry
    !insertmacro StopWith "${prefix}" "${PRODUCT}.dll is in use by ${BROWSER}; nothing was changed."
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitForDllFunction ""
!insertmacro WaitForDllFunction "un."

; $0: the folder of the browser named by its App Paths entry, or "".
Function BrowserFromRegistry
  StrCpy $0 ""
  ${ForEach} $1 0 3 + 1
    ${If} $1 = 2
      ${IfNot} ${RunningX64}
        ${Break}
      ${EndIf}
      SetRegView 64
    ${EndIf}
    ${If} $1 = 0
    ${OrIf} $1 = 2
      ReadRegStr $2 HKLM "${APP_PATHS_KEY}" ""
    ${Else}
      ReadRegStr $2 HKCU "${APP_PATHS_KEY}" ""
    ${EndIf}
    ; The program's path, perhaps in quotes.
    StrCpy $3 $2 1
    ${If} $3 == '"'
      StrCpy $2 $2 "" 1
      StrCpy $2 $2 -1
    ${EndIf}
    ${If} $2 != ""
      ${GetParent} $2 $3
      ${If} ${FileExists} "$3\${BROWSER_EXE}"
        StrCpy $0 $3
        ${Break}
      ${EndIf}
    ${EndIf}
  ${Next}
  SetRegView default
FunctionEnd

Function .onInit
  ; /D= names the browser folder; without it the registry may.
  ${If} $INSTDIR == ""
    Call BrowserFromRegistry
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\${BROWSER}"
  ${EndIf}
FunctionEnd

Function BrowserFolderLeave
  ${IfNot} ${FileExists} "$INSTDIR\${BROWSER_EXE}"
    MessageBox MB_ICONEXCLAMATION|MB_OK "This folder does not hold ${BROWSER_EXE}:$\r$\n$INSTDIR$\r$\n$\r$\nPlease choose the folder in which ${BROWSER} is installed."
    Abort
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  SectionIn RO
  ; A silent run passes no page that checks the folder.
  ${IfNot} ${FileExists} "$INSTDIR\${BROWSER_EXE}"
    ${StopWith} "$INSTDIR does not hold ${BROWSER_EXE}; nothing was installed."
  ${EndIf}
  StrCpy $PluginDir "$INSTDIR\${PLUGIN_SUBDIR}"
  Call WaitForDll

  ; The DLL first, beside the old one, then swapped in whole: a failed or
  ; interrupted copy never leaves a torn Tillwick.dll.
  SetOutPath $PluginDir
  Delete "$PluginDir\Tillwick.dll.new"
  File "/oname=Tillwick.dll.new" "${SRC}\Tillwick.dll"
  System::Call 'kernel32::MoveFileExW(w "$PluginDir\Tillwick.dll.new", w "$PluginDir\Tillwick.dll", i 9) i .r0'
  ${If} $0 = 0
    Delete "$PluginDir\Tillwick.dll.new"
    ${StopWith} "${PRODUCT}.dll could not be replaced; the old one is unchanged."
  ${EndIf}
  !include "${FILES}\install-files.nsh"

  ClearErrors
  RegDLL "$PluginDir\Tillwick.dll"
  ${If} ${Errors}
    ${StopWith} "${PRODUCT}.dll could not register its COM class."
  ${EndIf}

  WriteUninstaller "$PluginDir\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (${BROWSER} plugin)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$PluginDir\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$PluginDir"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$PluginDir\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$PluginDir\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$PluginDir" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller lives in the plugin folder: $INSTDIR is that folder here.
Section "un.${PRODUCT}" UnSecPlugin
  SectionIn RO
  StrCpy $PluginDir $INSTDIR
  Call un.WaitForDll
  ClearErrors
  UnRegDLL "$INSTDIR\Tillwick.dll"
  Delete "$INSTDIR\Tillwick.dll"
  Delete "$INSTDIR\Tillwick.dll.new"
  !include "${FILES}\uninstall-files.nsh"
  ; The plugin's scratch files.
  Delete "$INSTDIR\temp"
  Delete "$INSTDIR\temp1"
  Delete "$INSTDIR\temp2"
  Delete "$INSTDIR\temp3"
  Delete "$INSTDIR\Tillwick.html"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Also remove my settings" UnSecSettings
  Delete "$INSTDIR\settings.ini"
  RMDir "$INSTDIR"
SectionEnd

; Removing needs no space: no "Space required" line.
Function un.HideSpaceRequired
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $0 $0 1023
  ShowWindow $0 ${SW_HIDE}
FunctionEnd

Function un.onInit
  ; /REMOVESETTINGS: the box ticked, for silent runs.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd

; The entry goes last, and only when the files went.
Function un.onUninstSuccess
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd

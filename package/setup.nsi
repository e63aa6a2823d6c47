; Wispfold's setup: a Japanese wizard that installs the program for the current user only, with no
; administrator rights, and an uninstaller that removes everything the setup wrote.
; Built by script/build-setup: makensis -WX -INPUTCHARSET UTF8 with what it shares with the
; program, taken from the program's sources: VERSION (its FILEVERSION, as 1.0.0.1), MAIN_CAPTION
; (its main dialog's caption), REFUSAL (its text for a system it cannot run on) and README_NAME;
; and with EXE (the release program), README (the read-me in code page 932) and OUTFILE.

Unicode true
SetCompressor /SOLID lzma

!ifndef VERSION | MAIN_CAPTION | REFUSAL | README_NAME | EXE | README | OUTFILE
  !error "define VERSION, MAIN_CAPTION, REFUSAL, README_NAME, EXE, README and OUTFILE (script/build-setup does)"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Wispfold"
!define PUBLISHER "Quenmarsh"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's main window: a dialog, found even while it is hidden in the notification area.
!define MAIN_CLASS "#32770"
; How long a running Wispfold may take to end (100 ms steps): it ends within about a second.
!define CLOSE_STEPS 100

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
; Per-user through and through: no elevation prompt on Vista, everything under HKCU and the
; user's own folders. The manifest this writes also keeps Vista from guessing that a program
; named "setup" wants an administrator.
RequestExecutionLevel user
XPStyle on
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

Var WasRunning ; 1 when a Wispfold was running before the setup ended it
Var IsVista ; 1 on Windows Vista (NT 6.0)

!define MUI_ICON "..\res\wispfold.ico"
!define MUI_UNICON "..\res\wispfold.ico"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
; No description box: the option's text gets the whole width of the list.
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Wispfold.exe"
!define MUI_FINISHPAGE_RUN_FUNCTION StartWispfold
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

LangString WelcomeText ${LANG_JAPANESE} "${PRODUCT} ${VERSION} をインストールします。$\r$\n$\r$\n\
  ${PRODUCT} は、Internet Explorer のウィンドウが開いていないときにクッキー ファイルを削除する、\
  通知領域に常駐するソフトです。$\r$\n$\r$\n\
  ログオンしているユーザーのためだけにインストールします。管理者の権限は必要ありません。\
  ${PRODUCT} が起動している場合は、いったん終了させ、インストールの後でもう一度起動します。$\r$\n$\r$\n$_CLICK"
LangString NotEnded ${LANG_JAPANESE} "${PRODUCT} を終了できませんでした。$\r$\n$\r$\n\
  ${PRODUCT} の開いている画面をすべて閉じ、通知領域の ${PRODUCT} のアイコンをクリックして「終了」を\
  選んでから、「再試行」を押してください。"

LangString Unsupported ${LANG_JAPANESE} "${REFUSAL}$\r$\n$\r$\n\
  ${PRODUCT} は Windows 2000、Windows XP、Windows Vista でお使いいただけます。何もインストールせずに終了します。"

; The program refuses every system but Windows 2000, XP and Vista (Windows NT 5.0, 5.1, 6.0) at
; each start, so the setup installs nothing elsewhere: it asks for the version as the program
; does (GetVersionExA, which a compatibility setting of the system answers for each program),
; before any page and before it writes anything, and ends with exit code 3.
Function RefuseUnsupportedSystem
  ; OSVERSIONINFOA: its size (148), major, minor, build, platform, then 128 bytes of text.
  System::Call '*(i 148, i, i, i, i, &m128) p .R0'
  System::Call 'kernel32::GetVersionExA(p R0)'
  System::Call '*$R0(i, i .R1, i .R2, i, i .R3)'
  System::Free $R0
  ${If} $R3 = 2 ; VER_PLATFORM_WIN32_NT
    ${If} $R1 = 5
    ${AndIf} $R2 <= 1
      Return
    ${ElseIf} $R1 = 6
    ${AndIf} $R2 = 0
      StrCpy $IsVista 1
      Return
    ${EndIf}
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "$(Unsupported)" /SD IDOK
  SetErrorLevel 3
  Quit
FunctionEnd

; Ends every running Wispfold the way its close box does (a dialog turns WM_CLOSE into IDCANCEL
; and the program ends) and waits until the window is gone and the installed program can be
; replaced, i.e. its process has exited. When it does not end, asks the user to end it; a silent
; run gives up with exit code 2.
!macro CLOSE_WISPFOLD UN
Function ${UN}CloseWispfold
  StrCpy $WasRunning 0
  retry:
  StrCpy $R0 0 ; steps waited
  StrCpy $R1 0 ; the window last asked to close: asked once only
  ${Do}
    FindWindow $R2 "${MAIN_CLASS}" "${MAIN_CAPTION}"
    ${If} $R2 <> 0
      StrCpy $WasRunning 1
      ${If} $R2 <> $R1
        ; Sent with a bound: a program that hangs must not hang the setup too.
        SendMessage $R2 ${WM_CLOSE} 0 0 /TIMEOUT=2000
        StrCpy $R1 $R2
      ${EndIf}
    ${ElseIfNot} ${FileExists} "$INSTDIR\Wispfold.exe"
      Return
    ${Else}
      ; A running program's file cannot be opened for writing: once it opens, the process is gone.
      ClearErrors
      FileOpen $R3 "$INSTDIR\Wispfold.exe" a
      ${IfNot} ${Errors}
        FileClose $R3
        Return
      ${EndIf}
    ${EndIf}
    ${If} $R0 >= ${CLOSE_STEPS}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(NotEnded)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
    Sleep 100
    IntOp $R0 $R0 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_WISPFOLD ""
!insertmacro CLOSE_WISPFOLD "un."

; Adds the size of file $1 in bytes to $0.
Function AddFileSize
  ClearErrors
  FileOpen $R0 $1 r
  ${IfNot} ${Errors}
    FileSeek $R0 0 END $R1
    FileClose $R0
    IntOp $0 $0 + $R1
  ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecMain
  SectionIn RO
  Call CloseWispfold
  SetOutPath "$INSTDIR"
  File "/oname=Wispfold.exe" "${EXE}"
  File "/oname=${README_NAME}" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Wispfold.lnk" "$INSTDIR\Wispfold.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\読んでください.lnk" "$INSTDIR\${README_NAME}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Wispfold のアンインストール.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Wispfold.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ; In KiB, of the three files as installed.
  StrCpy $0 0
  StrCpy $1 "$INSTDIR\Wispfold.exe"
  Call AddFileSize
  StrCpy $1 "$INSTDIR\${README_NAME}"
  Call AddFileSize
  StrCpy $1 "$INSTDIR\uninstall.exe"
  Call AddFileSize
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Windows の起動時に ${PRODUCT} を起動する" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMSTARTUP\Wispfold.lnk" "$INSTDIR\Wispfold.exe"
SectionEnd

; The option off: no shortcut, also none an earlier install made.
Section "-StartupOff"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    Delete "$SMSTARTUP\Wispfold.lnk"
  ${EndIf}
SectionEnd

; Starts the installed Wispfold. A setup run as administrator on Vista has full rights, and so
; would a Wispfold it started: Vista would then keep the messages of programs with fewer rights
; from it (the new taskbar's notice after Explorer restarts, the WM_CLOSE of a later setup or of
; the uninstaller). The start is then handed to the user's shell: explorer.exe asked to open a
; file while the user's Explorer runs passes the request to that Explorer and ends, and that
; Explorer starts the program with its own token, the user's without full rights.
Function StartWispfold
  StrCpy $R0 0
  ${If} $IsVista = 1
    System::Call 'shell32::IsUserAnAdmin() i .R0'
  ${EndIf}
  ${If} $R0 <> 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Wispfold.exe"'
  ${Else}
    Exec '"$INSTDIR\Wispfold.exe"'
  ${EndIf}
FunctionEnd

Section "-Restart"
  ${If} $WasRunning = 1
    SetOutPath "$INSTDIR"
    Call StartWispfold
  ${EndIf}
SectionEnd

Function .onInit
  Call RefuseUnsupportedSystem
  SetShellVarContext current
  ; An upgrade keeps the Startup shortcut as the user left it: the option starts ticked only
  ; when the shortcut is there. A first install offers it ticked.
  ReadRegStr $R0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $R0 != ""
  ${AndIfNot} ${FileExists} "$SMSTARTUP\Wispfold.lnk"
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
  ; /STARTUP puts the shortcut in the Startup folder, /NOSTARTUP takes it out (and wins over
  ; /STARTUP); the wizard then starts with the option so.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/STARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOSTARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; The setup has already started again the Wispfold it ended: no offer to start a second one.
Function FinishShow
  ${If} $WasRunning = 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  Call un.CloseWispfold
  ; The folder may be removed only when no process has it as its current folder.
  SetOutPath "$TEMP"
  Delete "$INSTDIR\Wispfold.exe"
  Delete "$INSTDIR\${README_NAME}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}\Wispfold.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\読んでください.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Wispfold のアンインストール.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$SMSTARTUP\Wispfold.lnk"
  ; The program's own setting; the publisher's key only when no other program of it is left.
  DeleteRegKey HKCU "Software\${PUBLISHER}\${PRODUCT}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  ; Never the whole folder: the user may have chosen one that holds other files.
  RMDir "$INSTDIR"
  ; Last, so that an entry in Add/Remove Programs means something is still installed.
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd

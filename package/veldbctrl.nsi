; The installer of veldbctrl: puts the program beside the veldbsrv server (the directory
; of the service's executable; when the service is not installed, a directory the
; operator chooses), starts it at logon for every user, and registers an uninstaller
; that takes all of it away again. Built by scripts/package, which passes VERSION,
; BIN32, BIN64 and OUTFILE, and TARGET amd64-unicode for the installer that runs only
; on 64-bit Windows.
Unicode true
!ifdef TARGET
    Target ${TARGET}
!endif
!include LogicLib.nsh
!include x64.nsh
!include WinMessages.nsh

!define PROGRAM "veldbctrl.exe"
!define UNINSTALLER "veldbctrl-uninstall.exe"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\veldbctrl"
!define SERVICE_KEY "SYSTEM\CurrentControlSet\Services\veldbsrv"
!define WINDOW_CAPTION "veldbsrv control program"
!define ID_EXIT 52775

Name "veldbctrl ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\veldb"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Hungarian.nlf"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1038 "ProductName" "veldbctrl"
VIAddVersionKey /LANG=1038 "FileDescription" "veldbsrv kontrol program telepítő"
VIAddVersionKey /LANG=1038 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1038 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1038 "LegalCopyright" ""

Var ServerDir

Page directory SkipDirectoryBesideServer
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; $0: a service image path -> the directory of its executable without the trailing
; separator, or "" when there is none. Quotes and service arguments are not part of it.
Function ExecutableDirectory
    StrCpy $1 $0 1
    ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $2 0
        ${Do}
            StrCpy $1 $0 1 $2
            ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
            ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
            IntOp $2 $2 + 1
        ${Loop}
        StrCpy $0 $0 $2
    ${Else}
        StrCpy $2 0
        ${Do}
            StrCpy $1 $0 4 $2
            ${If} $1 == ".exe"
                IntOp $2 $2 + 4
                StrCpy $0 $0 $2
                ${ExitDo}
            ${EndIf}
            ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
            IntOp $2 $2 + 1
        ${Loop}
    ${EndIf}
    StrLen $2 $0
    ${Do}
        IntOp $2 $2 - 1
        ${If} $2 < 0
            StrCpy $0 ""
            ${ExitDo}
        ${EndIf}
        StrCpy $1 $0 1 $2
        ${If} $1 == "\"
            StrCpy $0 $0 $2
            ${ExitDo}
        ${EndIf}
    ${Loop}
FunctionEnd

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    StrCpy $ServerDir ""
    ReadRegStr $0 HKLM "${SERVICE_KEY}" "ImagePath"
    ${If} $0 != ""
        ExpandEnvStrings $0 $0
        Call ExecutableDirectory
        ${If} $0 != ""
        ${AndIf} ${FileExists} "$0\*.*"
            StrCpy $ServerDir $0
            StrCpy $INSTDIR $ServerDir
        ${EndIf}
    ${EndIf}
FunctionEnd

; Beside an installed server there is nothing to choose.
Function SkipDirectoryBesideServer
    ${If} $ServerDir != ""
        Abort
    ${EndIf}
FunctionEnd

; Running copies of this user's session are asked to end through their menu's exit
; command, so that their file can be replaced or removed.
!macro CLOSE_RUNNING_COPIES prefix
Function ${prefix}CloseRunningCopies
    StrCpy $2 0
    ${Do}
        FindWindow $0 "#32770" "${WINDOW_CAPTION}"
        ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
        SendMessage $0 ${WM_COMMAND} ${ID_EXIT} 0 /TIMEOUT=5000
        Sleep 200
        IntOp $2 $2 + 1
        ${IfThen} $2 >= 50 ${|} ${ExitDo} ${|}
    ${Loop}
FunctionEnd

; $0: a file that an ending copy may still hold for a moment.
Function ${prefix}DeleteHeldFile
    StrCpy $2 0
    ${Do}
        Delete $0
        ${IfNot} ${FileExists} $0
            ${ExitDo}
        ${EndIf}
        IntOp $2 $2 + 1
        ${If} $2 >= 25
            Delete /REBOOTOK $0
            ${ExitDo}
        ${EndIf}
        Sleep 200
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPIES ""
!insertmacro CLOSE_RUNNING_COPIES "un."

Section "veldbctrl"
    Call CloseRunningCopies
    StrCpy $0 "$INSTDIR\${PROGRAM}"
    Call DeleteHeldFile
    SetOutPath $INSTDIR
    ${If} ${RunningX64}
        File "/oname=${PROGRAM}" "${BIN64}"
    ${Else}
        File "/oname=${PROGRAM}" "${BIN32}"
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    WriteRegStr HKLM "${RUN_KEY}" "veldbctrl" '"$INSTDIR\${PROGRAM}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "veldbctrl"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
FunctionEnd

; The directory goes only when nothing else is in it: beside the server it stays.
Section "Uninstall"
    Call un.CloseRunningCopies
    StrCpy $0 "$INSTDIR\${PROGRAM}"
    Call un.DeleteHeldFile
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegValue HKLM "${RUN_KEY}" "veldbctrl"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
SectionEnd

; The Windows setup program: installs the unpacked Windows folder (tools/package-windows) into
; Program Files for all users, with a Start-menu shortcut, an optional desktop shortcut and an
; uninstaller listed among Windows' installed programs. tools/package-windows-installer builds it:
;   makensis -DVERSION=1.0.3 -DSTAGE=<folder> -DFILES=<installed-files.nsh>
;            -DREMOVE=<removed-files.nsh> -DRESOURCES=<resources folder> -DOUTFILE=<setup.exe>
;            milka.nsi
; FILES and REMOVE list every file of the folder, so the uninstaller removes exactly what the
; setup put there and nothing else; it never touches the SPAT4 folder.
; The icon and the wizard's pictures in RESOURCES are the program's own, drawn by
; resources/generator.
;
; Installing over an installed copy, of any version, first runs that copy's own uninstaller,
; which knows its files: nothing of the old version is left, and the installed-programs list
; keeps one entry. Neither the setup nor the uninstaller touches a file while a milka.exe
; started from the folder runs: they ask the user to close it, and stop if the user cancels
; (a silent run stops with exit code 2).

; A 64-bit setup for a 64-bit program: it runs where the program runs, and reads and writes the
; 64-bit registry and Program Files without redirection.
Target amd64-unicode
; makensis warns that a file name with "setup" in it makes Windows guess it is an installer and
; apply compatibility shims. The name is the one users look for, and the setup's manifest
; (RequestExecutionLevel admin, NSIS's supportedOS list) already tells Windows what it is.
!pragma warning disable 9000
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define ICON "${RESOURCES}/milka.ico"

!define APP_NAME "ミルカ！！！（地方版）"
!define PUBLISHER "トモロ"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Milka"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP_NAME}"
; Where an installed copy is, so an upgrade goes to the same folder.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; A signed release (tools/release sign) signs the uninstaller as makensis writes it, before it
; goes into the setup; a failure of the command stops makensis.
!ifdef SIGN_PROGRAM
!uninstfinalize '"${SIGN_PROGRAM}" "%1"' = 0
!endif
BrandingText "${APP_NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${APP_NAME} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_CUSTOMFUNCTION_GUIINIT WidenButtons
!define MUI_CUSTOMFUNCTION_UNGUIINIT un.WidenButtons
; The finish page's option starts the program through Explorer, as the signed-in user: started
; from the setup itself it would run elevated, and after an administrator's over-the-shoulder
; approval as that administrator.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsSignedInUser
; The list of components as wide as the page, its description below it: the names stay whole.
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${RESOURCES}/setup-header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${RESOURCES}/setup-header.bmp"
; The uninstaller has no welcome or finish page, so it needs no side picture.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${RESOURCES}/setup-side.bmp"

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FitDescription
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FolderWithoutEndSlash
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
; The language's "アンインストール元:" is cut beside the folder; a shorter label.
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "フォルダ:"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.FolderWithoutEndSlash
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; The wizard's buttons are sized for the English texts: under some Japanese fonts
; "インストール(&I)" does not fit. Widens the back, next and cancel buttons by 16 dialog units
; each, moving them left; the cancel button's right edge stays where it is. Uses $R0-$R9.
!macro DEFINE_WIDEN_BUTTONS UN
Function ${UN}WidenButtons
    System::Call '*(i 0, i 0, i 16, i 0) p .R0'
    System::Call 'user32::MapDialogRect(p $HWNDPARENT, p R0)'
    System::Call '*$R0(i, i, i .R1, i)'
    ; $R1: the 16 units in pixels. $R3: how many of them the button's left edge moves left
    ; (cancel 1, next 2, back 3); its right edge moves one fewer.
    ${ForEach} $R2 1 3 + 1
        ${If} $R2 = 1
            StrCpy $R3 2 ; next
            GetDlgItem $R4 $HWNDPARENT 1
        ${ElseIf} $R2 = 2
            StrCpy $R3 1 ; cancel
            GetDlgItem $R4 $HWNDPARENT 2
        ${Else}
            StrCpy $R3 3 ; back
            GetDlgItem $R4 $HWNDPARENT 3
        ${EndIf}
        System::Call 'user32::GetWindowRect(p R4, p R0)'
        System::Call 'user32::MapWindowPoints(p 0, p $HWNDPARENT, p R0, i 2)'
        System::Call '*$R0(i .R5, i .R6, i .R7, i .R8)'
        IntOp $R9 $R1 * $R3
        IntOp $R5 $R5 - $R9
        IntOp $R9 $R3 - 1
        IntOp $R9 $R1 * $R9
        IntOp $R7 $R7 - $R9
        IntOp $R7 $R7 - $R5 ; width
        IntOp $R8 $R8 - $R6 ; height
        ; SWP_NOZORDER | SWP_NOACTIVATE
        System::Call 'user32::SetWindowPos(p R4, p 0, i R5, i R6, i R7, i R8, i 0x14)'
    ${Next}
    System::Free $R0
FunctionEnd
!macroend
!insertmacro DEFINE_WIDEN_BUTTONS ""
!insertmacro DEFINE_WIDEN_BUTTONS "un."

Function RunAsSignedInUser
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\milka.exe"'
FunctionEnd

; The components page's description box reaches the bottom of the page; at 150 % its frame
; falls just outside the page and is cut. Ends it one pixel inside the page.
Function FitDescription
    System::Call '*(i, i, i, i) p .R0'
    System::Call 'user32::GetClientRect(p $mui.ComponentsPage, p R0)'
    System::Call '*$R0(i, i, i, i .R1)'
    System::Call 'user32::GetWindowRect(p $mui.ComponentsPage.DescriptionTitle, p R0)'
    System::Call 'user32::MapWindowPoints(p 0, p $mui.ComponentsPage, p R0, i 2)'
    System::Call '*$R0(i .R2, i .R3, i .R4, i .R5)'
    ${If} $R5 >= $R1
        IntOp $R4 $R4 - $R2
        IntOp $R5 $R1 - $R3
        IntOp $R5 $R5 - 1
        ; SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE
        System::Call 'user32::SetWindowPos(p $mui.ComponentsPage.DescriptionTitle, p 0, i 0, i 0, i R4, i R5, i 0x16)'
    ${EndIf}
    System::Free $R0
FunctionEnd

; Over an installed copy the folder page, and always the uninstaller's confirmation, show the
; folder with a "\" at the end; shown without it, as on a first installation.
!macro WITHOUT_END_SLASH CONTROL
    ${NSD_GetText} ${CONTROL} $R0
    StrCpy $R1 $R0 "" -1
    StrLen $R2 $R0
    ${If} $R1 == "\"
    ${AndIf} $R2 > 3
        StrCpy $R0 $R0 -1
        ${NSD_SetText} ${CONTROL} $R0
    ${EndIf}
!macroend
Function FolderWithoutEndSlash
    !insertmacro WITHOUT_END_SLASH $mui.DirectoryPage.Directory
FunctionEnd
Function un.FolderWithoutEndSlash
    !insertmacro WITHOUT_END_SLASH $mui.UnConfirmPage.Directory
FunctionEnd

; Pushes 1 if a milka.exe started from the folder on the stack runs, else 0. Uses $R0-$R9.
!macro DEFINE_PROGRAM_RUNS UN
Function ${UN}ProgramRuns
    Exch $R0
    StrCpy $R0 "$R0\milka.exe"
    StrCpy $R9 0
    ; Room for 4,096 process ids.
    System::Alloc 16384
    Pop $R1
    System::Call 'kernel32::K32EnumProcesses(p R1, i 16384, *i .R2) i .R3'
    ${If} $R3 <> 0
        IntOp $R2 $R2 / 4
        StrCpy $R4 0
        ${DoWhile} $R4 < $R2
            IntOp $R5 $R4 * 4
            IntPtrOp $R5 $R1 + $R5
            System::Call '*$R5(i .R6)'
            ; PROCESS_QUERY_LIMITED_INFORMATION
            System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i R6) p .R7'
            ${If} $R7 P<> 0
                System::Call 'kernel32::QueryFullProcessImageNameW(p R7, i 0, w .R8, *i ${NSIS_MAX_STRLEN}) i .R3'
                System::Call 'kernel32::CloseHandle(p R7)'
                ; StrCmp ignores case, as Windows' file names do.
                ${If} $R3 <> 0
                ${AndIf} $R8 == $R0
                    StrCpy $R9 1
                ${EndIf}
            ${EndIf}
            IntOp $R4 $R4 + 1
        ${Loop}
    ${EndIf}
    System::Free $R1
    StrCpy $R0 $R9
    Exch $R0
FunctionEnd
!macroend
!insertmacro DEFINE_PROGRAM_RUNS ""
!insertmacro DEFINE_PROGRAM_RUNS "un."

; Before any file is touched: while a milka.exe from the folder runs, asks the user to close it,
; and aborts if the user cancels (or the run is silent). UN is "" or "un."; WHAT names what
; would stop.
!macro CLOSE_PROGRAM_FIRST UN FOLDER WHAT
    ${Do}
        Push "${FOLDER}"
        Call ${UN}ProgramRuns
        Pop $R0
        ${If} $R0 = 0
            ${Break}
        ${EndIf}
        ; Short lines: a message box does not wrap Japanese text everywhere, and cuts it instead.
        ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP_NAME}が起動しています。$\r$\n$\r$\nプログラムを終了してから、$\r$\n「再試行」を押してください。$\r$\n「キャンセル」を押すと、$\r$\n${WHAT}を中止します。" /SD IDCANCEL IDCANCEL`
            Abort "${APP_NAME}が起動しているため、${WHAT}を中止しました。"
        ${EndIf}
    ${Loop}
!macroend

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "プログラム本体（必須）" SecProgram
    SectionIn RO
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    !insertmacro CLOSE_PROGRAM_FIRST "" "$INSTDIR" "インストール"
    ${If} $0 != ""
    ${AndIf} $0 != $INSTDIR
        !insertmacro CLOSE_PROGRAM_FIRST "" "$0" "インストール"
    ${EndIf}
    ; The installed copy's own uninstaller removes exactly its files; run in place (_?=), it
    ; waits, and leaves only itself behind. Only when a copy is installed: with no key, $0 is
    ; empty and "\uninstall.exe" would name a file at the root of the current drive.
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        DetailPrint "インストール済みの版を削除しています: $0"
        ExecWait '"$0\uninstall.exe" /S _?=$0' $1
        ${If} $1 <> 0
            Abort "インストール済みの版を削除できませんでした（終了コード $1）。"
        ${EndIf}
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\milka.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\milka.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "デスクトップにショートカットを作る" SecDesktop
    CreateShortCut "$DESKTOP\${APP_NAME}.lnk" "$INSTDIR\milka.exe"
SectionEnd

Function .onInit
    SetRegView 64
    SetShellVarContext all
    ; An upgrade keeps the desktop shortcut if the installed copy has one.
    ${If} ${FileExists} "$DESKTOP\${APP_NAME}.lnk"
        SectionSetFlags ${SecDesktop} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "${APP_NAME}の本体と、スタートメニューのショートカットです。"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "デスクトップにもショートカットを置きます。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    !insertmacro CLOSE_PROGRAM_FIRST "un." "$INSTDIR" "アンインストール"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$DESKTOP\${APP_NAME}.lnk"
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only if empty: a file the user put into the folder stays, and so does the folder.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The Windows installer of Brzdomat, for all users, in Czech.
;
; makensis -INPUTCHARSET UTF8 -DDIST=<portable folder> -DFILES=<file list> -DOUTFILE=<setup.exe>
;          -DICON=<brzdomat.ico> -DVERSION=<four-part version> -DVERSION_MAJOR=<its first number>
;          -DVERSION_MINOR=<its second> -DPICTURE_FOLDER=<img>
;
; scripts/windows/make-dist passes them all, the version and the picture folder's name as the
; build's program-facts gives them.
;
; FILES names an include with one FILE_ENTRY line per file of the portable folder, so that the
; installer installs and the uninstaller removes exactly those files and nothing else.
;
; Silent installation for many PCs: Brzdomat-VERSION-setup.exe /S [/OBRAZKY=C:\Testy] [/PLOCHA=0]
; [/D=C:\Program Files\Brzdomat]. /OBRAZKY names the folder that holds the school's img folder;
; /PLOCHA=0 leaves out the desktop shortcut. /D must come last and without quotes.

Unicode true
; 64-bit, as the program: it runs where the program runs, and needs no 32-bit subsystem.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Brzdomat"
!define PUBLISHER "Tervolan"
!ifndef VERSION | VERSION_MAJOR | VERSION_MINOR | PICTURE_FOLDER
    !error "makensis needs -DVERSION, -DVERSION_MAJOR, -DVERSION_MINOR and -DPICTURE_FOLDER"
!endif
!define CHECK_ENTRY "Kontrola obrázků"
!define SHEET_NAME "Brzdomat-kontrola-obrazku.pdf"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brzdomat"
!define SETTINGS_KEY "Software\Tervolan\Brzdomat"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; A new version goes where the old one is, so that its uninstall entry does not forget the copy.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1029 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1029 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace programu ${PRODUCT}"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "LegalCopyright" "${PUBLISHER}"

; The folder that holds the school's img folder; the shortcuts start the program there, because
; the program looks for img in the folder it is started in.
Var PictureFolder

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
; The licences of the program and of every library it ships with, as the folder carries them.
; The text above the licences' box has room for one line, the text below for two.
!define MUI_LICENSEPAGE_TEXT_TOP "Licence programu Brzdomat (MIT) a knihoven, které používá:"
!define MUI_LICENSEPAGE_BUTTON "&Další >"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Licence nic nevyžadují od toho, kdo program jen používá. Po instalaci je tento text v souboru LICENSES.txt ve složce programu."
!insertmacro MUI_PAGE_LICENSE "${DIST}\LICENSES.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Složka s obrázky"
!define MUI_PAGE_HEADER_SUBTEXT "Kde jsou obrázky otázek autoškoly (složka img)?"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Brzdomat hledá obrázky otázek ve složce img uvnitř složky, ve které se spouští. Vyberte složku, ve které je (nebo bude) složka img s obrázky vaší autoškoly. Zástupci v nabídce Start a na ploše budou Brzdomat spouštět v této složce. Instalace ani odinstalace obrázky nikdy nemaže."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Složka, ve které je složka img"
!define MUI_DIRECTORYPAGE_VARIABLE $PictureFolder
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE PictureFolderLeave
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Czech"

; The picture folder is checked on leaving its page, and only for its form: the space the page
; asks for is the program's, which goes to the program's folder. A folder without its drive would
; be taken relative to wherever the installer runs, and the shortcuts would start nowhere.
Function PictureFolderLeave
    GetInstDirError $0
    ${If} $0 = 1
        MessageBox MB_ICONEXCLAMATION|MB_OK "Zadejte celou cestu ke složce s obrázky, například C:\Autoškola."
        Abort
    ${EndIf}
FunctionEnd

Function StartProgram
    SetOutPath $PictureFolder
    Exec '"$INSTDIR\Brzdomat.exe"'
FunctionEnd

Section "Brzdomat" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    !define FILE_ENTRY "!insertmacro InstallFile"
    !macro InstallFile folder name
        SetOutPath "$INSTDIR${folder}"
        File "${DIST}${folder}\${name}"
    !macroend
    !include "${FILES}"
    !undef FILE_ENTRY
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Odinstalovat.exe"

    CreateDirectory $PictureFolder
    ; A shortcut's working folder is the output folder at the time it is made.
    SetOutPath $PictureFolder
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Brzdomat.exe" "" "$INSTDIR\Brzdomat.exe" 0
    ; The picture check for a teacher who never opens a console: the checker writes its review
    ; sheet into the shared documents, which every user may write to, and opens it; when the
    ; folder has no img it says so and waits for Enter before its window closes.
    CreateShortCut "$SMPROGRAMS\${CHECK_ENTRY}.lnk" "$INSTDIR\brzdomat-check-pictures.exe" \
        '--open --sheet "$DOCUMENTS\${SHEET_NAME}" "$PictureFolder"' "$INSTDIR\Brzdomat.exe" 0
    SetOutPath "$INSTDIR"

    WriteRegStr HKLM "${SETTINGS_KEY}" "PictureFolder" $PictureFolder
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brzdomat.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Odinstalovat.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Odinstalovat.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Zástupce na ploše" SectionDesktop
    SetOutPath $PictureFolder
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Brzdomat.exe" "" "$INSTDIR\Brzdomat.exe" 0
    SetOutPath "$INSTDIR"
SectionEnd

; The name stands in a narrow list of components; the description says when the set is written.
Section "Ukázkové obrázky" SectionSamples
    ; Only a folder without img gets the sample set; a school's own pictures are never touched.
    ${IfNot} ${FileExists} "$PictureFolder\${PICTURE_FOLDER}\*.*"
        DetailPrint "Zapisuji ukázkové obrázky do $PictureFolder\${PICTURE_FOLDER}"
        nsExec::ExecToLog '"$INSTDIR\brzdomat-sample-pictures.exe" "$PictureFolder\${PICTURE_FOLDER}"'
        Pop $0
    ${EndIf}
SectionEnd

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP|MB_OK "Brzdomat potřebuje 64bitová Windows 10 nebo 11." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
    ; The shared documents are writable for every user, so a school can copy its pictures there
    ; without an administrator.
    StrCpy $PictureFolder "$DOCUMENTS\${PRODUCT}"
    ReadRegStr $0 HKLM "${SETTINGS_KEY}" "PictureFolder"
    ${If} $0 != ""
        StrCpy $PictureFolder $0
    ${EndIf}

    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/OBRAZKY=" $R1
    ${IfNot} ${Errors}
        ; As on the folder's page, only a whole path: with a drive, or a server's share.
        StrCpy $R2 $R1 2 1
        StrCpy $R3 $R1 2
        ${If} $R2 != ":\"
        ${AndIf} $R3 != "\\"
            MessageBox MB_ICONSTOP|MB_OK "/OBRAZKY: zadejte celou cestu ke složce s obrázky, například C:\Autoškola." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        StrCpy $PictureFolder $R1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/PLOCHA=" $R1
    ${IfNot} ${Errors}
    ${AndIf} $R1 == "0"
        SectionSetFlags ${SectionDesktop} 0
    ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "Program Brzdomat a knihovny, které potřebuje."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionDesktop} "Zástupce na ploše, který spouští Brzdomat ve složce s obrázky."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionSamples} "Když ve vybrané složce není složka img, zapíše do ní ukázkové obrázky, se kterými lze program vyzkoušet."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${CHECK_ENTRY}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    ; Only the files the installer put there: the pictures may lie in the program's own folder.
    !define FILE_ENTRY "!insertmacro RemoveFile"
    !macro RemoveFile folder name
        Delete "$INSTDIR${folder}\${name}"
        RMDir "$INSTDIR${folder}"
    !macroend
    !include "${FILES}"
    Delete "$INSTDIR\Odinstalovat.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Tervolan"
SectionEnd

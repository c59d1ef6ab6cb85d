; The installer of Kaltrenox: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Kaltrenox (the program keeps KALTRNX.INI and its
; recovery file beside itself, so its folder must be writable by the user).
; Built by makensis as part of the Windows build:
;   makensis -DVERSION=2.05 -DDIST=... -DMANUAL=... -DICON=... -DRESOURCE_H=... Kaltrenox.nsi
; /S installs and uninstalls silently.

Unicode true
Target amd64-unicode            ; a 64-bit installer, like the program
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

; the measurement files' icon: its number in the program's resources
!searchparse /file "${RESOURCE_H}" "#define IDI_MEASUREMENT_FILE" FILE_ICON_ID
!searchreplace FILE_ICON_ID "${FILE_ICON_ID}" " " ""

!define PRODUCT "Kaltrenox"
!define PROGID "Kaltrenox.Messung"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kaltrenox"
!define DOCUMENTS_FOLDER "$DOCUMENTS\Kaltrenox-Messungen"

Name "${PRODUCT} ${VERSION}"
OutFile "${DIST}\Kaltrenox-${VERSION}-Setup.exe"
InstallDir "$LOCALAPPDATA\Programs\Kaltrenox"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "FileDescription" "Kaltrenox Installationsprogramm"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "© 2026 Kaltrenox"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\kaltrenox.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Kaltrenox jetzt starten"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Anleitung\Kaltrenox-Anleitung.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Anleitung lesen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Section "Kaltrenox (Programm, Anleitung, Verknüpfungen)" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; KALTRNX.INI is not shipped: an installation over an older one keeps it
    File "${DIST}\kaltrenox.exe"
    File "${DIST}\kxm.exe"
    SetOutPath "$INSTDIR\Anleitung"
    File /r "${MANUAL}\*.*"

    ; the shortcuts start in the user's measurement folder, so that the first
    ; file dialog proposes it rather than the hidden program folder
    CreateDirectory "${DOCUMENTS_FOLDER}"
    SetOutPath "${DOCUMENTS_FOLDER}"
    CreateDirectory "$SMPROGRAMS\Kaltrenox"
    CreateShortcut "$SMPROGRAMS\Kaltrenox\Kaltrenox.lnk" "$INSTDIR\kaltrenox.exe" "" "$INSTDIR\kaltrenox.exe" 0
    CreateShortcut "$SMPROGRAMS\Kaltrenox\Kaltrenox-Anleitung.lnk" "$INSTDIR\Anleitung\Kaltrenox-Anleitung.html"

    ; .kxm files open in a diagram window of Kaltrenox
    WriteRegStr HKCU "Software\Classes\.kxm" "" "${PROGID}"
    WriteRegStr HKCU "Software\Classes\${PROGID}" "" "Kaltrenox-Messung"
    WriteRegStr HKCU "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\kaltrenox.exe,-${FILE_ICON_ID}"
    WriteRegStr HKCU "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\kaltrenox.exe" "%1"'

    WriteUninstaller "$INSTDIR\Deinstallieren.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kaltrenox.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

    ; Explorer shows the new file type at once
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section /o "Verknüpfung auf dem Desktop" SecDesktop
    SetOutPath "${DOCUMENTS_FOLDER}"
    CreateShortcut "$DESKTOP\Kaltrenox.lnk" "$INSTDIR\kaltrenox.exe" "" "$INSTDIR\kaltrenox.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Das Programm, das Kommandozeilenwerkzeug kxm, die Anleitung, das Startmenü und die Zuordnung der .kxm-Dateien."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Eine Verknüpfung mit Kaltrenox auf dem Desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes the program, its shortcuts and registry entries. KALTRNX.INI, the
; recovery file and any measurement files stay, and so does the program
; folder while they are in it.
Section "Uninstall"
    Delete "$INSTDIR\kaltrenox.exe"
    Delete "$INSTDIR\kxm.exe"
    RMDir /r "$INSTDIR\Anleitung"
    Delete "$INSTDIR\Deinstallieren.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Kaltrenox\Kaltrenox.lnk"
    Delete "$SMPROGRAMS\Kaltrenox\Kaltrenox-Anleitung.lnk"
    RMDir "$SMPROGRAMS\Kaltrenox"
    Delete "$DESKTOP\Kaltrenox.lnk"

    ; .kxm only while it still points at this program
    ReadRegStr $0 HKCU "Software\Classes\.kxm" ""
    ${If} $0 == "${PROGID}"
        DeleteRegKey HKCU "Software\Classes\.kxm"
    ${EndIf}
    DeleteRegKey HKCU "Software\Classes\${PROGID}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; The payload of the end-to-end check: installs version 5.4 below program files, silently and
; without arguments, as the update expects of every payload. A 32-bit program like the Setup.exe
; that ships, it finds program files where Setup.exe does: Program Files (x86) on 64-bit Windows.
; makensis -DSOURCE=<new_installation> -DOUTFILE=<payload.exe> payload.nsi
Unicode true
Target x86-unicode
Name "Vexorand 5.4"
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\Pelmo"
SetCompressor /SOLID lzma

Section
  ; Long enough for the progress dialog to be seen copying.
  Sleep 1500
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
SectionEnd

; The payload of the end-to-end check: installs version 5.4 below program files, silently and
; without arguments, as the update expects of every payload.
; makensis -DSOURCE=<new_installation> -DOUTFILE=<payload.exe> payload.nsi
Unicode true
Target amd64-unicode
Name "Vexorand 5.4"
OutFile "${OUTFILE}"
SilentInstall silent
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\Pelmo"
SetCompressor /SOLID lzma

Section
  ; Long enough for the progress dialog to be seen copying.
  Sleep 1500
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
SectionEnd

#!/bin/sh
# Installs Vexorand 5.4 on the machine whose drives lie below $SETUP_ROOT (the console edition of
# Setup starts the payload with it set): the maker folder with setup.cfg and the installation, and
# the desktop shortcut.
set -eu
: "${SETUP_ROOT:?the payload needs SETUP_ROOT}"
maker="$SETUP_ROOT/c/Program Files/Pelmo"
mkdir -p "$maker"
cp -R Pelmo/. "$maker/"
printf '[Shortcut]\r\nTarget=C:\\Program Files\\Pelmo\\Control\\Vexorand.exe\r\n' \
  > "$SETUP_ROOT/c/Users/Operator/Desktop/Vexorand.lnk"
echo "Vexorand 5.4 installed."

#!/usr/bin/env bash
# End-to-end check of the Windows edition: the x86_64 Setup.exe, packed with a real NSIS payload,
# updates a staged installation on a private wine prefix's drive C, answered by keystrokes on a
# virtual display. Three runs: Escape on the language choice (nothing may change), a Russian update
# that first waits for a held control-program mutex, and a Chinese update. Screenshots of each go
# to the work folder; --update-screenshots also copies the chosen ones into docs/screenshots.
#
#   scripts/wine-e2e.sh [--update-screenshots] [WIN64_BUILD [NATIVE_BUILD]]
#
# WIN64_BUILD (default build/win64) holds Setup.exe and the two helpers of tests/ui/e2e;
# NATIVE_BUILD (default build/debug) holds vextool. Every wait is bounded. It is the CTest test
# wine_e2e of the win64 tree. When wine64, Xvfb, xdotool, makensis or ImageMagick is missing it
# exits with 77, CTest's skip, never with a pass; with CI=true, where the test command installs
# them, a missing tool is a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

update_screenshots=0
if [ "${1:-}" = "--update-screenshots" ]; then
  update_screenshots=1
  shift
fi
win64=$(realpath -m "${1:-build/win64}")
native=$(realpath -m "${2:-build/debug}")

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
missing=()
for tool in "$wine" "$wineserver" Xvfb xdotool makensis import convert iconv; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  if [ "${CI:-}" = true ]; then
    echo "wine-e2e: failed, not installed: ${missing[*]}" >&2
    exit 1
  fi
  echo "wine-e2e: skipped, not installed: ${missing[*]}"
  exit 77
fi

setup_exe=$win64/ui/Setup.exe
holder_exe=$win64/tests/ui/e2e_hold_mutex.exe
reader_exe=$win64/tests/ui/e2e_message_box_text.exe
vextool=$native/tools/vextool
for file in "$setup_exe" "$holder_exe" "$reader_exe" "$vextool"; do
  [ -f "$file" ] || { echo "wine-e2e: $file is missing; build the win64 and native trees first" >&2; exit 1; }
done

stage=$repo/tests/ui/e2e
work=$repo/build/wine-e2e
rm -rf "$work"
mkdir -p "$work/home" "$work/shots"
export HOME=$work/home # so that wine links no folder of the real home into the prefix
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
drive=$WINEPREFIX/drive_c

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
note() { printf '\n== %s\n' "$*"; }

pids=()
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# Waits up to $1 seconds for the command that follows to succeed.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
has_ended() { ! kill -0 "$1" 2>/dev/null; }

# --- Virtual display and wine prefix --------------------------------------------------------------

note "display and prefix"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_until 20 test -s "$work/display" || { echo "wine-e2e: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY
timeout 180 "$wine" wineboot --init >/dev/null 2>&1 || true
iconv -f UTF-8 -t UTF-16 "$stage/display.reg" >"$work/display.reg"
timeout 60 "$wine" regedit /S "Z:${work//\//\\}\\display.reg" || true
cp /usr/share/wine/fonts/marlett.ttf "$drive/windows/Fonts/" 2>/dev/null || true
timeout 60 "$wineserver" -w || true
user_folder=$(find "$drive/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n1)
if [ ! -d "$drive/Program Files" ] || [ -z "$user_folder" ]; then
  echo "wine-e2e: the prefix is incomplete" >&2
  exit 1
fi
desktop=$user_folder/Desktop
maker="$drive/Program Files/Pelmo"

# --- Package: the NSIS payload behind Setup.exe ---------------------------------------------------

note "package"
makensis -V2 -DSOURCE="$stage/new_installation" -DOUTFILE="$work/payload.exe" "$stage/payload.nsi"
"$vextool" pkg build --setup "$setup_exe" --payload "$work/payload.exe" -o "$work/Setup.exe"

# Controller blocks of the old format: begin, speed, oldOnly, axes[2], end (little-endian).
controller_block() { # speed oldOnly axis0 axis1
  local speed=$1 old=$2 axis0=$3 axis1=$4 escaped
  escaped=$(printf '\\x%02x' 0 0 0 0 $((speed & 255)) $((speed >> 8)) 0 0 "$old" 0 0 0 \
    "$axis0" 0 "$axis1" 0 0 0 0 0)
  printf '%b' "$escaped"
}
controller_block 1200 7 3 4 >"$work/a.bin"
controller_block 900 8 5 6 >"$work/b.bin"
"$vextool" dat build -o "$work/a.dat" CController="$work/a.bin"
"$vextool" dat build -o "$work/b.dat" CController="$work/b.bin"

# --- The machine --------------------------------------------------------------------------------

# The old installation 5.3 with configurations A and B, a desktop shortcut, the package to run.
stage_machine() {
  rm -rf "$maker" "$drive/Backup" "$drive/Update" "$drive/e2e" "$desktop/Vexorand.lnk"
  find "$drive" -depth -iname Vexroand -exec rm -rf {} + 2>/dev/null || true
  rm -f "$drive/windows/system32/drivers/vexio.sys"
  { grep -l -s Pelmo "$drive/windows/inf/"*.inf || true; } | xargs -r rm -f
  mkdir -p "$maker" "$desktop" "$drive/Update" "$drive/e2e"
  cp -r "$stage/old_installation/." "$maker/"
  mkdir -p "$maker/Control/config/A" "$maker/Control/config/B"
  cp "$work/a.dat" "$maker/Control/config/A/vexorand.dat"
  cp "$work/b.dat" "$maker/Control/config/B/vexorand.dat"
  cp "$work/b.dat" "$maker/Control/config/B/vexorand.dat.bak"
  printf 'shortcut' >"$desktop/Vexorand.lnk"
  cp "$work/Setup.exe" "$drive/Update/Setup.exe"
}

# Every file below drive C that the update may touch, with its digest.
snapshot() {
  (cd "$drive" && { find "Program Files/Pelmo" "${desktop#"$drive"/}" Update Backup -type f 2>/dev/null || true; } |
    sort | xargs -r -d '\n' md5sum)
}

setup_pid=
start_setup() {
  "$wine" 'C:\Update\Setup.exe' >"$work/setup-$1.log" 2>&1 &
  setup_pid=$!
  pids+=("$setup_pid")
}
setup_running() { kill -0 "$setup_pid" 2>/dev/null; }

# The X window whose name matches the regular expression, waited for up to $2 seconds.
wait_window() {
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1
}

# Screenshot $1 of the screen cut to the given X windows.
shot() {
  local name=$1 x0=100000 y0=100000 x1=0 y1=0 X Y WIDTH HEIGHT
  shift
  import -window root "$work/shots/screen-$name.png"
  for window in "$@"; do
    [ -n "$window" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ((X < x0)) && x0=$X
    ((Y < y0)) && y0=$Y
    ((X + WIDTH > x1)) && x1=$((X + WIDTH))
    ((Y + HEIGHT > y1)) && y1=$((Y + HEIGHT))
  done
  ((x1 > x0)) || return 0
  convert "$work/shots/screen-$name.png" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage \
    "$work/shots/$name.png"
}

# The share of dark pixels in the client area of X window $1: above zero when a label is drawn.
dark_share() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$work/client.png"
  convert "$work/client.png" -crop "$((WIDTH - 16))x$((HEIGHT - 40))+$((X + 8))+$((Y + 32))" \
    -colorspace Gray -threshold 40% -negate -format '%[fx:mean]' info:
}

# The message box on screen: sets box_handle, box_caption, box_text; false when none appears in $1 ms.
read_box() {
  local output
  output=$("$wine" "$reader_exe" "$1" "${2:-0}" 2>/dev/null) || return 1
  box_handle=$(sed -n 1p <<<"$output")
  box_caption=$(sed -n 2p <<<"$output")
  box_text=$(sed -n '3,$p' <<<"$output")
}

# Presses keys in the focused window.
keys() { xdotool key --clearmodifiers "$@"; }

window_gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1; }

# Presses keys until X window $1 closes (three tries); a key pressed before the window had the
# focus is lost, not harmful. Without a window to watch, presses once.
answer_with() {
  local window=$1 try
  shift
  if [ -z "$window" ]; then
    keys "$@"
    return
  fi
  for try in 1 2 3; do
    keys "$@"
    wait_until 5 window_gone "$window" && return
    echo "note: window $window still open after try $try"
  done
  fail "a message box did not close: $box_text"
}

# Texts the runs must meet, from the message catalogue.
confirm_zh='按“是”开始更新系统'
confirm_ru='Нажмите кнопку '"'"'Да'"'"', чтобы начать обновление системы'
warning_zh='警告！'
warning_ru='ВНИМАНИЕ:'
keep_zh='要尝试保留这些配置的参数吗'
keep_ru='Хотите попытаться сохранить эти параметры конфигурации'
separate_zh='生成文件和可执行文件需要分开放置吗'
separate_ru='Создаваемые файлы и исполняемые файлы должны быть отделены'
power_zh='立即关闭计算机吗'
power_ru='Немедленно выключите компьютер'

# Answers every message box until Setup ends: No to the power-off question, Enter, the default
# button (OK, Yes, or No where No is the default), to every other. Records the texts in $work/$1-messages.
answer_boxes() {
  local lang=$1 progress=$2 last=0 deadline=$((SECONDS + 300)) box_window
  : >"$work/$lang-messages"
  while setup_running; do
    if ((SECONDS >= deadline)); then
      fail "$lang: the update did not end within 300 s"
      return
    fi
    read_box 1500 "$last" || continue
    printf '[%s] %s\n---\n' "$box_caption" "$box_text" >>"$work/$lang-messages"
    box_window=
    [ -z "$box_caption" ] || box_window=$(wait_window "^${box_caption}\$" 5 || true)
    case "$box_text" in
      *"$keep_zh"* | *"$keep_ru"*)
        shot "$lang-progress-partway" "$progress" "$box_window"
        answer_with "$box_window" Return
        ;;
      *"$power_zh"* | *"$power_ru"*)
        shot "$lang-progress-end" "$progress" "$box_window"
        answer_with "$box_window" n # the No button's mnemonic
        ;;
      *) answer_with "$box_window" Return ;;
    esac
    last=$box_handle
  done
}

# Chooses the language in the dialog (Enter takes Russian, which has the focus; Tab first moves
# to Chinese), answers the confirmation with Yes and sets `progress` to the progress dialog's
# window (empty when it did not open). Not run in a subshell, so its failures are counted.
choose_language_and_confirm() {
  local lang=$1 confirm=$2 language box_window
  progress=
  language=$(wait_window '^Vexorand Setup Program$' 60) || true
  if [ -z "$language" ]; then
    fail "$lang: the language dialog did not open"
    return 1
  fi
  sleep 0.5
  [ "$lang" = ru ] || keys Tab
  answer_with "$language" Return
  if ! read_box 20000 || [[ $box_text != *"$confirm"* ]]; then
    fail "$lang: no confirmation in its language (${box_text:-none})"
    return 1
  fi
  box_window=$(wait_window "^${box_caption}\$" 5 || true)
  shot "$lang-confirmation" "$box_window"
  answer_with "$box_window" Return
  progress=$(wait_window '^Vexorand [^S]' 30) || true
}

# The known questions must have come in this order; other boxes are listed but allowed.
check_messages() {
  local lang=$1 expected position=0 found
  shift
  for expected in "$@"; do
    found=$(grep -n -F -- "$expected" "$work/$lang-messages" | head -n1 | cut -d: -f1)
    if [ -z "$found" ] || ((found < position)); then
      fail "$lang: message \"$expected\" missing or out of order"
    else
      position=$found
    fi
  done
}

check_update() {
  local lang=$1 code=$2 control="$maker/Control" backup lang_ini
  backup=$(find "$drive/Backup" -mindepth 1 -maxdepth 1 -type d -name 'Pelmo [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9][0-9][0-9][0-9][0-9]' 2>/dev/null | head -n1)
  if [ -z "$backup" ]; then
    fail "$lang: no backup folder Pelmo YYYY-MM-DD HHMMSS in C:\\Backup"
  else
    cmp -s "$backup/Control/only-in-5.3.txt" "$stage/old_installation/Control/only-in-5.3.txt" ||
      fail "$lang: the backup lacks the old installation's files"
    cmp -s "$backup/Control/config/A/vexorand.dat" "$work/a.dat" ||
      fail "$lang: the backup lacks configuration A's parameter file"
    cmp -s "$backup/setup.cfg" "$stage/old_installation/setup.cfg" || fail "$lang: the backup lacks setup.cfg"
  fi
  cmp -s "$drive/Backup/Setup.exe" "$work/Setup.exe" || fail "$lang: no copy of the package in C:\\Backup"

  [ ! -e "$control/only-in-5.3.txt" ] || fail "$lang: the old installation was not cleared"
  cmp -s "$control/vexorand.fmt" "$stage/new_installation/Control/vexorand.fmt" ||
    fail "$lang: the new format description is not installed"
  grep -q 'VERSION=5.4.2' "$control/config/config.ini" 2>/dev/null || fail "$lang: version 5.4 not installed"
  [ ! -e "$desktop/Vexorand.lnk" ] || fail "$lang: the desktop shortcut was not deleted"

  lang_ini=$(find "$control" -maxdepth 2 -ipath "$control/lang/lang.ini" | head -n1)
  grep -q "^ActiveLang=$code" "$lang_ini" 2>/dev/null || fail "$lang: lang.ini does not say $code"

  local a="$control/config/A/amend.dat" b="$control/config/B/amend.dat"
  grep -q '^speed = 1200' "$a" 2>/dev/null || fail "$lang: A's amend.dat lacks the carried speed"
  grep -q '^axes\[1\] = 4' "$a" 2>/dev/null || fail "$lang: A's amend.dat lacks the carried axes"
  grep -q '^newOnly = 3' "$a" 2>/dev/null || fail "$lang: A's amend.dat lost its own amendment"
  grep -q '^count = 3' "$a" 2>/dev/null || fail "$lang: A's amend.dat lost its other section"
  grep -q '^speed = 900' "$b" 2>/dev/null || fail "$lang: B's amend.dat lacks the carried speed"
  if grep -q -s -e oldOnly -e m__df_ "$a" "$b"; then
    fail "$lang: an amend.dat holds a name the new format does not know"
  fi
  if [ -n "$(find "$control/config" -iname 'vexorand.dat' -o -iname 'vexorand.dat.bak')" ]; then
    fail "$lang: binary parameter files remain in the new installation"
  fi
  [ -z "$(find "$drive" -iname Vexroand 2>/dev/null)" ] || fail "$lang: the migration folder remains"
  cmp -s "$drive/windows/system32/drivers/vexio.sys" "$stage/new_installation/Control/vexio.sys" ||
    fail "$lang: the driver file was not installed"
  grep -l -s Pelmo "$drive/windows/inf/"*.inf >/dev/null || fail "$lang: the INF file was not registered"
}

# --- Run 1: Escape on the language choice -------------------------------------------------------

note "run 1: Escape on the language choice"
stage_machine
snapshot >"$work/before-escape"
start_setup escape
language=$(wait_window '^Vexorand Setup Program$' 60) || true
if [ -z "$language" ]; then
  fail "escape: the language dialog did not open"
else
  sleep 0.5 # let the dialog take the focus and paint
  shot language-dialog "$language"
  answer_with "$language" Escape
  wait_until 20 has_ended "$setup_pid" || fail "escape: Setup did not end after Escape"
  snapshot >"$work/after-escape"
  cmp -s "$work/before-escape" "$work/after-escape" || fail "escape: files changed"
fi

# --- Run 2: Russian, waiting for the control program first --------------------------------------

note "run 2: Russian, with the control program's mutex held"
stage_machine
: >"$drive/e2e/hold"
"$wine" "$holder_exe" 'C:\e2e\hold' >/dev/null 2>&1 &
holder_pid=$!
pids+=("$holder_pid")
wait_until 30 test -e "$drive/e2e/hold.held" || fail "ru: the stand-in control program did not start"
start_setup ru
choose_language_and_confirm ru "$confirm_ru" || true
if [ -n "$progress" ]; then
  # While the mutex is held the update must wait at its first step, with only label 140 shown.
  if read_box 4000; then
    fail "ru: a message came while the control program was running: $box_text"
  fi
  shot ru-progress-waiting "$progress"
  share=$(dark_share "$progress")
  awk -v s="$share" 'BEGIN { exit !(s > 0.0005) }' || fail "ru: label 140 is not drawn while waiting"
  setup_running || fail "ru: Setup ended while waiting for the control program"
  rm -f "$drive/e2e/hold"
  wait_until 20 has_ended "$holder_pid" || fail "ru: the stand-in did not end"
  answer_boxes ru "$progress"
  check_messages ru "$warning_ru" "$keep_ru" "$separate_ru" "$power_ru"
  check_update ru rus
elif setup_running; then
  fail "ru: no progress dialog"
fi
"$wineserver" -k 2>/dev/null || true

# --- Run 3: Chinese -------------------------------------------------------------------------------

note "run 3: Chinese"
stage_machine
start_setup zh
choose_language_and_confirm zh "$confirm_zh" || true
if [ -n "$progress" ]; then
  answer_boxes zh "$progress"
  check_messages zh "$warning_zh" "$keep_zh" "$separate_zh" "$power_zh"
  check_update zh chn
elif setup_running; then
  fail "zh: no progress dialog"
fi

# --- Result ---------------------------------------------------------------------------------------

note "messages shown"
cat "$work/ru-messages" "$work/zh-messages" 2>/dev/null || true
if ((update_screenshots)); then
  mkdir -p docs/screenshots
  for name in language-dialog zh-confirmation ru-progress-waiting zh-progress-partway ru-progress-end \
    zh-progress-end; do
    [ -f "$work/shots/$name.png" ] && cp "$work/shots/$name.png" docs/screenshots/
  done
fi
echo "screenshots: $work/shots"
if ((failures)); then
  echo "wine-e2e: $failures check(s) failed"
  exit 1
fi
echo "wine-e2e: passed"

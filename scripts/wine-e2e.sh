#!/usr/bin/env bash
# End-to-end check of the Windows edition as it ships: the i686 Setup.exe, packed with a real
# 32-bit NSIS payload, updates a staged installation on a private wine prefix, answered by
# keystrokes on a virtual display. The prefix is a 32-bit Windows (--arch win32) or a 64-bit one
# (--arch win64, the default), where Setup.exe runs through WoW64: program files is
# "Program Files (x86)" for it and System32 is redirected to SysWOW64. Three runs: Escape on the
# language choice (nothing may change), a Russian update that first waits for a held
# control-program mutex, and a Chinese update while a helper keeps a log of the old installation
# open. Screenshots of each go to the work folder; --update-screenshots also copies the chosen
# ones into docs/screenshots.
#
#   scripts/wine-e2e.sh [--arch win32|win64] [--update-screenshots] [WIN32_BUILD [NATIVE_BUILD]]
#
# WIN32_BUILD (default build/win32) holds Setup.exe and the two helpers of tests/ui/e2e, all i686;
# NATIVE_BUILD (default build/debug) holds vextool. Every wait is bounded, every check prints PASS
# or FAIL and a FAIL does not stop the checks after it. It is the CTest tests wine_e2e_win32 and
# wine_e2e_wow64 of the win64 tree. When 32-bit wine, Xvfb, xdotool, makensis or ImageMagick is
# missing it exits with 77, CTest's skip, never with a pass; with CI=true, where the test command
# installs them, a missing tool is a failure. On a machine whose kernel runs no 32-bit programs it
# skips as well, and says why.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
repo=$PWD

arch=win64
update_screenshots=0
while (($#)); do
  case "$1" in
    --arch)
      arch=${2:-}
      shift 2
      ;;
    --update-screenshots)
      update_screenshots=1
      shift
      ;;
    *) break ;;
  esac
done
if [ "$arch" != win32 ] && [ "$arch" != win64 ]; then
  echo "wine-e2e: --arch is win32 or win64" >&2
  exit 64
fi
win32=$(realpath -m "${1:-build/win32}")
native=$(realpath -m "${2:-build/debug}")

die() {
  echo "wine-e2e: $*" >&2
  exit 1
}

# The 32-bit loader runs Setup.exe in both prefixes; a 64-bit prefix is made by the 64-bit one.
wine=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver
boot_wine=$wine
[ "$arch" = win32 ] || boot_wine=/usr/lib/wine/wine64
missing=()
for tool in "$wine" "$boot_wine" "$wineserver" Xvfb xdotool makensis import convert iconv; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  [ "${CI:-}" = true ] && die "failed, not installed: ${missing[*]}"
  echo "wine-e2e: skipped, not installed: ${missing[*]}"
  exit 77
fi

# A kernel that runs no 32-bit code (its ia32 emulation off) cannot start the 32-bit loader that
# runs Setup.exe in either prefix; no install step mends that, so the check says so and skips.
probe=$("$wine" --version 2>&1)
if [ $? -eq 126 ]; then
  echo "wine-e2e: skipped, this machine's kernel runs no 32-bit programs: $probe"
  exit 77
fi

setup_exe=$win32/ui/Setup.exe
holder_exe=$win32/tests/ui/e2e_hold.exe
reader_exe=$win32/tests/ui/e2e_message_box_text.exe
vextool=$native/tools/vextool
for file in "$setup_exe" "$holder_exe" "$reader_exe" "$vextool"; do
  [ -f "$file" ] || die "$file is missing; build the win32 and native trees first"
done

stage=$repo/tests/ui/e2e
work=$repo/build/wine-e2e-$arch
rm -rf "$work"
mkdir -p "$work/home" "$work/shots"
export HOME=$work/home # so that wine links no folder of the real home into the prefix
export WINEPREFIX=$work/prefix
export WINEARCH=$arch
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
drive=$WINEPREFIX/drive_c

passes=0
failures=0
pass() {
  echo "PASS: $*"
  passes=$((passes + 1))
}
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# check DESCRIPTION COMMAND...: PASS when the command succeeds, FAIL otherwise.
check() {
  local description=$1
  shift
  if "$@"; then pass "$description"; else fail "$description"; fi
}
note() { printf '\n== %s\n' "$*"; }

pids=()
cleanup() {
  "$wineserver" -k 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
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

note "display and $arch prefix"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_until 20 test -s "$work/display" || die "Xvfb did not start"
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY
timeout 180 "$boot_wine" wineboot --init >/dev/null 2>&1
iconv -f UTF-8 -t UTF-16 "$stage/display.reg" >"$work/display.reg"
timeout 60 "$boot_wine" regedit /S "Z:${work//\//\\}\\display.reg"
# Under WoW64 the 32-bit programs read the 32-bit view of the machine's settings.
[ "$arch" = win32 ] || timeout 60 "$wine" regedit /S "Z:${work//\//\\}\\display.reg"
cp /usr/share/wine/fonts/marlett.ttf "$drive/windows/Fonts/" 2>/dev/null
timeout 60 "$wineserver" -w
user_folder=$(find "$drive/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n1)
program_files="$drive/Program Files"
[ "$arch" = win32 ] || program_files="$drive/Program Files (x86)"
if [ ! -d "$program_files" ] || [ -z "$user_folder" ]; then
  die "the prefix is incomplete"
fi
desktop=$user_folder/Desktop
maker="$program_files/Pelmo"
system_drivers=$drive/windows/system32/drivers

# --- Package: the NSIS payload behind Setup.exe ---------------------------------------------------

note "package"
makensis -V2 -DSOURCE="$stage/new_installation" -DOUTFILE="$work/payload.exe" "$stage/payload.nsi" ||
  die "makensis failed"
"$vextool" pkg build --setup "$setup_exe" --payload "$work/payload.exe" -o "$work/Setup.exe" ||
  die "vextool pkg build failed"

# Controller blocks of the old format: begin, speed, oldOnly, axes[2], end (little-endian).
controller_block() { # speed oldOnly axis0 axis1
  local speed=$1 old=$2 axis0=$3 axis1=$4 escaped
  escaped=$(printf '\\x%02x' 0 0 0 0 $((speed & 255)) $((speed >> 8)) 0 0 "$old" 0 0 0 \
    "$axis0" 0 "$axis1" 0 0 0 0 0)
  printf '%b' "$escaped"
}
controller_block 1200 7 3 4 >"$work/a.bin"
controller_block 900 8 5 6 >"$work/b.bin"
"$vextool" dat build -o "$work/a.dat" CController="$work/a.bin" || die "vextool dat build failed"
"$vextool" dat build -o "$work/b.dat" CController="$work/b.bin" || die "vextool dat build failed"

# --- The machine --------------------------------------------------------------------------------

# The old installation 5.3 with configurations A and B, a desktop shortcut, the package to run;
# no driver, no registered INF, no setup log and no payload copy from an earlier run.
stage_machine() {
  rm -rf "$maker" "$drive/Backup" "$drive/Update" "$drive/e2e" "$desktop/Vexorand.lnk"
  find "$drive" -depth \( -iname Vexroand -o -iname 'sep*.tmp' -o -iname VexorandSetupLog.txt \) \
    -exec rm -rf {} + 2>/dev/null
  find "$drive/windows" -ipath '*/drivers/vexio.sys' -delete 2>/dev/null
  { grep -l -s Pelmo "$drive/windows/inf/"*.inf || true; } | xargs -r rm -f
  mkdir -p "$maker" "$desktop" "$drive/Update" "$drive/e2e"
  cp -r "$stage/old_installation/." "$maker/"
  mkdir -p "$maker/Control/config/A" "$maker/Control/config/B" "$maker/Control/Logs"
  printf 'log of the control program'"'"'s helper\r\n' >"$maker/Control/Logs/helper.log"
  cp "$work/a.dat" "$maker/Control/config/A/vexorand.dat"
  cp "$work/b.dat" "$maker/Control/config/B/vexorand.dat"
  cp "$work/b.dat" "$maker/Control/config/B/vexorand.dat.bak"
  printf 'shortcut' >"$desktop/Vexorand.lnk"
  cp "$work/Setup.exe" "$drive/Update/Setup.exe"
}

# Every file below drive C that the update may touch, with its digest.
snapshot() {
  (cd "$drive" && { find "${maker#"$drive"/}" "${desktop#"$drive"/}" Update Backup -type f 2>/dev/null || true; } |
    sort | xargs -r -d '\n' md5sum)
}

setup_pid=
start_setup() {
  "$wine" 'C:\Update\Setup.exe' >"$work/setup-$1.log" 2>&1 &
  setup_pid=$!
  pids+=("$setup_pid")
}
setup_running() { kill -0 "$setup_pid" 2>/dev/null; }

# Starts the stand-in that holds what its arguments name (e2e/hold.cpp) until `release $1`.
hold() {
  local flag=$1
  shift
  : >"$drive/e2e/$flag"
  "$wine" "$holder_exe" "C:\\e2e\\$flag" "$@" >/dev/null 2>&1 &
  pids+=($!)
  holder_pid=$!
  wait_until 30 test -e "$drive/e2e/$flag.held"
}
release() {
  rm -f "$drive/e2e/$1"
  wait_until 20 has_ended "$holder_pid"
}

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

box_handle=0 box_owner=0 box_caption= box_text= progress= holder_pid=
# The message box on screen: sets box_handle, box_owner, box_caption, box_text; false when none
# appears in $1 ms.
read_box() {
  local output
  output=$("$wine" "$reader_exe" "$1" "${2:-0}" 2>/dev/null) || return 1
  box_handle=$(sed -n 1p <<<"$output")
  box_owner=$(sed -n 2p <<<"$output")
  box_caption=$(sed -n 3p <<<"$output")
  box_text=$(sed -n '4,$p' <<<"$output")
}
box_gone() { ! "$wine" "$reader_exe" --shown "$1" 2>/dev/null; }
no_box_within() { ! read_box "$1"; }

# Presses keys in the focused window.
keys() { xdotool key --clearmodifiers "$@"; }

window_gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1; }

# Presses keys until the box just read closes (three tries); a key pressed before the box had the
# focus is lost, not harmful. The box is watched as X window $1, or, when it has none to find by
# name (no caption), by its handle.
answer_with() {
  local window=$1 handle=$box_handle try
  shift
  for try in 1 2 3; do
    keys "$@"
    if [ -n "$window" ]; then
      wait_until 5 window_gone "$window" && return 0
    else
      wait_until 5 box_gone "$handle" && return 0
    fi
    echo "note: box $handle still open after try $try"
  done
  fail "a message box closes when answered: $box_text"
  return 1
}

# Texts the runs must meet, from the message catalogue.
confirm_zh='按“是”开始更新系统'
confirm_ru='Нажмите кнопку '"'"'Да'"'"', чтобы начать обновление системы'
warning_zh='警告！'
warning_ru='ВНИМАНИЕ:'
keep_zh='要尝试保留这些配置的参数吗'
keep_ru='Хотите попытаться сохранить эти параметры конфигурации'
left_zh='以下文件无法删除'
separate_zh='生成文件和可执行文件需要分开放置吗'
separate_ru='Создаваемые файлы и исполняемые файлы должны быть отделены'
power_zh='立即关闭计算机吗'
power_ru='Немедленно выключите компьютер'
driver_failed='安装vexio.sys失败'

# Answers every message box until Setup ends: No to the power-off question, Enter, the default
# button (OK, Yes, or No where No is the default), to every other. Records each box in
# $work/$1-messages as a line "[caption] owner:HANDLE", its text and a line "---".
answer_boxes() {
  local lang=$1 progress=$2 last=0 deadline=$((SECONDS + 300)) box_window
  : >"$work/$lang-messages"
  while setup_running; do
    if ((SECONDS >= deadline)); then
      fail "$lang: the update ends within 300 s"
      return
    fi
    read_box 1500 "$last" || continue
    printf '[%s] owner:%s\n%s\n---\n' "$box_caption" "$box_owner" "$box_text" >>"$work/$lang-messages"
    box_window=
    [ -z "$box_caption" ] || box_window=$(wait_window "^${box_caption}\$" 5)
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
# window (empty when it did not open).
choose_language_and_confirm() {
  local lang=$1 confirm=$2 language box_window
  progress=
  language=$(wait_window '^Vexorand Setup Program$' 60)
  check "$lang: the language dialog opens" test -n "$language" || return 1
  sleep 0.5
  [ "$lang" = ru ] || keys Tab
  answer_with "$language" Return
  read_box 20000 || box_text=
  check "$lang: the confirmation comes in its language" contains "$box_text" "$confirm" || return 1
  box_window=$(wait_window "^${box_caption}\$" 5)
  shot "$lang-confirmation" "$box_window"
  answer_with "$box_window" Return
  progress=$(wait_window '^Vexorand [^S]' 30)
  check "$lang: the progress dialog opens" test -n "$progress"
}

# The known questions must have come in this order; other boxes are listed but allowed.
check_messages() {
  local lang=$1 expected position=0 found
  shift
  for expected in "$@"; do
    found=$(grep -n -F -- "$expected" "$work/$lang-messages" | head -n1 | cut -d: -f1)
    check "$lang: message \"$expected\" shown, in order" test -n "$found" -a "${found:-0}" -ge "$position"
    [ -z "$found" ] || position=$found
  done
}

# The boxes of the update: the system's error text of the INF that cannot be registered stands
# apart (no owner, empty caption); every other box is the program's, owned by the progress dialog.
check_boxes() {
  local lang=$1 messages="$work/$1-messages"
  check "$lang: the INF error box has no owner and an empty caption" grep -q -x '\[\] owner:0' "$messages"
  check "$lang: the other boxes are captioned Setup and owned by the progress dialog" \
    test -z "$(grep '^\[.*\] owner:' "$messages" | grep -v -x -e '\[\] owner:0' -e '\[Setup\] owner:[1-9][0-9]*')"
  check "$lang: no driver failed to install" file_lacks "$driver_failed" "$messages"
}

folder_has_backup_of() { cmp -s "$1" "$2"; }
lang_ini_says() {
  local lang_ini
  lang_ini=$(find "$maker/Control" -maxdepth 2 -ipath "$maker/Control/lang/lang.ini" | head -n1)
  grep -q "^ActiveLang=$1" "$lang_ini" 2>/dev/null
}
absent() { [ ! -e "$1" ]; }
contains() { [[ $1 == *"$2"* ]]; }
file_lacks() { ! grep -q -s -F -e "$1" "${@:2}"; }
nothing_found() { [ -z "$(find "$@" 2>/dev/null)" ]; }

check_update() {
  local lang=$1 code=$2 control="$maker/Control" backup a b
  backup=$(find "$drive/Backup" -mindepth 1 -maxdepth 1 -type d -name 'Pelmo [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9][0-9][0-9][0-9][0-9]' 2>/dev/null | head -n1)
  check "$lang: a backup folder Pelmo YYYY-MM-DD HHMMSS in C:\\Backup" test -n "$backup"
  check "$lang: the backup holds the old installation's files" \
    cmp -s "$backup/Control/only-in-5.3.txt" "$stage/old_installation/Control/only-in-5.3.txt"
  check "$lang: the backup holds configuration A's parameter file" \
    cmp -s "$backup/Control/config/A/vexorand.dat" "$work/a.dat"
  check "$lang: the backup holds setup.cfg" cmp -s "$backup/setup.cfg" "$stage/old_installation/setup.cfg"
  check "$lang: a copy of the package in C:\\Backup" cmp -s "$drive/Backup/Setup.exe" "$work/Setup.exe"

  check "$lang: the old installation is cleared" absent "$control/only-in-5.3.txt"
  check "$lang: the new format description is installed" \
    cmp -s "$control/vexorand.fmt" "$stage/new_installation/Control/vexorand.fmt"
  check "$lang: version 5.4 is installed" grep -q 'VERSION=5.4.2' "$control/config/config.ini"
  check "$lang: the desktop shortcut is deleted" absent "$desktop/Vexorand.lnk"
  check "$lang: lang.ini says $code" lang_ini_says "$code"

  a="$control/config/A/amend.dat"
  b="$control/config/B/amend.dat"
  check "$lang: A's amend.dat has the carried speed" grep -q '^speed = 1200' "$a"
  check "$lang: A's amend.dat has the carried axes" grep -q '^axes\[1\] = 4' "$a"
  check "$lang: A's amend.dat keeps its own amendment" grep -q '^newOnly = 3' "$a"
  check "$lang: A's amend.dat keeps its other section" grep -q '^count = 3' "$a"
  check "$lang: B's amend.dat has the carried speed" grep -q '^speed = 900' "$b"
  check "$lang: no amend.dat holds a name the new format does not know" \
    file_lacks oldOnly "$a" "$b"
  check "$lang: no amend.dat holds a guard field" file_lacks m__df_ "$a" "$b"
  check "$lang: no binary parameter file remains" \
    nothing_found "$control/config" -iname vexorand.dat -o -iname vexorand.dat.bak
  check "$lang: the migration folder is removed" nothing_found "$drive" -iname Vexroand
  check "$lang: no payload copy (sep*.tmp) is left" nothing_found "$drive" -iname 'sep*.tmp'

  check "$lang: the driver file is in the real System32\\drivers" \
    cmp -s "$system_drivers/vexio.sys" "$stage/new_installation/Control/vexio.sys"
  if [ "$arch" = win64 ]; then
    check "$lang: no driver file went to SysWOW64\\drivers" absent "$drive/windows/syswow64/drivers/vexio.sys"
  fi
  check "$lang: the INF file is registered" bash -c 'grep -l -s Pelmo "$1"/*.inf >/dev/null' _ "$drive/windows/inf"
  check_boxes "$lang"
}

# --- Run 1: Escape on the language choice -------------------------------------------------------

note "run 1: Escape on the language choice"
stage_machine
snapshot >"$work/before-escape"
start_setup escape
language=$(wait_window '^Vexorand Setup Program$' 60)
if check "escape: the language dialog opens" test -n "$language"; then
  sleep 0.5 # let the dialog take the focus and paint
  shot language-dialog "$language"
  answer_with "$language" Escape
  check "escape: Setup ends after Escape" wait_until 20 has_ended "$setup_pid"
  snapshot >"$work/after-escape"
  check "escape: no file changes" cmp -s "$work/before-escape" "$work/after-escape"
fi

# --- Run 2: Russian, waiting for the control program first --------------------------------------

note "run 2: Russian, with the control program's mutex held"
stage_machine
check "ru: the stand-in control program holds the mutex" hold control mutex
start_setup ru
if choose_language_and_confirm ru "$confirm_ru"; then
  # While the mutex is held the update must wait at its first step, with only label 140 shown.
  check "ru: no message comes while the control program runs" no_box_within 4000
  shot ru-progress-waiting "$progress"
  share=$(dark_share "$progress")
  check "ru: label 140 is drawn while waiting" awk -v s="$share" 'BEGIN { exit !(s > 0.0005) }'
  check "ru: Setup waits while the control program runs" setup_running
  check "ru: the stand-in control program lets go" release control
  answer_boxes ru "$progress"
  check_messages ru "$warning_ru" "$keep_ru" "$separate_ru" "$power_ru"
  check_update ru rus
fi
release control
"$wineserver" -k 2>/dev/null

# --- Run 3: Chinese, with a log of the old installation held open ---------------------------------

note "run 3: Chinese, with a log of the old installation held open"
stage_machine
held_log="$maker/Control/Logs/helper.log"
check "zh: the stand-in helper holds its log open" \
  hold log file "$(sed 's|^.*/drive_c/|C:\\|; s|/|\\|g' <<<"$held_log")"
start_setup zh
if choose_language_and_confirm zh "$confirm_zh"; then
  answer_boxes zh "$progress"
  check_messages zh "$warning_zh" "$keep_zh" "$left_zh" "helper.log" "$separate_zh" "$power_zh"
  check_update zh chn
  check "zh: the file held open stays" test -e "$held_log"
  check "zh: the setup log names the file that could not be deleted" \
    bash -c 'grep -a -q "could not delete.*helper.log" $(find "$1" -iname VexorandSetupLog.txt)' _ "$drive/users"
fi
release log

# --- Result ---------------------------------------------------------------------------------------

note "messages shown"
cat "$work/ru-messages" "$work/zh-messages" 2>/dev/null
if ((update_screenshots)); then
  mkdir -p docs/screenshots
  for name in language-dialog zh-confirmation ru-progress-waiting zh-progress-partway ru-progress-end \
    zh-progress-end; do
    [ -f "$work/shots/$name.png" ] && cp "$work/shots/$name.png" docs/screenshots/
  done
fi
echo "screenshots: $work/shots"
echo "wine-e2e ($arch): $passes passed, $failures failed"
((failures == 0))

#!/usr/bin/env bash
# What the demo's update did to the staged machine, from the machine itself.
# Usage: report.sh MACHINE SETUP-OUTPUT VEXTOOL
set -euo pipefail
machine=$1
output=$2
vextool=$3
control="$machine/c/Program Files/Pelmo/Control"

# The Windows form of a host path below the machine.
windows() {
  local relative=${1#"$machine"/}
  local drive=${relative%%/*}
  local rest=${relative#*/}
  printf '%s:\\%s' "${drive^^}" "${rest//\//\\}"
}

# Carried parameters shown as examples: one of each kind of value.
sample="m_Axes[0].m_szName m_Axes[0].m_Limits.m_dPositiveLimit m_Axes[0].m_Gains.m_fKp
m_Axes[0].m_nEncoderLines m_Axes[0].m_HomeSwitch m_Spindle.m_wGearRatio[1]
m_ToolChanger.m_szModel m_ToolChanger.m_Signals.m_ChangeTimer m_ToolChanger.m_Signals.m_PocketWord
m_AuxOutputs[5] m_dwOptions m_qwRunSeconds"
sample=$(echo $sample)

# name<TAB>value of each entry of the [CController] section of an amendment or dump file.
controller_entries() {
  tr -d '\r' <"$1" | awk '
    /^[ \t]*\[/ { inside = ($0 ~ /^[ \t]*\[CController\][ \t]*$/); next }
    inside && index($0, "=") {
      name = substr($0, 1, index($0, "=") - 1); value = substr($0, index($0, "=") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", name); gsub(/^[ \t]+|[ \t]+$/, "", value)
      print name "\t" value
    }'
}

# How many of the name<TAB>value lines, and the lines as "    name = value".
count() { printf '%s\n' "$1" | grep -c . || true; }
entries() { printf '%s\n' "$1" | grep . | awk -F'\t' '{ printf "    %s = %s\n", $1, $2 }' || true; }

echo "Step labels, in the order Setup showed them:"
grep -E '^\[ *[0-9]+\.[0-9] s\] ' "$output" | sed 's/^/  /'

backup=$(find "$machine/d/Backup" -mindepth 1 -maxdepth 1 -type d -name 'Pelmo *' | head -n 1)
echo
echo "Backup of the old installation: $(windows "$backup")\\ ($(find "$backup" -type f | wc -l) files)"
for copy in "$machine"/d/Backup/*; do
  [ -f "$copy" ] && echo "Package kept as: $(windows "$copy") ($(stat -c %s "$copy") bytes)"
done

echo
echo "Drivers installed:"
for driver in "$machine"/c/Windows/System32/drivers/*.sys; do
  echo "  $(windows "$driver"): $(head -n 1 "$driver")"
done
for information in "$machine"/c/Windows/INF/oem*.inf; do
  echo "  $(windows "$information"): $(tr -d '\r' <"$information" | grep -m 1 '^DriverVer')"
done

echo
echo "Language of the new installation: $(tr -d '\r' <"$control/Lang/Lang.ini" | grep -m 1 -i '^ActiveLang=')"

for configuration in "$control"/config/*/; do
  name=$(basename "$configuration")
  amendment="$configuration/amend.dat"
  old_dat="$backup/Control/config/$name/vexorand.dat"
  echo
  echo "Configuration $name: $(windows "${amendment//\/\//\/}")"
  [ -f "$amendment" ] || { echo "  no amendment file"; continue; }
  "$vextool" dat dump "$old_dat" --fmt "$backup/Control/vexorand.fmt" --lang-dir "$backup/Control" \
    >"$name-5.3.txt"
  controller_entries "$name-5.3.txt" | grep -v '^m__df_' >"$name-old.tsv"
  controller_entries "$amendment" >"$name-new.tsv"
  carried=$(awk -F'\t' 'NR == FNR { kept[$1] = $2; next } ($1 in kept) && kept[$1] == $2' \
    "$name-new.tsv" "$name-old.tsv")
  dropped=$(awk -F'\t' 'NR == FNR { kept[$1]; next } !($1 in kept)' "$name-new.tsv" "$name-old.tsv")
  # Known to 5.4, but amend.dat holds another value than the 5.3 block did.
  changed=$(awk -F'\t' 'NR == FNR { kept[$1] = $2; next } ($1 in kept) && kept[$1] != $2' \
    "$name-new.tsv" "$name-old.tsv")
  own=$(awk -F'\t' 'NR == FNR { old[$1]; next } !($1 in old)' "$name-old.tsv" "$name-new.tsv")
  echo "  parameters of the 5.3 block: $(wc -l <"$name-old.tsv")"
  echo "  carried: $(count "$carried"), among them"
  printf '%s\n' "$carried" | awk -F'\t' -v names="$sample" '
    BEGIN { split(names, list, " "); for (i in list) wanted[list[i]] }
    $1 in wanted { printf "    %s = %s\n", $1, $2 }'
  echo "  dropped, unknown to the 5.4 format: $(count "$dropped")"
  entries "$dropped"
  echo "  not carried, the value cannot be written: $(count "$changed")"
  entries "$changed"
  echo "  left at the 5.4 version's value: $(count "$own")"
  entries "$own"
  echo "  sections: $(tr -d '\r' <"$amendment" | grep -E '^\[' | paste -sd ' ')"
  left=$(find "$configuration" -iname 'vexorand.dat*' | wc -l)
  echo "  binary parameter files left: $left"
done

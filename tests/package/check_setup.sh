#!/usr/bin/env bash
# Makes the setup, installs it silently into a Wine prefix of this test's own, opens a project
# through the registered association and uninstalls again. Run by CTest with the build
# folder, a scratch folder and the source folder; every check that fails is listed at the end.
set -uo pipefail
build=$1 work=$2 top=$3

# Menu entries and file types the prefix registers must not reach the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export TESSARYN_WINEPREFIX=$work/wine
. "$top/scripts/env.sh"

# a run killed midway may have left its prefix's server running
[ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null
rm -rf "$work" && mkdir -p "$work"
log=$work/wine.log
failures=()
fail() { failures+=("$*"); }

finish() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$WINEPREFIX"
  if [ ${#failures[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failures[@]}"
    echo "---- Wine's output ($log):" && tail -n 30 "$log"
    exit 1
  fi
  echo "the setup installs, registers .tessaryn files and uninstalls cleanly"
}

trap finish EXIT

cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work" >>"$log" 2>&1
setup=$work/Tessaryn-1.0-setup.exe
[ -f "$setup" ] || { fail "cpack made no $setup"; exit; }
"$top/scripts/wine-prefix" >>"$log" 2>&1 || { fail "no Wine prefix in $WINEPREFIX"; exit; }

in_wine() { wine "$@" 2>>"$log" </dev/null; }

# A value from the prefix's registry, "" for the key's default; fails when it is not there.
reg_value() {
  local name=(/v "$2")
  [ -z "$2" ] && name=(/ve)
  in_wine reg query "$1" "${name[@]}" | tr -d '\r' | sed -n 's/^ .*REG_[A-Z_]* \{4\}//p' | grep .
}

# A Windows command line as its words, quotes taken off; $1 is the line.
command_words() {
  words=()
  local rest=$1
  while [[ $rest =~ ^[[:space:]]*(\"([^\"]*)\"|([^[:space:]]+))(.*)$ ]]; do
    words+=("${BASH_REMATCH[2]}${BASH_REMATCH[3]}")
    rest=${BASH_REMATCH[4]}
  done
}

# Waits, at most $1 seconds, until every process of the prefix has ended.
wait_prefix_idle() {
  timeout "$1" wineserver -w || { fail "processes still running after $1 s"; wineserver -k; }
}

in_wine "$setup" /S >>"$log" || fail "the setup ended with exit code $?"
wait_prefix_idle 120

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaryn'
for entry in DisplayName=Tessaryn DisplayVersion=1.0 Publisher=Tessaryn; do
  seen=$(reg_value "$uninstall_key" "${entry%%=*}")
  [ "$seen" = "${entry#*=}" ] || fail "uninstall entry ${entry%%=*} is '$seen', not '${entry#*=}'"
done
reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaryn' DisplayName >/dev/null \
  && fail "the setup registered itself for all users"
location=$(reg_value "$uninstall_key" InstallLocation) || { fail "no InstallLocation registered"; exit; }
[[ $location == *'\AppData\Local\Programs\Tessaryn' ]] || fail "installed to '$location', not the user's programs folder"
folder=$(in_wine winepath -u "$location" | tr -d '\r')
for file in Tessaryn.exe Engine3D.dll model/cube1.jpg ReadMe.txt Uninstall.exe; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
# An update over the installed program keeps the user's composed atlas and settings.
printf 'composed' >"$folder/model/cube1.jpg" && printf '[Ansicht]\r\nLicht=1\r\n' >"$folder/Tessaryn.ini"
in_wine "$setup" /S >>"$log" || fail "the second setup ended with exit code $?"
wait_prefix_idle 120
[ "$(cat "$folder/model/cube1.jpg")" = composed ] || fail "the update replaced the user's model/cube1.jpg"
grep -q Licht=1 "$folder/Tessaryn.ini" || fail "the update replaced the user's Tessaryn.ini"
cp "$build/model/cube1.jpg" "$folder/model/cube1.jpg"
start_menu_entry() { find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Tessaryn.lnk'; }
[ -n "$(start_menu_entry)" ] || fail "no Start-menu entry Tessaryn.lnk"

# The user's own project folder inside the program's folder: the uninstaller must keep it.
projects="$folder/Meine Boxen"
mkdir -p "$projects"
printf '[Tessaryn]\r\nVersion=1\r\n' >"$projects/box.tessaryn"

prog_id=$(reg_value 'HKCU\Software\Classes\.tessaryn' '') || { fail ".tessaryn is not associated"; prog_id=none; }
open_command=$(reg_value "HKCU\\Software\\Classes\\$prog_id\\shell\\open\\command" '')
command_words "$open_command"
project=$(in_wine winepath -w "$projects/box.tessaryn" | tr -d '\r')
[ "${words[1]-}" = "%1" ] || fail "open command '$open_command' does not pass the file as \"%1\""
# Started from the project's folder, as a double click would, exporting instead of showing.
(cd "$projects" && timeout 60 wine "${words[0]-}" "$project" /export out.png >"$work/export.txt" 2>&1 </dev/null)
exported=$?
[ $exported -eq 124 ] && exported="none: it had not ended after 60 s"
signature=$(head -c 8 "$projects/out.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')
if [ "$exported" != 0 ] || [ "$signature" != 89504e470d0a1a0a ]; then
  fail "opening a project with '$open_command' /export out.png: exit code $exported," \
       "out.png ${signature:+starts $signature}${signature:-missing};" \
       "the program said: $(tr -d '\r' <"$work/export.txt" | head -c 400)"
fi
wait_prefix_idle 30
# the files the program writes itself, whether or not the run above got that far
for own in model/land.jpg Tessaryn.ini; do [ -f "$folder/$own" ] || printf 'own' >"$folder/$own"; done

uninstaller=$(reg_value "$uninstall_key" UninstallString)
command_words "$uninstaller"
# The uninstaller runs from a copy in the temporary folder and returns at once: the prefix
# going idle tells that the copy has finished.
in_wine "${words[@]}" /S >>"$log" || fail "the uninstaller ended with exit code $?"
wait_prefix_idle 120

left=$(cd "$folder" && find . -mindepth 1 ! -path './Meine Boxen*')
[ -z "$left" ] || fail "left in the program's folder: $left"
[ -f "$projects/box.tessaryn" ] || fail "the user's project file is gone"
[ -z "$(start_menu_entry)" ] || fail "Start-menu entry left: $(start_menu_entry)"
for key in "$uninstall_key" 'HKCU\Software\Classes\.tessaryn' "HKCU\\Software\\Classes\\$prog_id"; do
  in_wine reg query "$key" >/dev/null 2>&1 && fail "registry key left: $key"
done
exit 0

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, silently (/S), as a user without administrator rights:
#   installer_under_wine.sh SETUP.EXE
# After the install: the programs and texts, both Start-menu entries, the .kdc file
# type with the tool's icon, the entry in the installed programs. While the tool runs
# (on Xvfb), a silent uninstall and a silent install over it fail with status 2 and
# change nothing. After the silent uninstall: none of it.
set -uo pipefail
setup=$1
wine_run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine-run"
failures=0
pass() { printf '  ok    %s\n' "$*"; }
fail() { printf '  FAIL  %s\n' "$*"; failures=$((failures + 1)); }
check() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }

product="KDR Switch Panel"
drive_c="$WINEPREFIX/drive_c"
user_dir=$(find "$drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
dir="$user_dir/AppData/Local/Programs/$product"
menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product"
reg_value() { "$wine_run" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
reg_has() { "$wine_run" reg query "$1" >/dev/null 2>&1; }
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KDRSwitchPanel'

"$wine_run" "$setup" /S
"$wine_run" --server -w
echo "after the silent install, in $dir:"
for file in kdr-switch-panel.exe kdr-switch-panel-simulated.exe kdr-panel.exe LICENSE.txt READ-ME.txt \
    THIRD-PARTY-NOTICES.txt licences/LGPL-3.0.txt licences/harfbuzz.txt licences/mingw-w64.txt uninstall.exe; do
    check "$file" '[ -f "$dir/$file" ]'
done
check "Start menu: $product" '[ -f "$menu/$product.lnk" ]'
check "Start menu: $product (simulated panel)" '[ -f "$menu/$product (simulated panel).lnk" ]'
progid=$(reg_value "$classes\\.kdc")
check ".kdc is $progid" '[ "$progid" = KDR.SwitchPanel.Configuration ]'
command=$(reg_value "$classes\\$progid\\shell\\open\\command")
check ".kdc opens with: $command" '[[ "$command" == *"kdr-switch-panel.exe\" \"%1\"" ]]'
icon=$(reg_value "$classes\\$progid\\DefaultIcon")
check ".kdc icon: $icon" '[[ "$icon" == *"kdr-switch-panel.exe,0" ]]'
name=$("$wine_run" reg query "$uninstall_key" /v DisplayName 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
check "installed programs: $name" '[ "$name" = "$product" ]'
check "nothing under HKEY_LOCAL_MACHINE" '! "$wine_run" reg query "HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KDRSwitchPanel" >/dev/null 2>&1'

echo "while the tool runs:"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display "$wine_run" "$dir/kdr-switch-panel.exe" >/dev/null 2>&1 &
tool=$!
for _ in $(seq 100); do DISPLAY=$display xdotool search --onlyvisible --name 'SWITCH PANEL' >/dev/null 2>&1 && break; sleep 0.1; done
# In place (_?=), so that its own status comes back: it would run a copy of itself
# and return at once. _?= takes the rest of the command line, blanks and all, unquoted.
windows_dir=$(echo "$dir" | sed 's|.*/drive_c/|C:\\|; s|/|\\|g')
printf '@"%s\\uninstall.exe" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$windows_dir" "$windows_dir" >"$drive_c/uninstall-in-place.bat"
"$wine_run" cmd /c 'C:\uninstall-in-place.bat'
status=$?
rm -f "$drive_c/uninstall-in-place.bat"
check "a silent uninstall fails (status $status)" '[ "$status" = 2 ]'
check "and leaves the programs and the entry" '[ -f "$dir/kdr-switch-panel.exe" ] && [ -f "$dir/uninstall.exe" ] && reg_has "$uninstall_key"'
before=$(stat -c %Y "$dir/kdr-panel.exe")
"$wine_run" "$setup" /S
status=$?
check "a silent install over it fails (status $status) and replaces nothing" \
    '[ "$status" = 2 ] && [ "$(stat -c %Y "$dir/kdr-panel.exe")" = "$before" ]'
kill "$tool" 2>/dev/null
wait "$tool" 2>/dev/null
kill "$xvfb" 2>/dev/null
"$wine_run" --server -k 2>/dev/null

"$wine_run" "$dir/uninstall.exe" /S
"$wine_run" --server -w
echo "after the silent uninstall:"
check "no program folder" '[ ! -e "$dir" ]'
check "no Start-menu folder" '[ ! -e "$menu" ]'
check "no .kdc file type" '! reg_has "$classes\\.kdc"'
check "no file-type class" '! reg_has "$classes\\KDR.SwitchPanel.Configuration"'
check "no installed-programs entry" '! reg_has "$uninstall_key"'

[ "$failures" = 0 ] && echo "installer under Wine: all passed" || echo "installer under Wine: $failures failed"
exit $((failures > 0))

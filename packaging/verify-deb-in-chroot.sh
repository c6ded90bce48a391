#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Proves that the .deb installs and starts on a fresh Debian 12: builds the package,
# makes a clean bookworm system with debootstrap (kept untouched in
# build/debootstrap-bookworm for the next run, and copied afresh to
# build/chroot-bookworm for each run), installs the package there with apt, starts the program under Xvfb
# and checks that its window appears, then opens a .kdc file with xdg-open, as a
# double-click in a file manager would, and checks that the program shows it.
# Needs root, and installs debootstrap and dpkg-dev on this machine when they are
# missing. The package mirror is taken from this machine's own apt sources.
set -euo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
install_missing_packages debootstrap dpkg-dev
build >/dev/null
(cd "$build_dir" && cpack >/dev/null)
deb=$(ls -t "$build_dir"/kdr-switch-panel_*_amd64.deb | head -n 1)
echo "package: $deb"

mirror_from_apt_sources() {
    local uri=""
    if compgen -G "/etc/apt/sources.list.d/*.sources" >/dev/null; then
        uri=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/*.sources)
    fi
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        uri=$(awk '$1 == "deb" && $0 !~ /security/ {for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {print $i; exit}}' /etc/apt/sources.list)
    fi
    [ -n "$uri" ] || { echo "no Debian mirror found in the apt sources" >&2; return 1; }
    echo "$uri"
}
mirror=$(mirror_from_apt_sources)

base="$build_dir/debootstrap-bookworm"
root="$build_dir/chroot-bookworm"
if [ ! -x "$base/usr/bin/apt-get" ]; then
    rm -rf "$base"
    debootstrap --variant=minbase bookworm "$base" "$mirror"
fi
rm -rf "$root"
cp -a "$base" "$root"

mounts=()
cleanup() {
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc sys dev dev/pts; do
    mkdir -p "$root/$m"
    case $m in
        proc) mount -t proc proc "$root/proc" ;;
        sys) mount -t sysfs sys "$root/sys" ;;
        *) mount --bind "/$m" "$root/$m" ;;
    esac
    mounts+=("$root/$m")
done

cp "$deb" "$root/tmp/kdr-switch-panel.deb"
cat > "$root/tmp/start-under-xvfb.sh" <<'INNER'
#!/bin/sh
# Starts the program, waits for its window; then opens a configuration file the way
# a file manager's double-click does and waits for the window that names it.
wait_for_window() {
    for i in $(seq 1 30); do
        xwininfo -root -tree | grep -q "$1" && return 0
        sleep 0.5
    done
    return 1
}
title="RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"
kdr-switch-panel &
pid=$!
wait_for_window "$title" && kill -0 "$pid" 2>/dev/null || { echo "no window"; exit 1; }
kill "$pid"
echo "the window appeared"

printf '"COACH","PORCH",13,"",160,"",159,"",0,"",25,"",99,"",150,"",42,"",7,"",158,159\r\n' > /tmp/COACH.kdc
echo "file type: $(xdg-mime query filetype /tmp/COACH.kdc), opened by: $(xdg-mime query default application/x-kdr-switch-config)"
# The program xdg-open starts carries this mark, so that only it is stopped: a
# chroot sees the host's processes, a technician's open window among them.
KDR_CHROOT_CHECK=$$ xdg-open /tmp/COACH.kdc &
wait_for_window "COACH.kdc - $title" || { echo "xdg-open did not open COACH.kdc in the tool"; exit 1; }
echo "xdg-open opened COACH.kdc in the tool"
for pid in $(pgrep -f '^kdr-switch-panel'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "KDR_CHROOT_CHECK=$$" && kill "$pid"
done
exit 0
INNER
chmod +x "$root/tmp/start-under-xvfb.sh"

chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c '
    set -e
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends /tmp/kdr-switch-panel.deb xvfb xauth x11-utils \
        xdg-utils shared-mime-info desktop-file-utils libfile-mimeinfo-perl procps >/dev/null
    dpkg -s kdr-switch-panel | grep -E "^(Status|Version)"
    ls /usr/share/applications/kdr-switch-panel.desktop /usr/share/icons/hicolor/48x48/apps/kdr-switch-panel.png
    kdr-panel --version
    xvfb-run -a -s "-screen 0 1024x768x24" /tmp/start-under-xvfb.sh
'
echo "the package installs, starts and opens .kdc files in a clean Debian 12 ($root)"

#!/usr/bin/env bash
# Proves that the .deb installs and starts on a fresh Debian 12: builds the package,
# makes a clean bookworm chroot with debootstrap (kept in build/chroot-bookworm for
# the next run), installs the package there with apt, starts the program under Xvfb
# and checks that its window appears. Needs root. The package mirror is taken from
# this machine's own apt sources.
set -euo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
install_missing_packages debootstrap dpkg-dev imagemagick
configure_and_build >/dev/null
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

root="$build_dir/chroot-bookworm"
if [ ! -x "$root/usr/bin/apt-get" ]; then
    rm -rf "$root"
    debootstrap --variant=minbase bookworm "$root" "$mirror"
fi

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
# Starts the program, waits for its window and takes a picture of the screen.
kdr-switch-panel &
pid=$!
found=1
for i in $(seq 1 30); do
    if xwininfo -root -tree | grep -q "RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"; then found=0; break; fi
    sleep 0.5
done
kill -0 "$pid" 2>/dev/null || found=1
xwd -root -silent > /tmp/screen.xwd
kill "$pid" 2>/dev/null
exit $found
INNER
chmod +x "$root/tmp/start-under-xvfb.sh"

chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c '
    set -e
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends /tmp/kdr-switch-panel.deb xvfb xauth x11-utils x11-apps >/dev/null
    dpkg -s kdr-switch-panel | grep -E "^(Status|Version)"
    ls /usr/share/applications/kdr-switch-panel.desktop /usr/share/icons/hicolor/48x48/apps/kdr-switch-panel.png
    xvfb-run -a -s "-screen 0 1024x768x24" /tmp/start-under-xvfb.sh
'
echo "the window appeared in the clean chroot"
convert "xwd:$root/tmp/screen.xwd" "$build_dir/chroot-screen.png" && echo "screen: $build_dir/chroot-screen.png"

# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts: installs what is missing and builds in build/.
# Safe to run again: it installs only missing packages and rebuilds only what changed.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$repo_root/build"

packages=(cmake ninja-build make g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev libfontconfig-dev fonts-liberation)
# What a screen reader's check of the window needs: an X server, a session bus with
# the accessibility bus, and a client of it.
packages+=(xvfb xdotool dbus-daemon dbus-bin at-spi2-core python3-gi gir1.2-atspi-2.0)
# What the configuration sheet is checked with: its text taken out, its page drawn.
packages+=(poppler-utils)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "need root or sudo to run: $*" >&2
        return 1
    fi
}

install_missing_packages() {
    local missing
    # One query for all: a package that is not installed has no "install ok installed" line.
    mapfile -t missing < <(for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done)
    if [ ${#missing[@]} -gt 0 ]; then
        echo "installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# configure [dir] [cmake options...]: configures once; later builds reconfigure by themselves.
configure() {
    local dir=${1:-$build_dir}
    shift || true
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        # Ninja: a build with nothing to do takes a tenth of what make takes.
        cmake -S "$repo_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    elif [ $# -gt 0 ]; then
        cmake -S "$repo_root" -B "$dir" "$@" >/dev/null
    fi
}

# build [target...]: everything, or only the targets named.
build() {
    configure
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
}

configure_and_build() {
    build
}

has_display() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]
}

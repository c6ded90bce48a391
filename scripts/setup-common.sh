# Shared by scripts/run and scripts/test: installs what is missing and builds in build/.
# Safe to run again: it installs only missing packages and rebuilds only what changed.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$repo_root/build"

packages=(cmake g++ make pkg-config qt6-base-dev qt6-serialport-dev libgl-dev fonts-liberation)

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
    local missing=()
    for p in "${packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

configure_and_build() {
    cmake -S "$repo_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build_dir" -j"$(nproc)"
}

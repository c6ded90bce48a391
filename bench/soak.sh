#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Soak run of the whole tool against the simulated panel (see soak.cpp).
#   bench/soak.sh [cycles]          normal build (build/)
#   bench/soak.sh --asan [cycles]   AddressSanitizer + UBSan build (build-asan/)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"
export QT_QPA_PLATFORM=offscreen

install_missing_packages
if [ "${1:-}" = "--asan" ]; then
    shift
    dir="$repo_root/build-asan"
    cmake -S "$repo_root" -B "$dir" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" >/dev/null
    cmake --build "$dir" --target soak -j"$(nproc)"
    export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir="$build_dir"
    configure_and_build >/dev/null
fi
"$dir/bench/soak" "${1:-200}"

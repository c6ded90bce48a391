# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/windows: builds a static Qt 6.4.2 for x86_64-w64-mingw32 once, into a
# cache outside the work tree, so that later runs, fresh clones and CI reuse it.
#   KDR_WINDOWS_CACHE      where the cache lives (default ~/.cache/kdr-switch-panel)
#   KDR_QTBASE_SOURCE      an unpacked qt6-base 6.4.2 source tree to use instead of
#                          fetching Debian's source package
#   KDR_QTSERIALPORT_TAR   another copy of qtserialport-everywhere-src-6.4.2.tar.xz
#                          (the repository holds one in third_party/)

source "$(dirname "${BASH_SOURCE[0]}")/private-apt.sh"

qt_version=6.4.2
windows_cache=${KDR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kdr-switch-panel}
qt_prefix="$windows_cache/qt-$qt_version-mingw-w64-static"
qt_work="$windows_cache/qt-build"
qt_toolchain="$repo_root/cmake/mingw-w64-x86_64.cmake"
qt_third_party="$repo_root/third_party"

# Bumped when the configuration below changes, so that an older cached Qt is rebuilt.
qt_recipe=2

# What the programs do not use is left out: a smaller Qt that builds in less time.
qt_configure_options=(
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=OFF
    -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections"
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_static_runtime=ON
    -DFEATURE_network=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_png=OFF
)

qt_is_cached() {
    [ "$(cat "$qt_prefix/.kdr-recipe" 2>/dev/null)" = "$qt_recipe" ]
}

# Debian's own source package of the Qt Base the host tools come from, fetched with a
# private apt configuration so that the machine's own sources stay as they are.
fetch_qtbase_source() {
    local dest=$1 version
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    echo "fetching Debian's source package qt6-base $version"
    private_apt_init "$qt_work/apt" deb-src
    (cd "$qt_work" && private_apt -qq source --download-only "qt6-base=$version")
    rm -rf "$dest"
    dpkg-source --no-check --skip-patches -x "$qt_work"/qt6-base_*.dsc "$dest" >/dev/null
    # Debian's security patches; its packaging patches are for the Linux build only.
    local patch
    for patch in "$dest"/debian/patches/cve-*.diff "$dest"/debian/patches/CVE-*.diff \
        "$dest"/debian/patches/cve-*.patch "$dest"/debian/patches/CVE-*.patch; do
        [ -f "$patch" ] || continue
        echo "  applying $(basename "$patch")"
        patch -d "$dest" -p1 -s <"$patch"
    done
}

qtserialport_archive() {
    local name="qtserialport-everywhere-src-$qt_version.tar.xz"
    local archive=${KDR_QTSERIALPORT_TAR:-$qt_third_party/$name}
    local expected
    if [ ! -f "$archive" ]; then
        echo "missing $archive (set KDR_QTSERIALPORT_TAR to a copy)" >&2
        return 1
    fi
    # Whichever copy is used, it must be the release the checksum names.
    expected=$(awk '{print $1}' "$qt_third_party/$name.sha256")
    if [ -z "$expected" ] || ! echo "$expected  $archive" | sha256sum --quiet -c -; then
        echo "$archive does not match its SHA-256 in $qt_third_party/$name.sha256" >&2
        return 1
    fi
    echo "$archive"
}

build_windows_qt() {
    if qt_is_cached; then
        echo "Qt $qt_version for Windows: cached in $qt_prefix"
        return 0
    fi
    local started=$SECONDS source archive
    echo "Qt $qt_version for Windows: building once into $qt_prefix (about 20-30 minutes on 2 cores)"
    rm -rf "$qt_work" "$qt_prefix"
    mkdir -p "$qt_work"
    archive=$(qtserialport_archive)
    if [ -n "${KDR_QTBASE_SOURCE:-}" ]; then
        source=$KDR_QTBASE_SOURCE
    else
        source="$qt_work/qtbase-src"
        fetch_qtbase_source "$source"
    fi

    echo "configuring Qt Base"
    cmake -S "$source" -B "$qt_work/qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt_toolchain" \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        "${qt_configure_options[@]}" >"$qt_work/qtbase-configure.log" 2>&1 ||
        { tail -n 40 "$qt_work/qtbase-configure.log" >&2; return 1; }
    echo "building Qt Base (log: $qt_work/qtbase-build.log)"
    cmake --build "$qt_work/qtbase" -j"$(nproc)" >"$qt_work/qtbase-build.log" 2>&1 ||
        { tail -n 40 "$qt_work/qtbase-build.log" >&2; return 1; }
    cmake --install "$qt_work/qtbase" >/dev/null

    echo "building Qt Serial Port"
    tar -C "$qt_work" -xf "$archive"
    # qt-configure-module configures into the folder it is started in.
    local serial_build="$qt_work/qtserialport"
    mkdir -p "$serial_build"
    (cd "$serial_build" && "$qt_prefix/bin/qt-configure-module" \
        "$qt_work/qtserialport-everywhere-src-$qt_version") >"$qt_work/qtserialport.log" 2>&1 ||
        { tail -n 40 "$qt_work/qtserialport.log" >&2; return 1; }
    cmake --build "$serial_build" -j"$(nproc)" >>"$qt_work/qtserialport.log" 2>&1 ||
        { tail -n 40 "$qt_work/qtserialport.log" >&2; return 1; }
    cmake --install "$serial_build" >/dev/null

    echo "$qt_recipe" >"$qt_prefix/.kdr-recipe"
    rm -rf "$qt_work"
    local took=$((SECONDS - started))
    echo "Qt $qt_version for Windows built in $((took / 60)) min $((took % 60)) s"
}

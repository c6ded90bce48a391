# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/windows: sets up Wine 10 from Debian 13 ("trixie") once, in the
# cache beside the Qt for Windows, for every Windows test. Wine 10 completes a serial
# port's comm-event wait through the I/O completion port as Windows does, so the
# programs receive over a COM port by the same path as on Windows; Debian 12's Wine 8
# takes a side road there.
#
# Not a whole Debian 13 system: only Wine and the libraries that its loader, the X11
# driver and the font code link to, unpacked from Debian's packages (about 115 MB of
# downloads, 280 MB on disk once the debug sections are dropped from Wine's own
# Windows DLLs). scripts/wine-run lays the unpacked /usr over the machine's own in a
# private mount namespace for each program it starts, so that every other path, the
# work tree, /tmp and the pseudo-terminals among them, is the same inside and out.
#   KDR_WINE_ROOT   where it lives (default: wine-10.0-trixie in the cache)

wine_release=trixie
wine_version=10.0~repack-6
wine_root=${KDR_WINE_ROOT:-$windows_cache/wine-10.0-$wine_release}
# Bumped when the list below changes, so that an older unpacked Wine is replaced.
wine_recipe=2

# Wine with its loader and server; the C library it needs with its UTF-8 locale (by
# which Wine reads the Unix command line), and libunwind for its exceptions; X11 and its extensions for the windows on Xvfb; FreeType and
# fontconfig for text, with Liberation Sans in place of Windows' faces; zlib as a
# Windows DLL for user32. Wine's media, sound, printing, smart-card and scanner
# parts load their libraries only when used; the programs use none of them.
wine_packages=(
    "libwine=$wine_version" "wine64=$wine_version" libz-mingw-w64
    libc6 libc-bin libgcc-s1 libunwind8 liblzma5
    libx11-6 libx11-data libxcb1 libxau6 libxdmcp6 libbsd0 libmd0 libxext6 libxrender1 libxi6 libxrandr2
    libxcursor1 libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1
    libfreetype6 libbrotli1 libbz2-1.0 libpng16-16t64 zlib1g libfontconfig1 libexpat1 fontconfig-config
    fonts-liberation
)

wine_is_set_up() {
    [ "$(cat "$wine_root/.kdr-recipe" 2>/dev/null)" = "$wine_recipe" ]
}

set_up_wine() {
    if wine_is_set_up; then
        echo "Wine $wine_version ($wine_release): set up in $wine_root"
        return 0
    fi
    local started=$SECONDS work="$windows_cache/wine-work" deb windows_dlls
    echo "Wine $wine_version ($wine_release): setting up once in $wine_root"
    rm -rf "$work" "$wine_root"
    mkdir -p "$work/debs" "$wine_root"
    private_apt_init "$work/apt" deb "$wine_release"
    (cd "$work/debs" && private_apt -qq download "${wine_packages[@]}")
    echo "  $(du -sh "$work/debs" | cut -f1) downloaded"
    for deb in "$work"/debs/*.deb; do
        dpkg-deb -x "$deb" "$wine_root"
    done
    # What libwine's installation would do: Wine's user32 links zlib1.dll, which Debian
    # takes from libz-mingw-w64 and marks as one of Wine's own DLLs.
    windows_dlls="$wine_root/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
    local zlib="$wine_root/usr/x86_64-w64-mingw32/lib/zlib1.dll"
    { head -c 64 "$zlib"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zlib"; } \
        >"$windows_dlls/zlib1.dll"
    # Debian ships Wine's Windows DLLs with their debug sections (711 MB of 744); the
    # "Wine builtin DLL" mark in their DOS header stays.
    find "$windows_dlls" -type f \( -name '*.dll' -o -name '*.exe' -o -name '*.drv' -o -name '*.sys' \
        -o -name '*.ocx' -o -name '*.acm' -o -name '*.cpl' -o -name '*.ax' -o -name '*.tlb' \) -print0 |
        xargs -0 -P"$(nproc)" -n50 x86_64-w64-mingw32-strip --strip-debug
    rm -rf "$wine_root/usr/share/doc" "$wine_root/usr/share/man" "$wine_root/usr/share/locale" "$work"
    echo "$wine_recipe" >"$wine_root/.kdr-recipe"
    echo "  $(du -sh "$wine_root" | cut -f1) on disk, set up in $((SECONDS - started)) s"
}

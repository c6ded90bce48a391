# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows scripts: apt against sources of the scripts' own, so that
# the machine's own apt setup is left exactly as it is.
#   private_apt_init DIR TYPE [SUITE]   sources of TYPE (deb or deb-src) in DIR that
#                                       name the machine's own archives, for SUITE
#                                       instead of the machine's release when given
#   private_apt ARGS...                 apt-get with them (after private_apt_init)

private_apt_opts=()

private_apt_init() {
    local dir=$1 type=$2 suite=${3:-} release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    mkdir -p "$dir/parts" "$dir/lists/partial" "$dir/archives/partial" "$dir/cache"
    rm -f "$dir"/parts/*
    # The entries name the same archives as the machine's binary entries; a suite of
    # the machine's release (bookworm, bookworm-updates, bookworm-security) becomes the
    # same suite of the release asked for.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -e "s/^Types:.*/Types: $type/" \
            -e "/^Suites:/s/\b$release\b/${suite:-$release}/g" \
            /etc/apt/sources.list.d/debian.sources >"$dir/parts/debian.sources"
    fi
    if [ -f /etc/apt/sources.list ]; then
        sed -n -e "s/^deb \(.*\)/$type \1/" -e "/^$type /{s/ $release\([- ]\)/ ${suite:-$release}\1/;p}" \
            /etc/apt/sources.list >"$dir/parts/debian.list"
    fi
    private_apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$dir/parts"
        -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache" -o "Dir::Cache::Archives=$dir/archives"
        -o Dir::State::status=/dev/null -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    apt-get "${private_apt_opts[@]}" -qq update
}

private_apt() {
    apt-get "${private_apt_opts[@]}" "$@"
}

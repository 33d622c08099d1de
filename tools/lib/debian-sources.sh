# shellcheck shell=bash disable=SC2154 # the variables of tools/lib.sh
# Sourced after tools/lib.sh by the scripts that take files from Debian's source packages (Qt's
# source, licence texts), through a private source list under the cache.

# debian_archives [apt-get option...]: this machine's Debian archives (those whose URI names Debian),
# "URI suite component" a line, as apt reads its sources (one marked "Enabled: no" is none).
# shellcheck disable=SC2120 # the options are a test's
debian_archives() {
    # shellcheck disable=SC2016 # apt's fields
    apt-get indextargets --no-release-info "$@" --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
        'Identifier: Packages' 'Target-Of: deb' | awk '$1 ~ /debian/' | sort -u
}

# debian_apt_get args...: apt-get on a private source list under the cache that holds this
# machine's Debian archives as deb-src, with its own package lists; only these calls read it, and
# /etc/apt stays exactly as it was. The lists are read once a day, and kept for each Debian
# release apart (a Debian 13 root shares the cache with this machine).
debian_apt_get() {
    local apt_dir release lock
    release=$(sed -n 's/^VERSION_CODENAME="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' /etc/os-release)
    apt_dir="$milka_cache/apt-${release:-unknown}"
    # One run at a time reads or renews the lists: another's refresh empties the folder first. Only
    # mkdir: an older version's tools/lib.sh, which has no make_cache, builds with this file too.
    mkdir -p "$milka_cache"
    exec {lock}>>"$apt_dir.lock"
    flock "$lock"
    touch -c "$apt_dir"
    local options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache::Archives="$apt_dir/archives"
        -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" -o APT::Sandbox::User=root)
    if [ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mtime -1 2>/dev/null)" ]; then
        rm -rf "$apt_dir"
        mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/archives/partial"
        debian_archives | sed 's|^|deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] |' \
            >"$apt_dir/sources.list.d/debian-src.list"
        apt-get "${options[@]}" update -qq
    fi
    apt-get "${options[@]}" "$@"
    exec {lock}>&-
}

# debian_source_file package version path destination: one file of a Debian source package's
# upstream tarball (fetched once into the cache), copied to destination. Only the tarball is
# fetched, checked against the SHA-256 that the archive's signed Sources index gives: the
# source's other files are not needed (and a mirror may lack them). One run at a time fetches:
# another's would remove this one's download.
debian_source_file() {
    local package=$1 version=$2 path=$3 dest=$4
    local upstream=${version%-*} dir="$milka_cache/debian-src/$1-$2" uri name sum lock
    upstream=${upstream#*:}
    mkdir -p "$milka_cache/debian-src"
    exec {lock}>>"$milka_cache/debian-src.lock"
    flock "$lock"
    touch -c "$dir"
    if [ ! -f "$dir/.complete" ]; then
        rm -rf "$dir"
        mkdir -p "$dir"
        # "'URI' name size SHA256:sum" for each file of the source.
        read -r uri name _ sum < <(debian_apt_get source --print-uris -qq "$package=$version" |
            awk -v tarball="${package}_$upstream.orig.tar." 'index($2, tarball) == 1 && $2 !~ /\.asc$/')
        [ -n "${sum:-}" ] || die "no upstream tarball of $package $version in the archive's Sources index"
        /usr/lib/apt/apt-helper -o APT::Sandbox::User=root download-file "${uri//\'/}" "$dir/$name" "$sum" >&2
        touch "$dir/.complete"
    fi
    local tarball
    tarball=$(find "$dir" -maxdepth 1 -name "${package}_$upstream.orig.tar.*" ! -name "*.asc" | head -1)
    [ -n "$tarball" ] || die "no upstream tarball of $package $version in $dir"
    tar -xOf "$tarball" --wildcards "*/$path" >"$dest"
    [ -s "$dest" ] || die "$path is not in $tarball"
    exec {lock}>&-
}

# shellcheck shell=bash
# Sourced (never run) by the scripts in tools/. It gives each of them:
#  - strict mode: the first failing command ends the script, naming the step it was in;
#  - one exit trap that undoes what the script started (virtual displays, window managers,
#    wineservers, temporary folders), last started first, on success and failure alike;
#  - the facts several scripts need: the project version, where each package is made, the Qt
#    for Windows cache, a fresh Wine prefix with the sample SPAT4 folder, waiting for a window.
# Scripts pass paths to each other through these functions, never by parsing another script's
# output, so a failed step cannot turn into a wrong path.
set -euo pipefail

milka_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
milka_script=$(basename "$0")
milka_step=""
milka_cleanups=()

# step "what it does": prints the step's heading; a failure from here on names it.
step() {
    milka_step=$*
    echo "== $*"
}

# Prints the comment block at the top of the script, its usage.
usage() {
    sed -n '2,/^[^#]/{/^#/!d; /^# shellcheck/d; s/^# \{0,1\}//; p}' "$0"
}

die() {
    echo "$milka_script: $*" >&2
    exit 1
}

# on_exit command [args...]: run at exit, after everything registered later.
on_exit() {
    local cmd
    printf -v cmd '%q ' "$@"
    milka_cleanups+=("$cmd")
}

milka_exit() {
    local status=$? i
    trap - EXIT
    set +e
    if [ "$status" -ne 0 ]; then
        if [ -n "$milka_step" ]; then
            echo "$milka_script: FAILED (exit $status) in step: $milka_step" >&2
        else
            echo "$milka_script: FAILED (exit $status)" >&2
        fi
    fi
    for ((i = ${#milka_cleanups[@]} - 1; i >= 0; i--)); do
        eval "${milka_cleanups[i]}" >/dev/null 2>&1
    done
    exit "$status"
}
trap milka_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# require_tools tool...: every one on PATH, or a message naming the ones missing.
require_tools() {
    local tool missing=""
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
    done
    [ -z "$missing" ] || die "missing:$missing (tools/install-deps --test installs them)"
}

# new_temp_dir var: a new temporary folder, removed at exit, its path put in the variable var.
# (Not a function printing the path: a trap set inside $(...) would be lost with the subshell.)
new_temp_dir() {
    local new_dir_path
    new_dir_path=$(mktemp -d "${TMPDIR:-/tmp}/milka-$milka_script.XXXXXX")
    on_exit rm -rf "$new_dir_path"
    printf -v "$1" '%s' "$new_dir_path"
}

# The version, from the one place it is defined: project() in the top CMakeLists.txt.
project_version() {
    local version
    version=$(sed -n 's/^project(Milka VERSION \([0-9][0-9.]*\) .*/\1/p' "$milka_root/CMakeLists.txt")
    [ -n "$version" ] || die "no version in project() of CMakeLists.txt"
    echo "$version"
}
milka_version=$(project_version)

# Packages are made reproducibly: every time stamp is the last commit's time (SOURCE_DATE_EPOCH,
# which rcc, strip and the package tools read), in UTC, in a C locale's sort order and messages,
# and every file made with the modes of umask 022 (as dpkg-buildpackage does), whatever the
# caller's clock, time zone, language and umask.
reproducible_env() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$milka_root" log -1 --format=%ct) ||
            die "SOURCE_DATE_EPOCH is not set and $milka_root is not a git checkout"
    fi
    export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
    unset LANGUAGE
    umask 022
}

# clone_commit folder: a fresh clone of this checkout's last commit there, as a release sees it.
clone_commit() {
    git clone -q --no-hardlinks "$milka_root" "$1"
    git -C "$1" checkout -q --detach "$(git -C "$milka_root" rev-parse HEAD)"
}

# Where each package is made (tools/package, tools/package-windows, -installer).
milka_arch=$(dpkg --print-architecture)
# shellcheck disable=SC2034 # used by the scripts that source this file
deb_path="$milka_root/build-package/milka_${milka_version}_$milka_arch.deb"
windows_build="$milka_root/build-mingw-x86_64"
windows_package_dir="$windows_build/package"
windows_zip_name="milka-$milka_version-windows-x64"
# shellcheck disable=SC2034
windows_zip_path="$windows_package_dir/$windows_zip_name.zip"
# shellcheck disable=SC2034
windows_setup_path="$windows_package_dir/milka-$milka_version-setup-x64.exe"

# Qt for Windows: what tools/build-qt-windows builds, from Debian's qt6-base source of the same
# version as the host tools, with the configure options of cmake/qt-windows-options.txt, by the
# MinGW-w64 compilers of cmake/mingw-x86_64-compilers.cmake. The cache folder is keyed by all that
# goes into the DLLs: Qt's version, the options, the compiler, binutils and runtime packages'
# versions, and the build script and toolchain file (their comments aside), so an update of any
# of them builds Qt anew instead of shipping old DLLs beside a read-me that names the new ones.
qt_windows_options=$(grep -v '^#' "$milka_root/cmake/qt-windows-options.txt")
milka_cache=${MILKA_CACHE:-$HOME/.cache/milka}
windows_toolchain_packages="gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
gcc-mingw-w64-x86-64-posix-runtime binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev"

qt_windows_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null ||
        die "qt6-base-dev-tools is not installed (tools/install-deps --test installs it)"
}
# The version of the source package (apt-get source needs it; a binary rebuild adds +bN).
qt_windows_source_version() {
    dpkg-query -W -f='${source:Version}' qt6-base-dev-tools 2>/dev/null ||
        die "qt6-base-dev-tools is not installed (tools/install-deps --test installs it)"
}
qt_windows_key() {
    local p
    {
        qt_windows_version
        echo "$qt_windows_options"
        for p in $windows_toolchain_packages; do
            echo "$p $(dpkg-query -W -f='${Version}' "$p" 2>/dev/null)"
        done
        sed '/^[[:space:]]*#/d' "$milka_root/tools/build-qt-windows" \
            "$milka_root/cmake/mingw-x86_64-compilers.cmake"
    } | sha256sum | cut -c1-10
}
qt_windows_prefix() {
    local version
    version=$(qt_windows_version)
    echo "$milka_cache/qt-${version%%+*}-mingw-x86_64-$(qt_windows_key)"
}
# Debian's qt6-base source, unpacked by tools/build-qt-windows: its licence texts go into the
# Windows packages.
qt_windows_source() {
    local version
    version=$(qt_windows_source_version)
    echo "$milka_cache/src/qt6-base-${version%%+*}"
}

# debian_apt_get args...: apt-get on a private source list under the cache that holds the deb
# stanzas of this machine's Debian archives as deb-src, with its own package lists; only
# these calls read it, and /etc/apt stays exactly as it was. The lists are read once a day.
debian_apt_get() {
    local apt_dir="$milka_cache/apt" f
    local options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache::Archives="$apt_dir/archives"
        -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" -o APT::Sandbox::User=root)
    if [ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mtime -1 2>/dev/null)" ]; then
        rm -rf "$apt_dir"
        mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/archives/partial"
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            # Whole stanzas of type deb whose URIs name a Debian archive.
            awk 'BEGIN { RS = ""; ORS = "\n\n" }
                 /(^|\n)Types:[^\n]*deb/ && /(^|\n)URIs:[^\n]*debian/ {
                     sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print
                 }' "$f" >>"$apt_dir/sources.list.d/debian-src.sources"
        done
        if [ -f /etc/apt/sources.list ]; then
            sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list \
                >"$apt_dir/sources.list.d/debian-src.list"
        fi
        apt-get "${options[@]}" update -qq
    fi
    apt-get "${options[@]}" "$@"
}

# debian_source_file package version path destination: one file of a Debian source package's
# upstream tarball (fetched once into the cache), copied to destination.
debian_source_file() {
    local package=$1 version=$2 path=$3 dest=$4
    local upstream=${version%-*} dir="$milka_cache/debian-src/$1-$2"
    upstream=${upstream#*:}
    if [ ! -f "$dir/.complete" ]; then
        rm -rf "$dir"
        mkdir -p "$dir"
        (cd "$dir" && debian_apt_get source --download-only -qq "$package=$version") >&2
        touch "$dir/.complete"
    fi
    local tarball
    tarball=$(find "$dir" -maxdepth 1 -name "${package}_$upstream.orig.tar.*" ! -name "*.asc" | head -1)
    [ -n "$tarball" ] || die "no upstream tarball of $package $version in $dir"
    tar -xOf "$tarball" --wildcards "*/$path" >"$dest"
    [ -s "$dest" ] || die "$path is not in $tarball"
}

# The rows of packaging/windows/licenses.list, "file|source|title|covers", without its comments,
# blank lines and exclusions, and without blanks around the fields.
licence_list() {
    sed -e '/^[[:space:]]*\(#\|-\|$\)/d' -e 's/[[:space:]]*|[[:space:]]*/|/g' \
        -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' "$milka_root/packaging/windows/licenses.list"
}
# Its exclusions, "id|why", for the entries of Qt's qt_attribution.json files that are not shipped.
licence_exclusions() {
    sed -n '/^[[:space:]]*-/{s/^[[:space:]]*-[[:space:]]*//; s/[[:space:]]*|[[:space:]]*/|/g; p}' \
        "$milka_root/packaging/windows/licenses.list"
}

# Builds Qt for Windows unless the cache has it, and exports its path as MILKA_QT_WINDOWS.
use_qt_windows() {
    "$milka_root/tools/build-qt-windows"
    MILKA_QT_WINDOWS=$(qt_windows_prefix)
    [ -f "$MILKA_QT_WINDOWS/.complete" ] || die "Qt for Windows is not in $MILKA_QT_WINDOWS"
    export MILKA_QT_WINDOWS
}

# A virtual X display for the rest of the script, as DISPLAY; with --wm, also a window manager
# (openbox), so windows are framed and placed as on a desktop. Both end at exit.
#   start_display [--wm] [WxHxD]
start_display() {
    local wm=0 screen dir display tries=0
    if [ "${1:-}" = --wm ]; then
        wm=1
        shift
    fi
    screen=${1:-1280x1024x24}
    require_tools Xvfb
    new_temp_dir dir
    # -displayfd: the server picks a free display and writes its number when it is ready.
    Xvfb -displayfd 9 -screen 0 "$screen" -nolisten tcp 9>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    on_exit kill_and_wait $!
    until display=$(cat "$dir/display" 2>/dev/null) && [ -n "$display" ]; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || die "the virtual display did not start: $(cat "$dir/xvfb.log")"
        sleep 0.1
    done
    export DISPLAY=":$display"
    [ $wm = 1 ] || return 0
    require_tools openbox xprop
    openbox >/dev/null 2>&1 &
    on_exit kill_and_wait $!
    tries=0
    # The window manager is up once it announces itself on the root window.
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || die "the window manager did not start"
        sleep 0.1
    done
}

kill_and_wait() {
    kill "$1" 2>/dev/null || return 0
    local tries=0
    while kill -0 "$1" 2>/dev/null && [ $tries -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    kill -9 "$1" 2>/dev/null || true
}

# wait_for_window name [seconds]: prints the id of the first window whose name matches.
wait_for_window() {
    local name=$1 tries=$((${2:-60} * 10)) id
    for ((; tries > 0; tries--)); do
        id=$(xdotool search --name "$name" 2>/dev/null | head -1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "$milka_script: no window \"$name\" appeared" >&2
    return 1
}

wine64=/usr/lib/wine/wine64

# new_wine_prefix folder: a new 64-bit Wine prefix there, made current (WINEPREFIX), that says
# it is Windows 10 (a fresh prefix of Debian's Wine says Windows 7, which Qt 6 does not support
# and takes other paths on). Its wineserver is stopped at exit, before the folder is removed.
new_wine_prefix() {
    require_tools wineboot wineserver
    [ -x "$wine64" ] || die "wine64 is missing (tools/install-deps --test installs it)"
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
    mkdir -p "$WINEPREFIX"
    on_exit stop_wineserver "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    # What winecfg -v win10 writes.
    "$wine64" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null 2>&1
    # wineboot leaves a display-less desktop process for a few seconds; a program started
    # while it lives joins it and never shows a window.
    wineserver -w
}

# set_wine_dpi dpi: the current prefix's screen scale, in dots per inch (LogPixels: 96 is
# 100 %, 120 is 125 %, 144 is 150 %), as Windows' display settings keep it.
set_wine_dpi() {
    "$wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$wine64" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}

# fresh_wine_prefix folder: a new prefix (new_wine_prefix) with the demo SPAT4 files in its
# C:\Program Files\南関東４競馬場\ (the folder is put in $spat4).
fresh_wine_prefix() {
    new_wine_prefix "$1"
    local sample
    sample=$(sample_writer)
    "$sample" --demo "$WINEPREFIX" >/dev/null
    spat4="$WINEPREFIX/drive_c/Program Files/南関東４競馬場"
    [ -d "$spat4" ] || die "no sample SPAT4 folder in $WINEPREFIX"
}

stop_wineserver() {
    WINEPREFIX=$1 wineserver -k 2>/dev/null || true
    WINEPREFIX=$1 wineserver -w 2>/dev/null || true
}

# linux_tool name: the path of one of tools/' C++ programs in the Linux build (./test builds them
# first; built here if missing).
linux_tool() {
    local exe="$milka_root/build/tools/$1"
    if [ ! -x "$exe" ]; then
        cmake -S "$milka_root" -B "$milka_root/build" -G Ninja >/dev/null
        cmake --build "$milka_root/build" --target "$1" >/dev/null
    fi
    echo "$exe"
}
sample_writer() { linux_tool make-spat4-sample; }

# The SPAT4 folder of the current prefix ($spat4): every file's bytes, and every entry's size,
# time and mode; two listings are equal only when nothing in it changed.
spat4_fingerprint() {
    (cd "$spat4" && find . -type f -exec sha256sum {} + | LC_ALL=C sort &&
        find . -exec stat -c '%n %s %Y %a' {} + | LC_ALL=C sort)
}

# sign_windows_program name file: in a signed build, the Windows program file (called name in the
# release: milka.exe, uninstall.exe or the setup's name) gets its Authenticode signature here, in
# place, before it goes into a package: tools/sign-release signs it (MILKA_SIGN=sign, set by
# tools/release --sign) or attaches the release's published signature to it (MILKA_SIGN=attach,
# set by tools/verify-release --rebuild). Without MILKA_SIGN, nothing: an unsigned build.
sign_windows_program() {
    [ -z "${MILKA_SIGN:-}" ] || "$milka_root/tools/sign-release" --program "$1" "$2"
}
# The detached signatures of a signed build, beside its packages.
# shellcheck disable=SC2034
windows_signatures="$windows_package_dir/signatures"

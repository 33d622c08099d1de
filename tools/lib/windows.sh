# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced after tools/lib.sh by the scripts that make or test the Windows program: Qt for
# Windows and its cache, Wine prefixes, the licence list, the Linux build's C++ helpers; and the
# virtual display that Wine's windows need (tools/lib/display.sh).
source "$milka_root/tools/lib/display.sh"

# Qt for Windows (tools/build-qt-windows), cached under a key of all that goes into the DLLs: an
# update of any builds Qt anew rather than ship old DLLs beside a read-me that names the new ones.
qt_windows_options=$(grep -v '^#' "$milka_root/cmake/qt-windows-options.txt")
windows_toolchain_packages="gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
gcc-mingw-w64-x86-64-posix-runtime binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev"
# What the Windows packages are made with: tools/package-windows records them for the manifest.
windows_build_packages="cmake ninja-build qt6-base-dev-tools $windows_toolchain_packages nsis zip"
windows_toolchain_file="$windows_package_dir/toolchain.txt"

qt_tools_field() {
    dpkg-query -W -f="\${$1}" qt6-base-dev-tools 2>/dev/null ||
        die "qt6-base-dev-tools is not installed (tools/install-deps --test installs it)"
}
qt_windows_version() { qt_tools_field Version; }
# The source package's version (apt-get source needs it; a binary rebuild adds +bN).
qt_windows_source_version() { qt_tools_field source:Version; }
qt_windows_key() {
    local p
    {
        qt_windows_version
        echo "$qt_windows_options"
        # With the build tools of the root it is built in; not the root's whole key, which a
        # package that has nothing to do with Qt (a test tool) would change.
        for p in $windows_toolchain_packages cmake ninja-build; do
            echo "$p $(dpkg-query -W -f='${Version}' "$p" 2>/dev/null)"
        done
        # Which of tools/lib/ the script sources, the words of its steps, its move into the
        # Windows root and its lock do not change what it builds.
        # shellcheck disable=SC2016 # a literal $ in the sed pattern
        sed -e '/^[[:space:]]*step "/d' -e '/^run_in_windows_root /d' -e '/^hold_lock /d' -e '/^[[:space:]]*#/d' \
            -e '/^source "\$milka_root\/tools\/lib\//d' \
            "$milka_root/tools/build-qt-windows" "$milka_root/cmake/mingw-x86_64-compilers.cmake"
    } | sha256sum | cut -c1-10
}
qt_windows_prefix() {
    local version
    version=$(qt_windows_version)
    echo "$milka_cache/qt-${version%%+*}-mingw-x86_64-$(qt_windows_key)"
}
# Debian's qt6-base source, unpacked by tools/build-qt-windows (the packages' licence texts come
# from it): each version in a folder of its own, which a fetch empties first.
qt_windows_source() {
    local version
    version=$(qt_windows_source_version)
    echo "$milka_cache/src/${version%%+*}/qt6-base-${version%%+*}"
}

# Builds Qt for Windows unless cached (or waits for another run's build); exports MILKA_QT_WINDOWS.
use_qt_windows() {
    "$milka_root/tools/build-qt-windows"
    MILKA_QT_WINDOWS=$(qt_windows_prefix)
    [ -f "$MILKA_QT_WINDOWS/.complete" ] || die "Qt for Windows is not in $MILKA_QT_WINDOWS"
    cache_use qt-windows "$MILKA_QT_WINDOWS"
    cache_use qt-source "$(dirname "$(qt_windows_source)")"
    export MILKA_QT_WINDOWS
}

# The rows of packaging/windows/licenses.list, "file|source|title|covers", fields trimmed.
licence_list() {
    sed -e '/^[[:space:]]*\(#\|-\|$\)/d' -e 's/[[:space:]]*|[[:space:]]*/|/g' \
        -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' "$milka_root/packaging/windows/licenses.list"
}
# Its exclusions, "id|why": entries of Qt's qt_attribution.json files that are not shipped.
licence_exclusions() {
    sed -n '/^[[:space:]]*-/{s/^[[:space:]]*-[[:space:]]*//; s/[[:space:]]*|[[:space:]]*/|/g; p}' \
        "$milka_root/packaging/windows/licenses.list"
}

# windows_programs folder: every program and DLL in the folder, its path inside it, sorted: each
# file that begins as a PE file does ("MZ"), whatever its name.
windows_programs() {
    local file
    (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort | while IFS= read -r file; do
        [ "$(head -c2 -- "$file" | tr -d '\0')" != MZ ] || echo "$file"
    done)
}

wine64=/usr/lib/wine/wine64

# wine_quietly command...: a Wine command whose chatter is not shown, unless it fails.
# (A file, not $(...): Wine's background processes would hold the pipe open.) It runs once more
# if it connected just as the last program's wineserver was stopping ("wine client error").
wine_quietly() {
    local log code=0
    log=$(mktemp)
    "$@" >"$log" 2>&1 || code=$?
    if [ $code != 0 ] && grep -q "wine client error" "$log"; then
        wineserver -w
        code=0
        "$@" >"$log" 2>&1 || code=$?
    fi
    [ $code = 0 ] || echo "$milka_script: \"$*\" failed (exit $code): $(tail -5 "$log")" >&2
    rm -f "$log"
    return $code
}

# new_wine_prefix folder: a new 64-bit Wine prefix there, made current (WINEPREFIX), saying Windows
# 10 (Debian's Wine says 7, which Qt 6 does not support); its wineserver stopped at exit.
new_wine_prefix() {
    require_tools wineboot wineserver
    [ -x "$wine64" ] || die "wine64 is missing (tools/install-deps --test installs it)"
    # The root's Wine aborts ("free(): invalid pointer") whenever TMPDIR is set: what the script
    # starts from here goes without it, and its own temporary folders stay there.
    export -n TMPDIR
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
    mkdir -p "$WINEPREFIX"
    on_exit stop_wineserver "$WINEPREFIX"
    wine_quietly wineboot --init
    # What winecfg -v win10 writes.
    wine_quietly "$wine64" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f
    # wineboot leaves a display-less desktop process for a few seconds; a program started
    # while it lives joins it and never shows a window.
    wineserver -w
}

# copy_wine_prefix from to: a copy of a stopped prefix, on the same file system: the files under
# drive_c/windows (nearly all of its 770 MB, which nothing writes) hard links to the original's,
# but copies of the rest and of every .ini and .log, which Windows programs rewrite in place.
copy_wine_prefix() {
    cp -al "$1" "$2"
    find "$2" -type f -links +1 \( ! -path "$2/drive_c/windows/*" -o -name '*.ini' -o -name '*.log' \) \
        -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' sh {} +
}

# set_wine_dpi dpi: the current prefix's screen scale (LogPixels: 96 is 100 %, 144 is 150 %).
set_wine_dpi() {
    wine_quietly "$wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
    wine_quietly "$wine64" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f
    wineserver -w
}

# fresh_wine_prefix folder: a new prefix (new_wine_prefix) with the demo SPAT4 files in its
# C:\Program Files\南関東４競馬場\ (the folder is put in $spat4).
fresh_wine_prefix() {
    new_wine_prefix "$1"
    "$(linux_tool make-spat4-sample)" --demo "$WINEPREFIX" >/dev/null
    spat4="$WINEPREFIX/drive_c/Program Files/南関東４競馬場"
    [ -d "$spat4" ] || die "no sample SPAT4 folder in $WINEPREFIX"
}

# built_helper target folder: the helper build/folder/target, built first (none left from another commit).
built_helper() {
    local log="$milka_root/build/helper-$1.log"
    mkdir -p "$milka_root/build"
    [ -f "$milka_root/build/build.ninja" ] || cmake -S "$milka_root" -B "$milka_root/build" -G Ninja >"$log" 2>&1 ||
        { tail -20 "$log" >&2; die "the Linux build (build/) does not configure, for the helper $1"; }
    cmake --build "$milka_root/build" --target "$1" >"$log" 2>&1 ||
        { grep -m10 -e 'error' -e 'FAILED' "$log" >&2; die "the helper $1 does not build (above)"; }
    echo "$milka_root/build/$2/$1"
}
linux_tool() { built_helper "$1" tools; }
# same_name_case where table: whether another build folds names to upper case as this one does (a
# "unit upper" line a unit, tests/spat4/NameCaseTable.cpp), else the first differences (< here):
# the order of file names, so which of several files is read, rests on it.
same_name_case() {
    local here
    here=$("$(built_helper name-case-table tests/spat4)")
    if [ "$here" = "$2" ]; then
        echo "upper case: the same $(wc -l <<<"$here") folded units $1"
    else
        diff <(echo "$here") <(echo "$2") | head -20 >&2 || true
        return 1
    fi
}

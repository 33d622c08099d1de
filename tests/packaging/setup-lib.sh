# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced by the Windows packages' tests in place of tools/lib.sh: the test runs in the Windows
# root with a temporary folder ($work) and the staged $setup, $zip and Windows folder ($stage);
# then an older version to upgrade from, a prefix per run, and what an installation leaves.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib.sh"
source "$milka_root/tools/lib/windows.sh"
source "$milka_root/tools/lib/release.sh"
require_tools xdotool iconv tar

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
app="ミルカ！！！（地方版）"
installed_win="C:\\Program Files\\$app"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
packages_in_windows_root "$@"
new_temp_dir work
use_stage
setup=$staged_setup zip=$staged_zip stage=$staged_windows_folder

# make_older_setup: $older_setup, the setup of commit d6f1670 (1.0.3) lowered to $older_version and
# shipping a file the current package does not (notes/older-only.txt), made by its own tools/package-
# windows-installer with today's Qt for Windows, style plugin, licence list and Debian sources; built
# once per machine into $milka_cache/older-<commit>-<hash>.
older_toolchain_files="tools/lib/debian-sources.sh packaging/windows/licenses.list"
make_older_setup() {
    local commit=d6f167055ce3a17ba4c95aab011ae37f2e772f1d changes key cached building tree package file qt_given
    older_version=1.0.2
    # shellcheck disable=SC2016 # CMake's variables, not the shell's
    changes='# Only in this older version: a file, in a folder of its own, that the current one no longer ships.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/older-only.txt "older version\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/older-only.txt DESTINATION notes)'
    dpkg --compare-versions "$milka_version" gt "$older_version" ||
        die "the version $milka_version is not above $older_version, the older version to upgrade from"
    git -C "$milka_root" rev-parse -q --verify "$commit^{commit}" >/dev/null ||
        die "commit $commit, the older version to upgrade from, is not in this checkout's" \
            "history (a shallow clone? git fetch --unshallow fetches it)"
    use_qt_windows
    # Appended to the older tools/lib/windows.sh: today's Qt and its source.
    qt_given=$(printf 'use_qt_windows() { export MILKA_QT_WINDOWS=%q; }\nqt_windows_source() { echo %q; }' \
        "$MILKA_QT_WINDOWS" "$(qt_windows_source)")
    # shellcheck disable=SC2086 # the file names are words
    key="${commit:0:7}-$({ printf '%s\n' "$older_version" "$changes" "$qt_given" &&
        (cd "$milka_root" && cat $older_toolchain_files); } | sha256sum | cut -c1-10)"
    cached="$milka_cache/older-$key"
    cache_use older "$cached"
    older_setup="$cached/milka-$older_version-setup-x64.exe"
    [ ! -f "$cached/.complete" ] || [ ! -f "$older_setup" ] || return 0
    step "an older version: commit ${commit:0:7} as version $older_version, built once into $cached"
    building=$(mktemp -d "$cached.XXXXXX")
    on_exit rm -rf "$building"
    tree="$building/tree"
    git -C "$milka_root" archive --prefix=tree/ "$commit" | tar -C "$building" -xf -
    sed -i "s/^project(Milka VERSION [0-9.]* /project(Milka VERSION $older_version /" "$tree/CMakeLists.txt"
    grep -q "^project(Milka VERSION $older_version " "$tree/CMakeLists.txt" ||
        die "could not lower the version in the CMakeLists.txt of commit ${commit:0:7}"
    printf '%s\n' "$changes" >>"$tree/packaging/windows/WindowsPackage.cmake"
    for file in $older_toolchain_files; do cp "$milka_root/$file" "$tree/$file"; done
    printf '%s\n' "$qt_given" >>"$tree/tools/lib/windows.sh"
    sed -i 's|styles/qwindowsvistastyle\.dll|styles/qmodernwindowsstyle.dll|' "$tree/packaging/windows/WindowsPackage.cmake"
    # The archived tree is no git checkout: the time stamps come from the commit. Never signed.
    SOURCE_DATE_EPOCH=$(git -C "$milka_root" log -1 --format=%ct "$commit") \
        env -u MILKA_SIGN "$tree/tools/package-windows-installer" >/dev/null
    package="$tree/build-mingw-x86_64/package"
    [ -f "$package/milka-$older_version-setup-x64.exe" ] ||
        die "commit ${commit:0:7}'s tools/package-windows-installer made no setup of version $older_version"
    [ -f "$package/milka-$older_version-windows-x64/notes/older-only.txt" ] ||
        die "the older package lacks its own file notes/older-only.txt"
    mv "$package/milka-$older_version-setup-x64.exe" "$package/milka-$older_version-windows-x64" "$building/"
    rm -rf "$tree"
    touch "$building/.complete"
    # An incomplete folder of that name is replaced; one that another run completed meanwhile is
    # kept, and this one removed at exit.
    [ -f "$cached/.complete" ] || rm -rf "$cached"
    mv -T "$building" "$cached" 2>/dev/null || [ -f "$cached/.complete" ] ||
        die "could not move the older version's build into $cached"
    [ -f "$older_setup" ] || die "no $older_setup"
}

# setup_prefix folder dpi [older]: a fresh prefix at this scale (dots per inch), made current, with
# an installation's paths, the SPAT4 folder's state for check_spat4, and with "older" the older version.
setup_prefix() {
    fresh_wine_prefix "$1"
    set_wine_dpi "$2"
    installed="$WINEPREFIX/drive_c/Program Files/$app"
    shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$app.lnk"
    spat4_before="$1.spat4"
    folder_state "$spat4" >"$spat4_before"
    [ -z "${3:-}" ] || "$wine64" "$older_setup" /S || die "the older setup /S failed"
}
check_spat4() { folder_state "$spat4" | diff -q "$spat4_before" - >/dev/null || fail "$1: the SPAT4 folder changed"; }

# Every value of every Uninstall entry naming the program (reg writes in the desktop's code page).
uninstall_entries() {
    "$wine64" reg query "$uninstall_key" /s /reg:64 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r' |
        awk -v app="$app" '
            /^HKEY_/ { if (n) flush(); key = $0; n = 0; mine = 0; next }
            NF { lines[++n] = $0; if ($1 == "DisplayName" && $2 == "REG_SZ" && $3 == app) mine = 1 }
            function flush(  i) { if (mine) { print key; for (i = 1; i <= n; i++) print lines[i] } }
            END { if (n) flush() }'
}
registered_version() { uninstall_entries | grep -qE "DisplayVersion +REG_SZ +$1\$"; }
install_fingerprint() {
    [ ! -d "$installed" ] || (cd "$installed" && find . -type f -exec sha256sum {} + | LC_ALL=C sort)
    uninstall_entries
    [ ! -e "$shortcut" ] || sha256sum "$shortcut"
}

# check_current_files what [folder]: the installed files are exactly the current package's (the
# folder's, default the staged one) and the uninstaller; one Uninstall entry, of the current version.
check_current_files() {
    local entries package=${2:-$stage}
    diff -u <(cd "$package" && { find . -type f; echo ./uninstall.exe; } | LC_ALL=C sort) \
        <(cd "$installed" && find . -type f | LC_ALL=C sort) ||
        fail "$1: the installed files are not exactly the current version's"
    cmp -s "$package/milka.exe" "$installed/milka.exe" || fail "$1: milka.exe is not the current version's"
    entries=$(uninstall_entries)
    [ "$(grep -c '^HKEY_' <<<"$entries")" = 1 ] ||
        fail "$1: not exactly one Uninstall entry: $(grep '^HKEY_' <<<"$entries" | tr '\n' ' ')"
    grep -qE "^ +DisplayVersion +REG_SZ +$milka_version\$" <<<"$entries" ||
        fail "$1: the Uninstall entry's version is not $milka_version: $(grep DisplayVersion <<<"$entries")"
}

start_installed_program() {
    "$wine64" "$installed_win\\milka.exe" >/dev/null 2>&1 &
    program=$!
    wait_for_window "SPAT4データ確認" 60 >/dev/null || fail "the installed milka.exe did not start"
}
stop_installed_program() { kill_and_wait "$program"; wait "$program" 2>/dev/null || true; }

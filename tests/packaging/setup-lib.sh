# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced by the tests of the Windows setup program, after tools/lib.sh, tools/lib/windows.sh
# and tools/lib/display.sh: the packages under test, an older version to upgrade from, a prefix
# per run, and what an installation leaves (files, the Uninstall entry, the shortcut).
require_tools xdotool iconv tar

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
app="ミルカ！！！（地方版）"
installed_win="C:\\Program Files\\$app"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
setup=$windows_setup_path
stage="$windows_package_dir/$windows_zip_name"

# make_older_setup: an older version's setup in $older_setup (version $older_version): this
# tree with a lower version number, built in a copy under build-mingw-x86_64/older, whose
# package also ships a file the current one does not (notes/older-only.txt). Made again only
# when the current setup is newer than it.
make_older_setup() {
    local major minor patch older patched
    IFS=. read -r major minor patch <<<"$milka_version"
    if [ "$patch" -gt 0 ]; then older_version="$major.$minor.$((patch - 1))"; else older_version="0.0.1"; fi
    older="$windows_build/older"
    older_setup="$older/build-mingw-x86_64/package/milka-$older_version-setup-x64.exe"
    [ ! "$older_setup" -nt "$setup" ] || return 0
    step "an older version: this tree with version $older_version, built in a copy"
    mkdir -p "$older"
    # The copy keeps its build folder from run to run: unchanged files keep their times, so only
    # what changed is built again. The two patched files are written only when their text changes.
    tar -C "$milka_root" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude=./out \
        --exclude=./CMakeLists.txt --exclude=./packaging/windows/WindowsPackage.cmake -cf - . |
        tar -C "$older" -xf -
    patched=$(mktemp)
    on_exit rm -f "$patched"
    write_if_changed() { # file; the text on standard input
        cat >"$patched"
        cmp -s "$patched" "$1" || cp "$patched" "$1"
    }
    sed "s/^project(Milka VERSION $milka_version /project(Milka VERSION $older_version /" \
        "$milka_root/CMakeLists.txt" | write_if_changed "$older/CMakeLists.txt"
    grep -q "^project(Milka VERSION $older_version " "$older/CMakeLists.txt" ||
        die "could not lower the version in the copy's CMakeLists.txt"
    {
        cat "$milka_root/packaging/windows/WindowsPackage.cmake"
        cat <<'EOF_OLDER'
# Only in this older version: a file, in a folder of its own, that the current one no longer ships.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/older-only.txt "older version\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/older-only.txt DESTINATION notes)
EOF_OLDER
    } | write_if_changed "$older/packaging/windows/WindowsPackage.cmake"
    # The copy is no git checkout: its packages take their time stamps from this one.
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$milka_root" log -1 --format=%ct)} \
        "$older/tools/package-windows-installer" >/dev/null
    [ -f "$older_setup" ] || die "the copy made no $older_setup"
    [ -f "$older/build-mingw-x86_64/package/milka-$older_version-windows-x64/notes/older-only.txt" ] ||
        die "the older package lacks its own file notes/older-only.txt"
    touch "$older_setup"
}

# setup_prefix folder dpi: a fresh prefix at this screen scale (dots per inch), made current,
# with the paths of an installation in it; the SPAT4 folder's state is kept for check_spat4.
setup_prefix() {
    fresh_wine_prefix "$1"
    set_wine_dpi "$2"
    installed="$WINEPREFIX/drive_c/Program Files/$app"
    shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$app.lnk"
    spat4_before="$1.spat4"
    spat4_fingerprint >"$spat4_before"
}
check_spat4() { # what
    spat4_fingerprint | diff -q "$spat4_before" - >/dev/null || fail "$1: the SPAT4 folder changed"
}

# Every value of every Uninstall entry naming the program (reg writes in the desktop's code page).
uninstall_entries() {
    "$wine64" reg query "$uninstall_key" /s /reg:64 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r' |
        awk -v app="$app" '
            /^HKEY_/ { if (n) flush(); key = $0; n = 0; mine = 0; next }
            NF { lines[++n] = $0; if ($1 == "DisplayName" && $2 == "REG_SZ" && $3 == app) mine = 1 }
            function flush(  i) { if (mine) { print key; for (i = 1; i <= n; i++) print lines[i] } }
            END { if (n) flush() }'
}
# The installed folder's files and their bytes, the Uninstall entries and the shortcut.
install_fingerprint() {
    [ ! -d "$installed" ] || (cd "$installed" && find . -type f -exec sha256sum {} + | LC_ALL=C sort)
    uninstall_entries
    [ ! -e "$shortcut" ] || sha256sum "$shortcut"
}

# The installed files must be exactly the current package's, byte for byte, and the uninstaller;
# one Uninstall entry, of the current version.
check_current_files() { # what
    local entries
    diff -u <(cd "$stage" && { find . -type f; echo ./uninstall.exe; } | LC_ALL=C sort) \
        <(cd "$installed" && find . -type f | LC_ALL=C sort) ||
        fail "$1: the installed files are not exactly the current version's"
    cmp -s "$stage/milka.exe" "$installed/milka.exe" || fail "$1: milka.exe is not the current version's"
    entries=$(uninstall_entries)
    [ "$(grep -c '^HKEY_' <<<"$entries")" = 1 ] ||
        fail "$1: not exactly one Uninstall entry: $(grep '^HKEY_' <<<"$entries" | tr '\n' ' ')"
    grep -qE "^ +DisplayVersion +REG_SZ +$milka_version\$" <<<"$entries" ||
        fail "$1: the Uninstall entry's version is not $milka_version: $(grep DisplayVersion <<<"$entries")"
}

# The installed milka.exe, started in the background; waits for its data-check dialog.
start_installed_program() {
    "$wine64" "$installed_win\\milka.exe" >/dev/null 2>&1 &
    program=$!
    wait_for_window "SPAT4データ確認" 60 >/dev/null || fail "the installed milka.exe did not start"
}
stop_installed_program() {
    kill_and_wait "$program"
    wait "$program" 2>/dev/null || true
}

# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced after tools/lib.sh (with tools/lib/windows.sh): the Windows zip and setup program made
# from the Windows folder, unsigned by tools/package-windows(-installer), signed by tools/release.
source "$milka_root/tools/lib/windows.sh"

# zip_windows_folder parent name zip: parent/name zipped as zip (an absolute path), the same bytes
# from the same files under any umask and clock: SOURCE_DATE_EPOCH's time, sorted, fixed modes.
zip_windows_folder() {
    local parent=$1 name=$2 zip=$3 mark_utf8
    mark_utf8=$(linux_tool zip-utf8-names)
    find "$parent/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    # The zip keeps each file's Unix mode: the same whatever umask the files were made under.
    chmod -R u=rwX,go=rX "$parent/$name"
    rm -f "$zip"
    # -X: no extra fields (Unix ids and time stamps); -D: no folder entries.
    (cd "$parent" && find "$name" -type f | LC_ALL=C sort | zip -q -X -D -9 -@ "$zip")
    [ -f "$zip" ] || die "zip made no $zip"
    # Info-ZIP writes the UTF-8 names without saying so; Windows would read them in its code page.
    "$mark_utf8" "$zip"
}

# make_windows_setup folder readme setup [uninstaller-signer]: the NSIS setup (packaging/windows/
# milka.nsi) of every file of the folder, the setup's own read-me in place of the folder's; the
# signer, if any, is run on the uninstaller (its one argument) before it goes into the setup.
# shellcheck disable=SC2016 # $INSTDIR is NSIS's, not the shell's
make_windows_setup() {
    local stage=$1 setup_readme=$2 setup=$3 signer=${4:-} work
    require_tools makensis
    [ -f "$setup_readme" ] || die "no setup read-me $setup_readme"
    new_temp_dir work
    # NSIS stores each file's time: the pictures and the read-me get the last commit's.
    mkdir "$work/resources" "$work/readme"
    cp "$milka_root"/resources/{milka.ico,setup-side.bmp,setup-header.bmp} "$work/resources/"
    local readme="$work/readme/$setup_readme_name"
    cp "$setup_readme" "$readme"
    touch -d "@$SOURCE_DATE_EPOCH" "$work"/resources/* "$readme"

    # Every file installed, and removed by the uninstaller, one by one; then each folder, if empty.
    local files="$work/installed-files.nsh" remove="$work/removed-files.nsh" dir sub f src
    touch "$files" "$remove"
    while read -r dir; do
        sub=${dir#.}
        sub=${sub//\//\\}
        printf 'SetOutPath "$INSTDIR%s"\n' "$sub" >>"$files"
        while read -r f; do
            src="$stage${dir#.}/${f#./}"
            [ "$dir/$f" != "././$setup_readme_name" ] || src=$readme
            printf 'File "%s"\n' "$src" >>"$files"
            printf 'Delete "$INSTDIR%s\\%s"\n' "$sub" "${f#./}" >>"$remove"
        done < <(cd "$stage/$dir" && find . -maxdepth 1 -type f | LC_ALL=C sort)
    done < <(cd "$stage" && find . -type d | LC_ALL=C sort)
    # Folders deepest first.
    while read -r dir; do
        sub=${dir#./}
        printf 'RMDir "$INSTDIR\\%s"\n' "${sub//\//\\}" >>"$remove"
    done < <(cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r)
    echo 'SetOutPath "$INSTDIR"' >>"$files"

    rm -f "$setup"
    makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$milka_version" -DSTAGE="$stage" -DFILES="$files" \
        -DREMOVE="$remove" -DRESOURCES="$work/resources" -DOUTFILE="$setup" \
        ${signer:+"-DSIGN_PROGRAM=$signer"} "$milka_root/packaging/windows/milka.nsi"
    [ -f "$setup" ] || die "makensis made no $setup"
}

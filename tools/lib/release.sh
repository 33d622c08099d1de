# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced after tools/lib.sh by tools/release and the tests of releases: staging folders (README,
# "Making a release"), output folders replaced whole, the state of the checkout.

stage_format="milka-stage 1"

# The packages whose versions a stage records (the Windows root's: tools/package-windows).
stage_packages="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools dpkg-dev osslsigncode gnupg"

# The state of the checkout: its commit, and when anything is uncommitted, a hash of the changes
# and untracked files after a "+". A stage made from uncommitted changes is never published.
source_state() {
    local commit
    commit=$(git -C "$milka_root" rev-parse HEAD)
    checkout_is_clean && { echo "$commit"; return; }
    printf '%s+' "$commit"
    {
        git -C "$milka_root" diff HEAD --binary
        (cd "$milka_root" && git ls-files -z --others --exclude-standard | xargs -0r sha256sum --)
    } | sha256sum | cut -c1-16
}

# absolute_path path: the path as the caller means it (relative to the folder the script was
# started in), its last part not resolved, so a link given as a folder can be seen as one.
absolute_path() {
    local dir base
    base=$(basename -- "$1")
    case "$base" in / | . | ..) (cd "$milka_caller_dir" && realpath -m -- "$1"); return ;; esac
    dir=$(cd "$milka_caller_dir" && realpath -m -- "$(dirname -- "$1")")
    echo "${dir%/}/$base"
}

# manifest_value folder key: the value of a "key value" line of its MANIFEST.
manifest_value() { [ ! -f "$1/MANIFEST" ] || sed -n "s/^$2 //p" "$1/MANIFEST" | head -1; }

# entries_that_are_not_files folder: every entry that is neither a regular file nor a folder, and
# what it is ("path (a symbolic link)"); and every name with a control character (a newline...).
entries_that_are_not_files() {
    (cd "$1" && LC_ALL=C find . -mindepth 1 \( -name '*[[:cntrl:]]*' \
        -printf '%h/? (a name with a control character)\n' \) -o \( ! -type f ! -type d -printf '%P (%y)\n' \)) |
        sed -e 's/(l)$/(a symbolic link)/' -e 's/(p)$/(a FIFO)/' -e 's/(s)$/(a socket)/' \
            -e 's/([bc])$/(a device)/'
}

# write_manifest folder kind [made-from]: the folder's MANIFEST, listing every file in it.
write_manifest() {
    local dir=$1 kind=$2 from=${3:-} p
    {
        printf '%s\n' "$stage_format" "kind $kind" "version $milka_version" \
            "commit $(git -C "$milka_root" rev-parse HEAD)" "source ${stage_source:-$(source_state)}" \
            "source-date-epoch $SOURCE_DATE_EPOCH"
        [ -z "$from" ] || echo "made-from $from"
        for p in $stage_packages; do
            echo "built-with $p $(dpkg-query -W -f='${Version}' "$p" 2>/dev/null || echo none)"
        done
        echo "built-with osslsigncode-on-path $(osslsigncode --version 2>/dev/null | head -1 | sed 's/,.*//' || echo none)"
        [ -z "${manifest_toolchain:-}" ] || echo "$manifest_toolchain"
        [ -z "${manifest_signer:-}" ] || echo "$manifest_signer"
        (cd "$dir" && find . -type f ! -path ./MANIFEST -printf '%P\0' | LC_ALL=C sort -z |
            xargs -0r sha256sum -- | sed 's/^\([0-9a-f]*\)  /file \1 /')
    } >"$dir/MANIFEST"
}

# check_stage folder kind: dies unless the folder is a staging folder of that kind, made from
# this version, holding exactly the files its manifest lists with their sums, and nothing else.
check_stage() {
    local dir=$1 kind=$2 odd
    [ ! -L "$dir" ] || die "the staging folder $dir is a symbolic link"
    [ -d "$dir" ] || die "no staging folder $dir"
    [ "$(head -1 "$dir/MANIFEST" 2>/dev/null)" = "$stage_format" ] ||
        die "$dir is not a staging folder (no MANIFEST of $stage_format)"
    [ "$(manifest_value "$dir" kind)" = "$kind" ] ||
        die "$dir holds a \"$(manifest_value "$dir" kind)\" stage, not a \"$kind\" one"
    [ "$(manifest_value "$dir" version)" = "$milka_version" ] ||
        die "$dir holds version $(manifest_value "$dir" version), this checkout $milka_version"
    odd=$(entries_that_are_not_files "$dir")
    [ -z "$odd" ] || die "$dir holds what no step wrote: $(echo "$odd" | head -3 | tr '\n' ' ')"
    odd=$(sed -n 's/^file \([0-9a-f]\{64\}\) /\1  /p' "$dir/MANIFEST" | sums_problems "$dir" "its MANIFEST" ! -path ./MANIFEST)
    [ -z "$odd" ] || { echo "$odd" >&2; die "$dir: its files are not those its MANIFEST lists (above)"; }
}

# sums_problems folder label [find test...] <sums: what is wrong with the folder against the label's
# "SUM  name" lines (SHA256SUMS, a MANIFEST), a line each: a name outside the folder (then only
# that: sha256sum would read it), a file missing or changed, a line that is no checksum (--strict),
# a file (of those the find tests pass) that is not listed.
sums_problems() {
    local dir=$1 label=$2 sums listed name
    sums=$(cat)
    listed=$(sed -E 's/^[0-9a-f]{64} [ *]//' <<<"$sums")
    name=$(grep -m1 -E '^/|(^|/)\.\.(/|$)' <<<"$listed") && { echo "$label names a file outside the folder: $name"; return 0; }
    (cd "$dir" && sha256sum --check --strict --quiet - <<<"$sums" 2>&1) | sed -n -e "s/: FAILED open or read\$/ is listed in $label but missing/p" \
        -e "s/: FAILED\$/ does not match its checksum in $label/p" -e "s/^sha256sum: WARNING: \(.*improperly formatted\)\$/$label: \1/p" \
        -e "s/^sha256sum: [^:]*: \(no properly formatted .*\)/$label: \1/p" || true
    while IFS= read -r -d '' name; do
        grep -qxF -- "$name" <<<"$listed" || echo "$name is not listed in $label"
    done < <(cd "$dir" && find . -type f "${@:3}" -printf '%P\0')
}

# stage_source_is_this_commit folder: dies unless the stage was made from this checkout's last
# commit with nothing uncommitted (what a release publishes, or signs).
stage_source_is_this_commit() {
    local state
    state=$(manifest_value "$1" source)
    case "$state" in *+*) die "$1 was made from uncommitted changes ($state); commit, then build again" ;; esac
    [ "$state" = "$(git -C "$milka_root" rev-parse HEAD)" ] ||
        die "$1 was made from commit $state, this checkout is at $(git -C "$milka_root" rev-parse HEAD)"
}

# use_stage: build-stage/, which ./test and the package tests share, made anew unless made from
# the checkout as it is, and its packages' paths. The root only checks: the .deb is made here.
milka_stage="$milka_root/build-stage"
use_stage() {
    if [ "$(manifest_value "$milka_stage" source)" != "$(source_state)" ]; then
        [ -z "${MILKA_DEBIAN_ROOT:-}" ] ||
            die "$milka_stage is not of this checkout as it is: make it with tools/release build, outside the Windows root"
        "$milka_root/tools/release" build --stage "$milka_stage"
    fi
    check_stage "$milka_stage" build
    stage_paths "$milka_stage"
}
# packages_in_windows_root "$@": run_in_windows_root, with the stage made first, here.
packages_in_windows_root() { [ -n "${MILKA_DEBIAN_ROOT:-}" ] || use_stage >&2; run_in_windows_root "$@"; }
# commit_checkout var: a checkout of the last commit with a current build-stage/: this one when
# nothing is uncommitted, else a clone in build-commit/ (a release publishes only commits).
commit_checkout() {
    local commit_dir=$milka_root
    if ! checkout_is_clean; then
        commit_dir="$milka_root/build-commit"
        echo "this checkout has uncommitted changes: its last commit, in a clone ($commit_dir)"
        if [ -d "$commit_dir/.git" ]; then
            git -C "$commit_dir" fetch -q "$milka_root" HEAD
            git -C "$commit_dir" checkout -q --detach FETCH_HEAD
        else
            clone_commit "$commit_dir"
        fi
    fi
    [ "$(manifest_value "$commit_dir/build-stage" source)" = "$(git -C "$commit_dir" rev-parse HEAD)" ] ||
        "$commit_dir/tools/release" build
    printf -v "$1" '%s' "$commit_dir"
}

# stage_paths folder: the paths of the packages in a staging folder.
stage_paths() {
    staged_deb="$1/$deb_name" staged_zip="$1/$windows_zip_name.zip" staged_setup="$1/$setup_name"
    staged_notes="$1/$notes_name" staged_windows_folder="$1/parts/$windows_zip_name"
    staged_setup_readme="$1/parts/setup/$setup_readme_name"
}

# release_notes <changelog: the Japanese release notes of the changelog's top entry (as
# dpkg-parsechangelog reads it): the version, the day of its date as written (the writer's time
# zone, not UTC's), the changes.
release_notes() {
    local changelog date
    changelog=$(cat)
    date=$(dpkg-parsechangelog -l- -SDate <<<"$changelog")
    [ -n "$date" ] || die "the changelog's top entry has no date"
    echo "ミルカ！！！（地方版） ${milka_version} リリースノート（$(LC_ALL=C date -u -d "${date% *}" +%Y-%m-%d)）"
    echo
    dpkg-parsechangelog -l- -SChanges <<<"$changelog" | sed -e '1,2d' -e 's/^\.$//' -e 's/^  //' |
        sed -e '/./,$!d' -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

# The published files of a release, as they are named in it.
deb_name="milka_${milka_version}_$milka_arch.deb"
setup_name="milka-$milka_version-setup-x64.exe"
notes_name="milka-$milka_version-release-notes-ja.txt"
release_files=("$deb_name" "$windows_zip_name.zip" "$setup_name" "$notes_name")

# new_sibling var folder: a new empty folder beside the folder (to be renamed into its place),
# removed at exit unless it was. Its name holds the process id: what a killed run left is removed,
# but an old folder whose place is empty (killed between replace_folder's renames) is put back.
new_sibling() {
    local made left
    mkdir -p "$(dirname "$2")"
    for left in "$(dirname "$2")/.$(basename "$2")".{new,old}.*; do
        [ -d "$left" ] || continue
        [[ $left =~ \.(new|old)\.([0-9]+)(\.[[:alnum:]]*)?$ ]] || continue
        ! kill -0 "${BASH_REMATCH[2]}" 2>/dev/null || continue
        if [[ $left == *.old.* ]] && put_back "$left" "$2"; then
            echo "put back $2, which a stopped run had moved aside"
        else
            echo "removing $left, left by a run that was stopped"
            rm -rf -- "$left"
        fi
    done
    made=$(mktemp -d "$(dirname "$2")/.$(basename "$2").new.$$.XXXXXX")
    on_exit rm -rf "$made"
    printf -v "$1" '%s' "$made"
}
# put_back old out: the old folder back in out's place, if out is missing.
put_back() { [ ! -e "$2" ] && [ -d "$1" ] && mv -T -- "$1" "$2"; }

# replace_folder new out: new takes out's place, in two renames (stopped between them, it puts
# the old out back as it exits); the old out is removed after. The caller checked that out holds
# only regular files and folders (no link to follow out).
replace_folder() {
    local new=$1 out=$2 old=""
    chmod 755 "$new"
    if [ -e "$out" ]; then
        old=$(mktemp -u "$(dirname "$out")/.$(basename "$out").old.$$.XXXXXX")
        on_exit put_back "$old" "$out"
        mv -T -- "$out" "$old"
    fi
    mv -T -- "$new" "$out"
    [ -z "$old" ] || rm -rf -- "$old"
}

# check_output_folder out what replaceable-test: dies unless out is not the checkout nor holds
# it, is not a link, and is new, empty or passes the test (a function that prints why not).
check_output_folder() {
    local out=$1 what=$2 test=$3 odd why
    case "$milka_root/" in "${out%/}/"*) die "refusing $what $out: it is this checkout or a folder that holds it" ;; esac
    [ ! -L "$out" ] || die "refusing $what $out: it is a symbolic link"
    [ -e "$out" ] || return 0
    [ -d "$out" ] || die "refusing $what $out: it is not a folder"
    [ -n "$(ls -A -- "$out")" ] || return 0
    odd=$(entries_that_are_not_files "$out")
    [ -z "$odd" ] || die "refusing $what $out: it holds $(echo "$odd" | head -1), which no release wrote"
    why=$("$test" "$out")
    [ -z "$why" ] || die "refusing $what $out: $why"
}
# A staging folder may be replaced by another.
replaceable_stage() {
    [ "$(head -1 "$1/MANIFEST" 2>/dev/null)" = "$stage_format" ] ||
        echo "it is not empty and holds no MANIFEST of a staging folder (give a new or empty folder)"
}
# A release folder may be replaced when it holds only what a release writes: the files its
# SHA256SUMS lists, SHA256SUMS and its signature, and the record older releases kept.
replaceable_release() {
    local entry
    [ -f "$1/SHA256SUMS" ] || { echo "it is not empty and no release made it (give a new or empty folder)"; return; }
    while IFS= read -r -d '' entry; do
        case "$entry" in SHA256SUMS | SHA256SUMS.asc | .milka-release | signatures) continue ;; esac
        # The names as plain strings (a name is not a pattern): after "sum  " or "sum *".
        grep -qxF -- "$entry" <(cut -c67- "$1/SHA256SUMS") ||
            { echo "it holds $entry, which no release wrote there"; return; }
    done < <(cd "$1" && find . -mindepth 1 ! -type d -printf '%P\0'; find . -mindepth 1 -type d ! -path ./signatures \
        ! -path './signatures/*' -printf '%P/\0')
}

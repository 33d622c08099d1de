# shellcheck shell=bash disable=SC2034 # its variables are for the scripts that source it
# Sourced by every script: strict mode (x=$(helper) too: it must not go on with what a failed
# helper printed), where the first failing command ends the script naming it and the step; one
# exit trap that undoes what the script started, last first; the version and the packages' paths.
set -Eeuo pipefail
shopt -s inherit_errexit

milka_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A relative path the caller gives means this folder, wherever the script goes.
milka_caller_dir=$PWD
milka_script=$(basename "$0")
milka_step=""
milka_cleanups=()
milka_failures=0

# step "what it does": prints the step's heading; a failure from here on names it.
step() { milka_step=$*; echo "== $*"; }

# Prints the comment block at the top of the script, its usage.
usage() {
    sed -n '2,/^[^#]/{/^#/!d; /^# shellcheck/d; s/^# \{0,1\}//; p}' "$0"
}
# help_or_unknown arg: the usage for -h or --help; any other argument is an unknown option.
help_or_unknown() { case "$1" in -h | --help) usage; exit 0 ;; esac; die "unknown option: $1 (see --help)"; }

die() { echo "$milka_script: $*" >&2; exit 1; }

# fail "what is wrong": a check that failed; the script goes on and finish counts it.
fail() {
    echo "$milka_script: $*" >&2
    milka_failures=$((milka_failures + 1))
}
# passed_since count "message": the message, if no check failed since fail's count was count.
passed_since() { [ "$milka_failures" -gt "$1" ] || echo "$2"; }
# finish "message": ends the script; with the message if every check passed, else failing.
finish() {
    milka_step=""
    [ "$milka_failures" = 0 ] || die "$milka_failures check(s) failed (above)"
    echo "$milka_script: $*"
    exit 0
}

# on_exit command [args...]: run at exit, after everything registered later.
on_exit() {
    local cmd
    printf -v cmd '%q ' "$@"
    milka_cleanups+=("$cmd")
}

# At exit the cleanups run whole: a second Ctrl-C or TERM (a person presses it again when
# nothing is printed) is ignored.
milka_exit() {
    local status=$?
    trap - EXIT ERR
    trap '' INT TERM HUP
    set +e
    if [ "$status" -ne 0 ]; then
        echo "$milka_script: FAILED (exit $status)${milka_step:+ in step: $milka_step}" >&2
    fi
    run_cleanups
    exit "$status"
}
# run_cleanups: what on_exit registered, last first, and then nothing more; their output is not
# shown, but what they write on fd 3.
run_cleanups() {
    local i
    exec 3>&2
    for ((i = ${#milka_cleanups[@]} - 1; i >= 0; i--)); do
        eval "${milka_cleanups[i]}" >/dev/null 2>&1 || true
    done
    milka_cleanups=()
}
trap milka_exit EXIT
# The command that ended the script, where it stood: many commands run quietly. Of a pipeline
# bash names only the last command, which may not be the one that failed: then the line's text
# is named, with the exit codes of its commands.
milka_failed_command() { # status "pipeline statuses" command file line
    local text
    if [ "$(wc -w <<<"$2")" -gt 1 ]; then
        text=$(sed -n "$5{s/^[[:space:]]*//;p}" "$4" 2>/dev/null) || true
        echo "$milka_script: \"${text:-$3}\" failed (exit $1; its commands ended $2; ${4##*/} line $5)" >&2
    else
        echo "$milka_script: \"$3\" failed (exit $1, ${4##*/} line $5)" >&2
    fi
}
trap 'milka_failed_command "$?" "${PIPESTATUS[*]}" "$BASH_COMMAND" "${BASH_SOURCE[0]}" "$LINENO"' ERR
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# run_stoppable [--group] command...: the command in the background, waited for, so that a signal
# to this script is taken at once (bash runs a trap only when its foreground command ends); at
# exit it gets TERM and twice the grace period to clean up before it is killed; once waited for,
# its pid may be another process's, which is left alone. --group: in a process group of its own,
# all of which gets the signals (a script whose own foreground command, tools/debian-root's
# mmdebstrap, would hold its trap back).
milka_grace=${MILKA_GRACE:-10}
run_stoppable() {
    local pid code=0 group=() slot=${#milka_cleanups[@]}
    if [ "$1" = --group ]; then
        shift
        setsid "$@" &
        group=(-- "-$!")
    else
        "$@" &
    fi
    pid=$!
    on_exit stop_process "$pid" $((milka_grace * 2)) "${group[@]}"
    wait "$pid" || code=$?
    milka_cleanups[slot]=:
    return "$code"
}
# stop_process pid seconds [pid-to-signal...]: TERM to the pids (default the pid itself), the
# seconds for the pid to end, then KILL.
stop_process() {
    local pid=$1 seconds=$2
    kill -0 "$pid" 2>/dev/null || return 0
    echo "$milka_script: stopping: up to $2 s for process $pid to clean up" 2>/dev/null >&3
    shift 2
    kill -TERM "${@:-$pid}" 2>/dev/null
    timeout "$seconds" tail -s 0.1 --pid="$pid" -f /dev/null || true
    kill -KILL "${@:-$pid}" 2>/dev/null || true
}

# require_tools tool...: every one on PATH, or a message naming the ones missing.
require_tools() {
    local tool missing=""
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
    done
    [ -z "$missing" ] || die "missing:$missing (tools/install-deps --test installs them)"
}

# new_temp_dir var: a new temporary folder, removed at exit, its path put in the variable var (a
# trap set inside $(...) would be lost with the subshell); a script's own is work (new_temp_dir work).
work=""
new_temp_dir() {
    local new_dir_path
    new_dir_path=$(mktemp -d "${TMPDIR:-/tmp}/milka-$milka_script.XXXXXX")
    on_exit rm -rf "$new_dir_path"
    printf -v "$1" '%s' "$new_dir_path"
}

# stand_in folder command: the script on standard input as a test's stand-in for the command, in
# the folder, which is first on $fake_path.
stand_in() {
    mkdir -p "$1"
    cat >"$1/$2"
    chmod +x "$1/$2"
    fake_path="$1:$PATH"
}

# folder_state folder: every entry's type, mode, size and time, and every file's SHA-256: two are
# equal only when nothing in the folder changed.
folder_state() { (cd "$1" && find . -printf '%P %y %m %s %T@\n' && find . -type f -exec sha256sum {} +) | LC_ALL=C sort; }

# The version, from the one place it is defined: project() in the top CMakeLists.txt.
milka_version=$(sed -n 's/^project(Milka VERSION \([0-9][0-9.]*\) .*/\1/p' "$milka_root/CMakeLists.txt")
[ -n "$milka_version" ] || die "no version in project() of CMakeLists.txt"

# Packages are made reproducibly: time stamps from the last commit (SOURCE_DATE_EPOCH), UTC, a C
# locale's order and messages, umask 022, whatever the caller's clock, zone, language and umask.
reproducible_env() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$milka_root" log -1 --format=%ct) ||
            die "SOURCE_DATE_EPOCH is not set and $milka_root is not a git checkout"
    fi
    export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
    unset LANGUAGE
    umask 022
}
# Whether the checkout has nothing uncommitted and no untracked file (a release refuses both).
checkout_is_clean() {
    [ -z "$(git -C "$milka_root" status --porcelain --untracked-files=normal)" ]
}
# clone_commit folder: a fresh clone of this checkout's last commit there, as a release sees it.
clone_commit() {
    git clone -q --no-hardlinks "$milka_root" "$1"
    git -C "$1" checkout -q --detach "$(git -C "$milka_root" rev-parse HEAD)"
}

# run_in_windows_root "$@": the script again in the Windows root (tools/in-windows-root), unless it
# runs there already, in the checkout: how every script that builds, packages or tests the Windows
# program starts.
run_in_windows_root() {
    [ -z "${MILKA_DEBIAN_ROOT:-}" ] || { cd "$milka_root"; return 0; }
    # exec leaves the exit trap behind: what the script set up so far is undone first.
    run_cleanups
    exec "$milka_root/tools/in-windows-root" "$(cd "$milka_caller_dir" && realpath "$0")" "$@"
}

# Built things that outlive a checkout (README, tools/cache).
milka_cache=${MILKA_CACHE:-~/.cache/milka}
# What the scripts make there, by name (tools/cache removes nothing else): the roots, Qt for
# Windows, its build and the older version (NAME-KEY, and NAME-KEY.* beside it: a ccache, a log, one
# being made), their logs and locks, Debian's package lists, the host builds' ccache, the sources.
milka_cache_names="(debian-[a-z]+(-windows)?|qt-[0-9.]+-mingw-x86_64|qt-build|older-[0-9a-f]{7})-[0-9a-f]{10}"
milka_cache_names+="(\.[A-Za-z0-9]+)?|qt-(configure-[0-9a-f]{10}|source)\.log|[a-z-]*\.lock|apt-[a-z]+|host\.ccache"
milka_cache_names+="|src(/[0-9.]+)?|debian-src(/[a-z0-9.+-]+-[0-9][0-9A-Za-z.+~:-]*)?"
# The tag of the cache, word for word (CACHEDIR.TAG: backup tools skip the folder); tools/cache
# touches no folder without it: another program's tag has the same signature, not this comment.
milka_cache_tag="Signature: 8a477f597d28d172789f06886806bc55
# The cache of the Milka scripts (tools/cache lists and prunes it). For cache
# directory tags, see https://bford.info/cachedir/"
# make_cache: the cache folder, made if need be and tagged; only a new or empty one, or one an older
# version used (with .users/), not any folder that MILKA_CACHE names, whatever it holds.
make_cache() {
    mkdir -p "$milka_cache"
    [ ! -e "$milka_cache/CACHEDIR.TAG" ] || return 0
    [ -d "$milka_cache/.users" ] || [ -z "$(ls -A -- "$milka_cache")" ] || return 0
    echo "$milka_cache_tag" >"$milka_cache/CACHEDIR.TAG.$$"
    mv -f "$milka_cache/CACHEDIR.TAG.$$" "$milka_cache/CACHEDIR.TAG"
}
# hold_lock name [flock option...]: waits for the cache's lock of that name (NAME.lock), and holds
# it for the rest of the script: one builder at a time makes a cached thing, and tools/cache
# removes nothing meanwhile.
hold_lock() {
    local fd
    make_cache
    exec {fd}>>"$milka_cache/$1.lock"
    flock "${@:2}" "$fd"
}
# lock_build_folders: the checkout's package builds (build-package/, build-mingw-x86_64/) for this
# script and those it starts alone: another run in the checkout waits (MILKA_LOCK_WAIT seconds, if set).
lock_build_folders() {
    [ "${MILKA_BUILD_LOCK:-}" != "$milka_root" ] || return 0
    local fd
    mkdir -p "$milka_root/build"
    exec {fd}>>"$milka_root/build/folders.lock"
    flock -n "$fd" || { echo "$milka_script: waiting for another run in this checkout to finish with its build folders" >&2
        flock ${MILKA_LOCK_WAIT:+-w "$MILKA_LOCK_WAIT"} "$fd"; } || die "another run in this checkout holds its build folders"
    export MILKA_BUILD_LOCK=$milka_root
}
# cache_use kind folder: the cached folder is used now, and is this checkout's folder of its kind
# (a kind has one in use at a time: a Debian root, Qt for Windows...). The script holds the cache's
# lock (.lock), shared, for the rest of its life: tools/cache removes nothing while it is held.
milka_cache_locked=0
# This checkout's record of the cached folders it uses (tools/cache reads it).
cache_record() { echo "$milka_cache/.users/$(sha256sum <<<"$milka_root" | cut -c1-16)"; }
cache_use() {
    local users
    users=$(cache_record)
    make_cache
    mkdir -p "$users"
    [ "$milka_cache_locked" = 1 ] || hold_lock "" -s
    milka_cache_locked=1
    touch -c "$2"
    echo "$milka_root" >"$users/.checkout"
    echo "${2#"$milka_cache"/}" >"$users/$1.new"
    mv "$users/$1.new" "$users/$1"
}

milka_arch=$(dpkg --print-architecture)
deb_path="$milka_root/build-package/milka_${milka_version}_$milka_arch.deb"
windows_build="$milka_root/build-mingw-x86_64"
windows_package_dir="$windows_build/package"
windows_zip_name="milka-$milka_version-windows-x64"
windows_zip_path="$windows_package_dir/$windows_zip_name.zip"
windows_setup_path="$windows_package_dir/milka-$milka_version-setup-x64.exe"
# The setup's own read-me, which says how to start and remove an installed copy; it takes the
# place of the Windows folder's read-me of the same name.
setup_readme_name="はじめにお読みください.txt"

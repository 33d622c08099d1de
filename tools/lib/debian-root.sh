# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/lib.sh and the callers
# Sourced after tools/lib.sh by the scripts that work in a Debian 13 root of tools/debian-root,
# always in a fresh copy: an overlay on the cached root. The mounts are in the script's own mount
# namespace: they end with it, however it ends, and no other process sees them. Needs root.

# own_mount_namespace "$@": the script again, in a mount namespace of its own (once).
own_mount_namespace() {
    [ "$(id -u)" -eq 0 ] || die "needs root, to mount a Debian 13 root and enter it"
    require_tools unshare chroot mount umount
    [ "${MILKA_OWN_MOUNTS:-}" != 1 ] || return 0
    local self
    self=$(cd "$milka_caller_dir" && realpath "$0")
    exec env MILKA_OWN_MOUNTS=1 unshare --mount --propagation private "$self" "$@"
}

# made_root var [--windows]: the path of tools/debian-root's cached root, in var; made first (a
# few minutes, once) in a process group that a stop ends whole, mmdebstrap too, freeing its lock.
made_root() {
    run_stoppable --group "$milka_root/tools/debian-root" "${@:2}" >&2
    printf -v "$1" '%s' "$("$milka_root/tools/debian-root" "${@:2}" | tail -1)"
    [ -d "${!1}/usr" ] || die "tools/debian-root ${*:2} made no root"
}

# mounts_below folder: the mount points below the folder, as findmnt lists them (in mount order).
mounts_below() { findmnt -ln -o TARGET | awk -v dir="$1/" 'index($0 "/", dir) == 1'; }

# leave_root folder: enter_root's folder gone. What is mounted under it is unmounted, last mounted
# first (a bind may lie over another's folder: /tmp's over a caller's folder in /tmp), the folder
# taken in its canonical form, as findmnt gives a mount point (TMPDIR may end in a slash or lead
# through a link). Then only the overlay's upper/ and work/, where nothing is mounted, are removed,
# and the rest with rmdir, which removes nothing through a mount; what is still mounted is said.
leave_root() {
    local dir
    dir=$(realpath -e -- "$1") || return 0
    mounts_below "$dir" | tac | while IFS= read -r target; do umount "$target" || umount -l "$target"; done
    if [ -n "$(mounts_below "$dir")" ]; then
        echo "$milka_script: $1 is still mounted, so not removed: $(mounts_below "$dir" | paste -sd' ')" >&3
        return 1
    fi
    rm -rf -- "$dir/upper" "$dir/work"
    rmdir -- "$dir/root" "$dir"
}

# enter_root cached-root: a fresh copy of the cached root, its path in $root, gone at exit with
# all mounted in it. It has this machine's /dev and name servers (for apt).
enter_root() {
    local work
    cache_use "$(basename "${1%-*}")" "$1"
    work=$(mktemp -d "${TMPDIR:-/tmp}/milka-$milka_script.XXXXXX")
    work=$(realpath -e -- "$work")
    on_exit leave_root "$work"
    root="$work/root"
    mkdir "$root" "$work/upper" "$work/work"
    mount -t overlay overlay -o "lowerdir=$1,upperdir=$work/upper,workdir=$work/work" "$root"
    mount --rbind /dev "$root/dev"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# bind_into_root folder [path-in-root] [ro]: the folder seen in the root, at its own path unless
# another is given; read-only with ro. A link in the root that leads out of it (/var/run to /run)
# is refused: the bind, and the folders made for it, would be the machine's.
bind_into_root() {
    local target
    target=$(realpath -m -- "$root${2:-$1}")
    [[ $target/ == "$root"/* ]] || die "refusing to bind $1 at ${2:-$1} in the root: a link there leads out of it, to $target"
    mkdir -p "$target"
    mount --bind "$1" "$target"
    [ "${3:-}" != ro ] || mount -o remount,bind,ro "$target"
}

# in_root [--offline] command...: runs in the root, in the checkout (or root_cwd), with a clean
# environment (and the array root_env), in a process namespace of its own: what it leaves running
# ends with it. --offline: in a network namespace of its own too (no network, its own X displays).
# root_command only puts that command line in the array root_command, to run in the background.
root_env=() root_cwd=""
root_command() {
    local net=()
    [ "$1" != --offline ] || { net=(--net); shift; }
    root_command=(unshare --pid "${net[@]}" --fork --kill-child --mount-proc="$root/proc" chroot "$root"
        /usr/bin/env -i -C "${root_cwd:-$milka_root}" PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
        LANG=C.UTF-8 TERM="${TERM:-dumb}" ${CI:+CI="$CI"} "${root_env[@]}" "$@")
}
in_root() { root_command "$@"; "${root_command[@]}"; }

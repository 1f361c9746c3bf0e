# Sourced by the release checks: a fresh minimal Debian chroot under /var/tmp,
# with /proc, /sys and /dev mounted in it, and on exit whatever happens its
# processes stopped, everything unmounted and the chroot removed. Needs root.
#   make_chroot RELEASE       debootstraps RELEASE and sets $chroot
#   copy_source DIR           copies the source tree without build output to DIR in the
#                             chroot, with or without git
#   in_chroot COMMAND...      runs COMMAND as root inside, in a clean environment
set -euo pipefail

chroot=""
chroot_log=""

remove_chroot() {
    local status=$? proc mount_point killed=false
    [[ -n "$chroot" ]] || return "$status"
    # A process still running inside would keep the mounts busy.
    for proc in /proc/[0-9]*; do
        if [[ "$(readlink "$proc/root" 2>/dev/null)" == "$chroot" ]]; then
            kill -9 "${proc#/proc/}" 2>/dev/null || true
            killed=true
        fi
    done
    if $killed; then sleep 1; fi
    # Everything mounted below the chroot, ours or left by a failed debootstrap,
    # deepest first.
    for mount_point in $(awk -v root="$chroot/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r); do
        umount "$mount_point" 2>/dev/null || umount -l "$mount_point" ||
            echo "WARNING: could not unmount $mount_point" >&2
    done
    # Never remove while anything is mounted below: rm would reach into the host's /dev.
    if grep -q " $chroot/" /proc/mounts; then
        echo "WARNING: $chroot still has mounts, left in place" >&2
    else
        rm -rf --one-file-system "$chroot" "$chroot_log"
    fi
    return "$status"
}
trap remove_chroot EXIT

chroot_mount() {
    local target=$chroot/$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
}

# The Debian mirror that this machine's apt fetches its own release from.
host_mirror() {
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
        awk -v release="$release" '$2 == release { print $1; exit }'
}

make_chroot() {
    local release=$1
    ((EUID == 0)) || { echo "FAIL: making a chroot needs root" >&2; exit 1; }
    command -v debootstrap >/dev/null || { echo "FAIL: debootstrap is missing" >&2; exit 1; }
    # Outside the work tree, so that no build or copy ever sees it.
    mkdir -p /var/tmp/brevio-chroots
    chroot=$(mktemp -d "/var/tmp/brevio-chroots/$release.XXXXXX")
    # Open to other users like any root directory: the Wayland test runs its
    # session as a system user, who must reach the system's libraries.
    chmod 755 "$chroot"
    chroot_log=$chroot.log
    echo "== debootstrap $release into $chroot"
    # Without a mirror, debootstrap takes its own default.
    local mirror=${DEBIAN_MIRROR:-$(host_mirror)}
    if ! debootstrap --variant=minbase "$release" "$chroot" ${mirror:+"$mirror"} >"$chroot_log" 2>&1; then
        tail -n 30 "$chroot_log" >&2
        echo "FAIL: debootstrap $release failed" >&2
        exit 1
    fi
    chroot_mount proc -t proc proc
    chroot_mount sys -t sysfs sysfs
    chroot_mount dev --bind /dev
    # Mounts below the chroot's /dev must not propagate back to the host's /dev.
    mount --make-rslave "$chroot/dev"
    chroot_mount dev/pts --bind /dev/pts
    chroot_mount dev/shm -t tmpfs -o mode=1777 tmpfs
    # apt inside needs name resolution.
    cp /etc/resolv.conf "$chroot/etc/resolv.conf"
}

copy_source() {
    local repo target=$chroot/$1 pattern excludes=()
    repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
    mkdir -p "$target"
    if command -v git >/dev/null && [[ "$(git -C "$repo" rev-parse --show-toplevel 2>/dev/null)" == "$repo" ]]; then
        # Tracked and new files, not what .gitignore names (build directories).
        git -C "$repo" ls-files -z --cached --others --exclude-standard |
            tar -C "$repo" --null -T - --ignore-failed-read -cf - | tar -C "$target" -xf -
        return
    fi
    # A tree without git, such as the unpacked source package: all of it but
    # what .gitignore names, where there is one, and any CMake build directory.
    if [[ -f $repo/.gitignore ]]; then
        while IFS= read -r pattern; do
            [[ -n $pattern && $pattern != \#* ]] || continue
            pattern=${pattern%/}
            if [[ $pattern == /* ]]; then
                excludes+=(--anchored "--exclude=.$pattern" --no-anchored)
            else
                excludes+=("--exclude=$pattern")
            fi
        done <"$repo/.gitignore"
    fi
    tar -C "$repo" --anchored --exclude=./.git --no-anchored "${excludes[@]}" \
        --exclude-tag-all=CMakeCache.txt -cf - . | tar -C "$target" -xf -
}

in_chroot() {
    chroot "$chroot" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

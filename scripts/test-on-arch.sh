#!/usr/bin/env bash
# Builds Brevio and its tests for other Debian architectures and runs every test
# that needs no display server there (all but the end-to-end ones). The build is a
# cross build in a fresh minimal amd64 chroot of the chosen Debian release, with
# Debian's multiarch packages; the tests run under qemu's user mode emulation,
# i386 natively. The chroot lives under /var/tmp and is removed afterwards; the
# host's Qt is not touched. Works from a git work tree or from a tree without git,
# such as the unpacked source package.
# usage: test-on-arch.sh [--release bookworm|trixie] ARCH...    as root
#        ARCH: armel, armhf, arm64, i386, ppc64el, s390x, and riscv64 from trixie on.
#        The release defaults to bookworm (Debian 12). Several architectures share
#        one chroot, one after the other (CI runs armhf and s390x so). Each runs to
#        its end even when another failed; a table at the end gives each one's
#        result and times, and the exit status is non-zero when any failed.
#        DEBIAN_MIRROR=URL picks another mirror than this machine's own
set -euo pipefail
cd "$(dirname "$0")/.."

# The architectures each release can be checked on; riscv64 is a release
# architecture from Debian 13 on.
declare -A release_archs=(
    [bookworm]="armel armhf arm64 i386 ppc64el s390x"
    [trixie]="armel armhf arm64 i386 ppc64el riscv64 s390x"
)
# qemu's name for each architecture's processor; i386 runs on amd64 itself.
declare -A qemu_cpu=([armel]=arm [armhf]=arm [arm64]=aarch64 [i386]="" [ppc64el]=ppc64le
                     [riscv64]=riscv64 [s390x]=s390x)
usage() {
    echo "usage: test-on-arch.sh [--release bookworm|trixie] ARCH..." >&2
    echo "       ARCH: bookworm: ${release_archs[bookworm]}; trixie: ${release_archs[trixie]}" >&2
    exit 2
}

release=bookworm
while (($#)); do
    case $1 in
        --release) (($# >= 2)) || usage; release=$2; shift 2 ;;
        --release=*) release=${1#--release=}; shift ;;
        --) shift; break ;;
        -*) usage ;;
        *) break ;;
    esac
done
(($#)) || usage
[[ -v "release_archs[$release]" ]] || { echo "FAIL: unknown release '$release'" >&2; usage; }
archs=()
for arch in "$@"; do
    [[ " ${release_archs[$release]} " == *" $arch "* ]] ||
        { echo "FAIL: no architecture '$arch' on $release" >&2; usage; }
    [[ " ${archs[*]} " == *" $arch "* ]] || archs+=("$arch")
done
[[ "$(dpkg --print-architecture)" == amd64 ]] || { echo "FAIL: the cross build needs an amd64 host" >&2; exit 1; }
((EUID == 0)) || { echo "FAIL: run as root (chroot, binfmt_misc)" >&2; exit 1; }

scripts/install-deps.sh arch
source scripts/chroot.sh

# Lets the kernel hand the target's programs to qemu, as the qemu-user-static
# package arranges at boot on a system with systemd.
enable_emulation() {
    local name=qemu-$1 binfmt=/proc/sys/fs/binfmt_misc
    [[ -e /usr/lib/binfmt.d/$name.conf ]] ||
        { echo "qemu-user-static has no /usr/lib/binfmt.d/$name.conf" >&2; return 1; }
    [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
    if [[ ! -e $binfmt/$name ]]; then
        cat "/usr/lib/binfmt.d/$name.conf" >"$binfmt/register" || return 1
    fi
    grep -qx enabled "$binfmt/$name" || echo 1 >"$binfmt/$name" || return 1
    # F: the kernel opened qemu when registering it, so it also runs in a chroot without it.
    grep -q '^flags:.*F' "$binfmt/$name" ||
        { echo "$name is registered without the F flag, so qemu cannot run inside a chroot" >&2; return 1; }
}

# Debian's cross compiler for the target, and debian/control's build
# dependencies as a cross build resolves them: Qt and OpenGL of the target, this
# machine's build tools and Qt code generators, and what the tests read whichever
# processor runs them (fonts, Qt's German texts, the locale sources for localedef).
install_packages() {
    local arch=$1
    local log=$chroot/root/install-$arch.log
    echo "== Installing the build dependencies for $arch"
    if ! { in_chroot DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "crossbuild-essential-$arch" &&
        in_chroot DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -q --no-install-recommends \
            --host-architecture "$arch" /root/brevio/; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "-- the packages for $arch did not install" >&2
        return 1
    fi
}

# The tests' locales, made in the target's byte order: glibc refuses locale
# files of the other one, which localedef writes for this machine otherwise.
# LOCPATH points the target's glibc at them; the wrapper serves the test that
# makes its own locale.
make_locales() {
    local endian=$1 tools=$2
    mkdir -p "$chroot$tools/locales" "$chroot$tools/bin" &&
        in_chroot localedef "--$endian-endian" -i C -f UTF-8 "$tools/locales/C.utf8" &&
        in_chroot localedef "--$endian-endian" -i en_US -f ISO-8859-1 "$tools/locales/en_US" &&
        printf '#!/bin/sh\nexec /usr/bin/localedef --%s-endian "$@"\n' "$endian" >"$chroot$tools/bin/localedef" &&
        chmod +x "$chroot$tools/bin/localedef"
}

# A plain CMake build with the target's compiler; Qt's moc, rcc and uic are this machine's.
build_for() {
    local arch=$1 build=$2 triplet cpu
    triplet=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null) &&
        cpu=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_GNU_CPU 2>/dev/null) || return 1
    echo "== Building for $arch ($triplet) on $release"
    in_chroot cmake -S /root/brevio -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$cpu" -DCMAKE_CXX_COMPILER="$triplet-g++" \
        >/dev/null &&
        in_chroot cmake --build "$build" -j2 2>&1 | tee "$chroot/root/build-$arch.log"
}

run_tests() {
    local arch=$1 build=$2 tools=$3 status=0
    echo "== Tests on $arch${qemu_cpu[$arch]:+ (qemu-${qemu_cpu[$arch]})} on $release"
    in_chroot PATH="$tools/bin:/usr/sbin:/usr/bin:/sbin:/bin" LOCPATH="$tools/locales" \
        ctest --test-dir "$build" -LE e2e --output-on-failure --no-tests=error -j2 |
        tee "$chroot/root/ctest-$arch.log" || status=$?
    # ctest hides a passing test's output; its skipped functions show what did not run.
    echo "-- Test functions skipped on $arch:"
    grep -hs '^SKIP' "$chroot$build/Testing/Temporary/LastTest.log" | sort | uniq -c || echo "   none"
    return "$status"
}

# Runs one architecture to its end; sets result, warnings and the *_seconds of its phases.
check_arch() {
    local arch=$1 start endian
    local build=/root/brevio/build-$arch tools=/root/$arch
    package_seconds=0 build_seconds=0 test_seconds=0 warnings=-
    start=$SECONDS
    install_packages "$arch" || { result="failed: packages"; package_seconds=$((SECONDS - start)); return 1; }
    package_seconds=$((SECONDS - start))
    if [[ -n "${qemu_cpu[$arch]}" ]] && ! enable_emulation "${qemu_cpu[$arch]}"; then
        result="failed: qemu"
        return 1
    fi
    start=$SECONDS
    endian=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_ARCH_ENDIAN 2>/dev/null) &&
        make_locales "$endian" "$tools" || { result="failed: locales"; return 1; }
    if ! build_for "$arch" "$build"; then
        build_seconds=$((SECONDS - start))
        result="failed: build"
        return 1
    fi
    build_seconds=$((SECONDS - start))
    warnings=$(grep -c 'warning:' "$chroot/root/build-$arch.log" || true)
    start=$SECONDS
    run_tests "$arch" "$build" "$tools"
    local status=$?
    test_seconds=$((SECONDS - start))
    result=$(grep -Eo '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$chroot/root/ctest-$arch.log" ||
        echo "no test result")
    if ((status != 0)); then
        result="failed: tests ($result)"
        return 1
    fi
    result="passed ($result)"
}

start=$SECONDS
make_chroot "$release"
copy_source root/brevio
for arch in "${archs[@]}"; do
    in_chroot dpkg --add-architecture "$arch"
done
in_chroot apt-get -q update >/dev/null
chroot_seconds=$((SECONDS - start))

rows=()
failed=()
for arch in "${archs[@]}"; do
    arch_start=$SECONDS
    check_arch "$arch" || failed+=("$arch")
    rows+=("$(printf '%-8s %-9s %8ss %6ss %6ss %6ss %8s  %s' "$arch" "$release" "$package_seconds" \
        "$build_seconds" "$test_seconds" "$((SECONDS - arch_start))" "$warnings" "$result")")
done

echo "== Summary (chroot and package lists: ${chroot_seconds}s, all: ${SECONDS}s)"
printf '%-8s %-9s %9s %7s %7s %7s %8s  %s\n' arch release packages build tests total warnings result
printf '%s\n' "${rows[@]}"
((${#failed[@]} == 0)) || { echo "FAIL: failed on $release: ${failed[*]}" >&2; exit 1; }
echo "PASS: every test without a display server passes on $release: ${archs[*]}"

#!/usr/bin/env bash
# Builds Brevio and its tests for another Debian architecture and runs every test
# that needs no display server there (all but the end-to-end ones). The build is a
# cross build in a fresh minimal Debian 12 amd64 chroot with Debian's multiarch
# packages; the tests run under qemu's user mode emulation, i386 natively. The
# chroot lives under /var/tmp and is removed afterwards; the host's Qt is not touched.
# usage: test-on-arch.sh ARCH...    armhf, arm64, i386, s390x or ppc64el; as root
#        Several architectures share one chroot (CI runs armhf and s390x so).
#        DEBIAN_MIRROR=URL picks another mirror than this machine's own
set -euo pipefail
cd "$(dirname "$0")/.."
(($#)) || { echo "usage: test-on-arch.sh ARCH...   (armhf, arm64, i386, s390x, ppc64el)" >&2; exit 2; }
release=bookworm

# qemu's name for each architecture's processor; i386 runs on amd64 itself.
declare -A qemu_cpu=([armhf]=arm [arm64]=aarch64 [s390x]=s390x [ppc64el]=ppc64le [i386]="")
for arch in "$@"; do
    [[ -v "qemu_cpu[$arch]" ]] || { echo "FAIL: unknown architecture '$arch'" >&2; exit 2; }
done
[[ "$(dpkg --print-architecture)" == amd64 ]] || { echo "FAIL: the cross build needs an amd64 host" >&2; exit 1; }
((EUID == 0)) || { echo "FAIL: run as root (chroot, binfmt_misc)" >&2; exit 1; }

scripts/install-deps.sh arch
source scripts/chroot.sh
fail() { echo "FAIL: $*" >&2; exit 1; }

# Lets the kernel hand the target's programs to qemu, as the qemu-user-static
# package arranges at boot on a system with systemd.
enable_emulation() {
    local name=qemu-$1 binfmt=/proc/sys/fs/binfmt_misc
    [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
    if [[ ! -e $binfmt/$name ]]; then
        cat "/usr/lib/binfmt.d/$name.conf" >"$binfmt/register"
    fi
    grep -qx enabled "$binfmt/$name" || echo 1 >"$binfmt/$name"
    # F: the kernel opened qemu when registering it, so it also runs in a chroot without it.
    grep -q '^flags:.*F' "$binfmt/$name" ||
        fail "$name is registered without the F flag, so qemu cannot run inside a chroot"
}

start=$SECONDS
make_chroot "$release"
copy_source root/brevio
chroot_seconds=$((SECONDS - start))

start=$SECONDS
for arch in "$@"; do
    in_chroot dpkg --add-architecture "$arch"
done
in_chroot apt-get -q update >/dev/null
# Debian's cross compiler for the target, and debian/control's build
# dependencies as a cross build resolves them: Qt and OpenGL of the target, this
# machine's build tools and Qt code generators, and what the tests read whichever
# processor runs them (fonts, Qt's German texts, the locale sources for localedef).
for arch in "$@"; do
    echo "== Installing the build dependencies for $arch"
    { in_chroot DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "crossbuild-essential-$arch" &&
        in_chroot DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -q --no-install-recommends \
            --host-architecture "$arch" /root/brevio/; } >>"$chroot/root/install.log" 2>&1 ||
        { tail -n 30 "$chroot/root/install.log"; fail "apt-get build-dep failed for $arch"; }
done
package_seconds=$((SECONDS - start))

summary=()
failed=()
for arch in "$@"; do
    [[ -z "${qemu_cpu[$arch]}" ]] || enable_emulation "${qemu_cpu[$arch]}"
    triplet=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null)
    cpu=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)
    endian=$(in_chroot dpkg-architecture -a "$arch" -qDEB_HOST_ARCH_ENDIAN 2>/dev/null)
    build=/root/brevio/build-$arch

    # The tests' locales, made in the target's byte order: glibc refuses locale
    # files of the other one, which localedef writes for this machine otherwise.
    # LOCPATH points the target's glibc at them; the wrapper serves the test that
    # makes its own locale.
    tools=/root/$arch
    mkdir -p "$chroot$tools/locales" "$chroot$tools/bin"
    in_chroot localedef "--$endian-endian" -i C -f UTF-8 "$tools/locales/C.utf8"
    in_chroot localedef "--$endian-endian" -i en_US -f ISO-8859-1 "$tools/locales/en_US"
    printf '#!/bin/sh\nexec /usr/bin/localedef --%s-endian "$@"\n' "$endian" >"$chroot$tools/bin/localedef"
    chmod +x "$chroot$tools/bin/localedef"

    echo "== Building for $arch ($triplet)"
    start=$SECONDS
    # The README's build, with the target's compiler; Qt's moc, rcc and uic are this machine's.
    in_chroot cmake -S /root/brevio -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$cpu" -DCMAKE_CXX_COMPILER="$triplet-g++" \
        >/dev/null
    in_chroot cmake --build "$build" -j2 2>&1 | tee "$chroot/root/build-$arch.log"
    warnings=$(grep -c 'warning:' "$chroot/root/build-$arch.log" || true)
    build_seconds=$((SECONDS - start))

    echo "== Tests on $arch${qemu_cpu[$arch]:+ (qemu-${qemu_cpu[$arch]})}"
    start=$SECONDS
    status=0
    in_chroot PATH="$tools/bin:/usr/sbin:/usr/bin:/sbin:/bin" LOCPATH="$tools/locales" \
        ctest --test-dir "$build" -LE e2e --output-on-failure --no-tests=error -j2 |
        tee "$chroot/root/ctest-$arch.log" || status=$?
    test_seconds=$((SECONDS - start))
    # ctest hides a passing test's output; its skipped functions show what did not run.
    echo "-- Test functions skipped on $arch:"
    grep -h '^SKIP' "$chroot$build/Testing/Temporary/LastTest.log" | sort | uniq -c || echo "   none"
    result=$(grep -E '^[0-9]+% tests passed' "$chroot/root/ctest-$arch.log" || echo "no test result")
    summary+=("$arch: build ${build_seconds}s ($warnings warnings), tests ${test_seconds}s: $result")
    ((status == 0)) || failed+=("$arch")
done

echo "== Summary (chroot ${chroot_seconds}s, packages ${package_seconds}s)"
printf '%s\n' "${summary[@]}"
((${#failed[@]} == 0)) || fail "tests failed on ${failed[*]}"
echo "PASS: every test without a display server passes on $*"

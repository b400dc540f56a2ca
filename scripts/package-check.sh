#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
#
# Builds the Debian packages (cpack -G DEB) from an install under /usr, checks each with lintian, installs
# them with dpkg -i and uses them as a farm admin and a pipeline developer would: kxinspect and
# kxfarmserver on the bundled sample farm from the installed paths, a tool built with pkg-config and one
# with find_package, import kxfarm, every manual page through man -l, the bash completion. The packages
# are removed again at the end, so the machine is left as it was.
# Usage: scripts/package-check.sh [--no-install]   (--no-install: build and lintian only, no root needed)
# The build reuses build/package (Release with debug info, like the default preset, so ccache serves
# the default build's objects) and builds only what is packaged.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
install=yes
[ "${1:-}" = "--no-install" ] && install=no
bash "$root/scripts/install-deps.sh" lintian help2man man-db dpkg-dev file

build="$root/build/package"
cd "$root"
# Linked with -z now as Debian's hardened packages are (compiling is unchanged, so ccache still serves).
now="-Wl,-z,now"
cmake --preset default -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DKX_MANPAGES=ON \
    -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCHMARKS=OFF \
    -DCMAKE_EXE_LINKER_FLAGS="$now" -DCMAKE_SHARED_LINKER_FLAGS="$now" -DCMAKE_MODULE_LINKER_FLAGS="$now" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$build/packages" >/dev/null)
debs=("$build"/packages/*.deb)
echo "== packages"
for deb in "${debs[@]}"; do
    echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
done

# lintian: no error, and no warning other than those the README names with their reason.
echo "== lintian"
# initial-upload-closes-no-bugs: the README says why it stays.
allowed_warnings=(initial-upload-closes-no-bugs)
lintian_out="$build/packages/lintian.txt"
if ! lintian --no-cfg --display-info --fail-on none "${debs[@]}" >"$lintian_out" 2>&1; then
    cat "$lintian_out"
    echo "package-check: lintian did not run" >&2
    exit 1
fi
cat "$lintian_out"
if grep -q '^E: ' "$lintian_out"; then
    echo "package-check: lintian reports errors" >&2
    exit 1
fi
unexpected=$(grep '^W: ' "$lintian_out" | awk '{print $3}' | sort -u |
    grep -vxF -f <(printf '%s\n' "${allowed_warnings[@]}" '') || true)
if [ -n "$unexpected" ]; then
    echo "package-check: lintian warnings not named in the README: $unexpected" >&2
    exit 1
fi
[ "$install" = yes ] || { echo "package-check: built and checked, not installed (--no-install)"; exit 0; }
if [ "$(id -u)" -ne 0 ]; then
    echo "package-check: installing the packages needs root (or use --no-install)" >&2
    exit 1
fi

names=()
for deb in "${debs[@]}"; do
    name=$(dpkg-deb -f "$deb" Package)
    if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
        echo "package-check: $name is installed already; remove it first (dpkg -r $name)" >&2
        exit 1
    fi
    names+=("$name")
done
scratch=$(mktemp -d)
cleanup() {
    dpkg -r "${names[@]}" >/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
echo "== dpkg -i"
dpkg -i "${debs[@]}"

check() { # check WHAT REGEX... -- COMMAND...: run COMMAND; its output must match every REGEX
    local what=$1 out pattern
    local patterns=()
    shift
    while [ "$1" != -- ]; do patterns+=("$1"); shift; done
    shift
    if ! out=$("$@" 2>&1); then
        printf 'package-check: %s failed:\n%s\n' "$what" "$out" >&2
        exit 1
    fi
    for pattern in "${patterns[@]}"; do
        if ! grep -Eq -- "$pattern" <<<"$out"; then
            printf 'package-check: %s printed, without /%s/:\n%s\n' "$what" "$pattern" "$out" >&2
            exit 1
        fi
    done
    echo "ok: $what"
}
cd "$scratch"
env -u LD_LIBRARY_PATH PATH=/usr/bin:/bin bash -c '
    set -e; [ "$(command -v kxinspect)" = /usr/bin/kxinspect ]; [ "$(command -v kxfarmserver)" = /usr/bin/kxfarmserver ]'
check "kxinspect id" "short text +\{AAAfz\}" -- env -u LD_LIBRARY_PATH /usr/bin/kxinspect id 0x1234567890
check "kxinspect filter on the installed sample farm" "pass \{KT9 \} shot010 preview" -- \
    env -u LD_LIBRARY_PATH /usr/bin/kxinspect filter 'anna -preview' --farm /usr/share/kxfarmserver/samplefarm.ini
check "kxfarmserver on the installed sample farm and plug-in" "^  pInfo +-> 1 +kxMessage" "pNotify -> 14 " \
    "NOT SEND\. 'render42' not found" "^  pExit +-> 1" -- env -u LD_LIBRARY_PATH /usr/bin/kxfarmserver
/usr/bin/kxfarmserver --json 2>/dev/null | python3 -c 'import json, sys; json.load(sys.stdin)'

# A farm tool that knows only pkg-config.
g++ -std=c++17 -o farmtool "$root/tests/install/consumer/farmtool.cpp" \
    $(pkg-config --cflags --libs kxNotifyKXMessage)
check "pkg-config consumer" "^\{KT9a\} Finished$" -- env -u LD_LIBRARY_PATH ./farmtool
# And one that uses CMake's find_package against the installed package.
cmake -S "$root/tests/install/consumer" -B cmake-consumer -G Ninja -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >/dev/null
cmake --build cmake-consumer >/dev/null
check "find_package consumer" "^\{KT9a\} Finished$" -- env -u LD_LIBRARY_PATH ./cmake-consumer/farmtool

check "import kxfarm" "^/usr/lib/python3/dist-packages/kxfarm/__init__.py 7$" -- env -u PYTHONPATH -u LD_LIBRARY_PATH \
    /usr/bin/python3 -c 'import kxfarm; print(kxfarm.__file__, len(kxfarm.load_sample_farm("/usr/share/kxfarmserver/samplefarm.ini").jobs))'

# Every manual page renders; kxinspect's lists every command its --help lists.
for page in /usr/share/man/man1/kxinspect.1.gz /usr/share/man/man1/kxfarmserver.1.gz; do
    check "man -l $page" "^NAME" "^SYNOPSIS" -- env MANWIDTH=100 man -l "$page"
done
man_text=$(MANWIDTH=100 man -l /usr/share/man/man1/kxinspect.1.gz)
commands=$(kxinspect --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p')
for command in $commands; do
    grep -Eq "^ +$command( |$)" <<<"$man_text" || { echo "package-check: man kxinspect lacks $command" >&2; exit 1; }
done
echo "ok: man kxinspect lists $(wc -w <<<"$commands") commands"

# The bash completion completes commands and a command's options from the installed program.
completion() { # completion SCRIPT WORDS...: the candidates for the last word
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
             $(complete -p "$1" | sed "s/.* -F \([^ ]*\) .*/\1/"); printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$@"
}
[ "$(completion /usr/share/bash-completion/completions/kxinspect kxinspect cl)" = clientcfg ] ||
    { echo "package-check: kxinspect's completion does not complete 'cl'" >&2; exit 1; }
completion /usr/share/bash-completion/completions/kxinspect kxinspect frames --st | grep -qx -- --start ||
    { echo "package-check: kxinspect's completion does not complete 'frames --st'" >&2; exit 1; }
[ "$(completion /usr/share/bash-completion/completions/kxfarmserver kxfarmserver --st)" = --strict ] ||
    { echo "package-check: kxfarmserver's completion does not complete '--st'" >&2; exit 1; }
echo "ok: bash completion"
echo "package-check: ${#debs[@]} packages built, checked with lintian, installed and used"

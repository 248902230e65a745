#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps --test

# Formatting first: it is the cheapest failure to find.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

build() {
    cmake --preset "$1" >/dev/null
    cmake --build "build/$1" -j "$(nproc)"
}

# The whole program with its GUI tests (offscreen, private HOME per test).
build ci
ctest --test-dir build/ci --output-on-failure -j "$(nproc)" --timeout 600
# The progress, placement and focus tests again under a real X server with a
# window manager.
scripts/window-tests build/ci
# The .deb: built, unpacked into a scratch root and run from there.
scripts/check-package build/ci

# The Qt-free core alone: proves no Qt include crept into it.
build core
ctest --test-dir build/core --output-on-failure -j "$(nproc)" --timeout 600

# Every test once more under AddressSanitizer and UndefinedBehaviorSanitizer.
build sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$(nproc)" --timeout 900

# Every fuzz target for 15 seconds from its seeds (clang, ASan, UBSan); see
# README.md for longer runs.
scripts/run-fuzz 15

# The Qt-free core cross-built for Windows, its tests run under Wine in a
# throw-away prefix (one Wine server for the whole run).
build windows-core
WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/quexo-wine-XXXXXX")"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
# The prefix and Wine's own services come up first, outside ctest: started by a
# test, they would hold its output open and ctest would wait for them.
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
ctest --test-dir build/windows-core --output-on-failure -j "$(nproc)" --timeout 600

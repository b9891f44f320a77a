#!/bin/sh
# Builds Coilrush with its tests and runs every one of them.
#   ./test.sh             optimised build in build/
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -eu
cd "$(dirname "$0")"
preset=dev
if [ "${1:-}" = "--sanitize" ]; then
    preset=asan
fi
scripts/install-deps.sh test
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"

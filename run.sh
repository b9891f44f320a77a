#!/bin/sh
# Builds Coilrush and starts it from its folder of pictures and sounds.
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake --preset dev >/dev/null
cmake --build --preset dev --target coilrush -j"$(nproc)"
cd build/assets
exec ../coilrush

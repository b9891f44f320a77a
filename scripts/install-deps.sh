#!/bin/sh
# Installs the Debian packages Coilrush needs, only those that are missing.
#   scripts/install-deps.sh build   what building and playing needs
#   scripts/install-deps.sh test    that plus the test, benchmark and fuzzing tools
set -eu

BUILD_PACKAGES="build-essential cmake pkg-config libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev"
TEST_PACKAGES="python3 libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick clang libclang-rt-14-dev"

wanted="$BUILD_PACKAGES"
if [ "${1:-build}" = "test" ]; then
    wanted="$wanted $TEST_PACKAGES"
fi

missing=""
for package in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing

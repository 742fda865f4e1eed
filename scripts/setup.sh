#!/usr/bin/env bash
# Installs the Debian packages Kestrova needs to build, run and test.
# Idempotent: does nothing but a quick check when everything is there.
set -euo pipefail
packages=(
    g++ cmake make pkg-config clang-format
    qt6-base-dev qt6-translations-l10n fonts-liberation
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick trayer iproute2 procps
    vnstat twm x11-utils binutils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

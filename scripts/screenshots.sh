#!/usr/bin/env bash
# Pictures of the main window's five pages, its menus and its icons, headless:
#   scripts/screenshots.sh [build folder]   ->   <build folder>/screenshots/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" --target kestrova_screenshots -j "$(nproc)"
exe=$(find "$build" -type f -name kestrova_screenshots -perm -u+x | head -n 1)
QT_QPA_PLATFORM=offscreen "$exe" "$build/screenshots"

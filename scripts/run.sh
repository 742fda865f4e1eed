#!/usr/bin/env bash
# Starts the program from its build folder (its settings and statistics live beside it).
set -euo pipefail
build=${1:-build}
if [ -x "$build/bin/kestrova" ]; then
    exec "$build/bin/kestrova"
fi
echo "The program window is not built yet; the libraries and tests are in $build."

#!/usr/bin/env bash
# Installs what is missing, makes a Release build and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Checking Debian packages"
scripts/deps.sh

echo "== Release build in build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"

if [ ! -x build/bin/brimstrand ]; then
    echo "The game itself is not built yet: only the framework and its tests exist so far."
    exit 0
fi
echo "== Starting build/bin/brimstrand"
exec build/bin/brimstrand "$@"

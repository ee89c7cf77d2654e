#!/usr/bin/env bash
# Installs what is missing, makes a Release build and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Checking Debian packages"
scripts/deps.sh

echo "== Release build in build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"

echo "== Starting build/bin/brimstrand"
exec build/bin/brimstrand "$@"

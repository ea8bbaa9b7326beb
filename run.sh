#!/usr/bin/env bash
# Builds the program and its default data folder, then starts the simulator.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
orvell_ensure_packages
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVELL_TESTS=OFF
cmake --build build
if [ -x build/orvell ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then export SDL_VIDEODRIVER=offscreen; fi
  cd build && exec ./orvell
else
  echo "Built the libraries and the data folder; the simulator program itself is not built yet."
fi

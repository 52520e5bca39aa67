#!/usr/bin/env bash
# Installs what the game needs, builds it, stages the game directory and starts the game there.
# Arguments are handed to the game (--help, --version, a CONFFILE).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/deps.sh" g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev \
    libbulletml-dev libexpat1-dev fonts-roboto-unhinted libgtest-dev
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DSKELVO_TESTS=OFF -DSKELVO_BENCH=OFF >/dev/null
cmake --build "$top/build" -j"$(nproc)"
cd "$top/build/game"
exec ./skelvo "$@"

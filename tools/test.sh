#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test twice: as shipped, and under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/deps.sh" g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev \
    libbulletml-dev fonts-roboto-unhinted libgtest-dev googletest
jobs=$(nproc)
for variant in release sanitize; do
    dir="$top/build-test-$variant"
    sanitize=OFF
    [ "$variant" = sanitize ] && sanitize=ON
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVO_SANITIZE=$sanitize >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "== tests ($variant) =="
    (cd "$dir" && ctest --output-on-failure -j"$jobs")
done

#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: as shipped, under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time
# (SKELVO_FUZZ_RUNS inputs from a fixed seed, at most SKELVO_FUZZ_SECONDS, each).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/deps.sh" g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev \
    libbulletml-dev libexpat1-dev fonts-roboto-unhinted libgtest-dev googletest clang libclang-rt-14-dev \
    xvfb xdotool x11-apps imagemagick
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

dir="$top/build-test-fuzz"
CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVO_FUZZ=ON \
    -DSKELVO_TESTS=OFF -DSKELVO_BENCH=OFF -DSKELVO_FUZZ_SECONDS="${SKELVO_FUZZ_SECONDS:-60}" \
    -DSKELVO_FUZZ_RUNS="${SKELVO_FUZZ_RUNS:-20000}" >/dev/null
cmake --build "$dir" -j"$jobs"
echo "== fuzz targets (${SKELVO_FUZZ_RUNS:-20000} inputs, at most ${SKELVO_FUZZ_SECONDS:-60} s each) =="
(cd "$dir" && ctest --output-on-failure -j"$jobs")

#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: as shipped, under
# AddressSanitizer and UndefinedBehaviorSanitizer, the shipped build again on sdl12-compat,
# the install and the Debian package (tools/check-install.sh), and the fuzz targets for a
# bounded time (SKELVO_FUZZ_RUNS inputs from a fixed seed, at most SKELVO_FUZZ_SECONDS, each).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/deps.sh" toolchain build tests packaging
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

# The whole suite again on SDL 1.2 over SDL 2, the SDL 1.2 of newer Debian releases. The tests
# start the game as a child, so the loader's path reaches every process; ldd shows it does for
# the game and the unit tests (the real-window tests only start the game).
compat=/usr/lib/x86_64-linux-gnu/sdl12-compat
dir="$top/build-test-release"
for binary in "$dir/game/skelvo" "$dir"/tests/skelvo_tests; do
    # The whole list is read first: a grep -q in a pipe stops reading at its match, and ldd,
    # still writing the libraries after it, then fails on the closed pipe now and then.
    loads=$(LD_LIBRARY_PATH=$compat ldd "$binary")
    [[ $loads == *"libSDL-1.2.so.0 => $compat/"* ]] ||
        { echo "test.sh: $binary would not load $compat/libSDL-1.2.so.0: $loads" >&2; exit 1; }
done
# sdl12-compat centres a window that no window manager places, where classic SDL 1.2 leaves it
# at the top left; the real-window tests look for the field there, so the window is put there.
# A frame costs several times as much on it: the soak plays 12 matches there (every level list
# and character once), its 36 having run in both builds above.
echo "== tests (release, on sdl12-compat) =="
(cd "$dir" && LD_LIBRARY_PATH=$compat SDL_VIDEO_WINDOW_POS=0,0 SKELVO_SOAK_MATCHES=${SKELVO_SOAK_MATCHES:-12} \
    ctest --output-on-failure -j"$jobs")
bash "$top/tools/check-install.sh" "$dir"

dir="$top/build-test-fuzz"
CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKELVO_FUZZ=ON \
    -DSKELVO_TESTS=OFF -DSKELVO_BENCH=OFF -DSKELVO_FUZZ_SECONDS="${SKELVO_FUZZ_SECONDS:-60}" \
    -DSKELVO_FUZZ_RUNS="${SKELVO_FUZZ_RUNS:-20000}" >/dev/null
cmake --build "$dir" -j"$jobs"
echo "== fuzz targets (${SKELVO_FUZZ_RUNS:-20000} inputs, at most ${SKELVO_FUZZ_SECONDS:-60} s each) =="
(cd "$dir" && ctest --output-on-failure -j"$jobs")

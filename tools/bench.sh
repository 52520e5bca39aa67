#!/usr/bin/env bash
# Installs what the benchmarks need, builds a Release tree in build-bench/ and runs every
# benchmark on this machine: the game's frame beside its floor (times, then instructions under
# callgrind), start-up to the first menu frame, peak memory, and the difficulty of each level
# (the computer against itself). The whole report also goes to
# build-bench/bench-report.txt; the callgrind profiles stay in build-bench/callgrind/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/deps.sh" toolchain build bench
build="$top/build-bench"
# Two jobs at most: the machine is shared.
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSKELVO_TESTS=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
bench="$build/bench"
profiles="$build/callgrind"
mkdir -p "$profiles"

{
    echo "== machine"
    echo "cores: $(nproc); CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "memory: $(free -h | awk '/^Mem:/ {print $2}'); load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "commit: $(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo unknown)"
    echo
    echo "== frame times (a loaded machine makes these noisy; the instruction counts below are not)"
    "$bench/bench_frame" | grep -v -e '^300\*400\*16$' -e '^failed open joystick'
    echo
    echo "== instructions per frame (callgrind, only the measured frames collected)"
    printf '%-8s %14s %14s %7s\n' bullets game floor ratio
    for n in 100 1000 5000; do
        declare -A per=()
        for who in game floor; do
            out="$profiles/$who-$n.out"
            frames=$(valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" \
                "$bench/bench_frame" --callgrind "$who" "$n" 2>/dev/null | awk '/^frames/ {print $2}')
            total=$(awk '/^totals:/ {print $2}' "$out")
            per[$who]=$((total / frames))
        done
        printf '%-8s %14d %14d %7.3f\n' "$n" "${per[game]}" "${per[floor]}" \
            "$(awk -v g="${per[game]}" -v f="${per[floor]}" 'BEGIN {print g / f}')"
        unset per
    done
    echo "(profiles: callgrind_annotate $profiles/game-1000.out)"
    echo
    echo "== start-up"
    "$bench/bench_startup"
    echo
    echo "== the slowest frame of each sound but hostile document (tests/data/bulletml/good)"
    "$bench/bench_frame" --hostile "$top/tests/data/bulletml/good" | grep -v -e '^300\*400\*16$' -e '^failed open joystick'
    echo
    echo "== memory"
    "$bench/bench_frame" --play 30 | grep '^peak'
    echo
    echo "== difficulty (deaths of the computer players and bullets on the field, by level)"
    "$bench/bench_difficulty" | grep -v -e '^300\*400\*16$' -e '^failed open joystick'
} 2>&1 | tee "$build/bench-report.txt"

#!/usr/bin/env bash
# Runs every test: the native build with address and undefined-behaviour sanitizers, the Windows build
# under Wine, and a bounded fuzzing run of each fuzz target. Installs what a fresh Debian machine lacks.
# Environment: FUZZ_SECONDS (per target, default 60), SKIP_WINDOWS=1, SKIP_FUZZ=1.
set -euo pipefail
cd "$(dirname "$0")/.."

sets=(native)
[ "${SKIP_WINDOWS:-0}" = 1 ] || sets+=(windows)
[ "${SKIP_FUZZ:-0}" = 1 ] || sets+=(fuzz)
scripts/install-deps.sh "${sets[@]}"

jobs=$(nproc)

echo "== native (address and undefined-behaviour sanitizers)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzzing, ${FUZZ_SECONDS:-60} s per target"
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs" --target korvat_fuzz_all
  for target in build/fuzz/korvat_fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    seeds="Tests/Fuzz/corpus/${name#korvat_fuzz_}"
    work=$(mktemp -d)
    echo "-- $name (seeds: $seeds)"
    "$target" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 "$work" "$seeds" > "$work.log" 2>&1 \
      || { tail -n 40 "$work.log"; exit 1; }
    grep -E "^(stat::number_of_executed_units|stat::new_units_added|Done)" "$work.log" || true
    rm -f "$work.log"
    rm -rf "$work"
  done
fi

if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
  echo "== Windows (mingw-w64 cross build, tests under Wine)"
  export LANG=C.UTF-8 WINEDEBUG=-all WINEPREFIX="$PWD/build/windows/wineprefix"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$jobs"
  ctest --preset windows
fi

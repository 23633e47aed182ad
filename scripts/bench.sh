#!/bin/sh
# Builds the release benchmark programs, runs the link, value-publishing, input packet and value-id hash
# benchmarks (each beside its baseline) and counts the instructions of one idle link step against its platform
# floor with callgrind.
# Usage: scripts/bench.sh [K]   (K idle steps for the instruction count, default 2000)
#        KORVAT_BENCH_BUILD=DIR scripts/bench.sh   (a release build folder of one's own; default build/release)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVAT_BENCH_BUILD:-"$root/build/release"}
steps=${1:-2000}

if [ ! -f "$build/build.ninja" ]; then
	(cd "$root" && cmake --preset release -B "$build" >/dev/null)
fi
# The input packet benchmark exists only where liblo is installed (cmake/Bench.cmake).
input_bench=
if ninja -C "$build" -t targets all | grep -q '^korvat_bench_input_packet:'; then
	input_bench=korvat_bench_input_packet
fi
# Likewise the value-id benchmark where zlib is installed.
value_id_bench=
if ninja -C "$build" -t targets all | grep -q '^korvat_bench_value_id:'; then
	value_id_bench=korvat_bench_value_id
fi
ninja -C "$build" -j2 korvat_bench_link korvat_bench_values korvat_idle_step_probe korvat_module_frame_probe $input_bench $value_id_bench

echo "== Google Benchmark (median of 5)"
"$build/korvat_bench_link" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo
echo "== Publishing values: the module against an snprintf encoder (median of 5)"
"$build/korvat_bench_values" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo
echo "== Input packets: the walker against liblo (median of 5)"
if [ -n "$input_bench" ]; then
	"$build/$input_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
else
	echo "liblo not installed (liblo-dev): skipped"
fi

echo
echo "== Value ids: ValueIdOfBytes against zlib's crc32 (median of 5)"
if [ -n "$value_id_bench" ]; then
	"$build/$value_id_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
else
	echo "zlib not installed (zlib1g-dev): skipped"
fi

echo
echo "== Instructions per step (callgrind, $steps steps each)"
if ! command -v valgrind >/dev/null 2>&1; then
	echo "valgrind not installed: skipped"
	exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count() {
	valgrind --tool=callgrind --callgrind-out-file="$work/$2.out" --collect-atstart=no \
		--toggle-collect="Korvat::UE4::Bench::$2*" "$build/$1" "$steps" >"$work/$2.stdout" 2>"$work/$2.log"
	sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$work/$2.out"
}
link=$(count korvat_idle_step_probe RunIdleLinkSteps)
floor=$(count korvat_idle_step_probe RunFloorSteps)
frame=$(count korvat_module_frame_probe RunIdleModuleFrames)
traced=$(count korvat_module_frame_probe RunTracedIdleModuleFrames)
awk -v link="$link" -v floor="$floor" -v frame="$frame" -v traced="$traced" -v steps="$steps" 'BEGIN {
	printf "idle link step: %.1f instructions\n", link / steps
	printf "platform floor: %.1f instructions\n", floor / steps
	printf "link step / floor: %.2fx (target <= 1.5x)\n", link / floor
	printf "idle module frame (begin-frame driver + tick, game running): %.1f instructions\n", frame / steps
	printf "module frame / link step: %.2fx\n", frame / link
	printf "idle module frame while a trace records: %.1f instructions (%.3fx the frame without)\n", traced / steps, traced / frame
}'
echo "module frame, $(cat "$work/RunIdleModuleFrames.stdout")"

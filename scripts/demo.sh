#!/usr/bin/env bash
# The main job: the plug-in's runtime module inside the stand-in engine, started the way the host starts
# Unreal (-KorvatLaunchID=<guid>), frame by frame beside a korvat-host process, with a transcript of both
# sides. Installs what a fresh Debian machine lacks, builds the release preset, runs the sessions and replays
# the first one from its trace.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh native
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target korvat-sandbox korvat-host >/dev/null

# A namespace of the demo's own for the named objects and the texture-share channel, so it never meets
# another host or engine on this machine.
export KORVAT_IPC_ROOT="/dev/shm/korvat-demo-$$"
export KORVAT_TEXTURESHARE_DIR="${TMPDIR:-/tmp}/korvat-demo-share-$$"
# The stand-in project's folder: the trace goes to its Saved/Logs.
export KORVAT_PROJECT_DIR="${TMPDIR:-/tmp}/korvat-demo-project-$$"
mkdir -m 700 "$KORVAT_IPC_ROOT"
mkdir -p "$KORVAT_PROJECT_DIR"
trap 'rm -rf "$KORVAT_IPC_ROOT" "$KORVAT_TEXTURESHARE_DIR" "$KORVAT_PROJECT_DIR"' EXIT

launch_id=$(cat /proc/sys/kernel/random/uuid | tr '[:lower:]' '[:upper:]')
echo "== a packaged game started by the host with -KorvatLaunchID=$launch_id: connect, quality, resolution,"
echo "== values echoed, a Blueprint reading and sending every kind of value by name, the share list,"
echo "== the host camera (perspective, then orthographic) and the view sizes,"
echo "== the host's pointer, keys and touches, the game stopped and started, the host killed and back, Korvat.Status,"
echo "== shut-down; recorded with Korvat.Trace.Start"
build/release/korvat-sandbox "-KorvatLaunchID=$launch_id" --trace demo-trace.jsonl --state "$KORVAT_PROJECT_DIR/demo-state.txt"

echo
echo "== the editor under the Direct3D 12 back end, play-in-editor: the back-end error every frame, no texture share"
build/release/korvat-sandbox --editor --rhi D3D12 --session play --frames 6

echo
echo "== the editor's Blueprint nodes: a graph with Get Korvat Value and Send Data To Korvat D2I Node, Do Sync"
echo "== answered by the host, the compiled graph run every frame against the host's values, the host asking the"
echo "== editor for a node's fields"
build/release/korvat-sandbox --session nodes

echo
echo "== the first session's trace replayed by korvat-host --replay into a fresh sandbox, which must end in the"
echo "== same state (values, clock, resolution, quality, field lists, share parameters, messages received)"
build/release/korvat-sandbox "-KorvatLaunchID=$launch_id" --replay "$KORVAT_PROJECT_DIR/Saved/Logs/demo-trace.jsonl" \
	--expect-state "$KORVAT_PROJECT_DIR/demo-state.txt"

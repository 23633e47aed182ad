#!/usr/bin/env bash
# The main job: the plug-in's side of the link in one process and korvat-host in another, each printing
# what crosses the link. Installs what a fresh Debian machine lacks, builds the release preset, runs both.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh native
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target korvat-host korvat-link-demo >/dev/null

# A private namespace for the demo's named objects, so it never meets another host on this machine.
export KORVAT_IPC_ROOT="/dev/shm/korvat-demo-$$"
mkdir -m 700 "$KORVAT_IPC_ROOT"
trap 'rm -rf "$KORVAT_IPC_ROOT"' EXIT

echo "== the plug-in's link runs 300 frames of 16 ms; korvat-host plays Sandbox/LinkDemo/demo.host, dies,"
echo "== and a new korvat-host plays Sandbox/LinkDemo/demo-restart.host"
build/release/korvat-link-demo --frames 300 --frame-ms 16 &
link=$!
build/release/korvat-host --script Sandbox/LinkDemo/demo.host 2>&1 | sed -u 's/^/host    | /' || true
echo "host    | (process ended)"
sleep 0.5
build/release/korvat-host --script Sandbox/LinkDemo/demo-restart.host 2>&1 | sed -u 's/^/host 2  | /'
wait "$link"

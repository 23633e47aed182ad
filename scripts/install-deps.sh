#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when any is missing.
# Usage: scripts/install-deps.sh [native|windows|fuzz|all]...   (default: all)
set -euo pipefail

want=("$@")
[ ${#want[@]} -gt 0 ] || want=(all)

packages=(cmake ninja-build g++ ccache python3 libgtest-dev googletest libbenchmark-dev valgrind liblo-dev zlib1g-dev)
windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 python3-clang-14)
fuzz_packages=(clang libclang-rt-14-dev)
for w in "${want[@]}"; do
  case "$w" in
    native) ;;
    windows) packages+=("${windows_packages[@]}") ;;
    fuzz) packages+=("${fuzz_packages[@]}") ;;
    all) packages+=("${windows_packages[@]}" "${fuzz_packages[@]}") ;;
    *) echo "install-deps: unknown set '$w' (native, windows, fuzz, all)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# python3 may come from elsewhere than Debian's package; any working interpreter will do.
if command -v python3 >/dev/null 2>&1; then
  missing=("${missing[@]/python3}")
fi
missing=($(printf '%s\n' "${missing[@]}" | sed '/^$/d' | sort -u))
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

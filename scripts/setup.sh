#!/usr/bin/env bash
# Installs what the build, the tests and the program need (only what is missing), then configures and builds.
# Packages named as arguments are installed too (the screenshot script's window manager, the
# benchmark's other clients).
set -euo pipefail
cd "$(dirname "$0")/.."
# clang-14 and its runtime libraries build the fuzz target (libFuzzer and the sanitizers).
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev ngircd inspircd xvfb xauth ccache
  fonts-dejavu-core xdg-utils dpkg-dev file appstream desktop-file-utils x11-utils xdotool clang-14 libclang-rt-14-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The packaged ngircd and inspircd would start system-wide servers: tests run their own on
# loopback instead.
for server in ngircd inspircd; do
  if command -v systemctl >/dev/null 2>&1; then systemctl disable --now "$server" >/dev/null 2>&1 || true; fi
  if command -v service >/dev/null 2>&1; then service "$server" stop >/dev/null 2>&1 || true; fi
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-$(nproc)}"

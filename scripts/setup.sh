#!/usr/bin/env bash
# Installs every Debian package the project needs; skips apt when all are there.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-tools-dev qt6-l10n-tools libsqlite3-dev clang libclang-rt-14-dev
          pkgconf gettext xvfb xdotool)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update
    $sudo_cmd apt-get install -y "${missing[@]}"
fi

#!/usr/bin/env bash
# Installs the Debian packages Zonefold needs (only those missing) and builds it
# (Release) into build/. Safe to run again: installed packages and an up-to-date
# build are skipped.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$root/scripts/packages.txt")
missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j"$(nproc)"

#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zonefold, optionally on a picture.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
exec "$root/build/release/src/zonefold" "$@"

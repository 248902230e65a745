#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it: ./run.sh [FILE]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps"
cmake --preset release -S "$here" >/dev/null
cmake --build "$here/build/release" -j "$(nproc)" --target quexo >/dev/null
exec "$here/build/release/app/quexo" "$@"

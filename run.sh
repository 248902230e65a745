#!/usr/bin/env bash
# Installs what building and running need, builds the editor alone (no tests)
# and starts it: ./run.sh [FILE]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps"
cmake --preset app -S "$here" >/dev/null
cmake --build "$here/build/app" -j "$(nproc)" --target quexo >/dev/null
exec "$here/build/app/app/quexo" "$@"

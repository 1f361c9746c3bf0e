#!/usr/bin/env bash
# Installs what is missing, builds Brevio and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target brevio
exec build/src/app/brevio "$@"

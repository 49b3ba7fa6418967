#!/usr/bin/env bash
# Installs what is missing, builds, and runs the quillane host on the default configuration.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/build.sh build
exec ./build/quillane "$@"

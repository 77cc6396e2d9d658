#!/usr/bin/env bash
# Installs what is missing, builds the optimised Korvel and runs its main job: the command-line
# tool makes the default Surface, saves it as out/default.mdr and prints its map record.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
mkdir -p out
build/release/src/korvel-cli save out/default.mdr info

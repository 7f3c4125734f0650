#!/usr/bin/env bash
# The main job: builds the Windows plug-in and says where it is.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset windows
cmake --build --preset windows -j2
echo "Built: $(pwd)/build/windows/src/Trallio.asi"

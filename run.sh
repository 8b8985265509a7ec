#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
# Only the program: the tests and benchmarks are ./test.sh's business.
cmake --build build-release --target KT40917 --parallel "$(nproc)"
exec ./build-release/KT40917 "$@"

#!/usr/bin/env bash
# Configures and builds the one build the tests run on (folder BUILD_DIR, default build): clang,
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzzer's coverage in every library. The unit
# suites, the end-to-end runs and the fuzz targets all come from it, so each source compiles once.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKT_SANITIZE=ON -DKT_FUZZ=ON
cmake --build "$BUILD_DIR" --parallel "$JOBS"

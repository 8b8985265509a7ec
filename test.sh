#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$BUILD_DIR" --parallel
export QT_QPA_PLATFORM=offscreen
(cd "$BUILD_DIR" && ctest --output-on-failure --parallel "$(nproc)")
# The unit suites once more under AddressSanitizer and UndefinedBehaviorSanitizer.
./scripts/sanitize.sh
# Every reader of user files under libFuzzer for a bounded time (FUZZ_SECONDS each, default 60).
./scripts/fuzz.sh

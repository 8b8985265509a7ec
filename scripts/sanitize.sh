#!/usr/bin/env bash
# Builds the unit suites once more under AddressSanitizer and UndefinedBehaviorSanitizer and runs
# them; any finding (memory error, undefined behaviour, leak) fails the run. Optimised a little
# (-O1) and run in parallel so that it stays within CI's time.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD_DIR=${SAN_BUILD_DIR:-build-asan}
JOBS=${JOBS:-$(nproc)}
SUITES=(test_platform test_render test_grid test_gridedit test_griddata test_core test_tables)
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKT_SANITIZE=ON
cmake --build "$BUILD_DIR" --parallel "$JOBS" --target "${SUITES[@]}"
SUPP="$PWD/scripts/sanitizers"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1:suppressions=$SUPP/asan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$SUPP/ubsan.supp"
export LSAN_OPTIONS="suppressions=$SUPP/lsan.supp:print_suppressions=0"
cd "$BUILD_DIR"
# The end-to-end suite drives the real program on an X server and is not part of this run.
ctest --output-on-failure --parallel "$JOBS" --timeout 600 -LE e2e

#!/usr/bin/env bash
# Runs every unit suite and the end-to-end suite on the instrumented test build; any finding
# (memory error, undefined behaviour, leak) fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}
./scripts/build-test.sh
SUPP="$PWD/scripts/sanitizers"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1:suppressions=$SUPP/asan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$SUPP/ubsan.supp"
export LSAN_OPTIONS="suppressions=$SUPP/lsan.supp:print_suppressions=0"
cd "$BUILD_DIR"
ctest --output-on-failure --parallel "$JOBS" --timeout 600

#!/usr/bin/env bash
# Installs what is missing, builds the one instrumented test build and runs the whole test suite:
# every unit suite and the end-to-end runs under AddressSanitizer and UndefinedBehaviorSanitizer
# with leak checks (scripts/sanitize.sh), then every reader of user files under libFuzzer for a
# bounded time (scripts/fuzz.sh, FUZZ_SECONDS each).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build-test.sh
./scripts/sanitize.sh
./scripts/fuzz.sh

#!/usr/bin/env bash
# Installs what is missing, builds TORV with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh check
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-check
ctest --output-on-failure --parallel "$(nproc)" --timeout 600

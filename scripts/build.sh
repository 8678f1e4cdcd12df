#!/usr/bin/env bash
# Configures and builds TORV. Usage: scripts/build.sh release|check
#   release: optimised build of the program and its data files in build/
#   check:   -O1 with AddressSanitizer and UndefinedBehaviorSanitizer in build-check/,
#            warnings as errors
set -euo pipefail
cd "$(dirname "$0")/.."
kind="${1:-release}"
case "$kind" in
  release) dir=build; flags=(-DCMAKE_BUILD_TYPE=Release -DTORV_SANITIZE=OFF -DTORV_TESTS=OFF) ;;
  check)   dir=build-check; flags=(-DCMAKE_BUILD_TYPE=Debug -DTORV_SANITIZE=ON -DTORV_WERROR=ON) ;;
  *) echo "usage: $0 release|check" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"

#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers (the "asan"
# preset) and runs the whole test suite on that build. Leak reports are off: Qt and
# fontconfig keep allocations until exit that the sanitizer would count.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan
cmake --build --preset asan
export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --preset asan "$@"

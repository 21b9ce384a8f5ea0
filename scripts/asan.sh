#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers (the "asan"
# preset) and runs the whole test suite on that build, leaks included. A finding
# aborts the process that made it, so it also fails a test whose finding was in a
# program the test starts (varnolo-cli, a second copy of a test program).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan
cmake --build --preset asan
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:abort_on_error=1"
ctest --preset asan "$@"

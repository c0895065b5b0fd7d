#!/usr/bin/env bash
# Style and static checks, as CI runs them: clang-format over every tracked C
# and C++ source (no changes made, any difference fails), then clang-tidy with
# the project's .clang-tidy over the program's sources (tests, benchmarks, fuzz
# targets and table generators aside, and the Win32 backend, which the Linux
# compile commands cannot build: the windows preset compiles it). Needs a configured build for its
# compile commands:
#   scripts/lint.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

git ls-files -z '*.c' '*.cpp' | grep -z -v -E '^(tests|bench)/|/fuzz/|/tools/|/win32/' |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2> >(grep -v 'warnings generated' >&2)

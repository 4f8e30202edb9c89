#!/usr/bin/env bash
# Size of the tests against the code: non-blank lines that are not // comments, in the C++
# files git tracks; tests/ and fuzz/ against src/, sim/ and tools/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '\.(cpp|h|hpp|c|cc)$' | xargs -r cat | grep -cvE '^\s*(//.*)?$' || true; }
tests=$(count tests fuzz)
code=$(count src sim tools)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", c ? t / c : 0 }')
echo "test lines $tests, code lines $code, ratio $ratio"

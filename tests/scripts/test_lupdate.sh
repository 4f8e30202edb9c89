#!/usr/bin/env bash
# lupdate over the sources into a copy of each translation: fails, naming them, when an
# operator text has no translation (new, or changed since it was translated) or when the
# committed file lags behind the sources (`cmake --build build -t update_translations`).
set -euo pipefail
lupdate=$1 src=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$@"; do
  copy="$work/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" -no-obsolete -locations none "$src" -ts "$copy" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  missing=$(grep -c 'type="unfinished"' "$copy" || true)
  if [ "$missing" -ne 0 ]; then
    echo "FAIL: $(basename "$ts"): $missing text(s) without translation:"
    grep -B3 'type="unfinished"' "$copy" | sed -n 's/.*<source>\(.*\)<\/source>.*/  \1/p'
    status=1
  elif ! cmp -s "$ts" "$copy"; then
    echo "FAIL: $(basename "$ts") is not up to date with the sources (build update_translations):"
    diff "$ts" "$copy" | head -20
    status=1
  fi
done
[ $status -eq 0 ] && echo "every operator text is translated"
exit $status

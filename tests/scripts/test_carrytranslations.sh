#!/usr/bin/env bash
# scripts/carry-translations.py on a one-class source tree: a renamed class keeps its
# translations; a class whose texts no vanished context holds stops the run, named, with the
# .ts file as it was.
set -euo pipefail
lupdate=$1 script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
ts="$work/panel_en.ts"
cat >"$ts" <<'TS'
<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>oldpage</name>
    <message>
        <source>确    定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
TS
page() { printf '#include <QObject>\nclass %s : public QObject {\n    Q_OBJECT\n    void f() { tr("确    定"); tr("%s"); }\n};\n' "$1" "$2" >"$work/src/page.h"; }
fail() { echo "FAIL: $*"; cat "$ts"; exit 1; }

cp "$ts" "$work/before.ts"
page ConfirmPage '取  消'
python3 "$script" --lupdate "$lupdate" --src "$work/src" "$ts" >/dev/null
grep -q '<name>ConfirmPage</name>' "$ts" || fail "the renamed context is missing"
grep -q 'type="unfinished"' "$ts" && fail "a text was left untranslated"
[ "$(grep -c '<translation>' "$ts")" -eq 2 ] || fail "the two translations were not carried"

cp "$work/before.ts" "$ts"
page OtherPage '新文本'
if python3 "$script" --lupdate "$lupdate" --src "$work/src" "$ts" 2>"$work/err"; then fail "an unmatched context passed"; fi
grep -q "'OtherPage'" "$work/err" || fail "the error does not name the context: $(cat "$work/err")"
cmp -s "$ts" "$work/before.ts" || fail "the .ts file was written after an error"
echo "translations carried; an unmatched context stops the run"

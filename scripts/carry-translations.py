#!/usr/bin/env python3
"""Brings the translations up to the sources after classes were renamed.

lupdate files a text under its class's name, so a renamed class's texts come back under the
new name, untranslated, and the old name's translations are dropped. This runs lupdate over
src/ into each .ts file (as the build's update_translations and the lupdate test do) and gives
every context that is new and has untranslated texts the translations of the vanished context
that holds exactly the same source texts. A new context that no vanished one matches, or that
two match with different translations, stops the run with an error naming it, and no file is
written: a translation is never dropped.

Usage: scripts/carry-translations.py [--lupdate PATH] [--src DIR] [TS ...]
(default: src/ and translations/*.ts)
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

CONTEXT = re.compile(r"<context>\s*<name>(.*?)</name>(.*?)</context>", re.S)
MESSAGE = re.compile(r"<message\b[^>]*>.*?</message>", re.S)
SOURCE = re.compile(r"<source>(.*?)</source>", re.S)
COMMENT = re.compile(r"<comment>(.*?)</comment>", re.S)
TRANSLATION = re.compile(r"<translation\b[^>]*>.*?</translation>|<translation\b[^>]*/>", re.S)
UNFINISHED = 'type="unfinished"'


def message_key(message):
    source = SOURCE.search(message)
    comment = COMMENT.search(message)
    return (source.group(1) if source else "", comment.group(1) if comment else "")


def contexts(text):
    """Context name -> {(source, comment): translation element} in file order."""
    result = {}
    for match in CONTEXT.finditer(text):
        messages = result.setdefault(match.group(1), {})
        for message in MESSAGE.findall(match.group(2)):
            translation = TRANSLATION.search(message)
            messages[message_key(message)] = translation.group(0) if translation else ""
    return result


def carry(old_text, new_text, name):
    """new_text with the renamed contexts' translations carried over from old_text."""
    old = contexts(old_text)
    new = contexts(new_text)
    vanished = {ctx: msgs for ctx, msgs in old.items() if ctx not in new}
    errors = []
    carried = {}
    for ctx, msgs in new.items():
        if ctx in old or not any(UNFINISHED in t for t in msgs.values()):
            continue
        keys = set(msgs)
        matches = [m for m, old_msgs in vanished.items() if set(old_msgs) == keys]
        translations = {tuple(sorted(vanished[m].items())) for m in matches}
        if not matches:
            errors.append(f"{name}: no vanished context holds the texts of '{ctx}'")
        elif len(translations) > 1:
            errors.append(f"{name}: '{ctx}' matches {', '.join(sorted(matches))} with different translations")
        else:
            carried[ctx] = vanished[matches[0]]
            print(f"{name}: {matches[0]} -> {ctx} ({len(keys)} texts)")
    if errors:
        return None, errors

    def fill_context(match):
        ctx = match.group(1)
        if ctx not in carried:
            return match.group(0)

        def fill_message(message):
            text = message.group(0)
            translation = carried[ctx][message_key(text)]
            return TRANSLATION.sub(lambda _: translation, text, count=1)

        return match.group(0)[: match.start(2) - match.start(0)] + MESSAGE.sub(
            fill_message, match.group(2)) + match.group(0)[match.end(2) - match.start(0):]

    return CONTEXT.sub(fill_context, new_text), []


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lupdate", default=shutil.which("lupdate") or "/usr/lib/qt6/bin/lupdate")
    parser.add_argument("--src", default=os.path.join(repo, "src"))
    parser.add_argument("ts", nargs="*", default=sorted(glob.glob(os.path.join(repo, "translations", "*.ts"))))
    args = parser.parse_args()
    updated = {}
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for ts in args.ts:
            copy = os.path.join(work, os.path.basename(ts))
            shutil.copyfile(ts, copy)
            run = subprocess.run([args.lupdate, "-no-obsolete", "-locations", "none", args.src,
                                  "-ts", copy], capture_output=True, text=True)
            if run.returncode != 0:
                sys.stderr.write(run.stdout + run.stderr)
                return 1
            with open(ts, encoding="utf-8") as f:
                old_text = f.read()
            with open(copy, encoding="utf-8") as f:
                new_text = f.read()
            text, errors = carry(old_text, new_text, os.path.basename(ts))
            for error in errors:
                print(f"error: {error}", file=sys.stderr)
            failed = failed or bool(errors)
            updated[ts] = text
    if failed:
        return 1
    for ts, text in updated.items():
        with open(ts + ".tmp", "w", encoding="utf-8") as f:
            f.write(text)
            f.flush()
            os.fsync(f.fileno())
        os.replace(ts + ".tmp", ts)
    return 0


if __name__ == "__main__":
    sys.exit(main())

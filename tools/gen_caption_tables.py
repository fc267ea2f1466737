#!/usr/bin/env python3
"""Builds the embedded caption tables from their readable UTF-8 sources.

resources/shell-src/langN.txt (UTF-8, LF line ends) is the text that people edit;
resources/shell/langN is what the program embeds: the same lines as UTF-16 little-endian
with the byte order mark FF FE and CRLF line ends.

    tools/gen_caption_tables.py          regenerate resources/shell/lang1..lang3
    tools/gen_caption_tables.py --check  exit 1 when a generated file is out of date
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE_DIR = ROOT / "resources" / "shell-src"
TARGET_DIR = ROOT / "resources" / "shell"
TABLES = ("lang1", "lang2", "lang3")


def encode(source_text: str) -> bytes:
    lines = source_text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()  # the source's final newline ends the last line, it adds none
    text = "".join(line + "\r\n" for line in lines)
    return b"\xff\xfe" + text.encode("utf-16-le")


def main() -> int:
    check = "--check" in sys.argv[1:]
    stale = []
    for name in TABLES:
        source = (SOURCE_DIR / f"{name}.txt").read_text(encoding="utf-8")
        if "\r" in source:
            print(f"{name}.txt: carriage returns in the source", file=sys.stderr)
            return 1
        wanted = encode(source)
        target = TARGET_DIR / name
        current = target.read_bytes() if target.exists() else None
        if current == wanted:
            continue
        if check:
            stale.append(name)
        else:
            target.write_bytes(wanted)
            print(f"wrote {target.relative_to(ROOT)}")
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

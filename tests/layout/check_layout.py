#!/usr/bin/env python3
"""Checks the source tree's layering: which folder may include which, no two folders including each
other, and files short enough to read. Prints each breach and exits 1 when there is any."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
src = root / "src"

# What each folder of src/ may include besides itself. The features sit between the widget kit and the
# main window; shell is the only folder that includes them.
FEATURES = {"printers", "settings", "options"}
ALLOWED = {
    "resources": set(),
    "platform": {"resources"},  # the text-catalog library's ABI header
    "session": {"platform"},
    "widgets": {"platform", "session"},
    "printers": {"platform", "session", "widgets"},
    "settings": {"platform", "session", "widgets"},
    "options": {"platform", "session", "widgets"},
    "shell": {"platform", "session", "widgets"} | FEATURES,
}
MAX_LINES = 450

include = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.M)
breaches = []
edges = set()
for path in sorted(src.rglob("*")):
    if path.suffix not in {".h", ".cpp"}:
        continue
    rel = path.relative_to(src)
    if len(rel.parts) < 2:
        continue  # main.cpp sits above everything
    folder = rel.parts[0]
    text = path.read_text(encoding="utf-8", errors="replace")
    for target in include.findall(text):
        if target == folder or not (src / target).is_dir():
            continue
        edges.add((folder, target))
        if target not in ALLOWED.get(folder, set()):
            breaches.append(f"src/{rel}: {folder}/ may not include {target}/")

for a, b in sorted(edges):
    if a < b and (b, a) in edges:
        breaches.append(f"src/{a}/ and src/{b}/ include each other")

for tree in ("src", "tools"):
    for path in sorted((root / tree).rglob("*")):
        if path.suffix in {".h", ".cpp"}:
            lines = path.read_text(encoding="utf-8", errors="replace").count("\n")
            if lines > MAX_LINES:
                breaches.append(f"{path.relative_to(root)}: {lines} lines (at most {MAX_LINES})")

for breach in breaches:
    print(breach)
print(f"layout: {len(breaches)} breaches")
sys.exit(1 if breaches else 0)

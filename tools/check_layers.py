#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own (ARCHITECTURE.md, Layers).

Checks src/<folder>/ and the tests of each folder (tests/<folder>/). An include that names
no file under src/ (a test's own header) is not a layer's.
"""
import pathlib
import re
import sys

# framework <- model <- shell, setup, document <- views, bar, dialogs, ui <- app
LAYER = {"framework": 0, "model": 1, "shell": 2, "setup": 2, "document": 2,
         "views": 3, "bar": 3, "dialogs": 3, "ui": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"', re.M)


def main():
    repo = pathlib.Path(__file__).resolve().parent.parent
    src = repo / "src"
    wrong = []
    for top in (src, repo / "tests"):
        for path in sorted(top.glob("*/**/*")):
            folder = path.relative_to(top).parts[0]
            if folder not in LAYER or path.suffix not in (".h", ".cpp"):
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                header = match.group(0).split('"')[1]
                used = match.group(1)
                if used in LAYER and (src / header).is_file() and LAYER[used] > LAYER[folder]:
                    wrong.append(f"{path.relative_to(repo)}: {header} is a layer above {folder}/")
    for line in wrong:
        print(line)
    print(f"Includes against the layers: {len(wrong)}")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

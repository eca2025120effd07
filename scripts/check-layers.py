#!/usr/bin/env python3
"""Checks that every include of the program's own code points down the layers.

    check-layers.py [ROOT]   ROOT is the source tree (the one holding this script's folder by default)

The layers, top to bottom: app, watch, hooks, framework, then pictures,
settings and shell side by side, then base. A file may include headers of
its own folder and of folders below it, each named by its folder
("shell/ShowRequest.h"). An include of a folder above, of a folder beside
it, or without a folder is printed with where it stands, and the exit code
is 1.
"""

import os
import re
import sys

LAYERS = [["app"], ["watch"], ["hooks"], ["framework"], ["pictures", "settings", "shell"], ["base"]]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def fault(folder, included):
    """Why folder may not include the header named included, or None."""
    target = included.split("/", 1)[0] if "/" in included else None
    if target is None:
        return "names no folder"
    if target not in RANK:
        return f"reaches {target}/, which is not a layer of the program"
    if target == folder:
        return None
    if RANK[target] < RANK[folder]:
        return f"points up, to {target}/"
    if RANK[target] == RANK[folder]:
        return f"points sideways, to {target}/"
    return None


def faults(root):
    for folder in RANK:
        path = os.path.join(root, folder)
        if not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            source = os.path.join(folder, name)
            with open(os.path.join(root, source), encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    reason = match and fault(folder, match.group(1))
                    if reason:
                        yield f"{source}:{number}: #include \"{match.group(1)}\" {reason}"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    found = list(faults(root))
    for line in found:
        print(line)
    if found:
        print(f"check-layers: {len(found)} include(s) against the layers "
              "app > watch > hooks > framework > pictures | settings | shell > base")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The radio's folders are layers: a file includes headers from its own folder and the folders
below it, never from one above. Lists every include that runs upward and exits 1 when there is one.

  check_layers.py SRC            check the tree under SRC
  check_layers.py --planted SRC  the same tree with one upward include planted in the lowest
                                 layer: the check must find exactly that one
"""
import os
import re
import sys

# Bottom to top. A folder's sub-folders belong to it (platform/posix/media is platform).
LAYERS = ["text", "platform", "game", "audio", "playback", "wheel", "host"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(relative):
    top = relative.replace(os.sep, "/").split("/")[0]
    return LAYERS.index(top) if top in LAYERS else None


def sources(src):
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as file:
                    yield os.path.relpath(path, src), file.read()


def upward_includes(files):
    found = []
    for relative, text in files:
        own = layer_of(relative)
        if own is None:
            continue
        for header in INCLUDE.findall(text):
            other = layer_of(header)
            if other is not None and other > own:
                found.append(f"{relative}: includes \"{header}\" ({LAYERS[other]} is above {LAYERS[own]})")
    return found


def main(argv):
    planted = argv[1:2] == ["--planted"]
    args = argv[2:] if planted else argv[1:]
    if len(args) != 1:
        print(__doc__.strip())
        return 2
    files = list(sources(args[0]))
    if planted:
        plant = ("text/planted.cpp", '#include "host/script.h"\n')
        found = upward_includes(files + [plant])
        expected = 'text/planted.cpp: includes "host/script.h" (host is above text)'
        if expected in found:
            print("planted upward include found:", expected)
            return 0
        print("the planted upward include was not found; the check reported:", *found, sep="\n  ")
        return 1
    found = upward_includes(files)
    for line in found:
        print(line)
    print(f"{len(files)} files, layers {' < '.join(LAYERS)}: {len(found)} upward includes")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Fails (status 1) when a tracked C++ source file is over 400 lines or a function in one is over
80, and lists each. Run from the repository root, or give the root as the argument.

A crude reading: a function starts at a line in column 0 that ends with ") {" (namespaces,
structs, classes, enums and extern blocks excepted) or at a TEST/TEST_F line, and ends at the
next "}" in column 0."""
import os
import re
import subprocess
import sys

MAX_FILE_LINES = 400
MAX_FUNCTION_LINES = 80

FUNCTION_START = re.compile(r'^[A-Za-z].*\)\s*(const)?\s*(override)?\s*\{\s*$')
NOT_A_FUNCTION = re.compile(r'^(namespace|struct|class|enum|extern)')
TEST_START = re.compile(r'^(TEST|TEST_F)\(')


def violations(path, lines):
    found = []
    if len(lines) > MAX_FILE_LINES:
        found.append(f"FILE {path} {len(lines)}")
    i = 0
    while i < len(lines):
        line = lines[i]
        starts = (FUNCTION_START.match(line) and not NOT_A_FUNCTION.match(line)) or TEST_START.match(line)
        if starts:
            j = i + 1
            while j < len(lines) and not lines[j].startswith('}'):
                j += 1
            if j - i > MAX_FUNCTION_LINES:
                found.append(f"FUNC {path}:{i + 1} {j - i} {line[:60]}")
            i = j
        i += 1
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    files = subprocess.run(['git', 'ls-files', '*.cpp', '*.h'], cwd=root, capture_output=True, text=True,
                           check=True).stdout.split()
    found = []
    for path in files:
        with open(os.path.join(root, path), errors='replace') as source:
            found += violations(path, source.read().split('\n'))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""Fails when units include each other in a loop.

A unit is a header and its source file (Canvas.h and Canvas.cpp). Unit A depends on
unit B when either file of A includes B's header. The dependencies must form no cycle,
so that every unit can be read, built and tested on top of the units below it alone.
Prints each loop as a chain of includes."""
import os
import re
import sys

top = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
folders = ["platform", "components", "composer", "app", "tools"]
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

depends = {}
for folder in folders:
    for root, _, names in os.walk(os.path.join(top, folder)):
        for name in names:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(root, name), top)
            unit = os.path.splitext(path)[0]
            with open(os.path.join(top, path), encoding="utf-8") as source:
                for header in include.findall(source.read()):
                    target = os.path.splitext(header)[0]
                    if target != unit:
                        depends.setdefault(unit, {}).setdefault(target, path)

# Depth-first search with colours; a grey unit reached again closes a loop.
WHITE, GREY, BLACK = 0, 1, 2
colour = {}
loops = []


def visit(unit, chain):
    colour[unit] = GREY
    for target, via in sorted(depends.get(unit, {}).items()):
        state = colour.get(target, WHITE)
        if state == GREY:
            start = next(i for i, (u, _) in enumerate(chain + [(unit, via)]) if u == target)
            loops.append(chain[start:] + [(unit, via), (target, None)])
        elif state == WHITE:
            visit(target, chain + [(unit, via)])
    colour[unit] = BLACK


sys.setrecursionlimit(10000)
for unit in sorted(depends):
    if colour.get(unit, WHITE) == WHITE:
        visit(unit, [])

for loop in loops:
    print("include loop: " + " -> ".join(f"{unit} ({via})" if via else unit for unit, via in loop))
sys.exit(1 if loops else 0)

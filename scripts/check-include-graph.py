#!/usr/bin/env python3
"""The include graph of the sources has no circles.

A unit is a header with its source file (Diag.h + Diag.cpp). Unit A depends
on unit B when A's header or source includes B's header. A circle of units
(A includes B, B includes A, directly or through others) is printed and makes
the check fail. Usage: check-include-graph.py [top folder]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".h", ".cpp")
SKIP = {"build", ".git"}


def collect(top):
    files = []
    for folder, dirs, names in os.walk(top):
        dirs[:] = sorted(d for d in dirs if d not in SKIP and not d.startswith("."))
        files += [os.path.join(folder, n) for n in sorted(names) if n.endswith(SOURCES)]
    return files


def unit_of(path):
    return os.path.splitext(path)[0]


def graph(top):
    files = collect(top)
    headers = {}
    for f in files:
        if f.endswith(".h"):
            headers.setdefault(os.path.basename(f), []).append(f)
    edges = {}
    for f in files:
        with open(f, encoding="utf-8", errors="replace") as text:
            included = INCLUDE.findall(text.read())
        unit = unit_of(f)
        edges.setdefault(unit, set())
        for name in included:
            beside = os.path.normpath(os.path.join(os.path.dirname(f), name))
            candidates = [beside] if os.path.exists(beside) else headers.get(os.path.basename(name), [])
            for header in candidates:
                target = unit_of(header)
                if target != unit:
                    edges[unit].add(target)
    return edges


def circles(edges):
    """Strongly connected components of more than one unit (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        work = [(v, iter(sorted(edges.get(v, ()))))]
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        while work:
            node, children = work[-1]
            advanced = False
            for w in children:
                if w not in index:
                    index[w] = low[w] = counter[0]
                    counter[0] += 1
                    stack.append(w)
                    on_stack.add(w)
                    work.append((w, iter(sorted(edges.get(w, ())))))
                    advanced = True
                    break
                if w in on_stack:
                    low[node] = min(low[node], index[w])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    w = stack.pop()
                    on_stack.discard(w)
                    component.append(w)
                    if w == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))

    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def main():
    top = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.getcwd())
    edges = graph(top)
    found = circles(edges)
    for component in found:
        names = [os.path.relpath(u, top) for u in component]
        print("include circle: " + " <-> ".join(names))
    print(f"{len(edges)} units, {sum(len(e) for e in edges.values())} include edges, {len(found)} circles")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks the one-way layering of the sources. Prints each fault; exit status 1 when any.

1. Libraries: a source file includes headers of its own folder and of the folders below it only (ALLOWED).
   The link graph in the folders' CMakeLists.txt says the same; this catches an upward include that would
   still link (a header-only use).
2. Sub-folders: inside every folder (the libraries, tests/ and bench/, at any depth) the sub-folders are
   one-way too. A file anywhere under sub-folder A that includes a header anywhere under its sibling B
   makes an edge A -> B; these edges must form no cycle. Each cycle is printed with one include per edge.
   The parent's own files and the sub-folders' own sub-folders do not count here (the latter are checked
   one level down).
3. Code that siblings share lives in a sub-folder named shared/, below them all: shared/ includes none of
   its siblings.
"""
import collections
import pathlib
import re
import sys

# Each folder and the folders it may include from (res/ holds the program's resource ids).
ALLOWED = {
    "framework": set(),
    "text": {"framework"},
    "system": {"text", "framework"},
    "image": {"system", "text", "framework"},
    "treelist": {"image", "system", "text", "framework"},
    "ui": {"treelist", "image", "system", "text", "framework"},
    "game": {"ui", "treelist", "image", "system", "text", "framework", "res"},
}
# Folders whose sub-folders are checked as well.
SUBFOLDER_ROOTS = list(ALLOWED) + ["tests", "bench"]
SHARED = "shared"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def sources(root, folder):
    for path in sorted((root / folder).rglob("*")):
        if path.suffix in (".h", ".cpp"):
            yield path, INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace"))


def check_layers(root):
    faults = []
    for folder, allowed in ALLOWED.items():
        for path, includes in sources(root, folder):
            for top in (include.split("/")[0] for include in includes if "/" in include):
                if top != folder and top not in allowed and (root / top).is_dir():
                    faults.append(f"{path.relative_to(root)}: includes {top}/, which lies above {folder}/")
    return faults


def sibling_edges(root):
    """{parent: {(a, b): first include}} for every include from under sub-folder a into its sibling b."""
    edges = collections.defaultdict(dict)
    for folder in SUBFOLDER_ROOTS:
        for path, includes in sources(root, folder):
            source = path.relative_to(root).parts[:-1]
            for include in includes:
                if not (root / include).is_file():
                    continue
                target = tuple(include.split("/")[:-1])
                depth = 0
                while depth < min(len(source), len(target)) and source[depth] == target[depth]:
                    depth += 1
                if 0 < depth < len(source) and depth < len(target):
                    parent = "/".join(source[:depth])
                    edge = (source[depth], target[depth])
                    edges[parent].setdefault(edge, f"{path.relative_to(root)} includes {include}")
    return edges


def cycles(nodes, edges):
    """The strongly connected components of more than one node (Tarjan), each as a sorted list."""
    successors = collections.defaultdict(list)
    for a, b in edges:
        successors[a].append(b)
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in successors[node]:
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(nodes):
        if node not in index:
            visit(node)
    return found


def check_subfolders(root):
    faults = []
    for parent, edges in sorted(sibling_edges(root).items()):
        nodes = {node for edge in edges for node in edge}
        for component in cycles(nodes, edges):
            inside = [f"  {a} -> {b}: {why}" for (a, b), why in sorted(edges.items()) if a in component and b in component]
            faults.append(f"{parent}/: sub-folders {', '.join(component)} include each other\n" + "\n".join(inside))
        for (a, b), why in sorted(edges.items()):
            if a == SHARED:
                faults.append(f"{parent}/{SHARED}/ includes its sibling {b}/ ({why}); shared code lies below its users")
    return faults


def main(root):
    faults = check_layers(root) + check_subfolders(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)))

#!/usr/bin/env python3
"""Takes the C++ examples out of the README and the reference pages, so that the build compiles them.

Usage: extract_examples.py OUTDIR FILE.md...

A block that defines main is a whole program and becomes OUTDIR/program_<page>_<k>.cpp (k counts the
page's programs from 1). Every other block is a fragment of a program's body: all of them go into
OUTDIR/fragments.cpp, each as the body of a function of its own, after the toolkit's header.
"""
import pathlib
import re
import sys

# ```cpp ... ``` in Markdown, @code{.cpp} ... @endcode in the reference pages.
BLOCK = re.compile(r"^```cpp\n(.*?)^```$|^@code\{\.cpp\}\n(.*?)^@endcode$", re.S | re.M)
FRAGMENT_HEAD = """// Made from the documentation's examples; changes go into the documentation.
#include <vxtools/vxtools.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>
"""


def write_if_changed(path, text):
    if not path.exists() or path.read_text() != text:
        path.write_text(text)


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    fragments, programs = [], {}
    for name in sys.argv[2:]:
        page = pathlib.Path(name).stem.lower()
        count = 0
        for match in BLOCK.finditer(pathlib.Path(name).read_text()):
            code = match.group(1) or match.group(2)
            if re.search(r"^int main\(", code, re.M):
                count += 1
                programs[f"program_{page}_{count}.cpp"] = f"// From {pathlib.Path(name).name}.\n" + code
            else:
                fragments.append((pathlib.Path(name).name, code))
    body = FRAGMENT_HEAD
    for i, (source, code) in enumerate(fragments):
        body += f"\n// From {source}.\n[[maybe_unused]] void Fragment{i}() {{\n{code}}}\n"
    write_if_changed(out / "fragments.cpp", body)
    for stale in out.glob("program_*.cpp"):
        if stale.name not in programs:
            stale.unlink()
    for file, code in programs.items():
        write_if_changed(out / file, code)


if __name__ == "__main__":
    main()

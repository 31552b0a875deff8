#!/usr/bin/env python3
"""The version numbers and product texts of version/Version.h, for the scripts,
the tests and CMake: each program's one major/minor definition and the texts
derived from it as the header derives them for the programs ("1.04",
"Version: 1.4", 1, 4, 0, 0). The release checks compare the built version
records with these, so a disagreement between the two derivations fails them.

    python3 scripts/tolvane_version.py TOLVANE_VERSION_TEXT    # prints 1.04
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = ("TOLVANE", "SETUP")


def read(root=ROOT):
    """{name: value}: the header's quoted texts as str, and for each program
    <P>_VERSION_MAJOR and _MINOR (int), _BINARY (a tuple of four int) and
    _TEXT; Tolvane's About text as TOLVANE_ABOUT_VERSION."""
    path = os.path.join(root, "version", "Version.h")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    defines = {name: value for name, value in re.findall(r'^#define\s+(\w+)\s+"([^"\\]*)"\s*$', text, re.MULTILINE)}
    for name, value in re.findall(r"^#define\s+(\w+_VERSION_(?:MAJOR|MINOR))\s+(\d+)\s*$", text, re.MULTILINE):
        defines[name] = int(value)
    for program in PROGRAMS:
        try:
            major, minor = defines[program + "_VERSION_MAJOR"], defines[program + "_VERSION_MINOR"]
        except KeyError as e:
            raise ValueError("%s defines no %s" % (path, e.args[0])) from None
        if not 0 <= minor <= 99:
            raise ValueError("%s: %s_VERSION_MINOR must lie between 0 and 99" % (path, program))
        defines[program + "_VERSION_BINARY"] = (major, minor, 0, 0)
        defines[program + "_VERSION_TEXT"] = "%d.%02d" % (major, minor)
    defines["TOLVANE_ABOUT_VERSION"] = "Version: %d.%d" % (defines["TOLVANE_VERSION_MAJOR"],
                                                          defines["TOLVANE_VERSION_MINOR"])
    return defines


def version_text(root=ROOT):
    """The product's version ("1.04"): file names, the MSI, winget."""
    return read(root)["TOLVANE_VERSION_TEXT"]


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: tolvane_version.py NAME")
    try:
        print(read()[sys.argv[1]])
    except (OSError, ValueError, KeyError) as e:
        sys.exit("tolvane_version: %s" % e)

#!/usr/bin/env python3
"""The launcher's texts as launcher/portable/LauncherTextTables.h holds them,
and Setup's as setup/portable/SetupTextTables.h holds them (program="setup"),
for the tests and the packaging checks: {id: text} per language, the C++
UTF-8 literals decoded (escapes, \\uXXXX, adjacent literals joined, a
Version.h text by its name).

    python3 scripts/launcher_texts.py German MenuSettings    # prints &Einstellungen
    python3 scripts/launcher_texts.py German InstallButton setup    # prints &Installieren
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tolvane_version  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLES = {"English": "kEnglishTexts", "German": "kGermanTexts"}
HEADERS = {"launcher": ("launcher", "portable", "LauncherTextTables.h"),
           "setup": ("setup", "portable", "SetupTextTables.h")}
_LITERAL = r'u8"((?:[^"\\]|\\.)*)"'


def _decode(body):
    out, i = [], 0
    while i < len(body):
        if body[i] != "\\":
            out.append(body[i])
            i += 1
            continue
        kind = body[i + 1]
        if kind == "u":
            out.append(chr(int(body[i + 2:i + 6], 16)))
            i += 6
        else:
            out.append({"n": "\n", "t": "\t", "\\": "\\", '"': '"'}[kind])
            i += 2
    return "".join(out)


def texts(language, root=ROOT, program="launcher"):
    """{id: text} of one language's table, in the enum's order."""
    with open(os.path.join(root, *HEADERS[program]), encoding="utf-8") as f:
        source = f.read()
    start = source.index(TABLES[language] + "[] = {")
    block = source[start:source.index("\n};", start)]
    version = tolvane_version.read(root)
    found = {}
    for name, rest in re.findall(r"\{TextId::(\w+),\s*(.*?)\},?\s*(?=\{TextId::|$)", block, re.DOTALL):
        macro = re.fullmatch(r"TOLVANE_\w+", rest.strip())
        found[name] = version[macro.group()] if macro else "".join(_decode(b) for b in re.findall(_LITERAL, rest))
    return found


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: launcher_texts.py English|German ID [launcher|setup]")
    print(texts(sys.argv[1], program=sys.argv[3] if len(sys.argv) == 4 else "launcher")[sys.argv[2]])

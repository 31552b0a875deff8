#!/usr/bin/env python3
"""Packs the built programs into the release archives:

    out/Tolvane-<version>-win32.zip, out/Tolvane-<version>-win64.zip, out/SHA256SUMS

Builds nothing: build/win32/bin and build/win64/bin must already hold
Tolvane.exe, Setup.exe and Readme.txt (cmake --build --preset win32 / win64, or
cmake --build --preset native --target release, which does both and then this).
The archives are byte-for-byte reproducible: fixed timestamps, fixed
attributes, sorted entries.
"""
import argparse
import hashlib
import os
import re
import struct
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FILES = ["Readme.txt", "Setup.exe", "Tolvane.exe"]
PROGRAMS = ["Setup.exe", "Tolvane.exe"]

# build preset: (PE machine the programs must be built for, zip suffix)
BUILDS = {
    "win32": (0x14C, "win32"),
    "win64": (0x8664, "win64"),
}

# Zip entries carry a DOS date; any fixed one makes the archive reproducible.
ENTRY_TIME = (2006, 3, 5, 0, 0, 0)


def read_version(root):
    path = os.path.join(root, "version", "Version.h")
    try:
        with open(path, encoding="utf-8") as f:
            match = re.search(r'^#define\s+TOLVANE_VERSION_TEXT\s+"([^"]+)"', f.read(), re.MULTILINE)
    except OSError as e:
        sys.exit("release: cannot read %s: %s" % (path, e))
    if not match:
        sys.exit("release: TOLVANE_VERSION_TEXT not found in version/Version.h")
    return match.group(1)


def pe_machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    if data[:2] != b"MZ":
        return None
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe_offset + 4)[0]


def check_bin(bin_dir, machine):
    problems = []
    for name in FILES:
        if not os.path.isfile(os.path.join(bin_dir, name)):
            problems.append("%s is missing" % os.path.join(bin_dir, name))
    for name in PROGRAMS:
        path = os.path.join(bin_dir, name)
        if os.path.isfile(path) and pe_machine(path) != machine:
            problems.append("%s is not built for machine 0x%x" % (path, machine))
    return problems


def write_zip(path, bin_dir):
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in sorted(FILES):
            info = zipfile.ZipInfo(name, date_time=ENTRY_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            # Made on "MS-DOS" with plain archive attributes: what a Windows
            # unzipper expects, and independent of the build machine's umask.
            info.create_system = 0
            info.external_attr = 0x20
            with open(os.path.join(bin_dir, name), "rb") as f:
                archive.writestr(info, f.read())
    os.replace(tmp, path)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for chunk in iter(lambda: f.read(1 << 16), b""):
            digest.update(chunk)
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser(description="Pack the release archives from build/win32 and build/win64.")
    parser.add_argument("--root", default=ROOT, help="project folder (default: this script's project)")
    parser.add_argument("--out", help="output folder (default: <root>/out)")
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    out = os.path.abspath(args.out or os.path.join(root, "out"))
    version = read_version(root)

    problems = []
    for preset, (machine, _) in BUILDS.items():
        problems += check_bin(os.path.join(root, "build", preset, "bin"), machine)
    if problems:
        sys.exit("release: nothing written:\n  " + "\n  ".join(problems)
                 + "\nBuild first: cmake --build --preset win32 && cmake --build --preset win64")

    os.makedirs(out, exist_ok=True)
    archives = []
    for preset, (_, suffix) in sorted(BUILDS.items()):
        name = "Tolvane-%s-%s.zip" % (version, suffix)
        write_zip(os.path.join(out, name), os.path.join(root, "build", preset, "bin"))
        archives.append(name)

    with open(os.path.join(out, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as f:
        for name in sorted(archives):
            f.write("%s  %s\n" % (sha256(os.path.join(out, name)), name))

    for name in sorted(archives) + ["SHA256SUMS"]:
        print(os.path.join(out, name))


if __name__ == "__main__":
    main()

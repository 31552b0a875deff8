#!/usr/bin/env python3
"""Builds the Windows Installer package of one build with wixl (msitools):

    scripts/msi.py --bin build/win64/bin --arch x64 --out out/Tolvane-1.04-x64.msi

x86 from the i686 build, x64 from the x86_64 build. The product code is derived
from the version and the architecture, so the same version always carries the
same code (deployment tools and the winget manifest name it).
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import uuid

import tolvane_version

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WXS = os.path.join(ROOT, "packaging", "msi", "Tolvane.wxs")
ICON = os.path.join(ROOT, "launcher", "Tolvane.ico")
# wixl has no <Condition>: these rows raise the Autostart and Hotkey features
# from level 1000 (not installed) to 1 when AUTOSTART=1 or a HOTKEY is given.
CONDITION_TABLE = ("Feature_\tLevel\tCondition\r\ns38\ti2\tS255\r\nCondition\tFeature_\tLevel\r\n"
                   "Autostart\t1\tAUTOSTART=1\r\nHotkey\t1\tHOTKEY\r\n")


def read_version(root=ROOT):
    return tolvane_version.version_text(root)


def upgrade_code():
    with open(WXS, encoding="utf-8") as f:
        return re.search(r'UpgradeCode="\{([0-9A-F-]+)\}"', f.read()).group(1)


def product_code(version, arch):
    return "{%s}" % str(uuid.uuid5(uuid.UUID(upgrade_code()), "Tolvane %s %s" % (version, arch))).upper()


def msi_name(version, arch):
    return "Tolvane-%s-%s.msi" % (version, arch)


def build(bin_dir, arch, out_path, version=None):
    version = version or read_version()
    tmp = os.path.abspath(out_path) + ".tmp"
    # wixl finds source files only by paths relative to its current folder.
    subprocess.run(["wixl", "-a", arch, "-D", "Arch=" + arch, "-D", "BinDir=" + os.path.relpath(bin_dir, ROOT),
                    "-D", "IconFile=" + os.path.relpath(ICON, ROOT), "-D", "Version=" + version,
                    "-D", "ProductCode=" + product_code(version, arch), "-o", tmp, WXS],
                   check=True, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    with tempfile.TemporaryDirectory() as work:
        idt = os.path.join(work, "Condition.idt")
        with open(idt, "w", encoding="ascii", newline="") as f:
            f.write(CONDITION_TABLE)
        subprocess.run(["msibuild", tmp, "-i", idt], check=True)
    os.replace(tmp, os.path.abspath(out_path))
    return out_path


def main():
    parser = argparse.ArgumentParser(description="Build Tolvane's MSI package from one build.")
    parser.add_argument("--bin", required=True, help="folder with Tolvane.exe and Readme.txt")
    parser.add_argument("--arch", required=True, choices=["x86", "x64"])
    parser.add_argument("--out", required=True, help="the .msi to write")
    args = parser.parse_args()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    try:
        print(build(args.bin, args.arch, args.out))
    except subprocess.CalledProcessError as e:
        sys.exit("msi: %s failed: %s" % (e.cmd[0], (e.stderr or "").strip()))


if __name__ == "__main__":
    main()

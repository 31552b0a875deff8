#!/usr/bin/env python3
"""Builds the Windows Installer package of one build with wixl (msitools):

    scripts/msi.py --bin build/win64/bin --arch x64 --out out/Tolvane-1.04-x64.msi

x86 from the i686 build, x64 from the x86_64 build. The product code is derived
from the version and the architecture, so the same version always carries the
same code (deployment tools and the winget manifest name it). What wixl 0.101
cannot write is added to the built package afterwards with msibuild: each
table below is exported, changed and imported again whole.

Two builds of one commit give the same bytes, like the release's zips: the
cabinet's file times and the summary information's times are the release's
date (SOURCE_DATE_EPOCH when set, else the version's date in Version.h), and
the package code is derived from the package's own content.
"""
import argparse
import calendar
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import uuid

import msi_summary
import tolvane_version

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WXS = os.path.join(ROOT, "packaging", "msi", "Tolvane.wxs")
ICON = os.path.join(ROOT, "launcher", "Tolvane.ico")
# What the package code is while the package's hash is taken.
NO_PACKAGE_CODE = "{%s}" % uuid.UUID(int=0)
# A cabinet keeps DOS times, which start in 1980.
DOS_TIME_START = calendar.timegm((1980, 1, 1, 0, 0, 0))
# The database's code page (wixl's default), for the exported and imported tables.
CODEPAGE = "cp1252"

# Public properties a managed installation by a user without administrator
# rights passes on to the installation itself (the rest would be dropped).
# Not INSTALLDIR and AUTOSTART: such a user would choose the folder that the
# machine's Run value starts a program from for everyone.
SECURE_PROPERTIES = ["FOLDER", "HOTKEY", "MODE"]

# The install folder (and through inheritance its files): owner Administrators,
# Administrators and SYSTEM full control, Users read and execute, nothing
# inherited from the folder above; the descriptor Setup gives its folder.
INSTALL_FOLDER_SDDL = "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
# Folders the package refuses to install into, since it would lock them as
# above: a drive's root and a network path. Checked after CostFinalize, when
# INSTALLDIR is a full path with its trailing backslash. Any other existing
# folder (Windows' own among them) is refused earlier by a launch condition on
# FOUND_FOLDER (Tolvane.wxs).
REFUSED_FOLDER_CONDITION = 'NOT Installed AND (INSTALLDIR >> ":\\" OR INSTALLDIR << "\\\\")'
REFUSED_FOLDER_MESSAGE = ("Tolvane cannot be installed into [INSTALLDIR]: the package gives its folder permissions "
                          "of its own. Choose a folder for Tolvane alone.")

# The columns of the tables wixl does not make (as msiinfo export writes them).
NEW_TABLES = {
    "Condition": ("Feature_\tLevel\tCondition", "s38\ti2\tS255", "Condition\tFeature_\tLevel"),
    # A directory search: its Signature_ is in no Signature table row.
    "DrLocator": ("Signature_\tParent\tPath\tDepth", "s72\tS72\tS255\tI2", "DrLocator\tSignature_\tParent\tPath"),
    "MsiLockPermissionsEx": ("MsiLockPermissionsEx\tLockObject\tTable\tSDDLText\tCondition",
                             "s72\ts72\ts32\ts0\tS255", "MsiLockPermissionsEx\tMsiLockPermissionsEx"),
}

# The machine's Run value and default hotkey are written only while their
# property asks for them (AUTOSTART and HOTKEY are read back from those very
# values, so on a repair they ask only for what is still there) and removed
# with the product. Transitive: Windows Installer evaluates the condition
# again on a repair or ADDLOCAL=ALL and removes the component, rather than
# writing the value again, once it has become false. On a full removal the
# condition is made true: a component whose condition is false then would be
# left registered, and a later package's removal would keep the value.
COMPONENT_CONDITIONS = {"Autostart": "AUTOSTART=1 OR REMOVE", "Hotkey": "HOTKEY OR REMOVE"}
COMPONENT_TRANSITIVE = 0x40
# Upgrade table attributes
UPGRADE_ONLY_DETECT = 0x2
UPGRADE_VERSION_MAX_INCLUSIVE = 0x200
# Custom action type 19: ends the installation with the message in Target.
CUSTOM_ACTION_ERROR = 19
# wixl 0.101 writes HKMU as 4; Windows Installer's code for it is -1.
WIXL_HKMU, HKMU = "4", "-1"


def read_version(root=ROOT):
    return tolvane_version.version_text(root)


def upgrade_code():
    with open(WXS, encoding="utf-8") as f:
        return re.search(r'UpgradeCode="\{([0-9A-F-]+)\}"', f.read()).group(1)


def product_code(version, arch):
    return "{%s}" % str(uuid.uuid5(uuid.UUID(upgrade_code()), "Tolvane %s %s" % (version, arch))).upper()


def release_time(root=ROOT):
    """The release's date in seconds since 1970 (UTC): SOURCE_DATE_EPOCH when
    set (the reproducible-builds convention), else the date Version.h gives
    the version (TOLVANE_ABOUT_DATE, day.month.year)."""
    given = os.environ.get("SOURCE_DATE_EPOCH", "")
    if given:
        if not given.isdigit():
            raise ValueError("SOURCE_DATE_EPOCH=%s is not a number of seconds" % given)
        return int(given)
    day, month, year = map(int, re.search(r"(\d+)\.(\d+)\.(\d{4})",
                                          tolvane_version.read(root)["TOLVANE_ABOUT_DATE"]).groups())
    return calendar.timegm((year, month, day, 0, 0, 0))


def content_code(path):
    """The package code of the package at path: a GUID from the hash of its
    bytes with the code itself left out, so any change to the content gives
    another code, as Windows Installer asks, and the same content the same."""
    msi_summary.set_summary(path, NO_PACKAGE_CODE, release_time())
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    return "{%s}" % str(uuid.uuid5(uuid.UUID(upgrade_code()), "package " + digest)).upper()


def msi_name(version, arch):
    return "Tolvane-%s-%s.msi" % (version, arch)


def file_versions(root=ROOT):
    """{File table key: version} of the package's programs: wixl leaves the
    column empty, and Windows Installer then treats a program as a text file
    (compared by hash, not by version, on a repair or an upgrade)."""
    return {"TolvaneExe": ".".join(map(str, tolvane_version.read(root)["TOLVANE_VERSION_BINARY"]))}


def edits(version):
    """{table: function(rows) -> rows}, rows as lists of column texts in the
    table's order."""
    code = "{%s}" % upgrade_code()
    versions = file_versions()

    def conditional(built):
        for row in built:
            if row[0] in COMPONENT_CONDITIONS:
                row[3], row[4] = str(int(row[3]) | COMPONENT_TRANSITIVE), COMPONENT_CONDITIONS[row[0]]
        return built

    def with_versions(built):
        for row in built:
            row[4] = versions.get(row[0], row[4])
        return built

    def replace_with(*rows):
        return lambda _built: [list(row) for row in rows]

    def add(*rows):
        return lambda built: built + [list(row) for row in rows]

    def secure(built):
        # wixl lists the upgrade rows' detection properties there already.
        for row in built:
            if row[0] == "SecureCustomProperties":
                row[1] = ";".join(sorted(set(row[1].split(";") + SECURE_PROPERTIES)))
        return built

    refuse_folder = ("RefuseFolder", REFUSED_FOLDER_CONDITION, "1001")
    return {
        # The Autostart and Hotkey features (level 1000: not installed) are
        # raised to 1 when AUTOSTART=1 or a HOTKEY is given.
        "Condition": replace_with(("Autostart", "1", "AUTOSTART=1"), ("Hotkey", "1", "HOTKEY")),
        # MajorUpgrade's rows with an inclusive upper bound: the other
        # architecture's package of this version is replaced too, rather than
        # installed beside it (ICE61 warns about exactly this, on purpose).
        # A newer version installed is still detected and refused.
        "Upgrade": replace_with(
            (code, "", version, "", str(UPGRADE_VERSION_MAX_INCLUSIVE), "", "WIX_UPGRADE_DETECTED"),
            (code, version, "", "", str(UPGRADE_ONLY_DETECT), "", "WIX_DOWNGRADE_DETECTED")),
        "Property": secure,
        "Component": conditional,
        "File": with_versions,
        # A versioned file carries no hash (the installer compares versions).
        "MsiFileHash": lambda built: [row for row in built if row[0] not in versions],
        "Registry": lambda built: [[row[0], HKMU if row[1] == WIXL_HKMU else row[1]] + row[2:] for row in built],
        "CustomAction": add(("RefuseFolder", str(CUSTOM_ACTION_ERROR), "", REFUSED_FOLDER_MESSAGE, "")),
        # FOUND_FOLDER: the folder NAMED_FOLDER names (Tolvane.wxs sets it
        # before AppSearch), when it exists.
        "DrLocator": replace_with(("NamedFolder", "", "[NAMED_FOLDER]", "0")),
        "AppSearch": add(("FOUND_FOLDER", "NamedFolder")),
        "InstallUISequence": add(refuse_folder),
        "InstallExecuteSequence": add(refuse_folder),
        "MsiLockPermissionsEx": replace_with(
            ("InstallFolder", "INSTALLDIR", "CreateFolder", INSTALL_FOLDER_SDDL, "")),
    }


def export_table(package, table):
    """(the three header lines, rows) of a table of the package."""
    out = subprocess.run(["msiinfo", "export", package, table], capture_output=True, check=True).stdout
    lines = out.decode(CODEPAGE).split("\r\n")
    return lines[:3], [line.split("\t") for line in lines[3:] if line]


def import_table(package, header, rows, work):
    name = header[2].split("\t")[0]
    path = os.path.join(work, name + ".idt")
    with open(path, "w", encoding=CODEPAGE, newline="") as f:
        f.write("".join(line + "\r\n" for line in list(header) + ["\t".join(row) for row in rows]))
    subprocess.run(["msibuild", package, "-i", path], check=True, capture_output=True, text=True)


def copy_with_release_time(bin_dir, work):
    """The package's files copied into work/bin with the release's date as
    their time, which wixl puts into the cabinet; returns that folder."""
    folder = os.path.join(work, "bin")
    os.makedirs(folder)
    when = max(release_time(), DOS_TIME_START)
    for name in ("Tolvane.exe", "Readme.txt", "Liesmich.txt"):
        shutil.copyfile(os.path.join(bin_dir, name), os.path.join(folder, name))
        os.utime(os.path.join(folder, name), (when, when))
    return folder


def build(bin_dir, arch, out_path, version=None):
    version = version or read_version()
    tmp = os.path.abspath(out_path) + ".tmp"
    with tempfile.TemporaryDirectory() as work:
        files = copy_with_release_time(bin_dir, work)
        # wixl finds source files only by paths relative to its current folder.
        subprocess.run(["wixl", "-a", arch, "-D", "Arch=" + arch, "-D", "BinDir=" + os.path.relpath(files, ROOT),
                        "-D", "IconFile=" + os.path.relpath(ICON, ROOT), "-D", "Version=" + version,
                        "-D", "ProductCode=" + product_code(version, arch), "-o", tmp, WXS],
                       check=True, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        for table, edit in edits(version).items():
            if table in NEW_TABLES:
                header, built = NEW_TABLES[table], []
            else:
                header, built = export_table(tmp, table)
            import_table(tmp, header, edit(built), work)
    msi_summary.set_summary(tmp, content_code(tmp), release_time())
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
    except ValueError as e:
        sys.exit("msi: %s" % e)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Packs the built programs into the release archives and packages:

    out/Tolvane-<version>-win32.zip, out/Tolvane-<version>-win64.zip,
    out/Tolvane-<version>-x86.msi, out/Tolvane-<version>-x64.msi, out/SHA256SUMS,
    and with --installer-url the winget manifests of the x86 package in
    out/winget/Varnholt.Tolvane/<version>/

Builds nothing: build/win32/bin and build/win64/bin must already hold
Tolvane.exe, Setup.exe and Readme.txt (cmake --build --preset win32 / win64, or
cmake --build --preset native --target release, which does both and then this).
The archives are byte-for-byte reproducible: fixed timestamps, fixed
attributes, sorted entries.
"""
import argparse
import hashlib
import os
import struct
import sys
import subprocess
import zipfile

import msi
import tolvane_version

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FILES = ["Readme.txt", "Setup.exe", "Tolvane.exe"]
PROGRAMS = ["Setup.exe", "Tolvane.exe"]

# build preset: (PE machine the programs must be built for, zip suffix, MSI architecture)
BUILDS = {
    "win32": (0x14C, "win32", "x86"),
    "win64": (0x8664, "win64", "x64"),
}
WINGET_ID = "Varnholt.Tolvane"
WINGET_SCHEMA = "1.6.0"

# Zip entries carry a DOS date; any fixed one makes the archive reproducible.
ENTRY_TIME = (2006, 3, 5, 0, 0, 0)


def read_version(root):
    try:
        return tolvane_version.version_text(root)
    except (OSError, ValueError) as e:
        sys.exit("release: cannot read the version: %s" % e)


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


def msi_product_code(path):
    out = subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        name, _, value = line.partition("\t")
        if name == "ProductCode":
            return value.strip()
    sys.exit("release: %s has no ProductCode" % path)


def write_winget(out, version, msi_path, installer_url):
    """The manifest set (version, installer, default locale) for the x86 MSI;
    the hash and product code are read from the built file."""
    folder = os.path.join(out, "winget", WINGET_ID, version)
    os.makedirs(folder, exist_ok=True)
    head = "PackageIdentifier: %s\nPackageVersion: '%s'\n" % (WINGET_ID, version)
    files = {
        WINGET_ID + ".yaml": head + "DefaultLocale: en-US\nManifestType: version\n",
        WINGET_ID + ".installer.yaml": head + (
            "Installers:\n"
            "- Architecture: x86\n"
            "  InstallerType: msi\n"
            "  Scope: machine\n"
            "  InstallerUrl: %s\n"
            "  InstallerSha256: %s\n"
            "  ProductCode: '%s'\n"
            "ManifestType: installer\n") % (installer_url, sha256(msi_path).upper(), msi_product_code(msi_path)),
        WINGET_ID + ".locale.en-US.yaml": head + (
            "PackageLocale: en-US\n"
            "Publisher: Varnholt\n"
            "PackageName: Tolvane\n"
            "License: Proprietary\n"
            "Copyright: %s\n"
            "ShortDescription: Opens the Windows Explorer at your folder from an icon in the notification area.\n"
            "ManifestType: defaultLocale\n") % tolvane_version.read()["TOLVANE_COPYRIGHT"],
    }
    for name, text in files.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text + "ManifestVersion: %s\n" % WINGET_SCHEMA)
    return sorted(os.path.join(folder, name) for name in files)


def main():
    parser = argparse.ArgumentParser(description="Pack the release archives from build/win32 and build/win64.")
    parser.add_argument("--root", default=ROOT, help="project folder (default: this script's project)")
    parser.add_argument("--out", help="output folder (default: <root>/out)")
    parser.add_argument("--installer-url", help="where the x86 MSI will be downloaded from; writes the winget manifests")
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    out = os.path.abspath(args.out or os.path.join(root, "out"))
    version = read_version(root)

    problems = []
    for preset, (machine, _, _) in BUILDS.items():
        problems += check_bin(os.path.join(root, "build", preset, "bin"), machine)
    if problems:
        sys.exit("release: nothing written:\n  " + "\n  ".join(problems)
                 + "\nBuild first: cmake --build --preset win32 && cmake --build --preset win64")

    os.makedirs(out, exist_ok=True)
    archives = []
    for preset, (_, suffix, arch) in sorted(BUILDS.items()):
        bin_dir = os.path.join(root, "build", preset, "bin")
        name = "Tolvane-%s-%s.zip" % (version, suffix)
        write_zip(os.path.join(out, name), bin_dir)
        archives.append(name)
        package = msi.msi_name(version, arch)
        try:
            msi.build(bin_dir, arch, os.path.join(out, package), version)
        except (OSError, subprocess.CalledProcessError) as e:
            sys.exit("release: the %s package could not be built (wixl and msibuild from msitools): %s" % (arch, e))
        archives.append(package)

    with open(os.path.join(out, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as f:
        for name in sorted(archives):
            f.write("%s  %s\n" % (sha256(os.path.join(out, name)), name))

    for name in sorted(archives) + ["SHA256SUMS"]:
        print(os.path.join(out, name))
    if args.installer_url:
        for path in write_winget(out, version, os.path.join(out, msi.msi_name(version, "x86")), args.installer_url):
            print(path)


if __name__ == "__main__":
    main()

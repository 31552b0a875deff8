#!/usr/bin/env python3
"""Packs the built programs into the release archives and packages:

    out/Tolvane-<version>-win32.zip, out/Tolvane-<version>-win64.zip,
    out/Tolvane-<version>-x86.msi, out/Tolvane-<version>-x64.msi,
    out/Tolvane-<version>-policy.zip (the Group Policy templates), the winget
    manifests of both packages in out/winget/manifests/v/Varnholt/Tolvane/<version>/
    (the community repository's layout), with the packages' addresses under
    --download-url or, without it, under a placeholder address to replace
    before submitting, and out/SHA256SUMS over all of these

Builds nothing: build/win32/bin and build/win64/bin must already hold
Tolvane.exe, Setup.exe and Readme.txt (cmake --build --preset win32 / win64, or
cmake --build --preset native --target release, which does both and then this).
The archives are byte-for-byte reproducible: fixed timestamps, fixed
attributes, sorted entries; so are the MSI packages (see msi.py), dated by
SOURCE_DATE_EPOCH when it is set.
With --sign-pkcs12 (the native build's TOLVANE_SIGN_* values) the release is
signed: the builds have signed the programs (Setup holds the signed
launcher's hash), and each MSI is signed here before SHA256SUMS and the winget
manifests take its hash.
"""
import argparse
import hashlib
import os
import sys
import subprocess
import zipfile

import msi
import pe_header
import sign
import tolvane_version

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FILES = ["Liesmich.txt", "Readme.txt", "Setup.exe", "Tolvane.exe"]
# The Group Policy templates, laid out as %SystemRoot%\PolicyDefinitions holds them.
POLICY_FILES = ["Tolvane.admx", "en-US/Tolvane.adml", "de-DE/Tolvane.adml"]
PROGRAMS = ["Setup.exe", "Tolvane.exe"]

# build preset: (PE machine the programs must be built for, zip suffix, MSI architecture)
BUILDS = {
    "win32": (0x14C, "win32", "x86"),
    "win64": (0x8664, "win64", "x64"),
}
WINGET_PUBLISHER, WINGET_NAME = "Varnholt", "Tolvane"
WINGET_ID = WINGET_PUBLISHER + "." + WINGET_NAME
WINGET_SCHEMA = "1.12.0"
# The address the manifests name when the release is built without
# --download-url: a reserved name that never resolves, replaced by the
# releaser (see the README) before the manifests are submitted.
PLACEHOLDER_DOWNLOAD_URL = "https://downloads.invalid/tolvane/{version}/"

# Zip entries carry a DOS date; any fixed one makes the archive reproducible.
ENTRY_TIME = (2006, 3, 5, 0, 0, 0)


def read_version(root):
    try:
        return tolvane_version.version_text(root)
    except (OSError, ValueError) as e:
        sys.exit("release: cannot read the version: %s" % e)


def check_bin(bin_dir, machine):
    problems = []
    for name in FILES:
        if not os.path.isfile(os.path.join(bin_dir, name)):
            problems.append("%s is missing" % os.path.join(bin_dir, name))
    for name in PROGRAMS:
        path = os.path.join(bin_dir, name)
        if os.path.isfile(path) and pe_header.machine(path) != machine:
            problems.append("%s is not built for machine 0x%x" % (path, machine))
    return problems


def signing(args):
    """The certificate the release signs with ({} for sign.sign), None for an unsigned release."""
    if not args.sign_pkcs12:
        if args.sign_password_file or args.sign_timestamp_url:
            sys.exit("release: a password file or timestamp address without --sign-pkcs12")
        return None
    return {"pkcs12": args.sign_pkcs12, "password_file": args.sign_password_file,
            "timestamp_url": args.sign_timestamp_url}


def unsigned_programs(bin_dir):
    """A signed release packs only programs the build signed (Setup holds the
    signed launcher's hash, so they cannot be signed here afterwards)."""
    problems = []
    for name in PROGRAMS:
        path = os.path.join(bin_dir, name)
        try:
            with open(path, "rb") as f:
                signed = pe_header.certificate_table(f.read())
        except (OSError, pe_header.PeError) as e:
            problems.append("%s: %s" % (path, e))
            continue
        if not signed:
            problems.append("%s is not signed: build with the same TOLVANE_SIGN_* values" % path)
    return problems


def sign_package(path, certificate):
    """Signs a built MSI before its hash goes into SHA256SUMS and the manifests;
    a package that cannot be signed is removed and nothing further written."""
    try:
        sign.sign(path, description="Tolvane", remove_on_failure=True, **certificate)
    except sign.SigningError as e:
        # An earlier run's sums would name the packages this one leaves out.
        sums = os.path.join(os.path.dirname(path), "SHA256SUMS")
        if os.path.exists(sums):
            os.remove(sums)
        sys.exit("release: %s; %s removed, SHA256SUMS and the manifests not written" % (e, path))


def write_zip(path, bin_dir):
    pack(path, {name: os.path.join(bin_dir, name) for name in FILES})


def pack(path, entries):
    """A reproducible zip of {entry name: file}."""
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=ENTRY_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            # Made on "MS-DOS" with plain archive attributes: what a Windows
            # unzipper expects, and independent of the build machine's umask.
            info.create_system = 0
            info.external_attr = 0x20
            with open(entries[name], "rb") as f:
                archive.writestr(info, f.read())
    os.replace(tmp, path)


def write_policy_zip(out, root, version):
    """The Group Policy templates' zip; returns its name."""
    name = "Tolvane-%s-policy.zip" % version
    pack(os.path.join(out, name),
         {entry: os.path.join(root, "packaging", "policy", *entry.split("/")) for entry in POLICY_FILES})
    return name


def write_sums(out, names):
    """out/SHA256SUMS over the files named relative to out (with "/"), in the
    form `sha256sum -c SHA256SUMS` checks."""
    path = os.path.join(out, "SHA256SUMS")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        for name in sorted(names):
            f.write("%s  %s\n" % (sha256(os.path.join(out, *name.split("/"))), name))
    return path


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


def write_winget(out, version, packages, download_url=None):
    """The manifest set (version, installer, default locale) for the MSI
    packages {architecture: path}, in the community repository's layout; the
    hashes and product codes are read from the built files. Each installer's
    address is download_url (or the placeholder) followed by its file name."""
    base = download_url or PLACEHOLDER_DOWNLOAD_URL.format(version=version)
    base += "" if base.endswith("/") else "/"
    folder = os.path.join(out, "winget", "manifests", WINGET_PUBLISHER[0].lower(), WINGET_PUBLISHER, WINGET_NAME,
                          version)
    os.makedirs(folder, exist_ok=True)
    head = "PackageIdentifier: %s\nPackageVersion: '%s'\n" % (WINGET_ID, version)
    installers = "".join(
        "- Architecture: %s\n"
        "  InstallerUrl: %s%s\n"
        "  InstallerSha256: %s\n"
        "  ProductCode: '%s'\n"
        "  AppsAndFeaturesEntries:\n"
        "  - UpgradeCode: '{%s}'\n"
        # winget's --location: <INSTALLPATH> becomes the folder it is given.
        "  InstallerSwitches:\n"
        "    InstallLocation: 'INSTALLDIR=\"<INSTALLPATH>\"'\n" % (arch, base, os.path.basename(path), sha256(path).upper(),
                                       msi_product_code(path), msi.upgrade_code())
        for arch, path in sorted(packages.items(), key=lambda item: item[0] != "x86"))
    files = {
        "version": (WINGET_ID + ".yaml", "DefaultLocale: en-US\n"),
        # The packages replace an installed Tolvane themselves (major upgrade).
        "installer": (WINGET_ID + ".installer.yaml",
                      "InstallerType: msi\nScope: machine\nUpgradeBehavior: install\nInstallers:\n" + installers),
        "defaultLocale": (WINGET_ID + ".locale.en-US.yaml", (
            "PackageLocale: en-US\n"
            "Publisher: Varnholt\n"
            "PackageName: Tolvane\n"
            "License: Proprietary\n"
            "Copyright: %s\n"
            "ShortDescription: Opens the Windows Explorer at your folder from an icon in the notification area.\n"
        ) % tolvane_version.read()["TOLVANE_COPYRIGHT"]),
    }
    paths = []
    for kind, (name, body) in files.items():
        paths.append(os.path.join(folder, name))
        with open(paths[-1], "w", encoding="utf-8", newline="\n") as f:
            f.write("# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n\n"
                    % (kind, WINGET_SCHEMA))
            f.write(head + body + "ManifestType: %s\nManifestVersion: %s\n" % (kind, WINGET_SCHEMA))
    return sorted(paths)


def main():
    parser = argparse.ArgumentParser(description="Pack the release archives from build/win32 and build/win64.")
    parser.add_argument("--root", default=ROOT, help="project folder (default: this script's project)")
    parser.add_argument("--out", help="output folder (default: <root>/out)")
    parser.add_argument("--download-url", help="the address of the folder the MSI packages will be downloaded from "
                        "(the winget manifests name <address>/<file>); without it, a placeholder to replace")
    parser.add_argument("--sign-pkcs12", help="sign the MSI packages with this PKCS#12 file (the programs must be "
                        "signed by the builds, with the same TOLVANE_SIGN_* values)")
    parser.add_argument("--sign-password-file", help="file holding the PKCS#12 file's password")
    parser.add_argument("--sign-timestamp-url", help="RFC 3161 timestamp server (optional)")
    args = parser.parse_args()
    certificate = signing(args)
    root = os.path.abspath(args.root)
    out = os.path.abspath(args.out or os.path.join(root, "out"))
    version = read_version(root)

    problems = []
    for preset, (machine, _, _) in BUILDS.items():
        problems += check_bin(os.path.join(root, "build", preset, "bin"), machine)
        if certificate:
            problems += unsigned_programs(os.path.join(root, "build", preset, "bin"))
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
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            sys.exit("release: the %s package could not be built (wixl and msibuild from msitools): %s" % (arch, e))
        if certificate:
            sign_package(os.path.join(out, package), certificate)
        archives.append(package)
    archives.append(write_policy_zip(out, root, version))

    for name in sorted(archives):
        print(os.path.join(out, name))
    packages = {arch: os.path.join(out, msi.msi_name(version, arch)) for _, _, arch in BUILDS.values()}
    manifests = write_winget(out, version, packages, args.download_url)
    for path in manifests:
        print(path)
    print(write_sums(out, archives + [os.path.relpath(path, out).replace(os.sep, "/") for path in manifests]))
    if not args.download_url:
        print("release: the winget manifests name %s as the packages' address: replace it before submitting them"
              % PLACEHOLDER_DOWNLOAD_URL.format(version=version), file=sys.stderr)


if __name__ == "__main__":
    main()

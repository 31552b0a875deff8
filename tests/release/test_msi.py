#!/usr/bin/env python3
"""Reads the built MSI's tables (msiinfo export) and checks what Windows
Installer will do with them: the files, the registry values the launcher reads
(names from registry/portable/RegistryLayout.h), the public properties and
their defaults, the Autostart condition, the shortcut and the major upgrade."""
import argparse
import os
import re
import subprocess
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import msi  # noqa: E402

ARGS = None


def header_strings(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        text = f.read()
    return {name: value.replace("\\\\", "\\") for name, value in re.findall(r'(k\w+)\[\] =\s*L"((?:[^"\\]|\\.)*)"', text)}


def table(name):
    out = subprocess.run(["msiinfo", "export", ARGS.msi, name], capture_output=True, text=True, check=True).stdout
    lines = out.split("\r\n") if "\r\n" in out else out.splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


class MsiTablesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.layout = header_strings("registry/portable/RegistryLayout.h")
        cls.version = msi.read_version()

    def test_files_components_and_views(self):
        files = {row["FileName"].split("|")[-1]: row["Component_"] for row in table("File")}
        self.assertEqual(files, {"Tolvane.exe": "Launcher", "Readme.txt": "Readme"}, "Setup.exe is not installed")
        bits64 = {row["Component"]: int(row["Attributes"]) & 256 != 0 for row in table("Component")}
        # Programs go where the package's architecture puts them; the settings
        # go to the 32-bit view in both packages, where both launchers read.
        x64 = ARGS.arch == "x64"
        self.assertEqual(bits64, {"Launcher": x64, "Readme": x64, "Settings": False, "Autostart": False,
                                  "Hotkey": False})
        folders = {row["Directory"]: row["Directory_Parent"] for row in table("Directory")}
        self.assertEqual(folders["INSTALLDIR"], "ProgramFiles64Folder" if x64 else "ProgramFilesFolder")

    def test_registry_values_are_the_ones_the_launcher_reads(self):
        rows = {(row["Root"], row["Key"], row["Name"], row["Value"]) for row in table("Registry")}
        layout = self.layout
        self.assertEqual(rows, {
            ("2", layout["kSettingsKey"], layout["kModeValue"], "[MODE]"),
            ("2", layout["kSettingsKey"], layout["kFolderValue"], "[FOLDER]"),
            ("2", layout["kSettingsKey"], layout["kHotkeyValue"], "[HOTKEY]"),
            ("2", layout["kRunKey"], layout["kRunValue"], '"[INSTALLDIR]Tolvane.exe"'),
        })

    def test_properties_and_product_identity(self):
        props = {row["Property"]: row["Value"] for row in table("Property")}
        expected = {
            "MODE": self.layout["kDefaultMode"], "FOLDER": self.layout["kDefaultFolder"],
            "ProductName": "Tolvane", "Manufacturer": "Varnholt", "ProductVersion": self.version,
            "UpgradeCode": "{%s}" % msi.upgrade_code(), "ProductCode": msi.product_code(self.version, ARGS.arch),
            "ARPPRODUCTICON": "Tolvane.ico", "ALLUSERS": "1",
        }
        self.assertEqual({k: props.get(k) for k in expected}, expected)
        self.assertIn("Readme.txt", props.get("ARPHELPTEXT", ""))
        upgrades = table("Upgrade")
        self.assertTrue(upgrades and all(row["UpgradeCode"] == expected["UpgradeCode"] for row in upgrades))
        self.assertIn("RemoveExistingProducts", {row["Action"] for row in table("InstallExecuteSequence")})

    def test_autostart_only_when_asked_and_shortcut(self):
        levels = {row["Feature"]: row["Level"] for row in table("Feature")}
        self.assertEqual(levels, {"Main": "1", "Autostart": "1000", "Hotkey": "1000"})
        self.assertEqual(sorted((r["Feature_"], r["Level"], r["Condition"]) for r in table("Condition")),
                         [("Autostart", "1", "AUTOSTART=1"), ("Hotkey", "1", "HOTKEY")])
        shortcuts = [(r["Directory_"], r["Name"], r["Target"]) for r in table("Shortcut")]
        self.assertEqual(shortcuts, [("ProgramMenuFolder", "Tolvane", "[INSTALLDIR]Tolvane.exe")])

    def test_winget_manifest_names_this_package(self):
        if ARGS.arch != "x86":
            self.skipTest("the winget manifest describes the x86 package")
        import release
        import tempfile
        with tempfile.TemporaryDirectory() as out:
            paths = release.write_winget(out, self.version, ARGS.msi, "https://downloads.invalid/x.msi")
            installer = open(next(p for p in paths if p.endswith(".installer.yaml")), encoding="utf-8").read()
        fields = dict(line.strip().lstrip("- ").split(": ", 1) for line in installer.splitlines() if ": " in line)
        self.assertEqual(fields["InstallerSha256"], release.sha256(ARGS.msi).upper())
        props = {row["Property"]: row["Value"] for row in table("Property")}
        self.assertEqual(fields["ProductCode"], "'%s'" % props["ProductCode"])
        self.assertEqual((fields["Architecture"], fields["InstallerType"], fields["Scope"]), ("x86", "msi", "machine"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--msi", required=True)
    parser.add_argument("--arch", required=True, choices=["x86", "x64"])
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)

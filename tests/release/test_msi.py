#!/usr/bin/env python3
"""Reads the built MSI's tables (msiinfo export) and checks what Windows
Installer will do with them: the files, the registry values the launcher reads
(names from registry/portable/RegistryLayout.h), the public properties, their
defaults and how they are read back and kept, the conditions, the shortcut,
the install folder's permissions, the upgrade rows, and the winget manifests
written for the packages. Each rule of the validation suites it follows is
named in its test."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from unittest import mock

import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import msi  # noqa: E402
import release  # noqa: E402
import check_deliverable  # noqa: E402  (beside this file)

ARGS = None
OTHER_ARCH = {"x86": "x64", "x64": "x86"}
BIT64 = 0x100
REGISTRY_KEY_PATH = 0x4
COMPONENT_TRANSITIVE = 0x40
# Upgrade table attributes
ONLY_DETECT, VERSION_MIN_INCLUSIVE, VERSION_MAX_INCLUSIVE = 0x2, 0x100, 0x200
LOCATOR_RAW, LOCATOR_64BIT = 0x2, 0x10
HKMU, HKCU, HKLM = -1, 1, 2
FOLDERS_64BIT = {"ProgramFiles64Folder", "System64Folder", "CommonFiles64Folder"}
# Properties the package reads back from the machine: the value each one is
# written to (Registry table) is the value it is read from.
REMEMBERED = ["MODE", "FOLDER", "HOTKEY", "AUTOSTART", "INSTALLDIR"]


def header_strings(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        text = f.read()
    return {name: value.replace("\\\\", "\\") for name, value in re.findall(r'(k\w+)\[\] =\s*L"((?:[^"\\]|\\.)*)"', text)}


def table(name, package=None):
    """The rows of a table as dicts (an absent table has none)."""
    result = subprocess.run(["msiinfo", "export", package or ARGS.msi, name], capture_output=True, text=True)
    if result.returncode != 0:
        return []
    lines = result.stdout.splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def sequence(name):
    return {row["Action"]: (int(row["Sequence"]), row["Condition"]) for row in table(name)}


def build_bin(name=""):
    """This build's bin folder, or a file in it."""
    return os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(ARGS.msi))), "bin", name)


_other_package = []


def other_package(work):
    """The other architecture's package, built once from this build's programs."""
    if not _other_package:
        arch = OTHER_ARCH[ARGS.arch]
        _other_package.append(msi.build(build_bin(), arch, os.path.join(work, msi.msi_name(msi.read_version(), arch))))
    return _other_package[0]


def setUpModule():
    global WORK
    WORK = tempfile.TemporaryDirectory()
    unittest.addModuleCleanup(WORK.cleanup)


class MsiTablesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.layout = header_strings("registry/portable/RegistryLayout.h")
        cls.version = msi.read_version()
        cls.properties = {row["Property"]: row["Value"] for row in table("Property")}
        # For what the two architectures' packages must share or tell apart.
        cls.other = other_package(WORK.name)

    def test_files_and_components(self):
        files = {row["FileName"].split("|")[-1]: row["Component_"] for row in table("File")}
        self.assertEqual(files, {"Tolvane.exe": "Launcher", "Readme.txt": "Readme", "Liesmich.txt": "Liesmich"},
                         "Setup.exe is not installed")
        # A program's version is the one its version record holds; a text file
        # has none, and only a text file has a hash.
        pe = check_deliverable.read_pe(build_bin("Tolvane.exe"))
        record = check_deliverable.VersionInfo(next(iter(pe.resources_of_type(check_deliverable.RT_VERSION).values())))
        versions = {row["FileName"].split("|")[-1]: row["Version"] for row in table("File")}
        self.assertEqual(versions, {"Tolvane.exe": ".".join(map(str, record.file_version)), "Readme.txt": "",
                                    "Liesmich.txt": ""})
        hashed = {row["File_"] for row in table("MsiFileHash")}
        self.assertEqual(hashed, {row["File"] for row in table("File") if not row["Version"]})
        bits64 = {row["Component"]: int(row["Attributes"]) & BIT64 != 0 for row in table("Component")}
        # Programs go where the package's architecture puts them; the settings
        # go to the 32-bit view in both packages, where both launchers read.
        x64 = ARGS.arch == "x64"
        self.assertEqual(bits64, {"Launcher": x64, "Readme": x64, "Liesmich": x64, "Settings": False, "Autostart": False,
                                  "Hotkey": False, "Shortcut": False})
        folders = {row["Directory"]: row["Directory_Parent"] for row in table("Directory")}
        self.assertEqual(folders["INSTALLDIR"], "ProgramFiles64Folder" if x64 else "ProgramFilesFolder")

    def test_ice80_no_32bit_component_in_a_64bit_folder(self):
        parents = {row["Directory"]: row["Directory_Parent"] for row in table("Directory")}
        for row in table("Component"):
            if int(row["Attributes"]) & BIT64:
                continue
            folder, chain = row["Directory_"], []
            while folder:
                chain.append(folder)
                folder = parents[folder]
            self.assertFalse(FOLDERS_64BIT & set(chain), "%s is 32-bit in %s" % (row["Component"], chain))

    def test_component_codes_change_with_bitness(self):
        ours = {row["Component"]: row for row in table("Component")}
        theirs = {row["Component"]: row for row in table("Component", self.other)}
        self.assertEqual(set(ours), set(theirs))
        for name, row in ours.items():
            with self.subTest(component=name):
                same_bits = (int(row["Attributes"]) & BIT64) == (int(theirs[name]["Attributes"]) & BIT64)
                self.assertEqual(row["ComponentId"] == theirs[name]["ComponentId"], same_bits)

    def test_registry_values_are_the_ones_the_launcher_reads(self):
        rows = {(row["Root"], row["Key"], row["Name"], row["Value"]) for row in table("Registry")}
        layout = self.layout
        self.assertEqual(rows, {
            (str(HKLM), layout["kSettingsKey"], layout["kModeValue"], "[MODE]"),
            (str(HKLM), layout["kSettingsKey"], layout["kFolderValue"], "[FOLDER]"),
            (str(HKLM), layout["kSettingsKey"], layout["kHotkeyValue"], "[HOTKEY]"),
            (str(HKLM), layout["kRunKey"], layout["kRunValue"], '"[INSTALLDIR]Tolvane.exe"'),
            (str(HKMU), layout["kSettingsKey"], "StartMenuShortcut", "[ProgramMenuFolder]Tolvane.lnk"),
            (str(HKLM), layout["kSettingsKey"], "InstallDir", "[INSTALLDIR]"),
        })

    def test_product_identity_and_defaults(self):
        expected = {
            "ProductName": "Tolvane", "Manufacturer": "Varnholt", "ProductVersion": self.version,
            "UpgradeCode": "{%s}" % msi.upgrade_code(), "ProductCode": msi.product_code(self.version, ARGS.arch),
            "ARPPRODUCTICON": "Tolvane.ico", "ALLUSERS": "1",
            # The defaults, unless the machine has values already (below).
            "INSTALLED_MODE": self.layout["kDefaultMode"], "INSTALLED_FOLDER": self.layout["kDefaultFolder"],
            "MODE": None, "FOLDER": None, "HOTKEY": None, "AUTOSTART": None,
        }
        self.assertEqual({k: self.properties.get(k) for k in expected}, expected)
        self.assertIn("Readme.txt", self.properties.get("ARPHELPTEXT", ""))

    def test_same_version_replaced_newer_refused(self):
        code = self.properties["UpgradeCode"]
        rows = table("Upgrade")
        self.assertTrue(rows and all(row["UpgradeCode"] == code for row in rows))
        removes = [r for r in rows if not int(r["Attributes"]) & ONLY_DETECT]
        detects = [r for r in rows if int(r["Attributes"]) & ONLY_DETECT]
        # Every earlier version and this one (the other architecture's package).
        self.assertEqual([(r["VersionMin"], r["VersionMax"], int(r["Attributes"]) & VERSION_MAX_INCLUSIVE)
                          for r in removes], [("", self.version, VERSION_MAX_INCLUSIVE)])
        # Only later versions, which end the installation.
        self.assertEqual([(r["VersionMin"], r["VersionMax"], int(r["Attributes"]) & VERSION_MIN_INCLUSIVE)
                          for r in detects], [(self.version, "", 0)])
        self.assertIn("NOT " + detects[0]["ActionProperty"], {row["Condition"] for row in table("LaunchCondition")})
        steps = sequence("InstallExecuteSequence")
        order = [steps[a][0] for a in ("InstallValidate", "RemoveExistingProducts", "InstallInitialize")]
        self.assertEqual(order, sorted(order))
        self.assertLess(steps["FindRelatedProducts"][0], steps["LaunchConditions"][0])

    def test_properties_read_back_from_the_earlier_installation(self):
        # The Run value stands for AUTOSTART.
        written = {"AUTOSTART" if row["Name"] == self.layout["kRunValue"] else
                   re.search(r"\[(\w+)\]", row["Value"]).group(1): row for row in table("Registry")}
        searches = {row["Property"]: row["Signature_"] for row in table("AppSearch")}
        locators = {row["Signature_"]: row for row in table("RegLocator")}
        actions = {row["Action"]: row for row in table("CustomAction")}
        for name in REMEMBERED:
            with self.subTest(property=name):
                source = "INSTALLED_" + name
                locator = locators[searches[source]]
                # Read where it is written, in the 32-bit view, as it is.
                self.assertEqual((locator["Root"], locator["Key"], locator["Name"]),
                                 (written[name]["Root"], written[name]["Key"], written[name]["Name"]))
                self.assertEqual(int(locator["Type"]) & (LOCATOR_RAW | LOCATOR_64BIT), LOCATOR_RAW)
                setter = [a for a in actions.values() if a["Source"] == name and int(a["Type"]) == 51]
                self.assertEqual(len(setter), 1)
                self.assertEqual(setter[0]["Target"], "1" if name == "AUTOSTART" else "[%s]" % source)
                # After AppSearch and before anything uses it, in both
                # sequences, and only where the command line set nothing.
                for name_of_sequence in ("InstallUISequence", "InstallExecuteSequence"):
                    steps = sequence(name_of_sequence)
                    step, condition = steps[setter[0]["Action"]]
                    self.assertTrue(steps["AppSearch"][0] < step < steps["CostFinalize"][0], step)
                    self.assertTrue(condition.startswith("NOT %s" % name), condition)

    def test_uninstall_entry_names_the_folder(self):
        # Set from INSTALLDIR once costing has resolved it, before the entry is written.
        setters = [(a["Action"], a["Target"]) for a in table("CustomAction")
                   if int(a["Type"]) & 0x3F == 51 and a["Source"] == "ARPINSTALLLOCATION"]
        self.assertEqual([target for _, target in setters], ["[INSTALLDIR]"])
        steps = sequence("InstallExecuteSequence")
        self.assertTrue(steps["CostFinalize"][0] < steps[setters[0][0]][0] < steps["RegisterProduct"][0])
        self.assertEqual(steps[setters[0][0]][1], "")

    def test_values_outside_their_sets_refused(self):
        with open(os.path.join(ROOT, "launcher", "portable", "WindowModes.h"), encoding="utf-8") as f:
            modes = re.findall(r'\{L"(\w+)", \d+, TextId::', f.read())
        conditions = {row["Condition"]: row["Description"] for row in table("LaunchCondition")}
        allowed = {}
        for name in ("MODE", "AUTOSTART"):
            with self.subTest(property=name):
                condition = next(c for c in conditions if re.search(r"\b%s = " % name, c))
                allowed[name] = sorted(re.findall(r'\b%s = "(\w*)"' % name, condition))
                # The message names what is allowed.
                for value in allowed[name]:
                    self.assertIn(value if name == "MODE" else "%s=%s " % (name, value), conditions[condition])
        self.assertEqual(allowed, {"MODE": sorted(modes), "AUTOSTART": ["0", "1"]})
        for name_of_sequence in ("InstallUISequence", "InstallExecuteSequence"):
            steps = sequence(name_of_sequence)
            self.assertLess(steps["RememberAutostart"][0], steps["LaunchConditions"][0])
            self.assertLess(steps["LaunchConditions"][0], steps["CostInitialize"][0])

    def test_secure_custom_properties(self):
        secure = set(self.properties["SecureCustomProperties"].split(";"))
        self.assertLessEqual({"MODE", "FOLDER", "HOTKEY"}, secure)
        self.assertLessEqual({row["ActionProperty"] for row in table("Upgrade")}, secure)
        # A managed installation by a user without administrator rights must
        # not choose where the machine's Run value points.
        self.assertFalse({"AUTOSTART", "INSTALLDIR"} & secure)

    def test_install_folder_locked_and_folders_refused(self):
        self.assertEqual(table("LockPermissions"), [], "a package holds one of the two permission tables")
        self.assertIn({"Directory_": "INSTALLDIR", "Component_": "Launcher"}, table("CreateFolder"))
        locks = [(r["LockObject"], r["Table"], r["Condition"]) for r in table("MsiLockPermissionsEx")]
        self.assertEqual(locks, [("INSTALLDIR", "CreateFolder", "")])
        sddl = table("MsiLockPermissionsEx")[0]["SDDLText"]
        owner, flags, aces = re.fullmatch(r"O:(\w+)D:([A-Z]*)((?:\([^)]*\))+)", sddl).groups()
        self.assertEqual(owner, "BA")
        self.assertIn("P", flags, "the folder must not inherit from the folder above")
        self.assertEqual(sorted(re.findall(r"\(([^)]*)\)", aces)),
                         ["A;OICI;0x1200a9;;;BU", "A;OICI;FA;;;BA", "A;OICI;FA;;;SY"])
        execute = sequence("InstallExecuteSequence")
        self.assertLess(execute["CreateFolders"][0], execute["InstallFiles"][0])
        # A drive's root and network paths are refused before anything happens.
        refuse = [a for a in table("CustomAction") if int(a["Type"]) == 19]
        self.assertEqual(len(refuse), 1)
        self.assertIn("[INSTALLDIR]", refuse[0]["Target"])
        for name_of_sequence in ("InstallUISequence", "InstallExecuteSequence"):
            steps = sequence(name_of_sequence)
            step, condition = steps[refuse[0]["Action"]]
            self.assertLess(steps["CostFinalize"][0], step)
            self.assertLess(step, steps.get("InstallValidate", steps.get("ExecuteAction"))[0])
            for test in ('INSTALLDIR >> ":\\"', 'INSTALLDIR << "\\\\"'):
                self.assertIn(test, condition)
            self.assertTrue(condition.startswith("NOT Installed AND "), condition)

    def test_autostart_and_hotkey_only_when_asked(self):
        levels = {row["Feature"]: row["Level"] for row in table("Feature")}
        self.assertEqual(levels, {"Main": "1", "Autostart": "1000", "Hotkey": "1000"})
        self.assertEqual(sorted((r["Feature_"], r["Level"], r["Condition"]) for r in table("Condition")),
                         [("Autostart", "1", "AUTOSTART=1"), ("Hotkey", "1", "HOTKEY")])
        # A repair or ADDLOCAL=ALL writes neither value again once it is gone:
        # their components' conditions are evaluated again (transitive, which
        # only a real Windows honours; Wine evaluates every time) and true on
        # a removal, so that no component stays registered.
        conditions = {r["Component"]: (int(r["Attributes"]) & COMPONENT_TRANSITIVE, r["Condition"])
                      for r in table("Component") if r["Condition"] or int(r["Attributes"]) & COMPONENT_TRANSITIVE}
        self.assertEqual(conditions, {"Autostart": (COMPONENT_TRANSITIVE, "AUTOSTART=1 OR REMOVE"),
                                      "Hotkey": (COMPONENT_TRANSITIVE, "HOTKEY OR REMOVE")})

    def test_ice43_ice57_shortcut_in_a_component_of_its_own(self):
        shortcuts = [(r["Directory_"], r["Name"], r["Target"], r["Component_"]) for r in table("Shortcut")]
        self.assertEqual(shortcuts, [("ProgramMenuFolder", "Tolvane", "[INSTALLDIR]Tolvane.exe", "Shortcut")])
        component = next(r for r in table("Component") if r["Component"] == "Shortcut")
        self.assertTrue(int(component["Attributes"]) & REGISTRY_KEY_PATH)
        key_path = next(r for r in table("Registry") if r["Registry"] == component["KeyPath"])
        # A key path that follows ALLUSERS, as the Start menu folder does, and
        # nothing in the component that is per machine only.
        self.assertEqual((int(key_path["Root"]), key_path["Component_"]), (HKMU, "Shortcut"))
        self.assertEqual([r for r in table("File") if r["Component_"] == "Shortcut"], [])
        self.assertEqual([r for r in table("Registry") if r["Component_"] == "Shortcut" and int(r["Root"]) != HKMU],
                         [])


class ReproducibleMsiTest(unittest.TestCase):
    """Two builds of one commit give the same bytes, as the zips do."""

    def build(self, name, file_time, environment):
        # This build's programs as another checkout would have them: other
        # file times, built later, in another time zone.
        folder = os.path.join(WORK.name, name)
        os.makedirs(os.path.join(folder, "bin"))
        for file in ("Tolvane.exe", "Readme.txt", "Liesmich.txt"):
            shutil.copyfile(build_bin(file), os.path.join(folder, "bin", file))
            os.utime(os.path.join(folder, "bin", file), (file_time, file_time))
        with mock.patch.dict(os.environ, environment):
            if "SOURCE_DATE_EPOCH" not in environment:
                os.environ.pop("SOURCE_DATE_EPOCH", None)
            return msi.build(os.path.join(folder, "bin"), ARGS.arch, os.path.join(folder, "Tolvane.msi"))

    @staticmethod
    def summary(path):
        out = subprocess.run(["msiinfo", "suminfo", path], capture_output=True, text=True, check=True,
                             env=dict(os.environ, TZ="UTC")).stdout
        return dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)

    def test_two_builds_byte_equal_dated_by_the_release(self):
        first = self.build("first", 1000000000, {})
        time.sleep(1.1)  # the clock has moved on
        second = self.build("second", 1300000000, {"TZ": "EST5"})
        with open(first, "rb") as a, open(second, "rb") as b:
            self.assertTrue(a.read() == b.read(), "two builds of the same programs differ")
        dated = self.build("dated", 1000000000, {"SOURCE_DATE_EPOCH": "1700000000"})
        summaries = [self.summary(path) for path in (first, dated)]
        # The version's date (the About box's), or SOURCE_DATE_EPOCH's.
        about = re.search(r"\d+\.\d+\.\d{4}", msi.tolvane_version.read()["TOLVANE_ABOUT_DATE"]).group()
        dates = [time.asctime(time.strptime(about, "%d.%m.%Y")), time.asctime(time.gmtime(1700000000))]
        self.assertEqual([(s["Created"], s["Last saved"]) for s in summaries], [(d, d) for d in dates])
        # A package code of the content: another content, another code.
        codes = [s["Revision number (UUID)"] for s in summaries]
        self.assertRegex(codes[0], r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
        self.assertNotEqual(codes[0], codes[1])
        self.assertNotIn(codes[0], (msi.product_code(msi.read_version(), ARGS.arch), msi.NO_PACKAGE_CODE))


class WingetManifestsTest(unittest.TestCase):
    """The manifests for this package and the other architecture's (built
    from the same programs), as the community repository takes them."""

    @classmethod
    def setUpClass(cls):
        cls.version = msi.read_version()
        cls.packages = {ARGS.arch: ARGS.msi, OTHER_ARCH[ARGS.arch]: other_package(WORK.name)}

    def manifests(self, url):
        out = tempfile.mkdtemp(dir=WORK.name)
        paths = release.write_winget(out, self.version, self.packages, url)
        folder = os.path.join(out, "winget", "manifests", "v", "Varnholt", "Tolvane", self.version)
        self.assertEqual(sorted(os.path.relpath(p, folder) for p in paths),
                         ["Varnholt.Tolvane.installer.yaml", "Varnholt.Tolvane.locale.en-US.yaml",
                          "Varnholt.Tolvane.yaml"])
        result = {}
        for path in paths:
            with open(path, encoding="utf-8") as f:
                first, text = f.readline(), f.read()
            manifest = yaml.safe_load(text)
            kind = manifest["ManifestType"]
            self.assertEqual(first, "# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.1.12.0"
                                    ".schema.json\n" % kind)
            self.assertEqual((manifest["ManifestVersion"], manifest["PackageIdentifier"], manifest["PackageVersion"]),
                             ("1.12.0", "Varnholt.Tolvane", self.version))
            result[kind] = manifest
        self.assertEqual(sorted(result), ["defaultLocale", "installer", "version"])
        return result

    def test_both_installers_recognised_by_product_and_upgrade_code(self):
        manifests = self.manifests("https://example.org/tolvane/1/")
        installer = manifests["installer"]
        self.assertEqual((installer["InstallerType"], installer["Scope"]), ("msi", "machine"))
        upgrade_code = "{%s}" % msi.upgrade_code()
        seen = {}
        for entry in installer["Installers"]:
            path = self.packages[entry["Architecture"]]
            props = {row["Property"]: row["Value"] for row in table("Property", path)}
            # winget --location sets the folder Tolvane.exe goes into.
            location = re.fullmatch(r'(\w+)="<INSTALLPATH>"', entry.pop("InstallerSwitches")["InstallLocation"])
            launcher = next(row for row in table("Component", path) if row["Component"] == "Launcher")
            self.assertEqual(location.group(1), launcher["Directory_"])
            self.assertEqual(entry, {
                "Architecture": entry["Architecture"],
                "InstallerUrl": "https://example.org/tolvane/1/" + os.path.basename(path),
                "InstallerSha256": release.sha256(path).upper(),
                "ProductCode": props["ProductCode"],
                "AppsAndFeaturesEntries": [{"UpgradeCode": props["UpgradeCode"]}],
            })
            self.assertEqual(props["UpgradeCode"], upgrade_code)
            seen[entry["Architecture"]] = props["ProductCode"]
        self.assertEqual(sorted(seen), ["x64", "x86"])
        self.assertNotEqual(seen["x86"], seen["x64"])
        self.assertEqual(manifests["version"]["DefaultLocale"], manifests["defaultLocale"]["PackageLocale"])
        for field in ("Publisher", "PackageName", "License", "ShortDescription"):
            self.assertTrue(manifests["defaultLocale"].get(field), field)

    def test_without_an_address_a_placeholder_to_replace(self):
        urls = [entry["InstallerUrl"] for entry in self.manifests(None)["installer"]["Installers"]]
        placeholder = release.PLACEHOLDER_DOWNLOAD_URL.format(version=self.version)
        self.assertEqual(sorted(urls), sorted(placeholder + os.path.basename(p) for p in self.packages.values()))
        self.assertRegex(placeholder, r"^https://[^/]+\.invalid/")

    def test_release_writes_them_without_an_address_all_summed(self):
        if not all(os.path.isfile(os.path.join(ROOT, "build", preset, "bin", "Setup.exe"))
                   for preset in release.BUILDS):
            self.skipTest("the release needs both Windows builds")
        out = tempfile.mkdtemp(dir=WORK.name)
        result = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "release.py"), "--out", out],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("replace it", result.stderr)
        folder = os.path.join(out, "winget", "manifests", "v", "Varnholt", "Tolvane", self.version)
        with open(os.path.join(folder, "Varnholt.Tolvane.installer.yaml"), encoding="utf-8") as f:
            urls = [entry["InstallerUrl"] for entry in yaml.safe_load(f)["Installers"]]
        self.assertTrue(urls and all(u.startswith(release.PLACEHOLDER_DOWNLOAD_URL.format(version=self.version))
                                     for u in urls), urls)
        # SHA256SUMS covers every other file written, as they were left.
        written = sorted(os.path.relpath(os.path.join(folder, name), out).replace(os.sep, "/")
                         for folder, _, names in os.walk(out) for name in names)
        with open(os.path.join(out, "SHA256SUMS"), encoding="ascii") as f:
            sums = {name: digest for digest, name in (line.rstrip("\n").split("  ", 1) for line in f)}
        self.assertEqual(sorted(sums), [name for name in written if name != "SHA256SUMS"])
        self.assertIn("Tolvane-%s-policy.zip" % self.version, sums)
        for name, digest in sums.items():
            self.assertEqual(release.sha256(os.path.join(out, name)), digest, name)
        # The policy templates as PolicyDefinitions holds them; the same bytes when packed again.
        policy = os.path.join(out, "Tolvane-%s-policy.zip" % self.version)
        with zipfile.ZipFile(policy) as archive:
            entries = {info.filename: archive.read(info) for info in archive.infolist()}
        sources = {}
        for name in ("Tolvane.admx", "en-US/Tolvane.adml", "de-DE/Tolvane.adml"):
            with open(os.path.join(ROOT, "packaging", "policy", name), "rb") as f:
                sources[name] = f.read()
        self.assertEqual(entries, sources)
        again = tempfile.mkdtemp(dir=WORK.name)
        time.sleep(2)  # a zip's times count in steps of two seconds
        with open(policy, "rb") as first, open(os.path.join(again, release.write_policy_zip(again, ROOT, self.version)),
                                               "rb") as second:
            self.assertTrue(first.read() == second.read(), "the policy templates' zip is not reproducible")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--msi", required=True)
    parser.add_argument("--arch", required=True, choices=["x86", "x64"])
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)

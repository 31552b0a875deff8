"""The Windows Installer package under Wine's own msiexec: a silent
installation with the public properties, the installed launcher at work, and a
silent removal that takes files, values and the Run entry away again; a repair
and an upgrade that keep the deployment's choices, and a repair that keeps
autostart switched off; the other architecture's
package of the same version replacing this one, and upgrades keeping the
folder an earlier installation remembered; a downgrade, folders the package
must not lock (existing ones) and values outside their sets refused; Setup.exe
and the package each refusing to install beside the other."""

import glob
import os
import shutil
import tempfile
import unittest

from tolvane_e2e import (LAUNCHER_KEY, RUN_KEY, WineSession, bin_dir, main, programs_arch, require_programs,
                         version_text, wait_for)
import msi  # scripts/, on the path through tolvane_e2e

PACKAGES = "C:\\Packages"
ARCH = "x64" if programs_arch() == "x86_64" else "x86"
OTHER_ARCH = "x86" if ARCH == "x64" else "x64"
# The x86 package (from the i686 build) goes where 32-bit programs go.
FOLDERS = {"x64": "C:\\Program Files\\Tolvane", "x86": "C:\\Program Files (x86)\\Tolvane"}
INSTALL_DIR = FOLDERS[ARCH]
VERSION = version_text("TOLVANE_VERSION_TEXT")
LATER_VERSION = "%s.%02d" % (VERSION.split(".")[0], int(VERSION.split(".")[1]) + 1)
# Windows puts a per-machine package's shortcut into the all-users Start menu;
# Wine's msiexec resolves ProgramMenuFolder to the user's.
SHORTCUTS = ("ProgramData/Microsoft/Windows/Start Menu/Programs/Tolvane.lnk",
             "users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvane.lnk")
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
SETUP_KEY = UNINSTALL_KEY + "Varnholt Tolvane"
SETUP_FOLDER = "C:\\Tolvane\\"
CHOICES = {"Pfad": "C:\\Work", "Modus": "vbNormalFocus", "Hotkey": "Ctrl+Alt+F11"}


class MsiPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        require_programs("TestDriver.exe", "MenuProbe.dll")
        build = os.path.dirname(bin_dir())
        this = os.path.join(build, "msi", msi.msi_name(VERSION, ARCH))
        if not os.path.exists(this):
            raise unittest.SkipTest("not built: " + this)
        # The other build's package, and this one as a later version.
        other = os.path.join(os.path.dirname(build), "win64" if OTHER_ARCH == "x64" else "win32", "msi",
                             msi.msi_name(VERSION, OTHER_ARCH))
        work = tempfile.mkdtemp()
        cls.addClassCleanup(shutil.rmtree, work)
        later = msi.build(bin_dir(), ARCH, os.path.join(work, msi.msi_name(LATER_VERSION, ARCH)), LATER_VERSION)
        cls.s = WineSession("msi")
        cls.addClassCleanup(cls.s.close)
        cls.s.install_files(PACKAGES, [this, later] + ([other] if os.path.exists(other) else []))
        cls.s.make_dirs("C:\\Work")
        cls.s.install_programs({"C:\\Downloads": ["Tolvane.exe", "Setup.exe", "Readme.txt", "Liesmich.txt"]})
        cls.s.start_desktop()

    def tearDown(self):
        # What a failed test left installed would fail the next ones too.
        for version, arch in self.entries():
            self.msiexec("/x", self.package(version, arch), check=False)

    def package(self, version=VERSION, arch=ARCH):
        return PACKAGES + "\\" + msi.msi_name(version, arch)

    def msiexec(self, *args, check=True):
        return self.s.wine("msiexec", *args, "/qn", timeout=180, check=check)

    def installed(self, folder=INSTALL_DIR):
        found = {name: os.path.exists(self.s.host_path(folder + "\\" + name))
                 for name in ("Tolvane.exe", "Readme.txt", "Setup.exe")}
        found["shortcut"] = any(glob.glob(os.path.join(self.s.drive_c, path)) for path in SHORTCUTS)
        return found

    def entries(self):
        """The Tolvane entries of Programs and Features (either registry
        view), by the package they belong to."""
        return sorted((version, arch) for version in (VERSION, LATER_VERSION) for arch in ("x86", "x64")
                      if self.entry_value("DisplayName", version, arch) is not None)

    def entry_value(self, name, version=VERSION, arch=ARCH):
        """A value of the package's entry in Programs and Features (either view)."""
        for view in ((), ("--64",)):
            facts = self.s.driver.run("reg-get", UNINSTALL_KEY + msi.product_code(version, arch), name, *view)
            fact = next(f for f in facts if f["fact"] == "reg-value")
            if fact["exists"]:
                return fact.get("value")
        return None

    def values(self):
        return {name: self.s.reg_get(LAUNCHER_KEY, name) for name in CHOICES}

    def assert_nothing_left(self):
        self.assertEqual(self.entries(), [])
        for folder in FOLDERS.values():
            self.assertFalse(os.path.exists(self.s.host_path(folder)), folder)
        self.assertFalse(self.installed()["shortcut"])
        self.assertEqual(self.values(), dict.fromkeys(CHOICES))
        self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))
        self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "StartMenuShortcut"))

    def test_silent_install_with_properties_then_removal(self):
        self.msiexec("/i", self.package(), "FOLDER=C:\\Work", "MODE=vbNormalFocus", "AUTOSTART=1",
                     "HOTKEY=Ctrl+Alt+F11")
        self.assertEqual(self.installed(), {"Tolvane.exe": True, "Readme.txt": True, "Setup.exe": False,
                                            "shortcut": True})
        self.assertEqual(self.values(), CHOICES)
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{INSTALL_DIR}\\Tolvane.exe"')
        self.assertEqual(self.entry_value("InstallLocation"), INSTALL_DIR + "\\")

        # The installed launcher reads what the package wrote.
        launcher, icon = self.s.start_launcher(INSTALL_DIR + "\\Tolvane.exe", INSTALL_DIR, with_desktop=False)
        procs = self.s.click_and_watch(*icon, count=1, settle=800)
        self.assertEqual([(p["cmdline"], p["show"]) for p in procs], [('explorer.exe /e,"C:\\Work"', 1)])
        self.s.close_windows("ExplorerWClass")
        self.s.choose_from_tray_menu(icon, "x")
        self.assertTrue(wait_for(lambda: not self.s.driver.alive(launcher["pid"])), "the launcher did not exit")

        self.msiexec("/x", self.package())
        self.assert_nothing_left()

    def test_defaults_and_no_autostart_without_properties(self):
        self.msiexec("/i", self.package())
        try:
            self.assertEqual(self.values(), {"Pfad": "C:\\", "Modus": "vbMaximizedFocus", "Hotkey": None})
            self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))
        finally:
            self.msiexec("/x", self.package())

    def test_repair_and_upgrade_keep_the_deployments_choices(self):
        self.msiexec("/i", self.package(), "FOLDER=C:\\Work", "MODE=vbNormalFocus", "AUTOSTART=1",
                     "HOTKEY=Ctrl+Alt+F11")
        os.remove(self.s.host_path(INSTALL_DIR + "\\Readme.txt"))
        # What Programs and Features' Repair does: reinstall everything,
        # machine values included (Wine's "msiexec /fomus" ends with 1 here).
        self.msiexec("/i", self.package(), "REINSTALL=ALL", "REINSTALLMODE=omus")
        self.assertTrue(self.installed()["Readme.txt"], "the repair did not run")
        self.assertEqual(self.values(), CHOICES)
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{INSTALL_DIR}\\Tolvane.exe"')

        # A later version, without the command line, replaces it and keeps them;
        # the command line still wins over what is kept. The default folder
        # existing is no refusal on an upgrade from a version that remembered
        # no folder.
        self.s.reg_delete(LAUNCHER_KEY, "InstallDir")
        self.msiexec("/i", self.package(LATER_VERSION), "MODE=vbMinimizedFocus")
        self.assertEqual(self.entries(), [(LATER_VERSION, ARCH)])
        self.assertEqual(self.values(), dict(CHOICES, Modus="vbMinimizedFocus"))
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{INSTALL_DIR}\\Tolvane.exe"')

        # A downgrade is refused and changes nothing.
        self.assertNotEqual(self.msiexec("/i", self.package(), check=False).returncode, 0)
        self.assertEqual(self.entries(), [(LATER_VERSION, ARCH)])
        self.msiexec("/x", self.package(LATER_VERSION))
        self.assert_nothing_left()

    def test_repair_keeps_autostart_switched_off(self):
        self.msiexec("/i", self.package(), "AUTOSTART=1")
        # What switching the machine's autostart off in Tolvane's menu does.
        self.s.reg_delete(RUN_KEY, "Tolvane")
        os.remove(self.s.host_path(INSTALL_DIR + "\\Readme.txt"))
        for args in (("REINSTALL=ALL", "REINSTALLMODE=omus"), ("ADDLOCAL=ALL",)):
            with self.subTest(args=args):
                self.msiexec("/i", self.package(), *args)
                self.assertTrue(self.installed()["Readme.txt"], "the repair did not run")
                self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))
                self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "Hotkey"))
        self.msiexec("/x", self.package())
        self.assert_nothing_left()

    def test_other_architecture_of_this_version_is_replaced(self):
        other = self.package(arch=OTHER_ARCH)
        if not os.path.exists(self.s.host_path(other)):
            self.skipTest("the %s package is not built" % OTHER_ARCH)
        self.msiexec("/i", other, "FOLDER=C:\\Work", "AUTOSTART=1")
        self.assertEqual(self.entries(), [(VERSION, OTHER_ARCH)])
        self.msiexec("/i", self.package())
        self.assertEqual(self.entries(), [(VERSION, ARCH)])
        # Into the folder the other one remembered, where the Run values point.
        kept = FOLDERS[OTHER_ARCH]
        self.assertTrue(self.installed(kept)["Tolvane.exe"])
        self.assertFalse(os.path.exists(self.s.host_path(INSTALL_DIR)))
        self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Pfad"), "C:\\Work")
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{kept}\\Tolvane.exe"')
        self.msiexec("/x", self.package())
        self.assert_nothing_left()

    def test_upgrades_keep_the_remembered_folder(self):
        folder = "C:\\Tools\\Kept"
        # Given again (without the trailing backslash the remembered one has):
        # the remembered folder existing is the package's own. Left out: the
        # remembered one.
        for again in (("INSTALLDIR=" + folder,), ()):
            with self.subTest(again=again):
                self.msiexec("/i", self.package(), "INSTALLDIR=" + folder, "AUTOSTART=1")
                os.remove(self.s.host_path(folder + "\\Readme.txt"))
                self.msiexec("/i", self.package(), "REINSTALL=ALL", "REINSTALLMODE=omus")
                self.assertTrue(self.installed(folder)["Readme.txt"], "the repair went elsewhere")
                if not again:
                    # Left out, the default folder existing is no refusal:
                    # it is not where the upgrade goes.
                    self.s.make_dirs(INSTALL_DIR)
                self.msiexec("/i", self.package(LATER_VERSION), *again)
                self.assertEqual(self.entries(), [(LATER_VERSION, ARCH)])
                self.assertTrue(self.installed(folder)["Tolvane.exe"])
                if not again:
                    self.assertEqual(os.listdir(self.s.host_path(INSTALL_DIR)), [])
                    os.rmdir(self.s.host_path(INSTALL_DIR))
                self.assertFalse(os.path.exists(self.s.host_path(INSTALL_DIR)))
                self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{folder}\\Tolvane.exe"')
                self.assertEqual(self.entry_value("InstallLocation", LATER_VERSION), folder + "\\")
                self.msiexec("/x", self.package(LATER_VERSION))
                self.assert_nothing_left()
                self.assertFalse(os.path.exists(self.s.host_path(folder)))

    def test_refused_before_anything_changes(self):
        # Folders it must not lock (any that exists: the one named, or the
        # default one), and values outside their sets.
        for args, existing in (("INSTALLDIR=C:\\", None), ("INSTALLDIR=C:\\windows", None),
                               ("INSTALLDIR=C:\\Users\\Public\\", None),
                               ("INSTALLDIR=C:\\Tools\\Tolvane\\", "C:\\Tools\\Tolvane"), ("", INSTALL_DIR),
                               ("MODE=vbHide", None), ("MODE=vbnormalfocus", None), ("AUTOSTART=yes", None)):
            with self.subTest(args=args):
                if existing:
                    self.s.make_dirs(existing)
                result = self.msiexec("/i", self.package(), *args.split(), check=False)
                self.assertNotEqual(result.returncode, 0)
                self.assertEqual(self.entries(), [])
                folder = args.partition("=")[2] if args.startswith("INSTALLDIR=") else INSTALL_DIR
                self.assertFalse(self.installed(folder)["Tolvane.exe"])
                self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "Pfad"))
                if existing:
                    self.assertEqual(os.listdir(self.s.host_path(existing)), [])
                    os.rmdir(self.s.host_path(existing))

    def test_setup_and_the_package_refuse_each_other(self):
        """One installation per computer, whichever came first; each names
        the other and how it is removed, and changes nothing."""
        setup = ("C:\\Downloads\\Setup.exe", "/S", "/DIR=" + SETUP_FOLDER, "/LOG=C:\\setup.log")
        self.msiexec("/i", self.package(), "FOLDER=C:\\Work")
        self.assertEqual(self.s.wine(*setup, check=False, timeout=120).returncode, 1603 % 256)
        with open(self.s.host_path("C:\\setup.log"), encoding="utf-8") as f:
            self.assertIn("msiexec /x " + msi.product_code(VERSION, ARCH), f.read().splitlines()[-1])
        self.assertFalse(os.path.exists(self.s.host_path(SETUP_FOLDER)))
        self.assertIsNone(self.s.reg_get(SETUP_KEY, "DisplayName"))
        self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Pfad"), "C:\\Work")
        package_name = self.entry_value("DisplayName")
        self.msiexec("/x", self.package())

        self.s.wine(*setup, timeout=120)
        try:
            result = self.msiexec("/i", self.package(), "FOLDER=C:\\Work", check=False)
            self.assertEqual(result.returncode, 1603 % 256)
            self.assertEqual(self.entries(), [])
            self.assertFalse(os.path.exists(self.s.host_path(INSTALL_DIR)))
            self.assertEqual(self.values(), {"Pfad": "C:\\", "Modus": "vbMaximizedFocus", "Hotkey": None})
            # One name in Programs and Features, whichever installed it.
            self.assertEqual(self.s.reg_get(SETUP_KEY, "DisplayName"), package_name)
        finally:
            self.s.wine(SETUP_FOLDER + "Setup.exe", "/UNINSTALL", "/S", timeout=120)
        self.assert_nothing_left()


if __name__ == "__main__":
    main()

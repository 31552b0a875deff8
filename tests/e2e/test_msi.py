"""The Windows Installer package under Wine's own msiexec: a silent
installation with the public properties, the installed launcher at work, and a
silent removal that takes files, values and the Run entry away again."""

import glob
import os
import unittest

from tolvane_e2e import (LAUNCHER_KEY, RUN_KEY, WineSession, bin_dir, main, programs_arch, require_programs,
                         version_text, wait_for)

PACKAGES = "C:\\Packages"
# The x86 package (from the i686 build) goes where 32-bit programs go.
X64 = programs_arch() == "x86_64"
INSTALL_DIR = "C:\\Program Files\\Tolvane" if X64 else "C:\\Program Files (x86)\\Tolvane"
# Windows puts a per-machine package's shortcut into the all-users Start menu;
# Wine's msiexec resolves ProgramMenuFolder to the user's.
SHORTCUTS = ("ProgramData/Microsoft/Windows/Start Menu/Programs/Tolvane.lnk",
             "users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvane.lnk")


class MsiPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        require_programs("TestDriver.exe", "MenuProbe.dll")
        cls.name = f"Tolvane-{version_text('TOLVANE_VERSION_TEXT')}-{'x64' if X64 else 'x86'}.msi"
        package = os.path.join(os.path.dirname(bin_dir()), "msi", cls.name)
        if not os.path.exists(package):
            raise unittest.SkipTest("not built: " + package)
        cls.s = WineSession("msi")
        cls.addClassCleanup(cls.s.close)
        cls.s.install_files(PACKAGES, [package])
        cls.s.make_dirs("C:\\Work")
        cls.s.start_desktop()

    def msiexec(self, *args):
        self.s.wine("msiexec", *args, "/qn", timeout=180)

    def installed(self):
        found = {name: os.path.exists(self.s.host_path(INSTALL_DIR + "\\" + name))
                 for name in ("Tolvane.exe", "Readme.txt", "Setup.exe")}
        found["shortcut"] = any(glob.glob(os.path.join(self.s.drive_c, path)) for path in SHORTCUTS)
        return found

    def test_silent_install_with_properties_then_removal(self):
        package = PACKAGES + "\\" + self.name
        self.msiexec("/i", package, "FOLDER=C:\\Work", "MODE=vbNormalFocus", "AUTOSTART=1", "HOTKEY=Ctrl+Alt+F11")
        self.assertEqual(self.installed(), {"Tolvane.exe": True, "Readme.txt": True, "Setup.exe": False,
                                            "shortcut": True})
        self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Pfad"), "C:\\Work")
        self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Modus"), "vbNormalFocus")
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{INSTALL_DIR}\\Tolvane.exe"')
        self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Hotkey"), "Ctrl+Alt+F11")

        # The installed launcher reads what the package wrote.
        launcher, icon = self.s.start_launcher(INSTALL_DIR + "\\Tolvane.exe", INSTALL_DIR, with_desktop=False)
        procs = self.s.click_and_watch(*icon, count=1, settle=800)
        self.assertEqual([(p["cmdline"], p["show"]) for p in procs], [('explorer.exe /e,"C:\\Work"', 1)])
        self.s.close_windows("ExplorerWClass")
        self.s.choose_from_tray_menu(icon, "x")
        self.assertTrue(wait_for(lambda: not self.s.driver.alive(launcher["pid"])), "the launcher did not exit")

        self.msiexec("/x", package)
        self.assertEqual(self.installed(), dict.fromkeys(("Tolvane.exe", "Readme.txt", "Setup.exe", "shortcut"),
                                                         False))
        self.assertEqual([self.s.reg_get(LAUNCHER_KEY, n) for n in ("Pfad", "Modus", "Hotkey")], [None] * 3)
        self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))

    def test_defaults_and_no_autostart_without_properties(self):
        package = PACKAGES + "\\" + self.name
        self.msiexec("/i", package)
        try:
            self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Pfad"), "C:\\")
            self.assertEqual(self.s.reg_get(LAUNCHER_KEY, "Modus"), "vbMaximizedFocus")
            self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))
            self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "Hotkey"))
        finally:
            self.msiexec("/x", package)


if __name__ == "__main__":
    main()

"""Setup.exe as a user runs it: unpacked with Tolvane.exe and its guides into
a downloads folder, a folder typed, the box checked, Install pressed and the
message confirmed, by mouse and by keyboard. Checks what the user and Windows
see afterwards: the files, the registry entries, the Setup window gone and the
launcher running with its tray icon; refusals and failures that leave nothing
behind and the window usable; Uninstall, which ends the running launcher.

Wine reports the signed-in user as the owner of every folder, so every
folder that exists already counts as one that users without administrator
rights can change: here Setup installs only into new folders directly on C:
(Windows' own drive, whose root is Windows' to protect), and the refusals of
existing folders are what Wine can show."""

import filecmp
import math
import os
import shutil
import time
import unittest

from tolvane_e2e import (LAUNCHER_KEY, MAIN_WINDOW_CLASS, RUN_KEY, SETUP_CLASS, USER_RUN_KEY, WineSession, bin_dir, main,
                         require_programs, scaled, version_text, wait_for)

SETUP_CAPTION = "Tolvane - Installation"
DOWNLOADS = "C:\\Downloads"
FILES = ["Tolvane.exe", "Setup.exe", "Readme.txt", "Liesmich.txt"]
MAKER_KEY = r"HKLM\software\Varnholt"
UNINSTALL_KEY = r"HKLM\software\microsoft\windows\currentversion\uninstall\Varnholt Tolvane"

FINISHED = ("Installation is finished. Tolvane will now be run. See {}Readme.txt for more information "
            "on the program.", "Installation finished!")
UNINSTALLED = ("Uninstallation is now finished. Only the registry entries made by the installation were "
               "removed. Please delete the files manually.", "Uninstallation finished!")
NOT_FINISHED = "Installation not finished"
EXISTING = ("already exists and users without administrator rights can change it. Choose a folder that does not "
            "exist yet: Setup creates it so that only administrators can change it.")
ENDED = "Tolvane was running on this desktop; Setup has ended it."


def installed_kb():
    """EstimatedSize: the KB of the three files as built."""
    return math.ceil(sum(os.path.getsize(os.path.join(bin_dir(), name)) for name in FILES) / 1024)


class SetupUser:
    """Drives one Setup window by real clicks and typing."""

    def __init__(self, test, session, folder=DOWNLOADS, args=()):
        self.t = test
        self.s = session
        self.folder = folder
        self.s.start_program(folder + "\\Setup.exe", cwd=folder, args=args)
        self.window = self.s.driver.wait_window(cls=SETUP_CLASS, visible=True, timeout=20)
        test.assertIsNotNone(self.window, "the Setup window did not appear")

    def controls(self):
        return self.s.driver.controls(self.window["hwnd"])

    def control(self, text=None, cls=None):
        """By its caption without the access key's "&"."""
        for c in self.controls():
            if (text is None or c["text"].replace("&", "") == text) and (cls is None or c["class"].lower() == cls.lower()):
                return c
        self.t.fail(f"no control {text!r}/{cls!r} in the Setup window")

    def click(self, control):
        left, top, right, bottom = control["rect"]
        self.s.click((left + right) // 2, (top + bottom) // 2)

    def type_folder(self, text):
        edit = self.control(cls="Edit")
        self.click(edit)
        self.s.driver.keys("end", "shift+home", "delete")
        if text:
            self.s.driver.type_text(text)
        self.t.assertEqual(self.control(cls="Edit")["text"], text)

    def check_autostart(self):
        box = self.control("Make it run automatically")
        self.click(box)
        self.t.assertEqual(self.control("Make it run automatically")["checked"], 1)

    def press(self, caption):
        self.click(self.control(caption))

    def message(self, title):
        """(text, OK button) of the message box with that title."""
        box = self.s.driver.wait_window(caption=title, visible=True, timeout=15)
        if box is None:
            shot = self.s.screenshot("no-message-" + title.replace(" ", "-"))
            self.t.fail(f"no message box {title!r} (screenshot {shot}; windows: {self.s.driver.windows(visible=True)})")
        controls = self.s.driver.controls(box["hwnd"])
        texts = [c["text"] for c in controls if c["class"].lower() == "static" and c["text"]]
        ok = next(c for c in controls if c["class"].lower() == "button" and c["text"] == "OK")
        self.t.assertEqual(box["class"], "#32770")
        return "\n".join(texts), ok

    def confirm(self, title):
        text, ok = self.message(title)
        self.click(ok)
        self.s.driver.wait_window_gone(caption=title, timeout=10)
        return text

    def answer(self, button):
        """The text of Setup's question, after pressing one of its buttons."""
        box = self.s.driver.wait_window(cls="#32770", caption=SETUP_CAPTION, visible=True, timeout=15)
        self.t.assertIsNotNone(box, "no question")
        self.s.screenshot("question")
        controls = self.s.driver.controls(box["hwnd"])
        text = "\n".join(c["text"] for c in controls if c["class"].lower() == "static" and c["text"])
        self.click(next(c for c in controls if c["class"].lower() == "button" and c["text"].replace("&", "") == button))
        self.s.driver.wait_window_gone(cls="#32770", caption=SETUP_CAPTION, timeout=10)
        return text

    def still_open(self):
        return bool(self.s.driver.windows(cls=SETUP_CLASS, visible=True))


class SetupSession:
    @staticmethod
    def make(name, language="English"):
        require_programs(*FILES, "TestDriver.exe", "MenuProbe.dll")
        s = WineSession(name, language=language)
        s.install_programs({DOWNLOADS: FILES})
        s.start_desktop()
        # Setup starts the launcher through the desktop's Explorer, which a
        # busy machine may still be setting up well after its taskbar shows:
        # a user signs in to a desktop that is ready.
        if not wait_for(s.driver.shell_ready, timeout=30, interval=0.5):
            raise AssertionError("the desktop's Explorer never answered for its window (ShellWindows)")
        return s


INSTALL_FOLDERS = ["C:\\Tolvane", "C:\\Tolvane Test", "C:\\Tolvane Moved"]
MOVED = "Moved from {}: its files stay there, as Uninstall leaves them."


class SetupInstallTest(unittest.TestCase):
    """One prefix: install, install again, a folder with blanks, uninstall.
    Each test starts from no installation and makes the one it needs."""

    @classmethod
    def setUpClass(cls):
        cls.s = SetupSession.make("setup")
        cls.addClassCleanup(cls.s.close)

    def setUp(self):
        # What an earlier test installed must neither help nor hinder this one.
        self.stop_launcher()
        for key, name in ((RUN_KEY, "Tolvane"), (LAUNCHER_KEY, None), (UNINSTALL_KEY, None)):
            self.s.reg_delete(key, name)
        for folder in INSTALL_FOLDERS:
            shutil.rmtree(self.s.host_path(folder), ignore_errors=True)

    def tearDown(self):
        self.s.close_windows(SETUP_CLASS)

    def stop_launcher(self):
        # A launcher that Setup has just started may not have made its window
        # yet (the i686 one under emulation takes a second or two).
        if self.s.driver.processes("Tolvane.exe"):
            self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10)
        self.s.close_windows(MAIN_WINDOW_CLASS)
        self.assertTrue(wait_for(lambda: not self.s.driver.processes("Tolvane.exe"), timeout=10),
                        "the launcher did not exit")

    def reg(self, key, name):
        return self.s.reg_get(key, name)

    def key_exists(self, key):
        fact = next(f for f in self.s.driver.run("reg-get", key, "x") if f["fact"] == "reg-value")
        return fact["key_exists"]

    def assert_files_installed(self, folder):
        for name in FILES:
            target = self.s.host_path(folder + name)
            self.assertTrue(os.path.isfile(target), target)
            source = self.s.host_path(DOWNLOADS + "\\" + name)
            self.assertTrue(filecmp.cmp(source, target, shallow=False),
                            f"{target} differs from its source")

    def install_and_watch(self, user, folder, autostart, every_start=None):
        """Types the folder, Install, OK; returns the launcher's start facts.
        every_start (a list) receives every process started meanwhile."""
        user.type_folder(folder)
        if autostart:
            user.check_autostart()
        user.press("Install")
        text, ok = user.message(FINISHED[1])
        self.assertEqual(text, FINISHED[0].format(folder))
        if every_start is None:
            watch = self.s.driver.watch(6000, "Tolvane.exe", count=1, settle=300)
        else:
            watch = self.s.driver.watch(5000)
        user.click(ok)
        starts = watch.collect()
        if every_start is not None:
            every_start += starts
            starts = [p for p in starts if p["image"].lower() == "tolvane.exe"]
        if not self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10):
            shot = self.s.screenshot("setup-did-not-end")
            self.fail(f"Setup did not end (screenshot {shot}; starts seen: {starts}; "
                      f"windows: {self.s.driver.windows(visible=True)})")
        self.assertEqual(len(starts), 1, f"expected one start of Tolvane.exe, saw {starts}")
        return starts[0]

    def fresh_install(self, folder="C:\\Tolvane\\"):
        """Installs by Setup from the downloads, box checked; the launcher runs."""
        start = self.install_and_watch(SetupUser(self, self.s), folder, autostart=True)
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10))
        return start

    def assert_registry(self, folder, autostart):
        quoted = (lambda p: f'"{p}"' if " " in p else p)
        expected = [
            (RUN_KEY, "Tolvane", quoted(folder + "Tolvane.exe") if autostart else None),
            (LAUNCHER_KEY, "Modus", "vbMaximizedFocus"),
            (LAUNCHER_KEY, "Pfad", "C:\\"),
            (UNINSTALL_KEY, "DisplayName", "Tolvane"),
            (UNINSTALL_KEY, "UninstallString", quoted(folder + "Setup.exe")),
            (UNINSTALL_KEY, "QuietUninstallString", f'"{folder}Setup.exe" /UNINSTALL /S'),
            (UNINSTALL_KEY, "DisplayIcon", folder + "Tolvane.exe"),
            (UNINSTALL_KEY, "DisplayVersion", version_text("TOLVANE_VERSION_TEXT")),
            (UNINSTALL_KEY, "Publisher", "Varnholt"),
            (UNINSTALL_KEY, "InstallLocation", folder),
            (UNINSTALL_KEY, "EstimatedSize", installed_kb()),
            (UNINSTALL_KEY, "NoModify", 1),
            (UNINSTALL_KEY, "NoRepair", 1),
        ]
        for key, name, value in expected:
            with self.subTest(value=name):
                self.assertEqual(self.reg(key, name), value)

    def test_whole_install(self):
        user = SetupUser(self, self.s, args=["/LOG=C:\\install.log"])
        self.assertEqual(user.window["caption"], SETUP_CAPTION)
        controls = {c["text"]: c for c in user.controls()}
        for caption in ["&Install", "&Uninstall", "E&xit", "Make it run &automatically", "Installation",
                        "Uninstallation", "&Folder where it's installed to:",
                        "Click the button below if you want to uninstall Tolvane.",
                        "Welcome to the installation of Tolvane. Please follow the easy (un)installation-steps."]:
            self.assertIn(caption, controls)
        self.assertEqual(controls["Make it run &automatically"]["checked"], 0)
        edit = user.control(cls="Edit")
        self.assertEqual(edit["text"], "C:\\Tolvane\\")
        self.assertTrue(edit["focus"], "the folder text has no focus at start")

        start = self.install_and_watch(user, "C:\\Tolvane\\", autostart=True)
        self.assertEqual(start["image_path"].lower(), "c:\\tolvane\\tolvane.exe")
        # Started by the desktop's Explorer as the desktop's user, not by the elevated Setup.
        parent = [p for p in self.s.driver.processes() if p["pid"] == start["ppid"]]
        self.assertNotEqual(start["ppid"], user.window["pid"])
        self.assertEqual([p["image"].lower() for p in parent], ["explorer.exe"])
        self.assertEqual(start["cmdline"], '"C:\\Tolvane\\Tolvane.exe"')
        self.assertEqual(start["show"], 2)
        self.assertEqual(start["cwd"].rstrip("\\").lower(), "c:\\tolvane")
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10))
        self.s.wait_tray_icons(1)
        self.assert_files_installed("C:\\Tolvane\\")
        self.assert_registry("C:\\Tolvane\\", autostart=True)
        with open(self.s.host_path("C:\\install.log"), encoding="utf-8") as f:
            lines = [line.rstrip("\n").split(" ", 2)[2] for line in f]
        self.assertEqual(lines[0], "Install to C:\\Tolvane\\, starting for every user at logon")
        self.assertEqual(lines[-2:], ["Started C:\\Tolvane\\Tolvane.exe as the desktop's user", "Result: 0 installed"])

    def test_an_existing_folder_is_refused_and_nothing_changes(self):
        # Wine reports every folder as the signed-in user's own, so the folder
        # of an earlier installation counts as one users can change, too.
        self.fresh_install()
        self.s.reg_set(LAUNCHER_KEY, "Pfad", "C:\\Windows")
        before = {name: os.path.getmtime(self.s.host_path("C:\\Tolvane\\" + name)) for name in FILES}
        user = SetupUser(self, self.s, args=["/LOG=C:\\again.log"])
        user.type_folder("C:\\Tolvane")
        user.press("Install")
        text = user.confirm(NOT_FINISHED)
        self.assertIn("C:\\Tolvane\\ " + EXISTING, text)
        self.assertIn("Nothing was changed.", text)
        self.assertTrue(user.still_open(), "Setup must return to its window")
        self.assertEqual(self.reg(LAUNCHER_KEY, "Pfad"), "C:\\Windows")
        self.assertEqual(before, {name: os.path.getmtime(self.s.host_path("C:\\Tolvane\\" + name)) for name in FILES})
        with open(self.s.host_path("C:\\again.log"), encoding="utf-8") as f:
            self.assertIn("Result: 1603 not installed: Installation stopped: C:\\Tolvane\\ " + EXISTING, f.read())
        self.stop_launcher()

    def test_folder_with_blanks(self):
        # A program where an unquoted path would split must never run.
        planted = self.s.host_path("C:\\Program.exe")
        with open(planted, "wb") as f, open(os.path.join(bin_dir(), "TestDriver.exe"), "rb") as src:
            f.write(src.read())
        self.addCleanup(os.remove, planted)
        folder = "C:\\Tolvane Test\\"
        user = SetupUser(self, self.s)
        every_start = []
        start = self.install_and_watch(user, folder, autostart=True, every_start=every_start)
        others = [p for p in every_start if p["image"].lower() == "program.exe"]
        self.assertEqual(others, [])
        self.assertEqual(start["image_path"].lower(), (folder + "Tolvane.exe").lower())
        self.assertEqual(start["cmdline"], f'"{folder}Tolvane.exe"')
        self.assert_files_installed(folder)
        self.assert_registry(folder, autostart=True)
        self.s.wait_tray_icons(1)
        self.stop_launcher()

    def test_uninstall_removes_entries_and_keeps_files(self):
        self.fresh_install()
        self.assertIsNotNone(self.reg(RUN_KEY, "Tolvane"), "the install wrote no Run value to remove")
        self.s.reg_set(RUN_KEY, "Other", "C:\\other.exe")
        self.s.reg_set(USER_RUN_KEY, "Tolvane", "C:\\Tolvane\\Tolvane.exe")  # "Start automatically" of this user
        self.s.reg_set(USER_RUN_KEY, "Other", "C:\\other.exe")
        self.assertTrue(self.s.driver.processes("Tolvane.exe"))
        user = SetupUser(self, self.s, args=["/LOG=C:\\uninstall.log"])
        watch = self.s.driver.watch(3000)
        user.press("Uninstall")
        self.assertEqual(user.confirm(UNINSTALLED[1]), UNINSTALLED[0] + "\n\n" + ENDED)
        started = [p["image"] for p in watch.collect() if p["image"].lower() != "testdriver.exe"]
        self.assertEqual(started, [], "the elevated Uninstall must start nothing")
        self.assertEqual(self.s.driver.processes("Tolvane.exe"), [], "the launcher still runs")
        self.s.wait_tray_icon_count(0)
        self.assertTrue(user.still_open(), "Uninstall must leave the window open")
        self.assertIsNone(self.reg(RUN_KEY, "Tolvane"))
        self.assertEqual(self.reg(RUN_KEY, "Other"), "C:\\other.exe")
        self.assertIsNone(self.s.reg_get(USER_RUN_KEY, "Tolvane"), "the user's own Run value stayed")
        self.assertEqual(self.s.reg_get(USER_RUN_KEY, "Other"), "C:\\other.exe")
        self.assertFalse(self.key_exists(UNINSTALL_KEY))
        self.assertFalse(self.key_exists(LAUNCHER_KEY))
        self.assertTrue(self.key_exists(MAKER_KEY), "software\\Varnholt must stay")
        self.assert_files_installed("C:\\Tolvane\\")

        user.press("Uninstall")  # nothing left to remove: the same message
        self.assertEqual(user.confirm(UNINSTALLED[1]), UNINSTALLED[0])
        user.press("Exit")
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10), "Exit did not end Setup")
        self.assertFalse(self.key_exists(LAUNCHER_KEY), "Exit wrote something")
        with open(self.s.host_path("C:\\uninstall.log"), encoding="utf-8") as f:
            lines = [line.split(" ", 2)[2].rstrip("\n") for line in f]
        self.assertEqual([line for line in lines if "Result:" in line], ["Result: 0 uninstalled"] * 2,
                         "each Uninstall logs its result")
        self.assertEqual(lines.count(ENDED), 1, "only the first Uninstall found Tolvane running")

    def test_another_folder_moves_the_installation(self):
        self.fresh_install()
        old = self.s.driver.processes("Tolvane.exe")
        self.assertEqual(len(old), 1)
        # Another program's value that starts a file in the folder, for everyone.
        self.s.reg_set(RUN_KEY, "Planted", '"C:\\Tolvane\\helper.exe" /quiet')
        self.addCleanup(self.s.reg_delete, RUN_KEY, "Planted")
        user = SetupUser(self, self.s, args=["/LOG=C:\\move.log"])
        self.assertEqual(user.control(cls="Edit")["text"], "C:\\Tolvane\\", "the installation's folder is proposed")
        # No: nothing changes, the window stays.
        user.type_folder("C:\\Tolvane Moved\\")
        user.press("Install")
        question = user.answer("No")
        self.assertIn("Tolvane is installed in C:\\Tolvane\\.", question)
        self.assertIn("Move it to C:\\Tolvane Moved\\?", question)
        self.assertTrue(user.still_open())
        self.assertEqual(self.reg(UNINSTALL_KEY, "InstallLocation"), "C:\\Tolvane\\")
        self.assertFalse(os.path.exists(self.s.host_path("C:\\Tolvane Moved")))
        self.assertEqual([p["pid"] for p in self.s.driver.processes("Tolvane.exe")], [old[0]["pid"]])
        # Yes: the running launcher ends, the new one starts.
        user.press("Install")
        user.answer("Yes")
        text, ok = user.message(FINISHED[1])
        self.s.screenshot("moved")
        self.assertEqual(text, FINISHED[0].format("C:\\Tolvane Moved\\") + "\n\n" + MOVED.format("C:\\Tolvane\\"))
        watch = self.s.driver.watch(6000, "Tolvane.exe", count=1, settle=300)
        user.click(ok)
        starts = watch.collect()
        self.assertEqual([p["image_path"].lower() for p in starts], ["c:\\tolvane moved\\tolvane.exe"])
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10))
        running = self.s.driver.processes("Tolvane.exe")
        self.assertEqual([p["pid"] for p in running], [starts[0]["pid"]], "the old launcher still runs")
        self.s.wait_tray_icons(1)
        self.assertTrue(self.s.wait_tray_icon_count(1))
        self.assert_registry("C:\\Tolvane Moved\\", autostart=False)
        self.assertIsNone(self.reg(RUN_KEY, "Planted"), "a value still points into the old folder")
        self.assert_files_installed("C:\\Tolvane\\")
        self.assert_files_installed("C:\\Tolvane Moved\\")
        with open(self.s.host_path("C:\\move.log"), encoding="utf-8") as f:
            log = [line.rstrip("\n").split(" ", 2)[2] for line in f]
        self.assertIn("Result: 1602 not installed: the installation stays where it is", log)
        self.assertIn("Moving the installation from C:\\Tolvane\\", log)
        self.assertIn(ENDED, log)
        self.assertIn(f'Removed {RUN_KEY.replace("HKLM", "HKEY_LOCAL_MACHINE")} "Planted"', log)
        self.stop_launcher()

    def test_the_close_of_an_installers_restart_manager_ends_the_launcher(self):
        self.fresh_install()
        window = self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10)
        self.s.wait_tray_icons(1)
        # WM_ENDSESSION for a logoff: Windows ends the program after it returns.
        self.s.driver.post(window["hwnd"], 0x16, 1, 0)
        time.sleep(scaled(1.0))
        self.assertTrue(self.s.driver.processes("Tolvane.exe"), "ended by a logoff's message")
        # ENDSESSION_CLOSEAPP: the Restart Manager waits for it to end.
        self.s.driver.post(window["hwnd"], 0x16, 1, 1)
        self.assertTrue(wait_for(lambda: not self.s.driver.processes("Tolvane.exe"), timeout=scaled(10)),
                        "the launcher did not end for the Restart Manager")
        self.assertTrue(self.s.wait_tray_icon_count(0), "its icon stayed")

    def test_keyboard_only(self):
        user = SetupUser(self, self.s)
        by_text = {c["text"].replace("&", "") if c["class"].lower() != "edit" else "Edit": c for c in user.controls()}
        captions = [c["text"] for c in user.controls() if "&" in c["text"]]
        keys = [caption.lower().split("&")[1][0] for caption in captions]
        self.assertEqual(len(keys), len(set(keys)), f"access keys twice: {captions}")
        # The focus starts in the folder box; Tab follows the layout from top to bottom.
        self.assertEqual(self.s.driver.focus()["focus"], by_text["Edit"]["hwnd"])
        for expected in ("Install", "Uninstall", "Exit", "Make it run automatically", "Edit"):
            self.s.driver.keys("tab")
            self.assertEqual(self.s.driver.focus()["focus"], by_text[expected]["hwnd"], expected)
        self.s.driver.keys("shift+tab")
        self.assertEqual(self.s.driver.focus()["focus"], by_text["Make it run automatically"]["hwnd"])
        # Access keys: the check box, the label's box, then Install.
        self.s.driver.keys("alt+a", "alt+f", "ctrl+a")
        self.assertEqual(user.control("Make it run automatically")["checked"], 1)
        self.assertEqual(self.s.driver.focus()["focus"], by_text["Edit"]["hwnd"])
        self.s.driver.type_text("C:\\Tolvane\\")
        # Enter in the folder box installs: Install is the default button.
        self.s.driver.keys("enter")
        text, _ = user.message(FINISHED[1])
        self.assertEqual(text, FINISHED[0].format("C:\\Tolvane\\"))
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10), "Setup did not end")
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10))
        self.assertEqual(self.reg(RUN_KEY, "Tolvane"), "C:\\Tolvane\\Tolvane.exe")
        # Uninstall by its access key, then Esc is Exit.
        user = SetupUser(self, self.s)
        self.s.driver.keys("alt+u")
        self.assertEqual(user.confirm(UNINSTALLED[1]), UNINSTALLED[0] + "\n\n" + ENDED)
        self.assertIsNone(self.reg(RUN_KEY, "Tolvane"))
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10), "Esc did not end Setup")
        user = SetupUser(self, self.s)
        # Install by its access key (the folder exists now, so refused), then
        # Enter on the focused Uninstall presses Uninstall, not the default.
        self.s.driver.keys("alt+i")
        self.assertIn("C:\\Tolvane\\ " + EXISTING, user.confirm(NOT_FINISHED))
        self.assertEqual(self.s.driver.focus()["focus"], user.control(cls="Edit")["hwnd"])
        self.s.driver.keys("tab", "tab")
        self.assertEqual(self.s.driver.focus()["focus"], user.control("Uninstall")["hwnd"])
        self.s.driver.keys("enter")
        self.assertEqual(user.confirm(UNINSTALLED[1]), UNINSTALLED[0])
        self.s.driver.keys("alt+x")
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10), "Alt+X did not end Setup")
        self.assertFalse(self.key_exists(LAUNCHER_KEY), "Exit wrote something")


# folder typed, message parts, files that must not exist afterwards
FAILURE_CASES = [
    ("C:\\Missing\\Sub\\", ["the folder could not be created", "C:\\Missing\\Sub",
                            "Setup creates one folder level only", "Nothing was changed."], ["C:\\Missing"]),
    ("", ["root of the current drive"], ["C:\\Tolvane.exe"]),
    ("\\", ["root of the current drive"], ["C:\\Tolvane.exe"]),
    ("Tolvane\\", ['"Tolvane\\" is not a full path'], ["C:\\Downloads\\Tolvane", "C:\\Tolvane"]),
    ("\\\\server\\share\\", ['"\\\\server\\share\\" is a network or device path'], []),
    # Windows drops the blank: the folder checked and the one written to would differ.
    ("C:\\Tolvane \\", ['has a folder name that ends in a blank or a dot ("Tolvane ")'], ["C:\\Tolvane"]),
    ("C:\\Tolvane:x", ['holds a ":" after the drive'], ["C:\\Tolvane"]),
]


class SetupFailureTest(unittest.TestCase):
    """A fresh prefix: refusals and failing steps report, leave nothing behind
    and the window usable for another try."""

    @classmethod
    def setUpClass(cls):
        cls.s = SetupSession.make("setup-fail")
        cls.addClassCleanup(cls.s.close)
        # An unpacked download without its Readme.txt, and one whose launcher was changed.
        cls.s.install_programs({"C:\\Incomplete": ["Tolvane.exe", "Setup.exe"], "C:\\Changed": FILES})
        with open(cls.s.host_path("C:\\Changed\\Tolvane.exe"), "ab") as f:
            f.write(b"another program")

    def tearDown(self):
        self.s.close_windows(SETUP_CLASS)
        self.s.close_windows(MAIN_WINDOW_CLASS)

    def assert_nothing_written(self):
        for value in ("Modus", "Pfad"):
            self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, value))
        for value in ("UninstallString", "DisplayName"):
            self.assertIsNone(self.s.reg_get(UNINSTALL_KEY, value))
        self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))

    def test_refused_folders_then_an_existing_one(self):
        user = SetupUser(self, self.s)
        for number, (typed, parts, absent) in enumerate(FAILURE_CASES):
            with self.subTest(folder=typed):
                user.type_folder(typed)
                user.press("Install")
                user.message(NOT_FINISHED)
                self.s.screenshot(f"refused-{number}")
                text = user.confirm(NOT_FINISHED)
                for part in parts:
                    self.assertIn(part, text)
                self.assertTrue(user.still_open(), "Setup must return to its window")
                for path in absent:
                    self.assertFalse(os.path.exists(self.s.host_path(path)), path)
                self.assert_nothing_written()
        # A folder made beforehand (on Windows by a user without administrator
        # rights; Wine reports every folder so): refused, nothing put into it.
        self.s.make_dirs("C:\\Fixed")
        user.type_folder("C:\\Fixed\\")
        user.press("Install")
        self.s.screenshot("existing-folder")
        text = user.confirm(NOT_FINISHED)
        self.assertIn("C:\\Fixed\\ " + EXISTING, text)
        self.assertIn("Please type a new folder and press Install again.", text)
        self.assertEqual(os.listdir(self.s.host_path("C:\\Fixed")), [])
        self.assert_nothing_written()

    def test_a_failed_copy_leaves_nothing_and_a_second_try_succeeds(self):
        user = SetupUser(self, self.s, folder="C:\\Incomplete", args=["/AUTOSTART", "/LOG=C:\\partial.log"])
        user.type_folder("C:\\Partial\\")
        user.press("Install")
        text = user.confirm(NOT_FINISHED)
        self.assertIn("a file to install could not be read.\n\nFile: C:\\Incomplete\\Readme.txt", text)
        self.assertIn("Everything Setup had done is undone.", text)
        self.assertTrue(user.still_open(), "Setup must return to its window")
        # Tolvane.exe and Setup.exe were copied, then taken back with the folder.
        self.assertFalse(os.path.exists(self.s.host_path("C:\\Partial")))
        self.assert_nothing_written()
        with open(self.s.host_path("C:\\partial.log"), encoding="utf-8") as f:
            log = [line.rstrip("\n").split(" ", 2)[2] for line in f]
        self.assertIn("Copied C:\\Incomplete\\Setup.exe to C:\\Partial\\Setup.exe", log)
        self.assertEqual(log[-4:-1], ["Undone: remove C:\\Partial\\Setup.exe", "Undone: remove C:\\Partial\\Tolvane.exe",
                                      "Undone: remove the folder C:\\Partial"])
        # The guides put back beside Setup, the same window installs.
        self.s.install_programs({"C:\\Incomplete": ["Readme.txt", "Liesmich.txt"]})
        user.press("Install")
        user.confirm(FINISHED[1])
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETUP_CLASS, timeout=10))
        self.assertEqual(self.s.reg_get(UNINSTALL_KEY, "UninstallString"), "C:\\Partial\\Setup.exe")
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), "C:\\Partial\\Tolvane.exe")
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10))
        self.s.close_windows(MAIN_WINDOW_CLASS)
        for key in (RUN_KEY, LAUNCHER_KEY, UNINSTALL_KEY):
            self.s.reg_delete(key, "Tolvane" if key == RUN_KEY else None)

    def test_a_changed_launcher_beside_setup_is_refused(self):
        user = SetupUser(self, self.s, folder="C:\\Changed")
        user.type_folder("C:\\FromChanged\\")
        user.press("Install")
        text = user.confirm(NOT_FINISHED)
        self.assertIn("C:\\Changed\\Tolvane.exe is not the file this Setup was made with", text)
        self.assertFalse(os.path.exists(self.s.host_path("C:\\FromChanged")))
        self.assert_nothing_written()


class UnattendedSetupTest(unittest.TestCase):
    """Setup run by a deployment tool: switches, exit codes (Wine passes them
    modulo 256), the log, and no window or launcher."""

    @classmethod
    def setUpClass(cls):
        cls.s = SetupSession.make("setup-silent")
        cls.addClassCleanup(cls.s.close)

    def setup(self, *switches):
        proc = self.s.wine(DOWNLOADS + "\\Setup.exe", *switches, check=False, timeout=120)
        return proc.returncode

    def log_lines(self, path):
        with open(self.s.host_path(path), encoding="utf-8") as f:
            return [line.rstrip("\n").split(" ", 2)[2] for line in f]

    def test_silent_install_log_and_uninstall(self):
        folder = "C:\\Silent Tolvane\\"
        code = self.setup("/s", f"-DIR={folder}", "/AutoStart", "/LOG=C:\\setup.log")
        self.assertEqual(code, 0)
        for name in FILES:
            self.assertTrue(os.path.isfile(self.s.host_path(folder + name)), name)
        self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane"), f'"{folder}Tolvane.exe"')
        self.assertEqual(self.s.reg_get(UNINSTALL_KEY, "QuietUninstallString"), f'"{folder}Setup.exe" /UNINSTALL /S')
        self.assertEqual(self.s.reg_get(UNINSTALL_KEY, "EstimatedSize"), installed_kb())
        self.assertFalse(self.s.driver.processes("Tolvane.exe"), "a silent installation started the launcher")
        self.assertEqual(self.s.driver.windows(cls=SETUP_CLASS), [], "a silent installation showed its window")
        log = self.log_lines("C:\\setup.log")
        self.assertIn(f"Copied {DOWNLOADS}\\Tolvane.exe to {folder}Tolvane.exe", log)
        self.assertEqual(log[-2:], ["Tolvane was not started: it starts at each user's next logon", "Result: 0 installed"])
        # Installed again into the same folder: Wine reports it as the user's own.
        self.assertEqual(self.setup("/S", f"/DIR={folder}", "/LOG=C:\\setup.log"), 1603 % 256)
        self.assertEqual(self.log_lines("C:\\setup.log")[-1],
                         f"Result: 1603 not installed: Installation stopped: {folder} {EXISTING} Nothing was changed.")
        # The launcher running on the desktop is ended by what the uninstall
        # entry says to run, run as a deployment tool would.
        self.s.start_program(folder + "Tolvane.exe", cwd=folder)
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=20))
        # Another program's window of the launcher's class is left alone (it
        # would not close, and the Uninstall waited for it).
        holder, held = self.s.driver.hold("hold-window", "--class", MAIN_WINDOW_CLASS, "--ms", "30000")
        started = time.monotonic()
        self.assertEqual(self.setup_at(folder, "/UNINSTALL", "/S", "/LOG=C:\\uninstall.log"), 0)
        # It would wait 5 s for that window: below that on a busy machine too.
        self.assertLess(time.monotonic() - started, min(scaled(4.0), 4.9),
                        "the Uninstall waited for a window that is not Tolvane's")
        self.assertEqual(self.s.driver.processes("Tolvane.exe"), [])
        self.assertEqual([w["hwnd"] for w in self.s.driver.windows(cls=MAIN_WINDOW_CLASS)], [held["hwnd"]])
        holder.kill()
        self.assertEqual(self.log_lines("C:\\uninstall.log"),
                         [ENDED, "Removed the registry entries; the files stay", "Result: 0 uninstalled"])
        self.assertIsNone(self.s.reg_get(UNINSTALL_KEY, "UninstallString"))
        self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"))

    def test_silent_move_and_an_uninstall_that_removes_a_value_into_its_folder(self):
        first, second = "C:\\Silent A\\", "C:\\Silent B\\"
        self.assertEqual(self.setup("/S", f"/DIR={first}", "/AUTOSTART"), 0)
        self.s.start_program(first + "Tolvane.exe", cwd=first)
        self.assertIsNotNone(self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=20))
        self.s.reg_set(RUN_KEY, "Planted", first + "helper.exe")
        # Another /DIR=: moved without a question, and logged.
        self.assertEqual(self.setup("/S", f"/DIR={second}", "/LOG=C:\\move.log"), 0)
        self.assertEqual(self.s.driver.processes("Tolvane.exe"), [], "the launcher of the old folder still runs")
        self.assertEqual(self.s.reg_get(UNINSTALL_KEY, "InstallLocation"), second)
        for name in ("Tolvane", "Planted"):
            self.assertIsNone(self.s.reg_get(RUN_KEY, name), name)
        self.assertTrue(os.path.isfile(self.s.host_path(first + "Tolvane.exe")), "the old files stay")
        log = self.log_lines("C:\\move.log")
        self.assertIn(f"Moving the installation from {first}", log)
        self.assertIn(ENDED, log)
        self.assertIn(MOVED.format(first), log)
        self.assertEqual(log[-1], "Result: 0 installed")
        # Uninstall removes a machine Run value into its folder that it did not write.
        self.s.reg_set(RUN_KEY, "Other", f'"{second}other.exe" /x')
        self.s.reg_set(RUN_KEY, "Elsewhere", "C:\\Tools\\x.exe")
        self.addCleanup(self.s.reg_delete, RUN_KEY, "Elsewhere")
        self.assertEqual(self.setup_at(second, "/UNINSTALL", "/S"), 0)
        self.assertIsNone(self.s.reg_get(RUN_KEY, "Other"))
        self.assertEqual(self.s.reg_get(RUN_KEY, "Elsewhere"), "C:\\Tools\\x.exe")
        self.assertIsNone(self.s.reg_get(UNINSTALL_KEY, "InstallLocation"))

    def setup_at(self, folder, *switches):
        return self.s.wine(folder + "Setup.exe", *switches, check=False, timeout=120).returncode

    def test_a_backslash_before_the_closing_quote_and_a_subkey_under_the_settings(self):
        # Wine quotes each argument it is given, so the command line as an
        # administrator types it comes from a batch file, which cmd passes on
        # unchanged.
        folder = "C:\\My Tools\\"
        with open(self.s.host_path("C:\\dir.bat"), "w", encoding="ascii") as f:
            f.write(f'"{DOWNLOADS}\\Setup.exe" "/DIR={folder}" /S\r\nexit %ERRORLEVEL%\r\n')
        self.assertEqual(self.s.wine("cmd", "/c", "C:\\dir.bat", check=False, timeout=120).returncode, 0)
        self.assertEqual(self.s.driver.windows(cls=SETUP_CLASS), [])
        self.assertEqual(self.s.reg_get(UNINSTALL_KEY, "InstallLocation"), folder)
        self.assertTrue(os.path.isfile(self.s.host_path(folder + "Tolvane.exe")))
        # Windows deletes no key that has subkeys: Uninstall removes the tree.
        self.s.reg_set(LAUNCHER_KEY + "\\Extra", "X", "1")
        self.assertEqual(self.setup_at(folder, "/UNINSTALL", "/S", "/LOG=C:\\subkey.log"), 0)
        self.assertIsNone(self.s.reg_get(LAUNCHER_KEY + "\\Extra", "X"))
        self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "Pfad"))
        self.assertEqual(self.log_lines("C:\\subkey.log")[-1], "Result: 0 uninstalled")

    def test_silent_log_tells_what_the_window_would(self):
        code = self.setup("/S", "/DIR=C:\\Missing\\Sub", "/LOG=C:\\missing.log")
        self.assertEqual(code, 1603 % 256)
        result = self.log_lines("C:\\missing.log")[-1]
        self.assertTrue(result.startswith("Result: 1603 not installed: Installation stopped: the folder could not be "
                                          "created. Folder: C:\\Missing\\Sub; Reason: "), result)
        self.assertIn("Setup creates one folder level only; the folder above it must exist. Nothing was changed.",
                      result)
        self.assertNotIn("press Install", result)

    def test_refusals_by_exit_code(self):
        # A log that is a link to another file (a Unix link: no reparse point
        # to Wine, but its final path shows where it leads) is not written.
        os.symlink(self.s.host_path("C:\\windows\\win.ini"), self.s.host_path("C:\\users\\Public\\setup.log"))
        with open(self.s.host_path("C:\\windows\\win.ini"), "rb") as f:
            win_ini = f.read()
        # 1639 arrives as 103: Wine hands the shell the code modulo 256.
        no_log = "/LOG=C:\\No Such Folder\\setup.log"
        for switches, code in ((["/S", "/DIR=Tolvane\\"], 1639 % 256), (["/S", "/DIR=\\\\server\\share\\"], 1639 % 256),
                               (["/S", "/DIR=C:\\Tolvane \\"], 1639 % 256),
                               (["/S", "/Quiet"], 1639 % 256), (["/S", no_log], 1622 % 256),
                               (["/UNINSTALL", "/S", no_log], 1622 % 256),
                               (["/S", "/LOG=C:\\users\\Public\\setup.log"], 1622 % 256),
                               (["/S", "/LOG=setup.log"], 1622 % 256)):
            with self.subTest(switches=switches):
                self.assertEqual(self.setup(*switches), code)
                self.assertIsNone(self.s.reg_get(UNINSTALL_KEY, "UninstallString"))
                self.assertFalse(os.path.exists(self.s.host_path("C:\\Tolvane")))
        with open(self.s.host_path("C:\\windows\\win.ini"), "rb") as f:
            self.assertEqual(f.read(), win_ini, "Setup wrote through the link")
        self.assertFalse(os.path.exists(self.s.host_path(DOWNLOADS + "\\setup.log")))
        # Without /S: a message (an unknown switch lists the valid ones), and no window.
        for switches, code, parts in ((["/Quiet"], 1639 % 256, ["/Quiet", "/UNINSTALL"]),
                                      ([no_log], 1622 % 256, ["changed nothing", "No Such Folder"]),
                                      (["/LOG=C:\\users\\Public\\setup.log"], 1622 % 256,
                                       ["will not write its log there", "leads to C:\\windows\\win.ini"]),
                                      (["/?"], 0, ["/DIR=folder\n      the folder to install to\n"])):
            with self.subTest(switches=switches):
                proc = self.s.start_program(DOWNLOADS + "\\Setup.exe", cwd=DOWNLOADS, args=switches)
                box = self.s.driver.wait_window(cls="#32770", caption="Tolvane - Installation", visible=True, timeout=10)
                self.assertIsNotNone(box, "no message")
                self.s.screenshot("message-" + switches[0][1:5].replace("?", "help"))
                texts = " ".join(c["text"] for c in self.s.driver.controls(box["hwnd"]))
                for part in parts:
                    self.assertIn(part, texts)
                self.assertEqual(self.s.driver.windows(cls=SETUP_CLASS), [])
                self.s.driver.keys("enter")
                self.assertEqual(proc.wait(30), code)

if __name__ == "__main__":
    main()

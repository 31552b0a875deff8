"""Tray icon of Tolvane.exe: left clicks start the Explorer with the stored
folder and window mode (the user's over the machine's, %VARIABLES% expanded;
blanks around the folder ignored; a missing folder, or a file, is reported
instead), other mouse activity starts nothing,
and the icon comes back when the taskbar announces itself again."""

import time

from tolvane_e2e import (MAIN_WINDOW_CLASS, MISSING, USER_KEY, SessionTest, main, scaled)

LAUNCHER_DIR = "C:\\Program Files\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"

# folder stored in "Pfad" -> command line the Explorer must receive, caption
# of the Explorer window that shows the folder (None: not checked)
FOLDER_CASES = [
    ("C:\\Program Files\\x y", 'explorer.exe /e,"C:\\Program Files\\x y"', "x y"),
    ("C:\\a,b", 'explorer.exe /e,"C:\\a,b"', "a,b"),
    ("C:\\Ärger ß ünd Ω", 'explorer.exe /e,"C:\\Ärger ß ünd Ω"', "Ärger ß ünd Ω"),
    ("C:\\", 'explorer.exe /e,"C:\\"', None),
    # Blanks typed around the folder are kept in the value and ignored here.
    (" C:\\windows ", 'explorer.exe /e,"C:\\windows"', "windows"),
    ("", "explorer.exe /e,", None),
]

# "Modus" -> show state in the Explorer's STARTUPINFO
MODE_CASES = [
    ("vbNormalFocus", 1),
    ("vbMinimizedFocus", 2),
    ("vbMaximizedFocus", 3),
    ("vbNormalNoFocus", 4),
    ("vbmaximizedfocus", 1),
    (" vbMaximizedFocus", 1),
    ("Bogus", 1),
    ("", 1),
    (MISSING, 1),
]

# (user's "Pfad", user's "Modus") over the machine's C:\a,b and
# vbNormalFocus -> command line and show state of the Explorer
LOOKUP_CASES = [
    (MISSING, MISSING, 'explorer.exe /e,"C:\\a,b"', 1),
    ("C:\\Program Files\\x y", "vbMinimizedFocus", 'explorer.exe /e,"C:\\Program Files\\x y"', 2),
]

STARTF_USESHOWWINDOW = 1


class LauncherTrayTest(SessionTest):
    SESSION = "tray"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe"]}

    @classmethod
    def prepare_session(cls):
        cls.s.make_dirs(*[folder for folder, _, _ in FOLDER_CASES if folder and folder == folder.strip()])
        cls.s.store_settings("C:\\", "vbNormalFocus")
        cls.launcher, cls.icon = cls.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR)

    def setUp(self):
        self.s.park_mouse()

    def tearDown(self):
        self.close_explorers()

    def close_explorers(self):
        # An Explorer window left open may cover the taskbar (a maximized one
        # does in Wine's desktop) and take the next click.
        self.assertTrue(self.s.close_windows("ExplorerWClass"), "an Explorer window did not close")

    def set_settings(self, folder, mode):
        """The machine's values, and none of the user's."""
        self.s.store_settings(folder, mode)
        self.s.reg_delete(USER_KEY)

    def left_click(self):
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.s.park_mouse()
        return procs

    def assert_one_explorer(self, procs, cmdline, show):
        self.assertEqual(len(procs), 1, f"expected exactly one Explorer start, saw {procs}")
        proc = procs[0]
        self.assertTrue(proc["read"], proc["error"])
        self.assertEqual(proc["ppid"], self.launcher["pid"], "the Explorer was not started by the launcher")
        self.assertEqual(proc["image_path"].lower(), "c:\\windows\\explorer.exe")
        self.assertEqual(proc["cmdline"], cmdline)
        self.assertTrue(proc["window_flags"] & STARTF_USESHOWWINDOW, proc)
        self.assertEqual(proc["show"], show)

    def test_left_click_opens_folder(self):
        for folder, cmdline, caption in FOLDER_CASES:
            with self.subTest(folder=folder):
                self.set_settings(folder, "vbNormalFocus")
                procs = self.left_click()
                self.assert_one_explorer(procs, cmdline, 1)
                # The launcher defers the start by one 100 ms timer tick.
                self.assertIsNotNone(procs[0]["delay_ms"], "the driver saw no button release")
                self.assertGreaterEqual(procs[0]["delay_ms"], 60, procs[0])
                self.assertLess(procs[0]["delay_ms"], scaled(1.5) * 1000, procs[0])
                if caption:
                    window = self.s.driver.wait_window(cls="ExplorerWClass", caption=caption, visible=True,
                                                       timeout=8)
                    if folder == FOLDER_CASES[2][0]:
                        self.s.screenshot("explorer-non-ansi-folder")
                    self.assertIsNotNone(window, f"no Explorer window shows {folder!r}")
                self.close_explorers()

    def test_left_click_uses_mode_as_show_state(self):
        for mode, show in MODE_CASES:
            with self.subTest(mode="<missing>" if mode is MISSING else mode):
                self.set_settings("C:\\a,b", mode)
                self.assert_one_explorer(self.left_click(), 'explorer.exe /e,"C:\\a,b"', show)
                if mode == "vbMaximizedFocus":
                    self.s.driver.wait_window(cls="ExplorerWClass", visible=True, timeout=5)
                    self.s.screenshot("explorer-maximized")
                self.close_explorers()

    def test_left_click_uses_the_users_values_over_the_machines(self):
        for folder, mode, cmdline, show in LOOKUP_CASES:
            with self.subTest(folder=folder, mode=mode):
                self.set_settings("C:\\a,b", "vbNormalFocus")
                self.s.store_settings(folder, mode, key=USER_KEY)
                self.assert_one_explorer(self.left_click(), cmdline, show)
                self.close_explorers()

    def test_variables_in_the_folder_are_expanded(self):
        self.set_settings("%WINDIR%", "vbNormalFocus")
        self.assert_one_explorer(self.left_click(), 'explorer.exe /e,"C:\\windows"', 1)
        self.assertIsNotNone(self.s.driver.wait_window(cls="ExplorerWClass", caption="windows", visible=True,
                                                       timeout=8), "C:\\windows not shown")

    def test_a_missing_folder_or_a_file_is_reported_and_opens_nothing(self):
        cases = [("C:\\Gone\\Away", "The folder C:\\Gone\\Away does not exist."),
                 (" C:\\windows\\win.ini", "C:\\windows\\win.ini is a file, not a folder."),
                 # Without the refusal, the Explorer started Notepad for either.
                 ("\\\\?\\C:\\windows\\notepad.exe", "\\\\?\\C:\\windows\\notepad.exe is a device path"),
                 ("file:///C:/windows/notepad.exe", "file:///C:/windows/notepad.exe is an address, not a folder"),
                 ("notepad.exe", "notepad.exe is not the full path of a folder")]
        for folder, says in cases:
            with self.subTest(folder=folder):
                self.set_settings(folder, "vbNormalFocus")
                self.assertEqual(self.left_click(), [], "an Explorer started")
                box = self.s.driver.wait_window(cls="#32770", caption="Tolvane", pid=self.launcher["pid"],
                                                visible=True, timeout=5)
                self.assertIsNotNone(box, "no message about the folder")
                self.s.screenshot("folder-problem")
                texts = [c["text"] for c in self.s.driver.controls(box["hwnd"])]
                self.assertTrue(any(says in t and "Settings" in t for t in texts), texts)
                self.s.driver.close_window(box["hwnd"])
                self.assertTrue(self.s.driver.wait_window_gone(cls="#32770", pid=self.launcher["pid"], timeout=5))
        # The launcher goes on with its icon.
        self.assertTrue(self.s.driver.windows(cls=MAIN_WINDOW_CLASS, pid=self.launcher["pid"]))
        self.assertEqual(len(self.s.tray_icons()), 1)

    def test_two_clicks_apart_start_two_explorers(self):
        self.set_settings("C:\\a,b", "vbNormalFocus")
        watch = self.s.driver.watch(3000, "explorer.exe", count=2, settle=800)
        self.s.click(*self.icon)
        time.sleep(0.6)
        self.s.click(*self.icon)
        procs = watch.collect()
        self.s.park_mouse()
        self.assertEqual(len(procs), 2, procs)
        self.assertTrue(all(p["cmdline"] == 'explorer.exe /e,"C:\\a,b"' for p in procs), procs)

    def test_mouse_moves_over_icon_start_nothing(self):
        self.set_settings("C:\\a,b", "vbNormalFocus")
        watch = self.s.driver.watch(2000, "explorer.exe")
        x, y = self.icon
        for dx, dy in ((0, 0), (-4, -3), (4, 3), (0, 0), (-6, 0), (6, 2)):
            self.s.move(x + dx, y + dy)
            time.sleep(0.1)
        self.s.park_mouse()
        self.assertEqual(watch.collect(), [])
        self.assertEqual(self.s.driver.windows(cls="#32768", visible=True), [], "a menu opened on a mouse move")

    def test_hover_shows_tip(self):
        self.s.move(*self.icon)
        tip = self.s.driver.wait_window(cls="tooltips_class32", caption="Tolvane", visible=True, timeout=5)
        self.s.park_mouse()
        self.assertIsNotNone(tip, "no tip \"Tolvane\" over the icon")

    def test_taskbar_created_brings_icon_back(self):
        self.assertTrue(self.s.driver.tray_delete(self.launcher["hwnd"]), "could not delete the icon")
        self.assertTrue(self.s.wait_tray_icon_count(0), "the icon did not go away")
        self.s.screenshot("icon-deleted")
        self.s.driver.taskbar_created()
        self.assertTrue(self.s.wait_tray_icon_count(1), "the icon did not come back after TaskbarCreated")
        self.s.screenshot("icon-back")
        # The icon that came back still carries the launcher's notifications.
        self.icon = self.s.wait_tray_icons(1)[0]
        self.set_settings("C:\\a,b", "vbMaximizedFocus")
        self.assert_one_explorer(self.left_click(), 'explorer.exe /e,"C:\\a,b"', 3)
        self.assertTrue(self.s.driver.alive(self.launcher["pid"]))


if __name__ == "__main__":
    main()

"""Popup menu of Tolvane.exe, opened with a real right click on its tray icon
and driven by keyboard: entries, default item, autostart check mark and the
user's and the machine's Run values, Open Explorer, Exit; one launcher per
session (a second start ends and the first says so in a balloon whose click
opens the folder); and the launcher as the helper that removes the machine's
Run value."""

import time

from tolvane_e2e import (MAIN_WINDOW_CLASS, NIN_KEYSELECT, RUN_KEY, TRAY_MENU_ITEMS, USER_RUN_KEY, WM_CONTEXTMENU,
                         SessionTest, main, scaled, wait_for)

MAIN_DIR = "C:\\Program Files\\Tolvane"
SECOND_DIR = "C:\\Tolvane"

DEFAULT_INDEX = 5
ERROR_INVALID_PARAMETER = 87
NIN_BALLOONUSERCLICK = 0x405


# Where the user's menus drop: "1" to the left of the point (right-handed
# tablets). Wine reads it from the desktop's key, not from Windows NT's.
MENU_DROP_KEY = r"HKCU\Control Panel\Desktop"


class LauncherMenuTest(SessionTest):
    SESSION = "menu"
    INSTALL = {MAIN_DIR: ["Tolvane.exe"], SECOND_DIR: ["Tolvane.exe"]}

    @classmethod
    def prepare_session(cls):
        cls.s.make_dirs("C:\\x y")
        cls.s.store_settings("C:\\x y", "vbMaximizedFocus")
        cls.s.reg_delete(RUN_KEY, "Tolvane")
        cls.s.reg_delete(USER_RUN_KEY, "Tolvane")
        cls.main, cls.icon = cls.s.start_launcher(MAIN_DIR + "\\Tolvane.exe", MAIN_DIR)

    def setUp(self):
        # No Run value unless a test writes one, and the first launcher running
        # even after a test that ended it.
        self.s.reg_delete(RUN_KEY, "Tolvane")
        self.s.reg_delete(USER_RUN_KEY, "Tolvane")
        if not self.s.driver.alive(self.main["pid"]):
            type(self).main, type(self).icon = self.s.start_launcher(MAIN_DIR + "\\Tolvane.exe", MAIN_DIR,
                                                                     with_desktop=False)
        self.s.park_mouse()

    def tearDown(self):
        # Leave no menu open and no Explorer window over the taskbar.
        if self.s.driver.windows(cls="#32768", visible=True):
            self.s.driver.keys("esc")
        self.s.close_windows("ExplorerWClass")
        self.s.park_mouse()

    # helpers

    def open_menu(self, icon, owner):
        """Right-clicks the icon; returns (menu fact, items) read inside the owner."""
        self.s.click(*icon, button=3)
        popup = self.s.driver.wait_window(cls="#32768", visible=True, pid=owner["pid"], timeout=5)
        self.assertIsNotNone(popup, "no popup menu opened on the right click")
        head, items = self.s.driver.menu(owner["hwnd"])
        self.assertTrue(head["open"], head)
        return head, items

    def choose(self, *chords):
        self.s.driver.keys(*chords)
        self.assertTrue(self.s.driver.wait_window_gone(cls="#32768", visible=True, timeout=5),
                        "the menu stayed open after the choice")

    def wait_run_value(self, expected, timeout=5.0, key=USER_RUN_KEY):
        values = []

        def arrived():
            values.append(self.s.reg_get(key, "Tolvane"))
            return values[-1] == expected
        wait_for(arrived, timeout)
        return values[-1]

    def restart_from(self, folder):
        """One launcher runs per session: ends the running one and starts the
        one in folder; returns (window, icon)."""
        cls = type(self)
        self.exit_by_menu(cls.main, cls.icon)
        self.s.wait_tray_icon_count(0)
        cls.main, cls.icon = self.s.start_launcher(folder + "\\Tolvane.exe", folder, with_desktop=False)
        return cls.main, cls.icon

    def exit_by_menu(self, launcher, icon):
        self.open_menu(icon, launcher)
        self.choose("x")
        self.assertTrue(self.s.driver.wait_window_gone(cls=MAIN_WINDOW_CLASS, pid=launcher["pid"], timeout=5),
                        "the launcher's window stayed after Exit")
        self.assertTrue(wait_for(lambda: not self.s.driver.alive(launcher["pid"])),
                        "the launcher process did not end after Exit")

    # tests

    def test_menu_entries_and_default_item(self):
        watch = self.s.driver.watch(2500, "explorer.exe")
        head, items = self.open_menu(self.icon, self.main)
        self.s.screenshot("menu-open")
        self.assertEqual([(i["caption"], i["separator"]) for i in items], TRAY_MENU_ITEMS)
        # The other modules take the captions from the program's resources;
        # here they are the texts the user reads, so a typo there fails.
        self.assertEqual([caption for caption, _ in TRAY_MENU_ITEMS], ["Start &automatically", "A&bout Tolvane",
                                                                       "&Settings", "E&xit Tolvane", "", "Open &Explorer"])
        self.assertEqual(head["default"], DEFAULT_INDEX)
        self.assertEqual([i["index"] for i in items if i["default"]], [DEFAULT_INDEX])
        self.assertFalse(items[0]["checked"], "autostart is checked without a Run value")
        # Dismissing the menu changes nothing.
        self.choose("esc")
        self.assertEqual(watch.collect(), [])
        self.assertIsNone(self.s.reg_get(USER_RUN_KEY, "Tolvane"))
        self.assertTrue(self.s.driver.alive(self.main["pid"]))

    def test_open_explorer_by_keyboard(self):
        for chords in (("e",), ("up", "enter")):
            with self.subTest(keys=chords):
                _head, _items = self.open_menu(self.icon, self.main)
                watch = self.s.driver.watch(3000, "explorer.exe", count=1, settle=800)
                self.choose(*chords)
                procs = watch.collect()
                self.assertEqual(len(procs), 1, procs)
                self.assertEqual(procs[0]["ppid"], self.main["pid"])
                self.assertEqual(procs[0]["cmdline"], 'explorer.exe /e,"C:\\x y"')
                self.assertEqual(procs[0]["show"], 3)
                self.assertIsNotNone(self.s.driver.wait_window(cls="ExplorerWClass", caption="x y", visible=True,
                                                               timeout=8), "no Explorer window for C:\\x y")
                self.assertTrue(self.s.close_windows("ExplorerWClass"), "an Explorer window did not close")

    def test_keyboard_on_the_icon(self):
        # Enter on the focused icon (the shell may send it twice): one Explorer.
        watch = self.s.driver.watch(3000, "explorer.exe", count=2, settle=1200)
        self.s.tray_notify(self.main, NIN_KEYSELECT, *self.icon, times=2)
        procs = watch.collect()
        self.assertEqual([p["cmdline"] for p in procs], ['explorer.exe /e,"C:\\x y"'], procs)
        self.assertEqual(procs[0]["ppid"], self.main["pid"])
        self.s.close_windows("ExplorerWClass")
        # Shift+F10 or the menu key: the menu opens where the shell says the
        # icon is, beside it on the side the user's menus drop to.
        try:
            for drop_right, corner in (("0", 0), ("1", 2)):
                if drop_right == "1":
                    self.s.reg_set(MENU_DROP_KEY, "MenuDropAlignment", drop_right)
                    self.restart_from(MAIN_DIR)
                self.s.tray_notify(self.main, WM_CONTEXTMENU, 300, 200)
                popup = self.s.driver.wait_window(cls="#32768", visible=True, pid=self.main["pid"], timeout=5)
                self.assertIsNotNone(popup, "no menu for WM_CONTEXTMENU")
                self.assertEqual([popup["rect"][corner], popup["rect"][1]], [300, 200], drop_right)
                head, items = self.s.driver.menu(self.main["hwnd"])
                self.assertEqual(head["default"], DEFAULT_INDEX)
                self.choose("esc")
                self.assertTrue(self.s.driver.alive(self.main["pid"]))
        finally:
            if self.s.driver.windows(cls="#32768", visible=True):
                self.choose("esc")
            self.s.reg_delete(MENU_DROP_KEY, "MenuDropAlignment")
            self.restart_from(MAIN_DIR)

    def test_autostart_toggles_run_value_and_check_mark(self):
        # launcher folder -> Run value written when switching on (quoted when
        # the path holds a blank, so the Run entry starts the right file)
        cases = [
            (None, MAIN_DIR, '"C:\\Program Files\\Tolvane\\Tolvane.exe"'),
            ("second", SECOND_DIR, "C:\\Tolvane\\Tolvane.exe"),
        ]
        for which, folder, expected in cases:
            with self.subTest(launcher=folder):
                launcher, icon = self.restart_from(folder) if which else (self.main, self.icon)
                self.s.reg_delete(RUN_KEY, "Tolvane")
                try:
                    _head, items = self.open_menu(icon, launcher)
                    self.assertFalse(items[0]["checked"])
                    self.choose("a")
                    self.assertEqual(self.wait_run_value(expected), expected)
                    self.assertIsNone(self.s.reg_get(RUN_KEY, "Tolvane"), "written for all users")
                    _head, items = self.open_menu(icon, launcher)
                    self.assertTrue(items[0]["checked"], "the check mark did not follow the switch")
                    self.choose("a")
                    self.assertIsNone(self.wait_run_value(None), "switching again did not delete the Run value")
                    _head, items = self.open_menu(icon, launcher)
                    self.assertFalse(items[0]["checked"])
                    self.choose("esc")
                finally:
                    if which is not None:
                        self.restart_from(MAIN_DIR)

    def test_check_mark_at_start_follows_run_value(self):
        # Run value before the launcher starts -> autostart item checked
        cases = [(None, False), ("   ", False), ("", False), ("D:\\elsewhere\\other.exe", True)]
        for value, checked in cases:
            with self.subTest(run_value=value):
                if value is None:
                    self.s.reg_delete(RUN_KEY, "Tolvane")
                else:
                    self.s.reg_set(RUN_KEY, "Tolvane", value)
                launcher, icon = self.restart_from(SECOND_DIR)
                _head, items = self.open_menu(icon, launcher)
                self.assertEqual(items[0]["checked"], checked)
                self.choose("esc")
        self.restart_from(MAIN_DIR)

    def test_switching_off_removes_the_machines_value_too(self):
        # Wine runs every program elevated, so the launcher removes it itself;
        # the prompt and the elevated copy are for Windows' normal users.
        self.s.reg_set(RUN_KEY, "Tolvane", "C:\\Tolvane\\Tolvane.exe")
        self.s.reg_set(USER_RUN_KEY, "Tolvane", "C:\\Tolvane\\Tolvane.exe")
        _head, items = self.open_menu(self.icon, self.main)
        self.assertTrue(items[0]["checked"])
        self.choose("a")
        self.assertIsNone(self.wait_run_value(None, key=RUN_KEY), "the machine's Run value stayed")
        self.assertIsNone(self.s.reg_get(USER_RUN_KEY, "Tolvane"), "the user's Run value stayed")
        _head, items = self.open_menu(self.icon, self.main)
        self.assertFalse(items[0]["checked"])
        self.choose("esc")

    def test_the_elevated_helper_removes_only_the_machines_value(self):
        # arguments -> exit code, the machine's value left
        cases = [(["/remove-machine-autostart", "x"], ERROR_INVALID_PARAMETER, True),
                 (["/remove-machine-autostart"], 0, False)]
        for arguments, code, left in cases:
            with self.subTest(arguments=arguments):
                self.s.reg_set(RUN_KEY, "Tolvane", "C:\\Tolvane\\Tolvane.exe")
                self.s.reg_set(USER_RUN_KEY, "Tolvane", "C:\\Tolvane\\Tolvane.exe")
                windows = self.s.driver.windows(cls=MAIN_WINDOW_CLASS)
                # Returns when the program has ended: one that made its icon would still run.
                proc = self.s.wine(MAIN_DIR + "\\Tolvane.exe", *arguments, check=False)
                self.assertEqual(proc.returncode, code, proc)
                self.assertEqual(self.s.reg_get(RUN_KEY, "Tolvane") is not None, left)
                self.assertEqual(self.s.reg_get(USER_RUN_KEY, "Tolvane"), "C:\\Tolvane\\Tolvane.exe")
                self.assertEqual(self.s.driver.windows(cls=MAIN_WINDOW_CLASS), windows)
                self.assertEqual(len(self.s.tray_icons()), 1)

    def test_a_second_start_ends_and_the_first_says_so(self):
        started = time.time()
        proc = self.s.wine(SECOND_DIR + "\\Tolvane.exe", check=False)
        self.assertEqual(proc.returncode, 0, proc)
        self.assertLess(time.time() - started, scaled(10), "the second start did not end at once")
        self.assertEqual(len(self.s.driver.windows(cls=MAIN_WINDOW_CLASS)), 1)
        self.assertEqual(len(self.s.tray_icons()), 1, "a second icon")
        balloon = self.s.driver.wait_window(cls="tooltips_class32", visible=True, timeout=5,
                                            caption="Tolvane is already running: click here to open your folder")
        self.s.screenshot("already-running-balloon")
        self.assertIsNotNone(balloon, "no balloon at the running launcher's icon")
        # Wine's notification area sends no balloon notifications: they are
        # posted here as Windows sends them. A click on this balloon opens the folder, once.
        watch = self.s.driver.watch(2500, "explorer.exe", count=1, settle=800)
        self.s.tray_notify(self.main, NIN_BALLOONUSERCLICK, *self.icon, times=2)
        procs = watch.collect()
        self.assertEqual([(p["cmdline"], p["ppid"]) for p in procs], [('explorer.exe /e,"C:\\x y"', self.main["pid"])])
        self.s.close_windows("ExplorerWClass")

    def test_a_name_held_by_another_program_is_reported(self):
        self.exit_by_menu(self.main, self.icon)
        self.s.wait_tray_icon_count(0)
        # Wine has no private namespaces: the launcher's name is in the session's.
        holder, held = self.s.driver.hold("hold-mutex", "--name", "Local\\Tolvane.Launcher.<SID>", "--ms", "30000")
        try:
            self.s.start_program(SECOND_DIR + "\\Tolvane.exe", cwd=SECOND_DIR)
            box = self.s.driver.wait_window(cls="#32770", caption="Tolvane", visible=True, timeout=10)
            self.assertIsNotNone(box, "no message about the name")
            self.s.screenshot("name-held")
            texts = [c["text"] for c in self.s.driver.controls(box["hwnd"])]
            self.assertTrue(any("another program, not Tolvane, holds the name" in t and held["name"] in t
                                for t in texts), texts)
            self.assertEqual(self.s.driver.windows(cls=MAIN_WINDOW_CLASS), [])
            self.assertEqual(len(self.s.tray_icons()), 0, "an icon while the name is held")
            self.s.driver.close_window(box["hwnd"])
            self.assertTrue(wait_for(lambda: not self.s.driver.processes("Tolvane.exe")), "the launcher stayed")
        finally:
            holder.kill()

    def test_exit_removes_the_icon(self):
        self.exit_by_menu(self.main, self.icon)
        self.assertTrue(self.s.wait_tray_icon_count(0), "the icon stayed in the tray after Exit")
        self.s.screenshot("after-exit")


if __name__ == "__main__":
    main()

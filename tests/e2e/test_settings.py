"""The Settings dialog of Tolvane.exe, opened from the tray menu as a user
would: it shows the user's folder and window mode over the machine's, Save
writes exactly what is shown and typed to the user's key and leaves the
machine's alone, Cancel and the close box write nothing, settings the classic
program left in the virtualized copy show up after a start, and the launcher
keeps working while the dialog is open."""

import os

from tolvane_e2e import (FAVOURITE_CLASS, FAVOURITES_CLASS, LAUNCHER_KEY, MAIN_WINDOW_CLASS, MISSING, POLICY_KEY,
                         SETTINGS_CLASS, USER_KEY, SessionTest, associate_text_files, main, open_guide_with_f1,
                         wait_for)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"

# Option captions (access keys aside) in the order of the option array; what
# each one stores.
OPTIONS = [
    ("in the foreground, normal size", "vbNormalFocus"),
    ("in the foreground, maximized", "vbMaximizedFocus"),
    ("in the taskbar", "vbMinimizedFocus"),
    ("last size, position", "vbNormalNoFocus"),
]
CAPTIONS = [caption for caption, _ in OPTIONS]

# stored "Modus" -> caption of the option the dialog selects (None: no option)
LOAD_MODE_CASES = [
    ("vbNormalFocus", "in the foreground, normal size"),
    ("vbMaximizedFocus", "in the foreground, maximized"),
    ("vbMinimizedFocus", "in the taskbar"),
    ("vbNormalNoFocus", "last size, position"),
    ("vbminimizedfocus", None),
    ("VBNORMALFOCUS", None),
    (" vbMaximizedFocus", None),
    ("vbNormalNoFocus ", None),
    ("", None),
    (MISSING, None),
]

# stored "Pfad" -> text of the path box
LOAD_FOLDER_CASES = [
    ("C:\\", "C:\\"),
    (MISSING, ""),
    ("", ""),
    ("  D:\\Daten  ", "  D:\\Daten  "),
    ("C:\\Ärger ß ünd Ω\\日本", "C:\\Ärger ß ünd Ω\\日本"),
]

# (option to click or None, text typed into the emptied path box,
#  stored "Modus" before) -> "Modus" and "Pfad" written by Save
SAVE_CASES = [
    ("in the foreground, normal size", "  C:\\Programme ", "vbMaximizedFocus", "vbNormalFocus"),
    ("in the taskbar", "C:\\Über Ordner", "vbMaximizedFocus", "vbMinimizedFocus"),
    ("in the foreground, maximized", "D:", "vbNormalFocus", "vbMaximizedFocus"),
    ("last size, position", "C:\\a,b\\", "vbNormalFocus", "vbNormalNoFocus"),
    (None, "", "vbmaximizedfocus", ""),
]

# Where the classic program's saves went on 64-bit Windows.
VIRTUALIZED_KEY = r"HKCU\Software\Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\Varnholt\Tolvane"

STARTF_USESHOWWINDOW = 1


class SettingsDialogTest(SessionTest):
    SESSION = "settings"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe", "Readme.txt"]}

    @classmethod
    def prepare_session(cls):
        cls.s.make_dirs("C:\\stored")
        cls.store("C:\\stored", "vbNormalFocus")
        associate_text_files(cls.s)
        cls.launcher, cls.icon = cls.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR)

    def setUp(self):
        self.s.park_mouse()
        if not self.s.driver.windows(cls=MAIN_WINDOW_CLASS):
            # The Exit case ended the launcher: start it again as a user would.
            self.s.start_program(LAUNCHER_EXE, cwd=LAUNCHER_DIR)
            type(self).launcher = self.s.driver.wait_window(cls=MAIN_WINDOW_CLASS, timeout=10)
            self.assertIsNotNone(self.launcher, "the launcher did not start again")
            type(self).icon = self.s.wait_tray_icons(1)[0]

    def tearDown(self):
        for window in self.s.driver.windows(cls=SETTINGS_CLASS):
            self.s.driver.close_window(window["hwnd"])
        self.s.driver.wait_window_gone(cls=SETTINGS_CLASS, timeout=5)
        self.s.close_windows("ExplorerWClass")
        self.s.driver.wait_window_gone(cls="ExplorerWClass", visible=True, timeout=5)

    # helpers --------------------------------------------------------------

    @classmethod
    def store(cls, folder, mode):
        """The machine's values, and none of the user's."""
        cls.s.store_settings(folder, mode)
        cls.s.reg_delete(USER_KEY)

    def stored(self):
        """The user's values, where Save writes."""
        return self.s.reg_get(USER_KEY, "Modus"), self.s.reg_get(USER_KEY, "Pfad")

    def machine(self):
        return self.s.reg_get(LAUNCHER_KEY, "Modus"), self.s.reg_get(LAUNCHER_KEY, "Pfad")

    def assert_nothing_written(self, mode, folder):
        self.assertEqual(self.stored(), (None, None), "the user's key was written")
        self.assertEqual(self.machine(), (mode, folder), "the machine's values changed")

    def choose_from_tray_menu(self, access_key):
        self.s.choose_from_tray_menu(self.icon, access_key)

    def open_settings(self):
        self.choose_from_tray_menu("s")
        window = self.s.driver.wait_window(cls=SETTINGS_CLASS, caption="Settings", visible=True, timeout=5)
        self.assertIsNotNone(window, "the Settings dialog did not open")
        return window

    def dialog(self, window):
        """Controls of the dialog by caption without its access key; the path box under "Edit" (the
        hotkey box's greyed stand-in for Win+E is hidden)."""
        controls = self.s.driver.controls(window["hwnd"])
        by_text = {c["text"].replace("&", ""): c for c in controls if c["class"].lower() != "edit"}
        edits = [c for c in controls if c["class"].lower() == "edit" and c["visible"]]
        self.assertEqual(len(edits), 1, controls)
        by_text["Edit"] = edits[0]
        return controls, by_text

    def selected_option(self, window):
        _, by_text = self.dialog(window)
        checked = [caption for caption in CAPTIONS if by_text[caption]["checked"] == 1]
        self.assertLessEqual(len(checked), 1, "more than one option selected")
        return checked[0] if checked else None

    def click_control(self, control, dx=None):
        left, top, right, bottom = control["rect"]
        x = left + (dx if dx is not None else (right - left) // 2)
        self.s.click(x, (top + bottom) // 2)

    def replace_path(self, window, text):
        _, by_text = self.dialog(window)
        self.click_control(by_text["Edit"])
        self.s.driver.keys("end", "shift+home", "delete")
        if text:
            self.s.driver.type_text(text)

    def assert_closed(self, message):
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETTINGS_CLASS, timeout=5), message)

    # tests ----------------------------------------------------------------

    def test_layout_and_the_keyboard(self):
        self.store("C:\\stored", "vbMaximizedFocus")
        window = self.open_settings()
        self.s.screenshot("settings-open")
        controls, by_text = self.dialog(window)
        # Created in tab order, so the child order is the tab order: from top to bottom.
        self.assertEqual([c["text"] if c["class"].lower() != "edit" else "Edit" for c in controls], [
            "Explorer-mode", "Please choose the window-mode of the Explorer:", "in the foreground, &normal size",
            "in the foreground, ma&ximized", "in the &taskbar", "&last size, position", "Folder which is opened",
            "&Path:", "Edit", "&Browse...", "Hotkey", "&Keys:", "", "Edit", "Use &Win+E",
            "A combination another program holds cannot be typed here.", "&Save", "&Cancel", "&Favourites..."])
        keys = [c["text"].lower().split("&")[1][0] for c in controls if "&" in c["text"]]
        self.assertEqual(len(keys), len(set(keys)), f"access keys twice: {keys}")
        hotkey_box = next(c for c in controls if c["class"].lower() == "msctls_hotkey32")
        # Where each control sits is the table's (DialogTables.h, checked natively), and that its
        # caption fits is win_tests' DialogCaptions case, in both languages at 96 and 144 DPI.
        # Client area 4605 twips wide: the frame border comes on top of it.
        width = window["rect"][2] - window["rect"][0]
        self.assertGreaterEqual(width, 307)
        self.assertLess(width, 307 + 20)
        # Focus starts in the path box, the first box a user types in.
        focus = self.s.driver.focus()
        self.assertEqual(focus["foreground"], window["hwnd"])
        self.assertEqual(focus["focus"], by_text["Edit"]["hwnd"])
        # Tab follows the layout down, then comes back to the mode group at its selected option.
        by_text["Keys"] = hotkey_box
        for expected_focus in ("Browse...", "Keys", "Use Win+E", "Save", "Cancel", "Favourites...",
                               "in the foreground, maximized", "Edit"):
            self.s.driver.keys("tab")
            self.assertEqual(self.s.driver.focus()["focus"], by_text[expected_focus]["hwnd"], expected_focus)
        # An arrow key moves the selection inside the group.
        self.s.driver.keys("shift+tab", "down")
        self.assertEqual(self.selected_option(window), "in the taskbar")
        self.assertEqual(self.s.driver.focus()["focus"], by_text["in the taskbar"]["hwnd"])
        # Access keys: an option, and a label's box.
        self.s.driver.keys("alt+l")
        self.assertTrue(wait_for(lambda: self.selected_option(window) == "last size, position"))
        self.s.driver.keys("alt+p")
        self.assertEqual(self.s.driver.focus()["focus"], by_text["Edit"]["hwnd"])
        # Esc is Cancel: nothing written.
        self.s.driver.keys("esc")
        self.assert_closed("Esc did not close the dialog")
        self.assert_nothing_written("vbMaximizedFocus", "C:\\stored")
        # Enter is Save, also from the path box.
        window = self.open_settings()
        self.s.driver.keys("alt+t", "alt+p", "enter")
        self.assert_closed("Enter did not save")
        self.assertEqual(self.stored(), ("vbMinimizedFocus", "C:\\stored"))

    def test_f1_opens_the_installed_guide(self):
        window = self.open_settings()
        # (keys that lead there, the window F1 is pressed in)
        for chords, cls in [((), SETTINGS_CLASS), (("alt+k",), SETTINGS_CLASS),
                            (("alt+f",), FAVOURITES_CLASS), (("alt+a",), FAVOURITE_CLASS)]:
            with self.subTest(window=cls, keys=chords):
                self.s.driver.keys(*chords)
                self.assertIsNotNone(self.s.driver.wait_window(cls=cls, visible=True, timeout=5))
                self.assertEqual(open_guide_with_f1(self.s, LAUNCHER_DIR), [])
        self.s.driver.keys("esc", "esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITES_CLASS, timeout=5))
        self.s.driver.set_foreground(window["hwnd"])
        # Without the guide, or without a program for .txt files: a message, nothing started.
        guide = self.s.host_path(LAUNCHER_DIR + "\\Readme.txt")
        os.rename(guide, guide + ".away")
        try:
            says = open_guide_with_f1(self.s, LAUNCHER_DIR, opens=False)
        finally:
            os.rename(guide + ".away", guide)
        self.assertEqual(says[0].split("\n")[0], f"Tolvane's guide is missing: {LAUNCHER_DIR}\\Readme.txt")
        associate_text_files(self.s, False)
        try:
            says = open_guide_with_f1(self.s, LAUNCHER_DIR, opens=False)
        finally:
            associate_text_files(self.s)
        self.assertTrue(says[0].startswith(f"Tolvane could not open its guide, {LAUNCHER_DIR}\\Readme.txt:\n"), says)

    def test_browse_picks_a_folder(self):
        self.s.make_dirs("C:\\stored\\sub", "C:\\Picked\\Deeper")
        self.store("C:\\stored\\gone", "vbNormalFocus")
        window = self.open_settings()
        for typed, box in ((None, "C:\\stored\\gone"), ("C:\\Picked\\Deeper", "C:\\Picked\\Deeper")):
            with self.subTest(typed=typed):
                self.s.driver.keys("alt+b")
                picker = self.s.driver.wait_window(cls="#32770", caption="Select Folder", visible=True, timeout=10)
                self.assertIsNotNone(picker, "no folder picker")
                self.assertFalse(self.s.driver.windows(cls=SETTINGS_CLASS)[0]["enabled"], "the picker is not modal")
                # It opens at the nearest folder that exists: C:\stored, which holds "sub".
                views = [c for c in self.s.driver.controls(picker["hwnd"]) if c["class"] == "SysListView32"]
                _head, rows = self.s.driver.listview(views[0]["hwnd"])
                self.assertEqual([r["cells"][0] for r in rows], ["sub"])
                if typed:
                    self.s.driver.type_text(typed)
                    self.s.driver.keys("enter")
                else:
                    self.s.driver.keys("esc")
                self.assertTrue(self.s.driver.wait_window_gone(cls="#32770", visible=True, timeout=5))
                _, by_text = self.dialog(window)
                self.assertEqual(by_text["Edit"]["text"], box)
        self.assert_nothing_written("vbNormalFocus", "C:\\stored\\gone")
        self.s.driver.keys("alt+s")
        self.assert_closed("Save did not close the dialog")
        self.assertEqual(self.stored(), ("vbNormalFocus", "C:\\Picked\\Deeper"))

    def test_browse_looks_at_no_share_it_is_not_connected_to(self):
        # Wine makes no connections: the picker starts in the user's folder.
        self.store("\\\\nosuchserver\\share\\x", "vbNormalFocus")
        window = self.open_settings()
        self.s.driver.keys("alt+b")
        picker = self.s.driver.wait_window(cls="#32770", caption="Select Folder", visible=True, timeout=10)
        self.assertIsNotNone(picker, "no folder picker")
        views = [c for c in self.s.driver.controls(picker["hwnd"]) if c["class"] == "SysListView32"]
        _head, rows = self.s.driver.listview(views[0]["hwnd"])
        names = [r["cells"][0] for r in rows]
        self.assertIn("Desktop", names)
        self.assertNotIn("windows", names)
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls="#32770", visible=True, timeout=5))
        self.assertEqual(self.dialog(window)[1]["Edit"]["text"], "\\\\nosuchserver\\share\\x")
        self.s.driver.keys("esc")
        self.assert_closed("Cancel did not close the dialog")

    def test_shows_stored_mode(self):
        for mode, caption in LOAD_MODE_CASES:
            with self.subTest(mode="<missing>" if mode is MISSING else mode):
                self.store("C:\\stored", mode)
                window = self.open_settings()
                self.assertEqual(self.selected_option(window), caption)
                # The close box writes nothing, not even a missing value.
                self.s.driver.close_window(window["hwnd"])
                self.assert_closed("the close command did not close the dialog")
                self.assert_nothing_written(None if mode is MISSING else mode, "C:\\stored")

    def test_shows_stored_folder(self):
        for folder, text in LOAD_FOLDER_CASES:
            with self.subTest(folder="<missing>" if folder is MISSING else folder):
                self.store(folder, "vbNormalFocus")
                window = self.open_settings()
                _, by_text = self.dialog(window)
                self.assertEqual(by_text["Edit"]["text"], text)
                self.s.driver.close_window(window["hwnd"])
                self.assert_closed("the close command did not close the dialog")

    def test_save_writes_what_is_shown_and_typed(self):
        for option, typed, before, mode in SAVE_CASES:
            with self.subTest(option=option, typed=typed):
                self.store("C:\\stored", before)
                window = self.open_settings()
                if option:
                    _, by_text = self.dialog(window)
                    self.click_control(by_text[option], dx=6)
                self.replace_path(window, typed)
                _, by_text = self.dialog(window)
                self.assertEqual(by_text["Edit"]["text"], typed, "typing did not arrive as typed")
                self.assertEqual(self.selected_option(window), option)
                self.click_control(by_text["Save"])
                self.assert_closed("Save did not close the dialog")
                self.assertEqual(self.stored(), (mode, typed))
                self.assertEqual(self.machine(), (before, "C:\\stored"), "Save changed the machine's values")
                # The next showing reads the registry again.
                window = self.open_settings()
                _, by_text = self.dialog(window)
                self.assertEqual((self.selected_option(window), by_text["Edit"]["text"]), (option, typed))
                self.s.driver.close_window(window["hwnd"])
                self.assert_closed("the close command did not close the dialog")

    def test_long_non_ansi_folder_round_trips_unchanged(self):
        folder = "C:\\" + "\\".join(f"Ordner {i} Ωß日本 ✓" for i in range(300))
        self.store(folder, "vbNormalNoFocus")
        window = self.open_settings()
        _, by_text = self.dialog(window)
        # The driver reads at most 1023 UTF-16 units of a control's text; the
        # whole text is checked after Save, which writes what the box holds.
        shown = by_text["Edit"]["text"]
        self.assertGreater(len(shown), 900)
        self.assertTrue(folder.startswith(shown), shown[:80])
        self.click_control(by_text["Save"])
        self.assert_closed("Save did not close the dialog")
        self.assertEqual(self.stored(), ("vbNormalNoFocus", folder))

    def test_cancel_writes_nothing(self):
        self.store("C:\\stored", "vbMinimizedFocus")
        window = self.open_settings()
        _, by_text = self.dialog(window)
        self.click_control(by_text["last size, position"], dx=6)
        self.replace_path(window, "D:\\discarded")
        self.click_control(by_text["Cancel"])
        self.assert_closed("Cancel did not close the dialog")
        self.assert_nothing_written("vbMinimizedFocus", "C:\\stored")
        window = self.open_settings()
        _, by_text = self.dialog(window)
        self.assertEqual((self.selected_option(window), by_text["Edit"]["text"]), ("in the taskbar", "C:\\stored"))

    def test_settings_again_keeps_unsaved_edits(self):
        self.store("C:\\stored", "vbNormalFocus")
        window = self.open_settings()
        _, by_text = self.dialog(window)
        self.click_control(by_text["in the taskbar"], dx=6)
        self.replace_path(window, "D:\\unsaved")
        again = self.open_settings()
        self.assertEqual(again["hwnd"], window["hwnd"], "the dialog was loaded anew")
        self.assertEqual(len(self.s.driver.windows(cls=SETTINGS_CLASS)), 1)
        _, by_text = self.dialog(again)
        self.assertEqual((self.selected_option(again), by_text["Edit"]["text"]), ("in the taskbar", "D:\\unsaved"))
        self.assert_nothing_written("vbNormalFocus", "C:\\stored")

    def test_launch_while_editing_uses_stored_values(self):
        self.store("C:\\stored", "vbMaximizedFocus")
        window = self.open_settings()
        _, by_text = self.dialog(window)
        self.click_control(by_text["in the foreground, normal size"], dx=6)
        self.replace_path(window, "C:\\windows")
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.s.park_mouse()
        self.assertEqual(len(procs), 1, procs)
        self.assertEqual(procs[0]["ppid"], self.launcher["pid"])
        self.assertIn("C:\\stored", procs[0]["cmdline"])
        self.assertNotIn("windows", procs[0]["cmdline"].lower())
        self.assertTrue(procs[0]["window_flags"] & STARTF_USESHOWWINDOW, procs[0])
        self.assertEqual(procs[0]["show"], 3, "not the stored vbMaximizedFocus")
        # The dialog is still there with its edits.
        _, by_text = self.dialog(window)
        self.assertEqual(by_text["Edit"]["text"], "C:\\windows")

    def test_policy_folder_wins_and_cannot_be_changed(self):
        self.store("C:\\stored", "vbNormalFocus")
        self.s.make_dirs("C:\\policy", "C:\\mine")
        self.s.reg_set(USER_KEY, "Pfad", "C:\\mine")
        # As Group Policy Preferences write a path: REG_EXPAND_SZ.
        self.s.reg_set(POLICY_KEY, "Pfad", "%SystemDrive%\\policy", kind="REG_EXPAND_SZ")
        try:
            procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
            self.assertEqual([p["cmdline"] for p in procs], ['explorer.exe /e,"C:\\policy"'])
            self.s.close_windows("ExplorerWClass")
            window = self.open_settings()
            _, by_text = self.dialog(window)
            self.assertEqual(by_text["Edit"]["text"], "%SystemDrive%\\policy")
            self.assertFalse(by_text["Edit"]["enabled"], "the path box a policy sets can be edited")
            self.assertTrue(all(by_text[caption]["enabled"] for caption in CAPTIONS), "no policy sets the mode")
            self.click_control(by_text[CAPTIONS[3]], dx=6)
            self.click_control(by_text["Save"])
            self.assertTrue(self.s.driver.wait_window_gone(cls=SETTINGS_CLASS, timeout=5))
            self.assertEqual(self.stored(), ("vbNormalNoFocus", "C:\\mine"), "Save wrote the policy's folder")
        finally:
            self.s.reg_delete(POLICY_KEY)

    def test_virtualized_settings_show_after_a_start(self):
        self.store("C:\\stored", "vbMaximizedFocus")
        self.s.reg_set(VIRTUALIZED_KEY, "Pfad", "D:\\Von früher")
        self.s.reg_set(VIRTUALIZED_KEY, "Modus", "vbNormalNoFocus")
        self.choose_from_tray_menu("x")
        self.assertTrue(self.s.driver.wait_window_gone(cls=MAIN_WINDOW_CLASS, timeout=5), "Exit left the launcher")
        self.s.wait_tray_icon_count(0)
        self.setUp()  # starts it again
        window = self.open_settings()
        _, by_text = self.dialog(window)
        self.assertEqual((self.selected_option(window), by_text["Edit"]["text"]),
                         ("last size, position", "D:\\Von früher"))
        self.assertEqual(self.stored(), ("vbNormalNoFocus", "D:\\Von früher"), "not copied to the user's key")
        self.assertEqual(self.s.reg_get(VIRTUALIZED_KEY, "Pfad"), "D:\\Von früher", "the copy went away")

    def test_exit_with_dialog_open_ends_after_the_dialog(self):
        self.store("C:\\stored", "vbNormalFocus")
        window = self.open_settings()
        pid = window["pid"]
        _, by_text = self.dialog(window)
        self.choose_from_tray_menu("x")
        self.assertTrue(self.s.wait_tray_icon_count(0), "the tray icon stayed after Exit")
        self.assertTrue(self.s.driver.wait_window_gone(cls=MAIN_WINDOW_CLASS, timeout=5), "the main window stayed")
        # A click that takes effect after the main window is gone shows that
        # the launcher did not end with it.
        self.click_control(by_text["last size, position"], dx=6)
        wait_for(lambda: not self.s.driver.windows(cls=SETTINGS_CLASS, visible=True)
                 or self.selected_option(window) == "last size, position")
        self.assertTrue(self.s.driver.alive(pid), "the launcher ended with the dialog still open")
        self.assertTrue(self.s.driver.windows(cls=SETTINGS_CLASS, visible=True), "the dialog went away")
        self.assertEqual(self.selected_option(window), "last size, position", "the dialog stopped working")
        self.s.screenshot("settings-after-exit")
        # Save writes and then the launcher ends.
        self.click_control(by_text["Save"])
        self.assert_closed("Save did not close the dialog")
        self.assertTrue(wait_for(lambda: not self.s.driver.alive(pid)),
                        "the launcher kept running after its last window closed")
        self.assertEqual(self.stored(), ("vbNormalNoFocus", "C:\\stored"))


if __name__ == "__main__":
    main()

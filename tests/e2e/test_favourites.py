"""Favourite folders: their items at the top of the tray menu (access keys,
a "&" shown as itself, long names cut, the separator, "Open Explorer" still
the default), each opening one Explorer at its folder in its mode, from the
menu and by its hotkey; a policy's list over the user's; combinations given
twice or held by another program named in the balloon at start; the
"Favourite folders" dialog and its entry dialog driven by keyboard, then the
registry; Browse in Settings with the system's folder picker."""

import time
import unittest

from tolvane_e2e import (MAIN_WINDOW_CLASS, SETTINGS_CLASS, USER_KEY, USER_POLICY_KEY, WineSession, main,
                         require_programs, scaled, wait_for)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"
FOLDERS_KEY = USER_KEY + "\\Folders"
POLICY_FOLDERS_KEY = USER_POLICY_KEY + "\\Folders"
FAVOURITES_CLASS = "Tolvane.FavouritesDialog"
ENTRY_CLASS = "Tolvane.FavouriteDialog"
MAIN_FOLDER = "C:\\Main"
LONG_NAME = "A name far longer than sixty characters, so that the menu cuts it"
MOD_ALT, MOD_CONTROL = 0x1, 0x2

# subkey, name, folder, mode, hotkey -> the menu caption and the Explorer's show state
FAVOURITES = [
    ("1", "Projects", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+1", "&1 Projects", 1),
    ("7", "Tom & Jerry", "C:\\Tom & Jerry, a,b", "vbMinimizedFocus", "", "&2 Tom && Jerry", 2),
    ("30", LONG_NAME, "C:\\Ärger Ω", "vbMaximizedFocus", "nonsense", "&3 " + LONG_NAME[:59] + "…", 3),
    # U+202E would show the rest reversed, as "Photos exe.jpg".
    ("31", "Photos \u202egpj.exe", "C:\\Projects", "vbNormalFocus", "", "&4 Photos gpj.exe", 1),
]
USUAL_ITEMS = [("Start &automatically", False), ("A&bout Tolvane", False), ("&Settings", False),
               ("E&xit Tolvane", False), ("", True), ("Open &Explorer", False)]


class FavouritesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        require_programs("Tolvane.exe", "TestDriver.exe", "MenuProbe.dll")
        cls.s = WineSession("favourites")
        cls.addClassCleanup(cls.s.close)
        cls.s.install_programs({LAUNCHER_DIR: ["Tolvane.exe"]})
        cls.s.make_dirs(MAIN_FOLDER, "C:\\Policy A", "C:\\Policy B", "C:\\Picked\\Deeper",
                        *[folder for _, _, folder, _, _, _, _ in FAVOURITES])
        cls.s.store_settings(MAIN_FOLDER, "vbMaximizedFocus")
        cls.s.start_desktop()
        cls.launcher = None

    def setUp(self):
        self.s.reg_delete(FOLDERS_KEY)
        self.s.reg_delete(USER_POLICY_KEY)
        self.s.reg_delete(USER_KEY, "Hotkey")

    def tearDown(self):
        for cls in (ENTRY_CLASS, FAVOURITES_CLASS, SETTINGS_CLASS):
            for window in self.s.driver.windows(cls=cls):
                self.s.driver.close_window(window["hwnd"])
        if self.s.driver.windows(cls="#32768", visible=True):
            self.s.driver.keys("esc")
        self.stop()
        self.s.close_windows("ExplorerWClass")

    # helpers --------------------------------------------------------------

    def store_favourites(self, rows=FAVOURITES):
        for subkey, name, folder, mode, hotkey, _caption, _show in rows:
            key = FOLDERS_KEY + "\\" + subkey
            for value, text in (("Name", name), ("Pfad", folder), ("Modus", mode), ("Hotkey", hotkey)):
                self.s.reg_set(key, value, text)

    def start(self):
        self.launcher, self.icon = self.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR, with_desktop=False)

    def stop(self):
        if self.launcher is not None and self.s.driver.alive(self.launcher["pid"]):
            self.s.choose_from_tray_menu(self.icon, "x")
            wait_for(lambda: not self.s.driver.alive(self.launcher["pid"]))
            self.s.wait_tray_icon_count(0)
        self.launcher = None

    def menu(self):
        self.s.click(*self.icon, button=3)
        self.assertIsNotNone(self.s.driver.wait_window(cls="#32768", visible=True, timeout=5), "no menu")
        head, items = self.s.driver.menu(self.launcher["hwnd"])
        return head, [(i["caption"], i["separator"]) for i in items]

    def explorers_after(self, *chords):
        """The Explorers started by the launcher while the chords are sent."""
        watch = self.s.driver.watch(3000, "explorer.exe", count=2, settle=1500)
        self.s.driver.keys(*chords)
        procs = watch.collect()
        self.s.park_mouse()
        self.assertTrue(all(p["ppid"] == self.launcher["pid"] for p in procs), procs)
        return [(p["cmdline"], p["show"]) for p in procs]

    def open_favourites(self):
        """Settings from the tray menu, then its Favourites... button by its access key."""
        self.s.choose_from_tray_menu(self.icon, "s")
        self.assertIsNotNone(self.s.driver.wait_window(cls=SETTINGS_CLASS, visible=True, timeout=5))
        self.s.driver.keys("alt+f")
        window = self.s.driver.wait_window(cls=FAVOURITES_CLASS, caption="Favourite folders", visible=True,
                                           timeout=5)
        self.assertIsNotNone(window, "the favourites' dialog did not open")
        return window

    def rows(self, window):
        """The list's rows as shown, and the index of the selected one."""
        view = next(c for c in self.s.driver.controls(window["hwnd"]) if c["class"] == "SysListView32")
        head, rows = self.s.driver.listview(view["hwnd"])
        selected = [r["index"] for r in rows if r["selected"]]
        return head, [r["cells"] for r in rows], selected[0] if selected else None

    def entry(self, *chords):
        """Opens the entry dialog with the chords; returns it."""
        self.s.driver.keys(*chords)
        window = self.s.driver.wait_window(cls=ENTRY_CLASS, caption="Favourite folder", visible=True, timeout=5)
        self.assertIsNotNone(window, "the favourite's dialog did not open")
        return window

    def message(self, caption):
        box = self.s.driver.wait_window(cls="#32770", caption=caption, visible=True, timeout=5)
        self.assertIsNotNone(box, "no message")
        return [c["text"] for c in self.s.driver.controls(box["hwnd"]) if c["class"] == "Static" and c["text"]]

    def stored(self, subkey):
        key = FOLDERS_KEY + "\\" + subkey
        return tuple(self.s.reg_get(key, name) for name in ("Name", "Pfad", "Modus", "Hotkey"))

    def controls_in_order(self, window):
        return [c["text"] if c["class"] != "SysListView32" else "<list>"
                for c in self.s.driver.controls(window["hwnd"]) if c["parent"] == window["hwnd"]]

    # tests ----------------------------------------------------------------

    def test_menu_and_each_favourite_from_it(self):
        self.store_favourites()
        self.start()
        head, items = self.menu()
        self.s.screenshot("favourites-menu")
        self.assertEqual(items, [(f[5], False) for f in FAVOURITES] + [("", True)] + USUAL_ITEMS)
        self.assertEqual(head["default"], len(items) - 1, "Open Explorer is no longer the default")
        self.s.driver.keys("esc")
        for index, (_subkey, _name, folder, _mode, _hotkey, _caption, show) in enumerate(FAVOURITES):
            with self.subTest(favourite=index + 1):
                self.s.click(*self.icon, button=3)
                self.assertIsNotNone(self.s.driver.wait_window(cls="#32768", visible=True, timeout=5))
                self.assertEqual(self.explorers_after(str(index + 1)), [(f'explorer.exe /e,"{folder}"', show)])
                self.s.close_windows("ExplorerWClass")
        self.assertEqual(self.stored("31")[0], "Photos \u202egpj.exe", "the stored name changed")
        # The left click stays the main folder's.
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.assertEqual([(p["cmdline"], p["show"]) for p in procs], [(f'explorer.exe /e,"{MAIN_FOLDER}"', 3)])

    def test_hotkeys_held_elsewhere_or_given_twice_are_named_at_start(self):
        rows = [("1", "Held", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+2", "", 1),
                ("2", "Twice", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+E", "", 1),
                ("3", "Fine", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+3", "", 1)]
        self.store_favourites(rows)
        self.s.reg_set(USER_KEY, "Hotkey", "Ctrl+Alt+E")
        holder = self.s.driver.hold_hotkey(MOD_CONTROL | MOD_ALT, ord("2"))
        try:
            self.start()
            balloon = self.s.driver.wait_window(
                cls="tooltips_class32", visible=True, timeout=5,
                caption="Favourite hotkeys that do not work: \"Held\" (Ctrl+Alt+2, used by another program) and "
                        "\"Twice\" (Ctrl+Alt+E, given twice). Choose others in Settings, Favourites.")
            self.s.screenshot("favourites-balloon")
            self.assertIsNotNone(balloon, "no balloon naming the favourites")
            # The others work, by SendInput: the main folder's and the third favourite's.
            self.assertEqual(self.explorers_after("ctrl+alt+e"), [(f'explorer.exe /e,"{MAIN_FOLDER}"', 3)])
            self.s.close_windows("ExplorerWClass")
            self.assertEqual(self.explorers_after("ctrl+alt+3"), [('explorer.exe /e,"C:\\Projects"', 1)])
        finally:
            holder.kill()

    def test_the_dialogs_by_keyboard(self):
        self.store_favourites(FAVOURITES[:1])
        self.start()
        window = self.open_favourites()
        # Created in tab order, top to bottom; every access key once.
        texts = self.controls_in_order(window)
        self.assertEqual(texts, ["&Favourite folders:", "<list>", "&Add...", "&Edit...", "&Remove", "Move &up",
                                 "Move &down", "", "&OK", "&Cancel"])
        keys = [t.lower().split("&")[1][0] for t in texts if "&" in t]
        self.assertEqual(len(keys), len(set(keys)), keys)
        self.assertEqual(self.s.driver.focus()["focus_class"], "SysListView32")
        self.assertFalse(self.s.driver.windows(cls=SETTINGS_CLASS)[0]["enabled"], "Settings takes input meanwhile")
        head, rows, selected = self.rows(window)
        self.assertTrue(head["enabled"])
        self.assertEqual((rows, selected), ([["Projects", "C:\\Projects", "in the foreground, normal size",
                                             "Ctrl+Alt+1"]], 0))
        # Add: the name box first; access keys, a mode, a combination; Enter is OK.
        entry = self.entry("alt+a")
        self.s.screenshot("favourite-entry")
        texts = self.controls_in_order(entry)
        self.assertEqual(texts, ["Na&me:", "", "&Folder:", "", "&Browse...", "Explorer window",
                                 "in the foreground, &normal size", "in the foreground, ma&ximized",
                                 "in the &taskbar", "&last size, position", "&Keys:", "",
                                 "A combination another program holds cannot be typed here.", "&OK", "&Cancel"])
        keys = [t.lower().split("&")[1][0] for t in texts if "&" in t]
        self.assertEqual(len(keys), len(set(keys)), keys)
        self.assertEqual(self.s.driver.focus()["focus_class"], "Edit")
        self.s.driver.type_text("Photos & more")
        self.s.driver.keys("alt+f")
        self.s.driver.type_text("C:\\Picked")
        self.s.driver.keys("alt+t", "alt+k", "ctrl+alt+2", "enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        _head, rows, selected = self.rows(window)
        self.assertEqual((rows[1], selected), (["Photos & more", "C:\\Picked", "in the taskbar", "Ctrl+Alt+2"], 1))
        # Edit the new one: another name; Esc in the next one changes nothing.
        self.entry("alt+e")
        self.s.driver.keys("alt+m", "end", "shift+home")
        self.s.driver.type_text("Pictures")
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        self.entry("alt+e")
        self.s.driver.keys("alt+m")
        self.s.driver.type_text("discarded")
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        # Move it up, add a third, and remove that with Delete after the question.
        self.s.driver.keys("alt+u")
        self.entry("alt+a")
        self.s.driver.type_text("Temporary")
        self.s.driver.keys("alt+f")
        self.s.driver.type_text("C:\\Policy A")
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        self.s.driver.keys("alt+f", "delete")
        self.assertEqual(self.message("Favourite folders"), ["Remove the favourite \"Temporary\" from the list?"])
        self.s.driver.keys("alt+y")
        self.assertTrue(wait_for(lambda: len(self.rows(window)[1]) == 2))
        _head, rows, selected = self.rows(window)
        self.s.screenshot("favourites-dialog")
        self.assertEqual([r[0] for r in rows], ["Pictures", "Projects"])
        self.assertEqual(selected, 1)
        self.assertEqual(self.stored("1"), ("Projects", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+1"),
                         "written before OK")
        # Enter is OK: stored as shown (under numbers the old list did not use), in use at once.
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITES_CLASS, timeout=5))
        self.assertTrue(self.s.driver.windows(cls=SETTINGS_CLASS)[0]["enabled"])
        self.assertEqual(self.stored("1"), (None, None, None, None))
        self.assertEqual(self.stored("2"), ("Pictures", "C:\\Picked", "vbMinimizedFocus", "Ctrl+Alt+2"))
        self.assertEqual(self.stored("3"), ("Projects", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+1"))
        self.s.driver.keys("esc")  # Settings' Cancel: the favourites stay
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETTINGS_CLASS, timeout=5))
        self.assertEqual(self.explorers_after("ctrl+alt+2"), [('explorer.exe /e,"C:\\Picked"', 2)])
        self.s.close_windows("ExplorerWClass")
        _head, items = self.menu()
        self.assertEqual(items[:3], [("&1 Pictures", False), ("&2 Projects", False), ("", True)])

    def test_what_the_dialogs_refuse_and_cancel(self):
        self.store_favourites(FAVOURITES[:2])
        self.s.reg_set(USER_KEY, "Hotkey", "Ctrl+Alt+E")
        self.start()
        window = self.open_favourites()
        # An added favourite's combination; the ones in use cannot be typed (Windows hands them to the launcher).
        self.entry("alt+a")
        self.s.driver.type_text("Third")
        self.s.driver.keys("alt+f")
        self.s.driver.type_text("C:\\Projects")
        self.s.driver.keys("alt+k", "ctrl+alt+3", "enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        # No name, no folder, a combination given already.
        self.entry("alt+a")
        self.s.driver.keys("enter")
        self.assertEqual(self.message("Favourite folder"), ["Please give the favourite a name."])
        self.s.driver.keys("enter")
        self.s.driver.type_text("Twice")
        self.s.driver.keys("enter")
        self.assertEqual(self.message("Favourite folder"), ["Please choose its folder."])
        self.s.driver.keys("enter")
        self.s.driver.type_text("C:\\Projects")
        # OK's access key typed in the box is OK, and the box keeps the combination for its check.
        self.s.driver.keys("alt+k", "ctrl+alt+3", "alt+o")
        self.assertEqual(self.message("Favourite folder"),
                         ['Ctrl+Alt+3 is already the hotkey of "Third". Please choose another combination.'])
        self.s.driver.keys("enter")
        # Tolvane's own combinations typed in the box are the box's, not run; beside it, why not, as for
        # any combination the rule refuses.
        entry = self.s.driver.wait_window(cls=ENTRY_CLASS, visible=True, timeout=5)
        note = next(c for c in self.s.driver.controls(entry["hwnd"]) if c["text"].startswith("Ctrl+Alt+3 is"))
        self.assertEqual(note["text"], 'Ctrl+Alt+3 is already the hotkey of "Third".')
        note_text = lambda: next(c["text"] for c in self.s.driver.controls(entry["hwnd"]) if c["hwnd"] == note["hwnd"])
        for chord, said in (("ctrl+alt+e", "Ctrl+Alt+E is already the hotkey of the main folder."),
                            ("ctrl+alt+1", 'Ctrl+Alt+1 is already the hotkey of "Projects".'),
                            ("alt+z", "Alt+Z is not taken: menus need it.")):
            with self.subTest(chord=chord):
                self.s.driver.keys("alt+k")
                self.assertEqual(self.explorers_after(chord), [], "the combination ran")
                self.assertEqual(note_text(), said)
        self.s.screenshot("favourite-refused")
        self.s.driver.keys("alt+k", "ctrl+alt+e", "enter")
        self.assertEqual(self.message("Favourite folder"),
                         ["Ctrl+Alt+E is already the hotkey of the main folder. Please choose another combination."])
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.windows(cls=ENTRY_CLASS, visible=True), "the entry closed")
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ENTRY_CLASS, timeout=5))
        self.assertEqual(len(self.rows(window)[1]), 3, "Cancel added the entry")
        # More changes, then Cancel: nothing written, nothing in use.
        self.s.driver.keys("alt+f", "home", "alt+d", "alt+r")
        self.assertEqual([r[0] for r in self.rows(window)[1]], ["Tom & Jerry", "Third"])
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITES_CLASS, timeout=5))
        self.assertEqual(self.stored("1")[0], "Projects")
        self.assertEqual(self.stored("7")[0], "Tom & Jerry")
        self.s.driver.keys("esc")
        _head, items = self.menu()
        self.assertEqual(items[:2], [("&1 Projects", False), ("&2 Tom && Jerry", False)])

    def test_a_policys_list_replaces_the_users(self):
        self.store_favourites()
        # Wine lists a key's values by name; Windows in the order Group Policy wrote them.
        self.s.reg_set(POLICY_FOLDERS_KEY, "Alpha", "C:\\Policy A")
        self.s.reg_set(POLICY_FOLDERS_KEY, "Beta & Co", "%SystemDrive%\\Policy B", kind="REG_EXPAND_SZ")
        self.start()
        _head, items = self.menu()
        self.assertEqual(items[:3], [("&1 Alpha", False), ("&2 Beta && Co", False), ("", True)])
        # In the main folder's window mode; no hotkeys.
        self.assertEqual(self.explorers_after("2"), [('explorer.exe /e,"C:\\Policy B"', 3)])
        self.assertEqual(self.explorers_after("ctrl+alt+1"), [], "the user's hotkey works under a policy")
        # Shown greyed; OK writes nothing.
        window = self.open_favourites()
        head, rows, _selected = self.rows(window)
        self.s.screenshot("favourites-policy")
        self.assertFalse(head["enabled"])
        self.assertEqual(rows[0], ["Alpha", "C:\\Policy A", "in the foreground, maximized", ""])
        controls = {c["text"]: c for c in self.s.driver.controls(window["hwnd"])}
        self.assertIn("Your administrator has set these favourites.", controls)
        self.assertEqual([t for t in ("&Add...", "&Edit...", "&Remove", "Move &up", "Move &down")
                          if controls[t]["enabled"]], [])
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITES_CLASS, timeout=5))
        self.assertEqual(self.stored("1")[0], "Projects", "the policy's list was written as the user's")

    def test_ten_thousand_entries_start_in_about_the_time_of_twenty(self):
        timings = []
        for count in (20, 10000):
            lines = ["REGEDIT4", ""]
            for number in range(1, count + 1):
                lines += [f"[{FOLDERS_KEY.replace('HKCU', 'HKEY_CURRENT_USER')}\\{number}]",
                          f'"Name"="n{number}"', '"Pfad"="C:\\\\Projects"', ""]
            with open(self.s.host_path("C:\\many.reg"), "w", encoding="ascii") as reg_file:
                reg_file.write("\r\n".join(lines))
            self.s.wine("reg", "import", "C:\\many.reg", timeout=300)
            fastest = None
            for _ in range(2):  # the first start after a change is slower
                started = time.monotonic()
                self.start()
                elapsed = time.monotonic() - started
                fastest = elapsed if fastest is None else min(fastest, elapsed)
                _head, items = self.menu()
                self.s.driver.keys("esc")
                self.assertEqual(items[:21], [(f"&{i % 10} n{i}" if i <= 10 else f"n{i}", False)
                                              for i in range(1, 21)] + [("", True)])
                self.stop()
            timings.append(fastest)
        self.s.log(f"start with 20 favourites {timings[0]:.2f} s, with 10,000 {timings[1]:.2f} s")
        # Reading every entry took seconds; a busy machine stretches both starts.
        self.assertLess(timings[1], timings[0] + scaled(0.5), timings)


if __name__ == "__main__":
    main()

"""Favourite folders: their items at the top of the tray menu (access keys,
a "&" shown as itself, long names cut, the separator, "Open Explorer" still
the default), each opening one Explorer at its folder in its mode, from the
menu and by its hotkey; a policy's list over the user's; combinations given
twice or held by another program named in the balloon at start; the
"Favourite folders" dialog and its entry dialog driven by keyboard, then the
registry; Browse in Settings with the system's folder picker; the keys of
each item in the menu, twenty favourites in a list that follows the dialog's
size and shows its notes whole, a favourite whose folder is gone named in
its message."""

import time

from tolvane_e2e import (FAVOURITE_CLASS, FAVOURITES_CLASS, SETTINGS_CLASS, TRAY_MENU_ITEMS, USER_KEY,
                         USER_POLICY_KEY, SessionTest, main, programs_arch, scaled, wait_for)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"
FOLDERS_KEY = USER_KEY + "\\Folders"
POLICY_FOLDERS_KEY = USER_POLICY_KEY + "\\Folders"
MAIN_FOLDER = "C:\\Main"
LONG_NAME = "A name far longer than sixty characters, so that the menu cuts it"
MOD_ALT, MOD_CONTROL = 0x1, 0x2
OK_NOTE = "OK stores the list at once: Cancel in Settings does not undo it."

# subkey, name, folder, mode, hotkey -> the menu caption and the Explorer's show state
FAVOURITES = [
    ("1", "Projects", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+1", "&1 Projects\tCtrl+Alt+1", 1),
    ("7", "Tom & Jerry", "C:\\Tom & Jerry, a,b", "vbMinimizedFocus", "", "&2 Tom && Jerry", 2),
    ("30", LONG_NAME, "C:\\Ärger Ω", "vbMaximizedFocus", "nonsense", "&3 " + LONG_NAME[:59] + "…", 3),
    # U+202E would show the rest reversed, as "Photos exe.jpg".
    ("31", "Photos \u202egpj.exe", "C:\\Projects", "vbNormalFocus", "", "&4 Photos gpj.exe", 1),
]


class FavouritesTest(SessionTest):
    SESSION = "favourites"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe"]}

    @classmethod
    def prepare_session(cls):
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
        for cls in (FAVOURITE_CLASS, FAVOURITES_CLASS, SETTINGS_CLASS):
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

    def open_favourites(self, *in_settings):
        """Settings from the tray menu, the chords there, then its Favourites... button by its access key."""
        self.s.choose_from_tray_menu(self.icon, "s")
        self.assertIsNotNone(self.s.driver.wait_window(cls=SETTINGS_CLASS, visible=True, timeout=5))
        self.s.driver.keys(*in_settings, "alt+f")
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
        window = self.s.driver.wait_window(cls=FAVOURITE_CLASS, caption="Favourite folder", visible=True, timeout=5)
        self.assertIsNotNone(window, "the favourite's dialog did not open")
        return window

    def message(self, caption):
        box = self.s.driver.wait_window(cls="#32770", caption=caption, visible=True, timeout=5)
        self.assertIsNotNone(box, "no message")
        return [c["text"] for c in self.s.driver.controls(box["hwnd"]) if c["class"] == "Static" and c["text"]]

    def stored(self, subkey):
        key = FOLDERS_KEY + "\\" + subkey
        return tuple(self.s.reg_get(key, name) for name in ("Name", "Pfad", "Modus", "Hotkey"))

    def settled(self, window):
        """The window once its size has stopped changing (a drag's last moves may still be on their way)."""
        last = []

        def still():
            rect = self.s.driver.windows(cls=window["class"] if "class" in window else FAVOURITES_CLASS)[0]
            same = bool(last) and last[-1]["rect"] == rect["rect"]
            last.append(rect)
            return same
        wait_for(still, timeout=scaled(10), interval=0.5)
        return last[-1]

    def controls_in_order(self, window):
        return [c["text"] if c["class"] != "SysListView32" else "<list>"
                for c in self.s.driver.controls(window["hwnd"]) if c["parent"] == window["hwnd"]]

    # tests ----------------------------------------------------------------

    def test_menu_and_each_favourite_from_it(self):
        self.store_favourites()
        # Windows' own combination; not under qemu-i386, where the Win+E hook's thread makes
        # Wine hold every key for up to 2 s, longer than the menu's keys below may take.
        main_keys = "Win+E" if programs_arch() != "i686" else "Ctrl+Alt+F12"
        self.s.reg_set(USER_KEY, "Hotkey", main_keys)
        self.start()
        head, items = self.menu()
        self.s.screenshot("favourites-menu")
        # Each item with the keys that open it; "Open Explorer" with the main folder's.
        self.assertEqual(items, [(f[5], False) for f in FAVOURITES] + [("", True)] + TRAY_MENU_ITEMS[:-1] +
                         [("Open &Explorer\t" + main_keys, False)])
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
            # Only the keys that work stand in the menu.
            _head, items = self.menu()
            self.s.driver.keys("esc")
            self.assertEqual(items[:4], [("&1 Held", False), ("&2 Twice", False), ("&3 Fine\tCtrl+Alt+3", False),
                                         ("", True)])
            self.assertEqual(items[-1], ("Open &Explorer\tCtrl+Alt+E", False))
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
                                 "Move &down", "", OK_NOTE, "&OK", "&Cancel"])
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
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
        _head, rows, selected = self.rows(window)
        self.assertEqual((rows[1], selected), (["Photos & more", "C:\\Picked", "in the taskbar", "Ctrl+Alt+2"], 1))
        # Edit the new one: another name; Esc in the next one changes nothing.
        self.entry("alt+e")
        self.s.driver.keys("alt+m", "end", "shift+home")
        self.s.driver.type_text("Pictures")
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
        self.entry("alt+e")
        self.s.driver.keys("alt+m")
        self.s.driver.type_text("discarded")
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
        # Move it up, add a third, and remove that with Delete after the question.
        self.s.driver.keys("alt+u")
        self.entry("alt+a")
        self.s.driver.type_text("Temporary")
        self.s.driver.keys("alt+f")
        self.s.driver.type_text("C:\\Policy A")
        self.s.driver.keys("enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
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
        self.assertEqual(items[:3], [("&1 Pictures\tCtrl+Alt+2", False), ("&2 Projects\tCtrl+Alt+1", False),
                                     ("", True)])

    def test_what_the_dialogs_refuse_and_cancel(self):
        self.store_favourites(FAVOURITES[:2])
        self.s.reg_set(USER_KEY, "Hotkey", "Ctrl+Alt+E")
        self.start()
        # A new favourite starts in the main folder's window mode, as Settings shows it (not yet saved).
        window = self.open_favourites("alt+t")
        # An added favourite's combination; the ones in use cannot be typed (Windows hands them to the launcher).
        entry = self.entry("alt+a")
        checked = [c["text"] for c in self.s.driver.controls(entry["hwnd"]) if c.get("checked") == 1]
        self.assertEqual(checked, ["in the &taskbar"])
        self.s.driver.type_text("Third")
        self.s.driver.keys("alt+f")
        self.s.driver.type_text("C:\\Projects")
        self.s.driver.keys("alt+k", "ctrl+alt+3", "enter")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
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
        entry = self.s.driver.wait_window(cls=FAVOURITE_CLASS, visible=True, timeout=5)
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
        self.assertTrue(self.s.driver.windows(cls=FAVOURITE_CLASS, visible=True), "the entry closed")
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=FAVOURITE_CLASS, timeout=5))
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
        self.assertEqual(items[:2], [("&1 Projects\tCtrl+Alt+1", False), ("&2 Tom && Jerry", False)])

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

    def test_ten_thousand_entries_show_the_first_twenty(self):
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
                indent = items[10][0][:-3]
                self.assertEqual(items[:21], [(f"&{i % 10} n{i}" if i <= 10 else f"{indent}n{i}", False)
                                              for i in range(1, 21)] + [("", True)])
                self.stop()
            timings.append(fastest)
        # The figure that matters is the bench's ("the same with 10,000 stored"):
        # two starts on a shared machine are too few to judge by.
        self.s.log(f"start with 20 favourites {timings[0]:.2f} s, with 10,000 {timings[1]:.2f} s")

    def test_twenty_favourites_in_a_dialog_that_follows_its_size(self):
        long_folder = "C:\\Users\\Public\\Documents\\Projects of the year\\Customers"
        rows = [(str(n), f"Favourite {n}", f"{long_folder}\\{n}", "vbNormalNoFocus",
                 f"Ctrl+Alt+Shift+F{n}" if n <= 12 else "", "", 1) for n in range(1, 22)]
        rows[19] = ("20", "Twenty", "C:\\Projects", "vbNormalFocus", "Ctrl+Alt+Shift+F1", "", 1)
        self.store_favourites(rows)
        self.start()
        # The unnumbered names start where the numbered ones do: the same blanks before each.
        _head, items = self.menu()
        self.s.screenshot("favourites-menu-twenty")
        self.s.driver.keys("esc")
        self.assertEqual(items[0], ("&1 Favourite 1\tCtrl+Alt+Shift+F1", False))
        self.assertEqual(items[9], ("&0 Favourite 10\tCtrl+Alt+Shift+F10", False))
        indent = items[10][0][:-len("Favourite 11\tCtrl+Alt+Shift+F11")]
        self.assertTrue(indent and not indent.strip(), repr(indent))
        self.assertEqual([caption for caption, _ in items[10:20]],
                         [f"{indent}Favourite 11\tCtrl+Alt+Shift+F11", f"{indent}Favourite 12\tCtrl+Alt+Shift+F12"] +
                         [f"{indent}Favourite {n}" for n in range(13, 20)] + [f"{indent}Twenty"])
        window = self.open_favourites()
        controls = {c["text"]: c for c in self.s.driver.controls(window["hwnd"])}
        self.assertIn("Only the first 20 favourites are used; 1 more is stored. OK keeps the first 20.", controls)
        self.assertIn(OK_NOTE, controls)

        def shown():
            view = next(c for c in self.s.driver.controls(window["hwnd"]) if c["class"] == "SysListView32")
            head, rows = self.s.driver.listview(view["hwnd"])
            return view, head, rows

        def assert_whole(head, rows):
            # The window modes and the hotkeys with their notes whole, beside the scroll bar.
            for row in rows:
                for column in (2, 3):
                    self.assertLessEqual(row["text_widths"][column], head["widths"][column],
                                         (row["cells"][column], head["widths"]))
            self.assertLessEqual(sum(head["widths"]), head["client_width"], head)

        view, head, rows = shown()
        self.assertEqual(rows[19]["cells"][3], "Ctrl+Alt+Shift+F1 (given twice)")
        self.s.screenshot("favourites-twenty")
        assert_whole(head, rows)
        # A cut folder shows whole in the row's tip.
        self.s.move(view["rect"][0] + head["widths"][0] + 20, view["rect"][1] + 30)
        def tips():
            return [w["caption"] for w in self.s.driver.windows(cls="tooltips_class32", visible=True)
                    if "Folder:" in w["caption"]]
        wait_for(tips, timeout=4)
        self.s.screenshot("favourites-tip")
        self.assertEqual(tips(), [f"Folder: {long_folder}\\1"])
        before = self.s.driver.controls(window["hwnd"])
        # Dragged at its lower right corner: the list grows with it, the buttons keep their places at the edges.
        left, top, right, bottom = window["rect"]
        self.s.xdotool("mousemove", right - 2, bottom - 2, "mousedown", 1)
        self.s.xdotool("mousemove", right + 60, bottom + 40)
        self.s.xdotool("mousemove", right + 120, bottom + 80, "mouseup", 1)
        self.s.park_mouse()
        grown = self.settled(window)
        dx, dy = grown["rect"][2] - right, grown["rect"][3] - bottom
        self.assertGreater(dx, 60, grown["rect"])
        self.assertGreater(dy, 40, grown["rect"])
        after = {c["text"] or c["class"]: c["rect"] for c in self.s.driver.controls(window["hwnd"])}
        was = {c["text"] or c["class"]: c["rect"] for c in before}
        self.assertEqual(after["SysListView32"], [*was["SysListView32"][:2], was["SysListView32"][2] + dx,
                                                  was["SysListView32"][3] + dy])
        for button in ("&Add...", "Move &down"):
            self.assertEqual(after[button], [was[button][0] + dx, was[button][1], was[button][2] + dx, was[button][3]])
        for below in ("&OK", "&Cancel", OK_NOTE):
            self.assertEqual(after[below][1], was[below][1] + dy, below)
        view, grown_head, rows = shown()
        self.assertGreater(grown_head["widths"][1], head["widths"][1], "the folders got none of the room")
        assert_whole(grown_head, rows)
        self.s.screenshot("favourites-twenty-larger")
        # Never smaller than it was made.
        left, top, right, bottom = grown["rect"]
        self.s.xdotool("mousemove", right - 2, bottom - 2, "mousedown", 1)
        self.s.xdotool("mousemove", right - 200, bottom - 150)
        self.s.xdotool("mousemove", left + 20, top + 20, "mouseup", 1)
        self.s.park_mouse()
        small = self.settled(window)["rect"]
        self.assertEqual([small[2] - small[0], small[3] - small[1]],
                         [window["rect"][2] - window["rect"][0], window["rect"][3] - window["rect"][1]])
        self.s.driver.keys("esc")

    def test_a_favourite_whose_folder_is_gone_is_named(self):
        self.store_favourites([("1", "Old work", "C:\\Gone\\Away", "vbNormalFocus", "", "", 1)])
        self.start()
        self.s.click(*self.icon, button=3)
        self.assertIsNotNone(self.s.driver.wait_window(cls="#32768", visible=True, timeout=5))
        self.assertEqual(self.explorers_after("1"), [], "an Explorer started")
        box = self.s.driver.wait_window(cls="#32770", caption="Tolvane", pid=self.launcher["pid"], visible=True,
                                        timeout=5)
        self.assertIsNotNone(box, "no message about the folder")
        self.s.screenshot("favourite-folder-gone")
        texts = [c["text"] for c in self.s.driver.controls(box["hwnd"]) if c["class"] == "Static" and c["text"]]
        self.assertEqual(texts, ['The folder C:\\Gone\\Away of the favourite "Old work" does not exist.\n\n'
                                 'Choose another folder in Settings: Favourites..., select "Old work", Edit...'])
        self.s.driver.close_window(box["hwnd"])


if __name__ == "__main__":
    main()

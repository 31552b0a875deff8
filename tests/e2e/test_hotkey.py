"""The hotkey: a key combination from the "Hotkey" value opens the Explorer
at the folder as a left click does, Win+E through the keyboard hook, a
combination another program holds is said once (a balloon at start, a message
in Settings), a stored combination the rule refuses counts as none and is
named once, and the Settings dialog's Hotkey group saves the user's choice
(also with an access key typed in the box), says beside the box why a
combination is not taken, and shows Win+E and a policy's greyed."""


from tolvane_e2e import (LAUNCHER_KEY, MAIN_WINDOW_CLASS, SETTINGS_CLASS, USER_KEY, USER_POLICY_KEY, SessionTest,
                         main, open_guide_with_f1, programs_arch, time_scale, wait_for)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"
FOLDER = "C:\\Hotkey Ordner"
OPENED = f'explorer.exe /e,"{FOLDER}"'
MOD_ALT, MOD_CONTROL = 0x1, 0x2


class HotkeyTest(SessionTest):
    SESSION = "hotkey"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe"]}

    @classmethod
    def prepare_session(cls):
        cls.s.make_dirs(FOLDER)
        cls.s.store_settings(FOLDER, "vbNormalFocus")
        cls.s.start_desktop()

    def setUp(self):
        self.launcher = None
        self.s.reg_delete(USER_KEY)
        self.s.reg_delete(USER_POLICY_KEY)
        self.s.reg_delete(LAUNCHER_KEY, "Hotkey")

    def tearDown(self):
        for window in self.s.driver.windows(cls=SETTINGS_CLASS):
            self.s.driver.close_window(window["hwnd"])
        if self.launcher is not None and self.s.driver.alive(self.launcher["pid"]):
            # A close message to its hidden window ends it (test_about), also
            # when a key the test sent left the tray's menu unreachable.
            self.s.close_windows(MAIN_WINDOW_CLASS)
            wait_for(lambda: not self.s.driver.alive(self.launcher["pid"]))
        self.s.close_windows("ExplorerWClass")

    def start(self, hotkey):
        self.s.reg_set(USER_KEY, "Hotkey", hotkey)
        self.launcher, self.icon = self.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR, with_desktop=False)

    def explorers_for(self, *chords):
        watch = self.s.driver.watch(3000, "explorer.exe", count=2, settle=1500)
        self.s.driver.keys(*chords)
        return [p["cmdline"] for p in watch.collect()]

    def open_settings(self):
        self.s.choose_from_tray_menu(self.icon, "s")
        window = self.s.driver.wait_window(cls=SETTINGS_CLASS, visible=True, timeout=5)
        self.assertIsNotNone(window, "the Settings dialog did not open")
        controls = self.s.driver.controls(window["hwnd"])
        box = next(c for c in controls if c["class"].lower() == "msctls_hotkey32")
        by_text = {c["text"].replace("&", ""): c for c in controls}
        return window, box, by_text

    def click(self, control):
        left, top, right, bottom = control["rect"]
        self.s.click((left + right) // 2, (top + bottom) // 2)
        self.s.park_mouse()

    def test_combination_opens_one_explorer(self):
        self.start("ctrl + alt + e")
        self.assertEqual(self.explorers_for("ctrl+alt+e"), [OPENED])

    def test_a_key_without_ctrl_alt_or_win_is_not_taken(self):
        self.start("Delete")
        self.assertEqual(self.explorers_for("delete"), [], "a bare Delete opened an Explorer")
        _window, _box, by_text = self.open_settings()
        self.assertTrue(any("cannot be read" in t for t in by_text), list(by_text))

    def test_windows_e_through_the_keyboard_hook(self):
        self.start("Win+E")
        opened = self.explorers_for("win+e")
        if not opened and programs_arch() == "i686":
            # Wine waits a fixed 2 s for a low-level hook's answer (README, Wine
            # quirks), which the emulated hook thread misses now and then, and
            # every time on a busy machine: the key then opens the desktop's
            # Start menu. Once more; then it is not ours to show here.
            self.s.driver.keys("esc")
            opened = self.explorers_for("win+e")
            if not opened:
                self.s.driver.keys("esc")
                self.skipTest(f"the i686 hook under qemu (load factor {time_scale():.1f}) "
                              "answered later than Wine waits, twice")
        self.assertEqual(opened, [OPENED])
        self.assertEqual(self.explorers_for("e"), [], "E alone opened an Explorer")

    def test_a_combination_the_rule_refuses_counts_as_none(self):
        self.start("Alt+S")
        balloon = self.s.driver.wait_window(cls="tooltips_class32", visible=True, timeout=5,
                                            caption="The hotkey Alt+S is not used: menus need it. "
                                                    "Choose another in Settings.")
        self.assertIsNotNone(balloon, "no balloon naming the refused combination")
        self.assertEqual(self.explorers_for("alt+s"), [], "Alt+S was taken")
        window, box, by_text = self.open_settings()
        self.assertIn("Alt+S is not taken: menus need it.", by_text)

    def test_combination_held_by_another_program_is_said_once(self):
        holder = self.s.driver.hold_hotkey(MOD_CONTROL | MOD_ALT, ord("E"))
        try:
            self.start("Ctrl+Alt+E")
            balloon = self.s.driver.wait_window(cls="tooltips_class32", visible=True, timeout=5,
                                                caption="Ctrl+Alt+E is used by another program; choose another in Settings.")
            self.s.screenshot("hotkey-taken-balloon")
            self.assertIsNotNone(balloon, "no balloon on the tray icon")
            window, _box, by_text = self.open_settings()
            # The box cannot show a combination another program holds: the dialog says so beside it.
            self.assertIn("A combination another program holds cannot be typed here.", by_text)
            self.click(by_text["Save"])
            message = self.s.driver.wait_window(caption="Settings", cls="#32770", visible=True, timeout=5)
            self.s.screenshot("hotkey-taken-message")
            self.assertIsNotNone(message, "Save gave no message")
            texts = [c["text"] for c in self.s.driver.controls(message["hwnd"])]
            self.assertTrue(any("is used by another program" in t for t in texts), texts)
            self.assertFalse(any("in Settings" in t for t in texts), "sends the user to where they are")
            self.s.driver.keys("enter")
            self.assertTrue(self.s.driver.windows(cls=SETTINGS_CLASS, visible=True), "the dialog closed")
            self.assertEqual(self.s.reg_get(USER_KEY, "Modus"), None, "something was saved")
        finally:
            holder.kill()

    def test_settings_saves_the_users_choice_and_greys_a_policy(self):
        self.start("nonsense+key")
        window, box, by_text = self.open_settings()
        notes = [t for t in by_text if "cannot be read" in t]
        self.s.screenshot("hotkey-unreadable")
        self.assertEqual(len(notes), 1, list(by_text))
        # "Use Win+E" puts a greyed box saying so in the box's place at once, and gives the box back.
        def shown():
            controls = self.s.driver.controls(window["hwnd"])
            return ([c["visible"] for c in controls if c["hwnd"] == box["hwnd"]],
                    [(c["visible"], c["enabled"]) for c in controls if c["text"] == "Win+E is used"])

        self.click(by_text["Use Win+E"])
        self.assertEqual(shown(), ([False], [(True, False)]))
        self.s.screenshot("hotkey-box-greyed")
        self.click(by_text["Use Win+E"])
        self.assertEqual(shown(), ([True], [(False, False)]))
        # Beside the box: why a combination is not taken.
        self.click(box)
        note = by_text[notes[0]]
        for chord, said in (("alt+z", "Alt+Z is not taken: menus need it."),
                            ("ctrl+c", "Ctrl+C is not taken: other programs need it."),
                            ("ctrl+alt+f12", "A combination another program holds cannot be typed here.")):
            with self.subTest(chord=chord):
                self.s.driver.keys(chord)
                note_text = lambda: next(c["text"] for c in self.s.driver.controls(window["hwnd"])
                                         if c["hwnd"] == note["hwnd"])
                self.assertTrue(wait_for(lambda: note_text() == said), note_text())
                if chord == "alt+z":
                    self.s.screenshot("hotkey-refused")
        # F1 in the box asks for the guide (missing here) and leaves the combination alone.
        says = open_guide_with_f1(self.s, LAUNCHER_DIR, opens=False)
        self.assertTrue(says and says[0].startswith("Tolvane's guide is missing"), says)
        # Save's access key typed in the box saves what the box held.
        self.s.driver.keys("alt+s")
        self.assertTrue(self.s.driver.wait_window_gone(cls=SETTINGS_CLASS, timeout=5), "Save did not close it")
        self.assertEqual(self.s.reg_get(USER_KEY, "Hotkey"), "Ctrl+Alt+F12")
        self.assertIsNone(self.s.reg_get(LAUNCHER_KEY, "Hotkey"), "the machine's value was written")
        # Taken at once, without a restart.
        self.assertEqual(self.explorers_for("ctrl+alt+f12"), [OPENED])
        # A policy's hotkey is shown and cannot be changed.
        self.s.reg_set(USER_POLICY_KEY, "Hotkey", "Win+E")
        window, box, by_text = self.open_settings()
        self.s.screenshot("hotkey-policy")
        self.assertFalse(box["enabled"])
        self.assertFalse(by_text["Use Win+E"]["enabled"])
        self.assertEqual(by_text["Use Win+E"]["checked"], 1)


if __name__ == "__main__":
    main()

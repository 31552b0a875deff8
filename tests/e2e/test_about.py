"""The About box of Tolvane.exe: "About Tolvane" in the tray menu shows it
with its texts; F1 opens the installed Readme.txt; OK, Enter, Esc, Alt+F4 and
its close box hide it again, and the tray goes on working (also after an
Explorer and Esc, on the same desktop). A close message to the hidden main window (what an installer or
the session's end sends) ends Tolvane."""


from tolvane_e2e import (ABOUT_CLASS, MAIN_WINDOW_CLASS, SessionTest, associate_text_files, main, open_guide_with_f1,
                         version_text, wait_for)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"

# Texts in tab order after the frame; None: ours to choose, checked by rule.
ABOUT_TEXTS = ["About Tolvane", None, None, version_text("TOLVANE_ABOUT_VERSION"), version_text("TOLVANE_ABOUT_DATE"),
               None, None, "&OK"]


class AboutBoxTest(SessionTest):
    SESSION = "about"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe", "Readme.txt"]}

    @classmethod
    def prepare_session(cls):
        associate_text_files(cls.s)
        cls.s.make_dirs("C:\\stored")
        cls.s.store_settings("C:\\stored", "vbNormalFocus")
        cls.launcher, cls.icon = cls.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR)

    def choose_from_tray_menu(self, access_key):
        self.s.choose_from_tray_menu(self.icon, access_key)

    def show_about(self):
        self.choose_from_tray_menu("b")
        window = self.s.driver.wait_window(cls=ABOUT_CLASS, caption="Tolvane", visible=True, timeout=5)
        self.assertIsNotNone(window, "About did not show the window")
        return window

    def test_about_f1_opens_the_guide(self):
        self.show_about()
        self.assertEqual(open_guide_with_f1(self.s, LAUNCHER_DIR), [])
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ABOUT_CLASS, visible=True, timeout=5))

    def test_about_shows_texts_and_ok_hides(self):
        self.assertEqual(self.s.driver.windows(cls=ABOUT_CLASS, visible=True), [], "visible at start")
        window = self.show_about()
        self.s.screenshot("about-open")
        controls = self.s.driver.controls(window["hwnd"])
        texts = [c["text"] for c in controls]
        self.assertEqual(len(texts), len(ABOUT_TEXTS), texts)
        for got, want in zip(texts, ABOUT_TEXTS):
            if want is not None:
                self.assertEqual(got, want)
        self.assertIn("Varnholt", texts)
        self.assertTrue(any(t.endswith(" (Subject: Tolvane)") and "@example.com" in t for t in texts), texts)
        self.assertTrue(any("example.com" in t and "@" not in t for t in texts), texts)
        # Centred on the 800 x 600 screen; client area 3180 x 2400 twips
        # (212 x 160 pixels at 96 DPI) inside the frame.
        left, top, right, bottom = window["rect"]
        self.assertLessEqual(abs((left + right) / 2 - 400), 2, window["rect"])
        self.assertLessEqual(abs((top + bottom) / 2 - 300), 2, window["rect"])
        self.assertGreaterEqual(right - left, 212)
        self.assertGreaterEqual(bottom - top, 160)
        ok = next(c for c in controls if c["text"] == "&OK")
        self.assertEqual(ok["rect"][2] - ok["rect"][0], 73)  # 1095 twips
        self.assertEqual(ok["rect"][3] - ok["rect"][1], 25)  # 375 twips

        # About again while it is shown: still one window, where it was.
        self.s.driver.set_foreground(self.s.driver.windows(cls="Shell_TrayWnd")[0]["hwnd"])
        again = self.show_about()
        self.assertEqual(again["hwnd"], window["hwnd"])
        self.assertEqual(again["rect"], window["rect"])
        self.assertEqual(len(self.s.driver.windows(cls=ABOUT_CLASS)), 1)

        # A user moves it; showing it again does not centre it anew.
        self.s.xdotool("mousemove", (left + right) // 2, top + 8, "mousedown", 1,
                       "mousemove", (left + right) // 2 - 100, top + 8 - 80, "mouseup", 1)
        moved = wait_for(lambda: next((w for w in self.s.driver.windows(cls=ABOUT_CLASS, visible=True)
                                       if w["rect"] != window["rect"]), None))
        self.assertIsNotNone(moved, "the window could not be dragged")

        # OK hides the window; the launcher keeps running.
        lx, ly, rx, ry = self.s.driver.controls(window["hwnd"])[-1]["rect"]
        self.s.click((lx + rx) // 2, (ly + ry) // 2)
        self.assertTrue(self.s.driver.wait_window_gone(cls=ABOUT_CLASS, visible=True, timeout=5),
                        "OK did not hide the window")
        self.s.park_mouse()
        self.assertTrue(self.s.driver.alive(self.launcher["pid"]), "OK ended the launcher")
        self.assertEqual(len(self.s.driver.windows(cls=ABOUT_CLASS)), 1, "OK unloaded the window")

        # The tray still works: a left click starts the Explorer ...
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.s.park_mouse()
        self.assertEqual(len(procs), 1, procs)
        self.assertIn("C:\\stored", procs[0]["cmdline"])
        self.s.close_windows("ExplorerWClass")
        self.s.driver.wait_window_gone(cls="ExplorerWClass", visible=True, timeout=5)
        # ... and the menu shows About again, where the user left it; Esc hides it.
        desktop = self.s.desktop_process()
        self.assertIsNotNone(desktop, "no desktop process")
        shown = self.show_about()
        self.assertEqual(shown["rect"], moved["rect"])
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls=ABOUT_CLASS, visible=True, timeout=5))
        # The desktop outlives the Explorer and the About box (it once ended
        # within 5 s), watched from outside: a driver would start a new one.
        self.assertFalse(wait_for(lambda: not self.s.host_alive(desktop), timeout=7), "the desktop ended")
        self.assertEqual(len(self.s.driver.windows(cls="Shell_TrayWnd", visible=True)), 1)
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.s.park_mouse()
        self.assertEqual([p["cmdline"] for p in procs], ['explorer.exe /e,"C:\\stored"'])
        self.s.close_windows("ExplorerWClass")
        self.assertEqual(self.s.desktop_process(), desktop)

    def test_closing_hides_the_box_and_a_close_from_outside_ends_tolvane(self):
        def close_box(window):
            left, top, right, _ = window["rect"]
            self.s.click(right - 12, top + 12)  # the caption's close button
            self.s.park_mouse()

        ways = {"Esc": lambda _: self.s.driver.keys("esc"), "Enter": lambda _: self.s.driver.keys("enter"),
                "Alt+F4": lambda _: self.s.driver.keys("alt+f4"), "the close box": close_box}
        for name, close in ways.items():
            window = self.show_about()
            close(window)
            self.assertTrue(self.s.driver.wait_window_gone(cls=ABOUT_CLASS, visible=True, timeout=5),
                            f"{name} did not hide the About box")
            self.assertTrue(self.s.driver.alive(self.launcher["pid"]), f"{name} ended Tolvane")
            self.assertEqual(len(self.s.tray_icons()), 1, f"{name} took the icon away")
        procs = self.s.click_and_watch(*self.icon, count=1, settle=800)
        self.s.park_mouse()
        self.assertEqual([p["cmdline"] for p in procs], ['explorer.exe /e,"C:\\stored"'])
        self.s.close_windows("ExplorerWClass")
        # Installers and the session's end close the hidden main window: that ends Tolvane.
        main_window = self.s.driver.windows(cls=MAIN_WINDOW_CLASS, pid=self.launcher["pid"])[0]
        self.s.driver.close_window(main_window["hwnd"])
        self.assertTrue(wait_for(lambda: not self.s.driver.alive(self.launcher["pid"]), timeout=10),
                        "a close message to the main window left Tolvane running")
        self.s.wait_tray_icon_count(0)


if __name__ == "__main__":
    main()

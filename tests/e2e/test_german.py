"""Tolvane.exe with the German display language (Wine takes it from
LANG=de_DE.UTF-8): the tray menu, About, Settings, Favourite folders,
Favourite folder and a message show the German texts of
launcher/portable/LauncherTextTables.h, reached by their German access keys;
F1 opens Liesmich.txt, or Readme.txt where only that is installed.
Setup.exe shows its window and its finished message with the German texts of
setup/portable/SetupTextTables.h, and writes its log in English.
The other modules run the same programs in English."""

import unittest

import test_setup
from product_names import launcher_texts, tray_menu_items
from tolvane_e2e import (ABOUT_CLASS, FAVOURITE_CLASS, FAVOURITES_CLASS, LAUNCHER_KEY, SETTINGS_CLASS, SessionTest,
                         associate_text_files, main, open_guide_with_f1)

LAUNCHER_DIR = "C:\\Tolvane"
LAUNCHER_EXE = LAUNCHER_DIR + "\\Tolvane.exe"
GERMAN = launcher_texts.texts("German")
SETUP = launcher_texts.texts("German", program="setup")
# Every text Setup's window shows.
SETUP_WINDOW = ["Welcome", "InstallFrame", "Autostart", "FolderLabel", "InstallButton", "UninstallFrame",
                "UninstallLabel", "UninstallButton", "ExitButton"]


def texts(*ids):
    return [GERMAN[i] for i in ids]


# (menu access key, window class, caption, texts its controls show among others)
WINDOWS = [
    ("i", ABOUT_CLASS, "Tolvane", texts("AboutFrame", "AboutWrittenBy", "AboutContact", "AboutDate", "Ok")),
    ("e", SETTINGS_CLASS, GERMAN["SettingsCaption"],
     texts("ModeFrame", "ModeLabel", "ModeNormal", "ModeMaximized", "ModeTaskbar", "ModeLastSize", "FolderFrame",
           "PathLabel", "Browse", "HotkeyFrame", "KeysLabel", "UseWindowsKey", "HeldCombinationNote", "Save", "Cancel",
           "FavouritesButton")),
]
# Opened from Settings by their access keys, one over the other.
FAVOURITES = [
    ("alt+f", FAVOURITES_CLASS, GERMAN["FavouritesCaption"],
     texts("FavouritesLabel", "Add", "Edit", "Remove", "MoveUp", "MoveDown", "OkStoresAtOnce", "Ok", "Cancel")),
    ("alt+h", FAVOURITE_CLASS, GERMAN["FavouriteCaption"],
     texts("NameLabel", "FavouriteFolderLabel", "Browse", "FavouriteModeFrame", "ModeNormal", "KeysLabel", "Ok",
           "Cancel")),
]


class GermanTest(SessionTest):
    SESSION = "german"
    LANGUAGE = "German"
    INSTALL = {LAUNCHER_DIR: ["Tolvane.exe", "Readme.txt"]}
    NEEDS = ("TestDriver.exe", "MenuProbe.dll", "Liesmich.txt")

    @classmethod
    def prepare_session(cls):
        associate_text_files(cls.s)
        cls.s.make_dirs("C:\\stored")
        cls.s.store_settings("C:\\stored", "vbNormalFocus")
        # Stored with the English names; the menu shows the German keyboard's.
        cls.s.reg_set(LAUNCHER_KEY, "Hotkey", "Ctrl+Shift+End")
        cls.main, cls.icon = cls.s.start_launcher(LAUNCHER_EXE, LAUNCHER_DIR)

    def shown_texts(self, window):
        return [c["text"] for c in self.s.driver.controls(window["hwnd"])]

    def test_the_menu_is_german(self):
        self.s.click(*self.icon, button=3)
        self.assertIsNotNone(self.s.driver.wait_window(cls="#32768", visible=True, timeout=5), "no menu")
        self.s.screenshot("german-menu")
        _, items = self.s.driver.menu(self.main["hwnd"])
        wanted = [(caption + "\tStrg+Umschalt+Ende" if caption == GERMAN["MenuExplorer"] else caption, separator)
                  for caption, separator in tray_menu_items("German")]
        self.assertEqual([(i["caption"], i["separator"]) for i in items], wanted)
        self.s.driver.keys("esc")
        self.assertTrue(self.s.driver.wait_window_gone(cls="#32768", visible=True, timeout=5))

    def test_the_windows_are_german(self):
        for key, cls, caption, wanted in WINDOWS:
            with self.subTest(window=cls):
                self.s.choose_from_tray_menu(self.icon, key)
                window = self.s.driver.wait_window(cls=cls, caption=caption, visible=True, timeout=5)
                self.assertIsNotNone(window, f"{key} opened no {cls} \"{caption}\"")
                self.s.screenshot("german-" + cls)
                shown = self.shown_texts(window)
                self.assertEqual([t for t in wanted if t not in shown], [], shown)
        # Settings is in front: its favourites' windows, one over the other.
        for key, cls, caption, wanted in FAVOURITES:
            with self.subTest(window=cls):
                self.s.driver.keys(key)
                window = self.s.driver.wait_window(cls=cls, caption=caption, visible=True, timeout=5)
                self.assertIsNotNone(window, f"{key} opened no {cls} \"{caption}\"")
                self.s.screenshot("german-" + cls)
                shown = self.shown_texts(window)
                self.assertEqual([t for t in wanted if t not in shown], [], shown)
        for cls in (FAVOURITE_CLASS, FAVOURITES_CLASS, SETTINGS_CLASS):
            self.s.driver.keys("esc")
            self.assertTrue(self.s.driver.wait_window_gone(cls=cls, visible=True, timeout=5), cls)
        self.s.driver.keys("esc")

    def test_f1_opens_the_german_guide_or_else_the_english_one(self):
        # As Setup installs it: Readme.txt alone.
        for guide in ("Readme.txt", "Liesmich.txt"):
            with self.subTest(guide=guide):
                if guide == "Liesmich.txt":
                    self.s.install_programs({LAUNCHER_DIR: ["Liesmich.txt"]})
                self.s.choose_from_tray_menu(self.icon, "i")
                self.assertIsNotNone(self.s.driver.wait_window(cls=ABOUT_CLASS, visible=True, timeout=5))
                self.assertEqual(open_guide_with_f1(self.s, LAUNCHER_DIR, guide=guide), [])
                self.s.driver.keys("esc")
                self.assertTrue(self.s.driver.wait_window_gone(cls=ABOUT_CLASS, visible=True, timeout=5))

    def test_a_message_is_german(self):
        self.s.store_settings("C:\\Gone", "vbNormalFocus")
        self.s.click(*self.icon)
        self.s.park_mouse()
        box = self.s.driver.wait_window(cls="#32770", caption="Tolvane", pid=self.main["pid"], visible=True, timeout=5)
        self.assertIsNotNone(box, "no message about the folder")
        self.s.screenshot("german-message")
        says = GERMAN["FolderMissing"].replace("{1}", "C:\\Gone").split("\n")[0]
        self.assertTrue(any(says in t for t in self.shown_texts(box)), (says, self.shown_texts(box)))
        self.s.driver.close_window(box["hwnd"])
        self.assertTrue(self.s.driver.wait_window_gone(cls="#32770", pid=self.main["pid"], timeout=5))
        self.s.store_settings("C:\\stored", "vbNormalFocus")


class GermanSetupTest(unittest.TestCase):
    """Setup.exe unpacked into a downloads folder, as test_setup.py runs it."""

    @classmethod
    def setUpClass(cls):
        cls.s = test_setup.SetupSession.make("german-setup", language="German")
        cls.addClassCleanup(cls.s.close)

    def test_the_window_and_the_finished_message_are_german_and_the_log_english(self):
        user = test_setup.SetupUser(self, self.s, args=["/LOG=C:\\install.log"])
        self.assertEqual(user.window["caption"], SETUP["Title"])
        shown = [c["text"] for c in user.controls()]
        self.assertEqual([SETUP[i] for i in SETUP_WINDOW if SETUP[i] not in shown], [], shown)
        self.s.screenshot("german-setup")
        user.type_folder("C:\\Tolvane\\")
        # By the German access key of "&Installieren".
        self.s.driver.keys("alt+i")
        text, ok = user.message(SETUP["FinishedTitle"])
        self.s.screenshot("german-setup-finished")
        self.assertEqual(text, SETUP["Finished"].replace("{1}", "C:\\Tolvane\\"))
        user.click(ok)
        self.assertTrue(self.s.driver.wait_window_gone(cls=test_setup.SETUP_CLASS, timeout=10), "Setup did not end")
        with open(self.s.host_path("C:\\install.log"), encoding="utf-8") as f:
            lines = [line.rstrip("\n").split(" ", 2)[2] for line in f]
        self.assertEqual(lines[0], "Install to C:\\Tolvane\\")
        self.assertEqual(lines[-1], "Result: 0 installed")


if __name__ == "__main__":
    main()

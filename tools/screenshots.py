#!/usr/bin/env python3
"""Takes the README's pictures of every window and the tray menu at 96 and
144 DPI, and of the hotkey boxes' notes.

Runs the x86_64 build under Wine (the DPIs given, or both) with the end-to-end harness and writes
docs/<window>-<dpi>dpi.png, each cropped to its window. With --german the
windows of both programs under a German display language, as
docs/<window>-de-<dpi>dpi.png. Build first:
cmake --preset win64 && cmake --build --preset win64
"""
import glob
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
os.environ.setdefault("TOLVANE_BIN_DIR", str(ROOT / "build" / "win64" / "bin"))
os.environ.setdefault("TOLVANE_E2E_WORK", str(ROOT / "build" / "win64" / "e2e-work"))

from tolvane_e2e import LAUNCHER_KEY, ABOUT_CLASS, SETTINGS_CLASS, SETUP_CLASS, USER_KEY, WineSession  # noqa: E402
import tolvane_e2e  # noqa: E402

# A screen as large at 144 DPI as the tests' 800 x 600 at 96: the favourites
# dialog and the menu with twenty favourites need that room.
tolvane_e2e.SCREEN_W, tolvane_e2e.SCREEN_H = 1200, 900

DOCS = ROOT / "docs"
# name, folder, window mode, hotkey: the twenty a list holds, one combination given twice.
FAVOURITES = [
    ("Projects", "C:\\Users\\Public\\Documents\\Projects", "vbMaximizedFocus", "Ctrl+Alt+1"),
    ("Photos & scans", "D:\\Photos", "vbNormalFocus", "Ctrl+Alt+2"),
    ("Downloads", "%USERPROFILE%\\Downloads", "vbMinimizedFocus", ""),
    ("Invoices", "C:\\Users\\Public\\Documents\\Accounts\\Invoices 2026", "vbNormalFocus", "Ctrl+Alt+3"),
    ("Music", "D:\\Music", "vbNormalNoFocus", ""),
    ("Customers", "\\\\fileserver\\shared\\Customers", "vbMaximizedFocus", "Ctrl+Alt+2"),
    ("Manuals", "C:\\Users\\Public\\Documents\\Manuals", "vbNormalFocus", ""),
    ("Backups", "E:\\Backups", "vbMinimizedFocus", ""),
    ("Website", "C:\\Users\\Public\\Documents\\Website\\htdocs", "vbNormalFocus", "Win+Shift+W"),
    ("Letters", "%USERPROFILE%\\Documents\\Letters", "vbNormalFocus", ""),
    ("Recipes", "D:\\Recipes", "vbNormalFocus", ""),
    ("Travel 2026", "D:\\Photos\\Travel 2026", "vbMaximizedFocus", ""),
    ("Garden", "D:\\Photos\\Garden", "vbNormalFocus", ""),
    ("Tax", "C:\\Users\\Public\\Documents\\Accounts\\Tax", "vbNormalFocus", ""),
    ("Scanner", "C:\\Users\\Public\\Documents\\Scanned", "vbNormalFocus", ""),
    ("Games", "D:\\Games", "vbNormalNoFocus", ""),
    ("Templates", "%APPDATA%\\Microsoft\\Templates", "vbNormalFocus", ""),
    ("Fonts", "C:\\Windows\\Fonts", "vbNormalFocus", ""),
    ("Temporary", "%TEMP%", "vbMinimizedFocus", ""),
    ("Archive", "E:\\Archive", "vbNormalFocus", "Ctrl+Alt+Shift+A"),
]


def crop(session, window, name):
    raw = Path(session.screenshot(name))
    rect = window["rect"]
    x, y = rect[0], rect[1]
    w, h = rect[2] - rect[0], rect[3] - rect[1]
    subprocess.run(["convert", str(raw), "-crop", f"{w}x{h}+{x}+{y}", "+repage", str(DOCS / f"{name}.png")],
                   check=True)
    print("wrote", DOCS / f"{name}.png")


def menu_choice(session, icon, key):
    session.click(*icon, button=3)
    session.driver.wait_window(cls="#32768", visible=True, timeout=5)
    session.driver.keys(key)
    session.driver.wait_window_gone(cls="#32768", visible=True, timeout=5)
    session.park_mouse()


# The access keys the pictures are reached by, in each language.
KEYS = {
    "English": {"about": "b", "settings": "s", "keys": "alt+k", "edit": "alt+e", "favourite keys": "alt+k"},
    "German": {"about": "i", "settings": "e", "keys": "alt+e", "edit": "alt+b", "favourite keys": "alt+e"},
}


def shoot(dpi, language="English"):
    keys = KEYS[language]
    suffix = "-de" if language == "German" else ""
    session = WineSession(f"screenshots-{dpi}", language=language)
    try:
        # Before Wine starts in the prefix: its desktop takes the size it finds there.
        user_reg = os.path.join(session.prefix, "user.reg")
        with open(user_reg, encoding="utf-8", errors="surrogateescape") as reg_file:
            text = reg_file.read()
        with open(user_reg, "w", encoding="utf-8", errors="surrogateescape") as reg_file:
            reg_file.write(text.replace('"shell"="800x600"', f'"shell"="{tolvane_e2e.SCREEN_W}x{tolvane_e2e.SCREEN_H}"'))
        fonts = session.host_path("C:\\windows\\Fonts")
        for font in glob.glob("/usr/share/wine/fonts/*.tt[fc]") + glob.glob("/usr/share/wine/fonts/*.fon"):
            shutil.copy(font, fonts)
        session.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                     "/d", str(dpi), "/f")
        session.install_programs({"C:\\Tolvane": ["Tolvane.exe", "Setup.exe", "Readme.txt"]})
        session.reg_set(LAUNCHER_KEY, "Pfad", "C:\\Users\\Public\\Documents")
        session.reg_set(LAUNCHER_KEY, "Modus", "vbMaximizedFocus")
        session.reg_set(USER_KEY, "Hotkey", "Ctrl+Alt+E")
        # One import: a "reg add" a value would take minutes.
        lines = ["Windows Registry Editor Version 5.00", ""]
        for number, (name, folder, mode, hotkey) in enumerate(FAVOURITES, start=1):
            lines.append(f"[{USER_KEY.replace('HKCU', 'HKEY_CURRENT_USER')}\\Folders\\{number}]")
            for value, text in (("Name", name), ("Pfad", folder), ("Modus", mode), ("Hotkey", hotkey)):
                escaped = text.replace("\\", "\\\\").replace('"', '\\"')
                lines.append(f'"{value}"="{escaped}"')
            lines.append("")
        with open(session.host_path("C:\\favourites.reg"), "w", encoding="utf-16") as reg_file:
            reg_file.write("\r\n".join(lines))
        session.wine("reg", "import", "C:\\favourites.reg")
        session.start_desktop("C:\\Tolvane\\Tolvane.exe", cwd="C:\\Tolvane")
        icon = session.wait_tray_icons(1)[0]
        # The balloon about the combination given twice would lie over the menu.
        session.driver.wait_window(cls="tooltips_class32", visible=True, timeout=5)
        for balloon in session.driver.windows(cls="tooltips_class32", visible=True):
            session.driver.close_window(balloon["hwnd"])
        session.click(*icon, button=3)
        menu = session.driver.wait_window(cls="#32768", visible=True, timeout=5)
        # Away from the icon, whose tip would lie over "Open Explorer".
        session.xdotool("mousemove", 10, 10)
        time.sleep(1.5)
        crop(session, menu, f"menu{suffix}-{dpi}dpi")
        session.driver.keys("esc")
        session.driver.wait_window_gone(cls="#32768", visible=True, timeout=5)

        menu_choice(session, icon, keys["about"])
        about = session.driver.wait_window(cls=ABOUT_CLASS, visible=True, timeout=5)
        time.sleep(0.5)
        crop(session, about, f"about{suffix}-{dpi}dpi")

        menu_choice(session, icon, keys["settings"])
        settings = session.driver.wait_window(cls=SETTINGS_CLASS, visible=True, timeout=5)
        time.sleep(0.5)
        crop(session, settings, f"settings{suffix}-{dpi}dpi")
        # Beside the hotkey box, why a combination is not taken; "Use Win+E" in the box's place.
        session.driver.keys(keys["keys"], "alt+z")
        time.sleep(0.5)
        crop(session, settings, f"settings-hotkey-refused{suffix}-{dpi}dpi")
        session.driver.keys("alt+w")
        time.sleep(0.5)
        crop(session, settings, f"settings-wine{suffix}-{dpi}dpi")
        session.driver.keys("alt+w")

        session.driver.keys("alt+f")
        favourites = session.driver.wait_window(cls="Tolvane.FavouritesDialog", visible=True, timeout=5)
        time.sleep(0.5)
        crop(session, favourites, f"favourites{suffix}-{dpi}dpi")
        session.driver.keys(keys["edit"])
        favourite = session.driver.wait_window(cls="Tolvane.FavouriteDialog", visible=True, timeout=5)
        time.sleep(0.5)
        crop(session, favourite, f"favourite{suffix}-{dpi}dpi")
        # Another favourite's combination typed in the box is the box's, not run.
        session.driver.keys(keys["favourite keys"], "ctrl+alt+2")
        time.sleep(0.5)
        crop(session, favourite, f"favourite-hotkey-refused{suffix}-{dpi}dpi")
        session.driver.keys("esc")
        session.driver.wait_window_gone(cls="Tolvane.FavouriteDialog", timeout=5)
        session.driver.keys("esc")
        session.driver.wait_window_gone(cls="Tolvane.FavouritesDialog", timeout=5)

        session.start_program("C:\\Tolvane\\Setup.exe", cwd="C:\\Tolvane")
        setup = session.driver.wait_window(cls=SETUP_CLASS, visible=True, timeout=10)
        time.sleep(0.5)
        crop(session, setup, f"setup{suffix}-{dpi}dpi")
    finally:
        session.close()


if __name__ == "__main__":
    chosen = "German" if "--german" in sys.argv[1:] else "English"
    for dpi in [int(arg) for arg in sys.argv[1:] if arg != "--german"] or (96, 144):
        shoot(dpi, chosen)

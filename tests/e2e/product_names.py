"""Names the e2e tests share with the programs, read from the programs' own
sources so that they cannot drift apart. A name the sources no longer hold
fails the import, rather than a test later with a window that never shows."""

import glob
import os
import re
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, "scripts"))
import launcher_texts  # noqa: E402
SOURCES = [open(path, encoding="utf-8").read() for top in ("launcher", "setup", "winkit")
           for path in sorted(glob.glob(os.path.join(REPO, top, "**", "*.[hc]*"), recursive=True))]
WM_APP = 0x8000  # <winuser.h>


def window_class(name):
    """"Tolvane.<name>", once the sources register a class by that name."""
    if not any(f'L"Tolvane.{name}"' in source for source in SOURCES):
        raise LookupError(f"no window class Tolvane.{name} in the programs' sources")
    return f"Tolvane.{name}"


def constant(name):
    """The value of an integer constant, ``name = <term>[ + <term>];``, each
    term a number, WM_APP or another such constant."""
    if name == "WM_APP":
        return WM_APP
    for source in SOURCES:
        match = re.search(r"\b" + name + r"\s*=\s*(\w+)(?:\s*\+\s*(\w+))?\s*;", source)
        if match:
            return sum(int(term, 0) if term[0].isdigit() else constant(term) for term in match.groups() if term)
    raise LookupError(f"no constant {name} in the programs' sources")


def tray_menu_items(language="English"):
    """(caption, separator) of each item of the tray menu (kTrayMenuItems,
    launcher/portable/Commands.h) in a language of the launcher's texts."""
    with open(os.path.join(REPO, "launcher", "portable", "Commands.h"), encoding="utf-8") as f:
        source = f.read()
    block = re.search(r"kTrayMenuItems\[\] = \{(.*?)\};", source, re.DOTALL)
    if not block:
        raise LookupError("no kTrayMenuItems in launcher/portable/Commands.h")
    texts = launcher_texts.texts(language)
    return [("", True) if item == "0" else (texts[text], False)
            for item, text in re.findall(r"\{(\w+), TextId::(\w+)\}", block.group(1))]


MAIN_WINDOW_CLASS = window_class("MainWindow")
ABOUT_CLASS = window_class("AboutBox")
SETTINGS_CLASS = window_class("SettingsDialog")
FAVOURITES_CLASS = window_class("FavouritesDialog")
FAVOURITE_CLASS = window_class("FavouriteDialog")
SETUP_CLASS = window_class("SetupWindow")
TRAY_ICON_ID = constant("kTrayIconId")
TRAY_CALLBACK = constant("kTrayCallbackMessage")
# The launcher's tray menu without favourites.
TRAY_MENU_ITEMS = tray_menu_items()

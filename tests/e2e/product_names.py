"""Names the e2e tests share with the programs, read from the programs' own
sources so that they cannot drift apart: window classes, the tray icon's id
and callback message, the tray menu's items.

A name the sources no longer hold fails the import with the name, rather
than a test later with a window that never appears.
"""

import os
import re

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PRODUCT_DIRS = ("launcher", "setup", "winkit")
# The value of WM_APP in <winuser.h>, for constants written above it.
WM_APP = 0x8000


class ProductNameError(LookupError):
    pass


def _sources():
    for top in PRODUCT_DIRS:
        for folder, _dirs, files in os.walk(os.path.join(REPO, top)):
            for name in sorted(files):
                if name.endswith((".h", ".cpp")):
                    with open(os.path.join(folder, name), encoding="utf-8") as f:
                        yield f.read()


def window_class(name):
    """"Tolvane.<name>", once the programs' sources register a class by that name."""
    text = f"Tolvane.{name}"
    if not any(f'L"{text}"' in source for source in _sources()):
        raise ProductNameError(f"no window class {text} in {', '.join(PRODUCT_DIRS)}")
    return text


def constant(name):
    """The value of an integer constant (``kName = <number or WM_APP + n>;``)."""
    pattern = re.compile(r"\b" + re.escape(name) + r"\s*=\s*([^;]+);")
    for source in _sources():
        match = pattern.search(source)
        if match:
            expression = match.group(1).replace("WM_APP", str(WM_APP))
            if not re.fullmatch(r"[0-9a-fA-FxX+\- ]+", expression):
                raise ProductNameError(f"{name} = {match.group(1)}: not a plain number")
            return eval(expression)  # digits, x and + - only, checked above
    raise ProductNameError(f"no constant {name} in {', '.join(PRODUCT_DIRS)}")


def menu_items(resource, menu):
    """(caption, separator) of each item of a MENU in a resource script."""
    with open(os.path.join(REPO, resource), encoding="utf-8") as f:
        text = f.read()
    block = re.search(r"^" + re.escape(menu) + r"\s+MENU\b(.*?)^END", text, re.MULTILINE | re.DOTALL)
    if not block:
        raise ProductNameError(f"no menu {menu} in {resource}")
    items = []
    for line in block.group(1).splitlines():
        line = line.strip()
        if line == "MENUITEM SEPARATOR":
            items.append(("", True))
        elif line.startswith("MENUITEM"):
            items.append((re.match(r'MENUITEM\s+"((?:[^"]|"")*)"', line).group(1).replace('""', '"'), False))
    return items


MAIN_WINDOW_CLASS = window_class("MainWindow")
ABOUT_CLASS = window_class("AboutBox")
SETTINGS_CLASS = window_class("SettingsDialog")
FAVOURITES_CLASS = window_class("FavouritesDialog")
FAVOURITE_CLASS = window_class("FavouriteDialog")
SETUP_CLASS = window_class("SetupWindow")
TRAY_ICON_ID = constant("kTrayIconId")
TRAY_CALLBACK = constant("kTrayCallbackMessage")
# The launcher's tray menu as it is without favourites.
TRAY_MENU_ITEMS = menu_items(os.path.join("launcher", "Tolvane.rc"), "IDR_TRAYMENU")

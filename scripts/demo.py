#!/usr/bin/env python3
"""Runs Tolvane.exe in a Wine desktop for a person to try (scripts/run.sh).

The desktop is the e2e harness's (tests/e2e/tolvane_e2e.py): a copy of its
template prefix, the installer's default settings, the program in
C:\\Tolvane. It shows on DISPLAY when that is set, otherwise in the harness's
Xvfb with a screenshot in build/demo/. Ends when the launcher does (its
menu's "Exit Tolvane") or on Ctrl+C; everything started here stops then.
Usage: scripts/demo.py [--preset win64|win32]   (win32: the i686 build under qemu)
"""
import argparse
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEMO_DIR = os.path.join(ROOT, "build", "demo")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--preset", choices=("win64", "win32"), default="win64")
    args = parser.parse_args()
    os.environ["TOLVANE_BIN_DIR"] = os.path.join(ROOT, "build", args.preset, "bin")
    os.environ["TOLVANE_E2E_ARTIFACTS"] = DEMO_DIR
    sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
    import tolvane_e2e as e2e

    run = e2e.E2ERun.get()
    if os.environ.get("DISPLAY"):
        run.display = os.environ["DISPLAY"]
    session = e2e.WineSession("demo", run)
    programs = [n for n in ("Tolvane.exe", "Setup.exe", "Readme.txt")
                if os.path.exists(os.path.join(e2e.bin_dir(), n))]
    session.install_programs({"C:\\Tolvane": programs})
    session.store_settings("C:\\", "vbMaximizedFocus")
    print("== Tolvane runs in a Wine desktop: left-click its icon (bottom right) for the Explorer, "
          "right-click for the menu.\n== Stop with Ctrl+C or the menu's 'Exit Tolvane'.", file=sys.stderr)
    # Without DesktopUser: the desktop ends with the launcher.
    session.start_desktop("C:\\Tolvane\\Tolvane.exe", cwd="C:\\Tolvane", keep=False)
    if run.xvfb is not None:
        time.sleep(5)
        print(f"== screenshot: {session.screenshot('desktop')}", file=sys.stderr)
    try:
        # "wine explorer /desktop" returns once the desktop runs; the launcher
        # is one of the prefix's host processes.
        while any("tolvane.exe" in command.lower() for _pid, command in session.host_processes()):
            time.sleep(1)
    finally:
        run.close()


if __name__ == "__main__":
    main()

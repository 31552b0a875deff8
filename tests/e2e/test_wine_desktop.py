"""The Wine quirk the harness works around with DesktopUser.exe: Wine 8's
server ends a virtual desktop while a one-thread program still runs on it,
about a second after one of the desktop process's own threads ends (here: a
worker it started for an Explorer window that was opened and closed). With a
second thread in that program the desktop stays. When the first row fails,
Wine no longer does this and the harness's DesktopUser can go."""

import os
import time
import unittest

from tolvane_e2e import WineSession, main, require_programs, wait_for

USER = "C:\\e2e\\DesktopUser.exe"


class WineDesktopTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        require_programs("TestDriver.exe", "DesktopUser.exe")

    def test_a_desktop_under_a_one_thread_program_ends_after_an_explorer(self):
        # threads of the only program on the desktop, whether the desktop ends
        for threads, ends in ((1, True), (2, False)):
            with self.subTest(threads=threads):
                s = WineSession(f"wine-desktop-{threads}")
                try:
                    self.check_desktop(s, threads, ends)
                finally:
                    # Before the next row: one desktop at a time on the
                    # display, since a desktop's start looks for its X window by name.
                    s.close()

    def check_desktop(self, s, threads, ends):
        s.start_desktop(USER, args=[str(threads)], keep=False)
        desktop = s.desktop_process()
        self.assertIsNotNone(desktop, s.host_processes())
        # Its own command line, not the desktop's or start.exe's that name it.
        user = wait_for(lambda: [pid for pid, command in s.host_processes() if command.startswith(USER)])
        self.assertEqual(len(user), 1, s.host_processes())
        # Every thread of a Wine process is a thread of its host process.
        self.assertTrue(wait_for(lambda: len(os.listdir(f"/proc/{user[0]}/task")) == threads),
                        os.listdir(f"/proc/{user[0]}/task"))
        s.start_program("C:\\windows\\explorer.exe", args=["/e,C:\\"])
        s.explorer_window_due = True
        self.assertTrue(s.close_windows("ExplorerWClass"))
        started = time.time()
        gone = wait_for(lambda: not s.host_alive(desktop), timeout=10)
        after = time.time() - started
        s.log(f"{threads} thread(s): desktop " + (f"ended after {after:.1f} s" if gone else "stayed"))
        self.assertEqual(bool(gone), ends, f"{threads} thread(s)")
        self.assertTrue(s.host_alive(user[0]), "the program on the desktop ended")

if __name__ == "__main__":
    main()

"""The i686 programs' threads under qemu-i386: a thread that wineserver
interrupts (here, suspended and resumed by another thread while it runs) comes
back on its own TEB. Without the preload library's mend qemu hands it the
newest thread's, and the process later hangs in a wait whose wake-up goes to
the other thread's pipe (README: the i686 programs under qemu-i386)."""

from tolvane_e2e import WineSession, main, require_programs

import unittest

PROGRAM = "C:\\e2e\\SuspendedThread.exe"


class I686ThreadsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        require_programs("SuspendedThread.exe")

    def test_an_interrupted_thread_keeps_its_own_teb(self):
        s = WineSession("i686-threads")
        try:
            s.install_programs({"C:\\e2e": ["SuspendedThread.exe"]})
            for attempt in range(3):
                with self.subTest(attempt=attempt):
                    proc = s.wine(PROGRAM, check=False)
                    self.assertEqual((proc.returncode, proc.stdout.strip()), (0, "own TEB after 20 suspensions, APCs and exceptions"))
        finally:
            s.close()


if __name__ == "__main__":
    main()

"""Harness for end-to-end tests of the Windows programs under Wine + Xvfb.

A test module uses one ``E2ERun`` (its Xvfb, its artifacts folder, the shared
template prefix) and one ``WineSession`` per group of tests: a private copy of
the template prefix with its own Wine virtual desktop ("shell", 800x600) that
shows a taskbar with a notification area. ``session.driver`` wraps
TestDriver.exe, which runs inside the prefix and reports windows, processes,
menus and sends keyboard input.

Everything started here is stopped here: ``wineserver -k`` with the session's
own WINEPREFIX and the Xvfb by its PID, also when a test fails.
"""

import atexit
import glob
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import wine_i686
# Window classes, the tray icon's id and callback, the tray menu: the programs' own.
from product_names import (ABOUT_CLASS, FAVOURITE_CLASS, FAVOURITES_CLASS, MAIN_WINDOW_CLASS,  # noqa: F401
                           SETTINGS_CLASS, SETUP_CLASS, TRAY_CALLBACK, TRAY_ICON_ID, TRAY_MENU_ITEMS)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import tolvane_version  # noqa: E402

SCREEN_W, SCREEN_H = 800, 600
DESKTOP_NAME = "shell"
DRIVER_DIR = "C:\\e2e"
TEMPLATE_FORMAT = "tolvane-template-2"
LAUNCHER_KEY = r"HKLM\software\Varnholt\Tolvane"
# The user's own settings, over the machine's above.
USER_KEY = r"HKCU\Software\Varnholt\Tolvane"
# A settings value to delete rather than write.
MISSING = object()
RUN_KEY = r"HKLM\software\microsoft\windows\currentversion\run"
USER_RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
# Group Policy's values: the computer's (in the system's own registry view) and the user's.
POLICY_KEY = r"HKLM\Software\Policies\Varnholt\Tolvane"
USER_POLICY_KEY = r"HKCU\Software\Policies\Varnholt\Tolvane"
# The notifications the shell sends a tray icon for the keyboard.
NIN_KEYSELECT = 0x401
WM_CONTEXTMENU = 0x7B


def bin_dir():
    path = os.environ.get("TOLVANE_BIN_DIR")
    if not path:
        here = os.path.dirname(os.path.abspath(__file__))
        path = os.path.join(here, "..", "..", "build", "win64", "bin")
    return os.path.abspath(path)


def version_text(name):
    """A text of version/Version.h (version numbers, About texts): the
    programs are built from it, so the tests read it there too."""
    value = tolvane_version.read().get(name)
    if not isinstance(value, str):
        raise E2EError(f"version/Version.h gives no text {name}")
    return value


# Every wait of the harness and the tests is scaled here. On a busy machine
# each of Wine's steps (a wineserver round trip, qemu emulating the i686
# half) waits its turn for a CPU, and a wait that is generous on a quiet
# machine runs out: the taskbar took over 50 s at a load of 6 on 2 CPUs.
# TOLVANE_E2E_TIME_SCALE fixes the factor; otherwise it follows the load per
# CPU, read at each wait, and doubles for i686 programs, which qemu runs
# about three times slower than the x86_64 ones run natively. A wait for
# something that does happen ends as soon as it does, so a larger factor
# costs time only when a test fails.
MAX_TIME_SCALE = 6.0
EMULATED_SCALE = 2.0


def time_scale():
    fixed = os.environ.get("TOLVANE_E2E_TIME_SCALE")
    if fixed:
        return max(1.0, float(fixed))
    try:
        per_cpu = os.getloadavg()[0] / (os.cpu_count() or 1)
    except OSError:
        per_cpu = 1.0
    emulated = EMULATED_SCALE if _emulated() else 1.0
    return min(MAX_TIME_SCALE * emulated, max(1.0, per_cpu) * emulated)


_arch = None


def _emulated():
    global _arch
    if _arch is None:
        _arch = programs_arch()
    return _arch == "i686"


def scaled(seconds):
    """seconds, as long as the machine is busy now."""
    return seconds * time_scale()


def wait_for(condition, timeout=5.0, interval=0.2):
    """Polls condition() until it gives a true value or the (scaled) time is
    up; returns its last value. For a check that something did not happen,
    wait for a later event that shows the program got that far, not for a
    fixed time."""
    deadline = time.time() + scaled(timeout)
    while True:
        value = condition()
        if value or time.time() >= deadline:
            return value
        time.sleep(interval)


def programs_arch():
    """'i686' or 'x86_64': the machine type of the programs under test."""
    for name in ("Tolvane.exe", "Setup.exe"):
        arch = wine_i686.pe_machine(os.path.join(bin_dir(), name))
        if arch:
            return arch
    return "x86_64"


def driver_dir():
    """Where TestDriver.exe comes from. It watches the desktop and the
    Explorer, which are 64-bit in every prefix here, so it is the x86_64 one
    also for i686 programs (the win64 build beside theirs); only its menu
    probe must match the program it hooks (see Driver.menu)."""
    path = os.environ.get("TOLVANE_DRIVER_DIR")
    if not path:
        path = bin_dir() if programs_arch() == "x86_64" else os.path.join(
            os.path.dirname(os.path.dirname(bin_dir())), "win64", "bin")
    return os.path.abspath(path)


_i686_wine = None


def i686_wine():
    """The prepared 32-bit Wine half (prepared once per process)."""
    global _i686_wine
    if _i686_wine is None:
        _i686_wine = wine_i686.WineI686().prepare()
    return _i686_wine


def require_programs(*names):
    """Skips the calling test class when a program is not built yet."""
    missing = [n for n in names if not os.path.exists(os.path.join(bin_dir(), n))]
    observer = os.path.join(driver_dir(), "TestDriver.exe")
    if "TestDriver.exe" in names and not os.path.exists(observer):
        missing.append(observer)
    if missing:
        raise unittest.SkipTest("not built: " + ", ".join(missing) + " in " + bin_dir())


def _base_env():
    env = dict(os.environ)
    env.update({
        "WINEDEBUG": os.environ.get("TOLVANE_E2E_WINEDEBUG", "-all"),
        "WINEARCH": "win64",
        # No Mono/Gecko download dialogs while a prefix is created.
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        # Non-ASCII arguments reach Wine programs intact only in a UTF-8 locale.
        "LANG": "C.UTF-8",
        "LC_ALL": "C.UTF-8",
    })
    env.pop("WINESERVER", None)
    if programs_arch() == "i686":
        env = i686_wine().env(env)
    return env


def _wine_start_failed(proc):
    text = (proc.stdout or "") + (proc.stderr or "")
    return "could not be started" in text or "ShellExecuteEx failed" in text


class E2EError(AssertionError):
    pass


# --------------------------------------------------------------------- run


class E2ERun:
    """Per-process state: Xvfb, artifacts folder, template prefix."""

    _instance = None

    @classmethod
    def get(cls):
        if cls._instance is None:
            cls._instance = E2ERun()
            atexit.register(cls._instance.close)
        return cls._instance

    def __init__(self):
        self.work_root = os.environ.get("TOLVANE_E2E_WORK") or os.path.join(
            os.path.dirname(bin_dir()), "e2e-work")
        os.makedirs(self.work_root, exist_ok=True)
        stamp = time.strftime("%Y%m%d-%H%M%S")
        module = os.path.splitext(os.path.basename(sys.argv[0]))[0] or "e2e"
        self.artifacts = os.environ.get("TOLVANE_E2E_ARTIFACTS") or os.path.join(
            self.work_root, "artifacts", f"{stamp}-{module}-{os.getpid()}")
        os.makedirs(self.artifacts, exist_ok=True)
        self.xvfb = None
        self.display = None
        self.sessions = []
        self._install_signal_handlers()

    def _install_signal_handlers(self):
        def handler(signum, _frame):
            self.close()
            sys.exit(128 + signum)
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            try:
                signal.signal(sig, handler)
            except (ValueError, OSError):
                pass

    def log(self, text):
        with open(os.path.join(self.artifacts, "harness.log"), "a", encoding="utf-8") as f:
            f.write(f"{time.strftime('%H:%M:%S')} {text}\n")

    def ensure_display(self):
        """The display of every session: a private Xvfb, started once, unless
        the caller set ``display`` to one of its own (scripts/demo.py)."""
        if self.display is not None:
            return self.display
        read_fd, write_fd = os.pipe()
        self._xvfb_log = open(os.path.join(self.artifacts, "xvfb.log"), "w")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
            stderr=self._xvfb_log)
        os.close(write_fd)
        data = b""
        deadline = time.time() + scaled(15)
        while not data.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_fd, 64)
            if not chunk:
                break
            data += chunk
        os.close(read_fd)
        if not data.strip():
            raise E2EError("Xvfb did not report a display")
        self.display = ":" + data.decode().strip()
        self.log(f"Xvfb pid {self.xvfb.pid} on {self.display}")
        return self.display

    def template_prefix(self):
        """One prepared prefix, shared read-only by all sessions; created once
        (under a lock, so parallel test processes wait for each other)."""
        arch = programs_arch()
        # i686 programs need a prefix made with the 32-bit half (syswow64).
        path = os.path.join(self.work_root, "template-prefix" + ("-i686" if arch == "i686" else ""))
        marker = os.path.join(path, ".tolvane-template-ready")
        # A new Wine or a change of the preparation below makes a new template.
        wine_version = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                                      env=_base_env()).stdout.strip()
        stamp = f"{TEMPLATE_FORMAT} {wine_version}"
        if arch == "i686":
            stamp += " " + i686_wine().stamp

        def make():
            shutil.rmtree(path, ignore_errors=True)
            self._make_template(path)
        wine_i686.make_once(os.path.join(self.work_root, "template.lock"), marker, stamp, make)
        return path

    def _make_template(self, path):
        started = time.time()
        env = _base_env()
        env["WINEPREFIX"] = path
        env.pop("DISPLAY", None)
        try:
            subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=scaled(180), check=False)
            subprocess.run(["wineserver", "-w"], env=env, timeout=scaled(120), check=False)
            syswow64 = os.path.join(path, "drive_c", "windows", "syswow64")
            if programs_arch() == "i686" and len(os.listdir(syswow64) if os.path.isdir(syswow64) else []) < 100:
                raise E2EError(f"the prefix {path} got no 32-bit half (syswow64 nearly empty)")
            regs = [
                # Every process of the prefix joins the one virtual desktop,
                # also the driver started later with plain "wine".
                (r"HKCU\Software\Wine\Explorer", "Desktop", DESKTOP_NAME),
                (r"HKCU\Software\Wine\Explorer\Desktops", DESKTOP_NAME, f"{SCREEN_W}x{SCREEN_H}"),
                # A crashing program must fail the test, not wait in a dialog.
                (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", None),
            ]
            for key, name, value in regs:
                if value is None:
                    cmd = ["wine", "reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", "0", "/f"]
                else:
                    cmd = ["wine", "reg", "add", key, "/v", name, "/d", value, "/f"]
                subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=scaled(60))
        finally:
            subprocess.run(["wineserver", "-k"], env=env, timeout=scaled(60), check=False)
            subprocess.run(["wineserver", "-w"], env=env, timeout=scaled(60), check=False)
        # The prefix must not see the host's root folder.
        zdrive = os.path.join(path, "dosdevices", "z:")
        if os.path.lexists(zdrive):
            os.remove(zdrive)
        # Debian's Wine does not find its own fonts (MS Sans Serif, Tahoma) by
        # itself; without them every face falls back to a much wider one.
        fonts_dir = os.path.join(path, "drive_c", "windows", "Fonts")
        for font in glob.glob("/usr/share/wine/fonts/*.ttf") + glob.glob("/usr/share/wine/fonts/*.fon"):
            shutil.copy(font, fonts_dir)
        self.log(f"template prefix created in {time.time() - started:.1f} s")

    def close(self):
        for session in list(self.sessions):
            session.close()
        if self.xvfb is not None:
            if self.xvfb.poll() is None:
                self.xvfb.terminate()
                try:
                    self.xvfb.wait(5)
                except subprocess.TimeoutExpired:
                    self.xvfb.kill()
                    self.xvfb.wait()
            self.xvfb = None
            self._xvfb_log.close()


# --------------------------------------------------------------------- driver


class Watch:
    """A running ``TestDriver watch``: start it, act, then collect()."""

    def __init__(self, driver, ms, name, count=0, settle=0):
        args = ["watch", "--ms", str(int(scaled(ms / 1000) * 1000))]
        if name:
            args += ["--name", name]
        if count:
            args += ["--count", str(count), "--settle", str(settle)]
        self.proc = driver.popen(args)
        self.facts = []
        ready, _, _ = select.select([self.proc.stdout], [], [], scaled(30))
        if not ready:
            self.proc.kill()
            self.proc.communicate()
            raise E2EError("process watch did not start in time")
        line = self.proc.stdout.readline()
        if not line:
            raise E2EError("process watch did not start")
        self.facts.append(json.loads(line))

    def collect(self, timeout=30):
        out, _ = self.proc.communicate(timeout=scaled(timeout))
        self.facts += [json.loads(line) for line in out.splitlines() if line.strip()]
        return [f for f in self.facts if f["fact"] == "new-process"]


class Driver:
    """TestDriver.exe inside the session's prefix; every call returns the
    JSON facts it printed (list of dicts)."""

    def __init__(self, session):
        self.session = session
        self.exe = DRIVER_DIR + "\\TestDriver.exe"
        # The menu probe runs inside the program under test: for i686
        # programs it is the i686 driver that sets the hook with its own probe.
        self.menu_exe = self.exe if programs_arch() == "x86_64" else DRIVER_DIR + "\\i686\\TestDriver.exe"

    def popen(self, args):
        env = dict(self.session.env, TOLVANE_E2E_TIME_SCALE=f"{time_scale():.2f}")
        return subprocess.Popen(["wine", self.exe] + [str(a) for a in args], env=env,
                                cwd=self.session.drive_c, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                text=True, encoding="utf-8")

    def run(self, *args, timeout=30, check=True, exe=None):
        for attempt in range(3):
            # The driver's own waits follow the same factor.
            env = dict(self.session.env, TOLVANE_E2E_TIME_SCALE=f"{time_scale():.2f}")
            proc = subprocess.run(["wine", exe or self.exe] + [str(a) for a in args], env=env,
                                  cwd=self.session.drive_c, capture_output=True, text=True, encoding="utf-8",
                                  timeout=scaled(timeout))
            facts = [json.loads(line) for line in proc.stdout.splitlines() if line.startswith("{")]
            # Now and then Wine fails to start a program at all ("Application
            # could not be started", or an exit code and no output): no fact
            # came out, so nothing happened yet and the call can be repeated.
            if facts or (proc.returncode == 0 and not _wine_start_failed(proc)):
                break
            self.session.log(f"driver {args}: no output, exit {proc.returncode}, again ({attempt + 1}): "
                             f"{proc.stderr.strip()[-300:]}")
            time.sleep(0.5)
        errors = [f for f in facts if f["fact"] == "error"]
        if check and errors:
            raise E2EError(f"driver {args}: {errors[0]['message']}")
        return facts

    # windows
    def windows(self, cls=None, caption=None, pid=None, visible=False):
        args = ["windows"] + self._filter(cls, caption, pid, visible)
        return [f for f in self.run(*args) if f["fact"] == "window"]

    def wait_window(self, cls=None, caption=None, pid=None, visible=False, timeout=5.0):
        """The first matching top-level window, or None after the timeout."""
        args = ["wait-window", "--timeout", int(scaled(timeout) * 1000)] + self._filter(cls, caption, pid, visible)
        facts = self.run(*args, timeout=timeout + 30)
        return next((f for f in facts if f["fact"] == "window"), None)

    def wait_window_gone(self, cls=None, caption=None, pid=None, visible=False, timeout=5.0):
        args = ["wait-window", "--gone", "--timeout", int(scaled(timeout) * 1000)] + self._filter(cls, caption, pid,
                                                                                                visible)
        return any(f["fact"] == "gone" for f in self.run(*args, timeout=timeout + 30))

    @staticmethod
    def _filter(cls, caption, pid, visible):
        args = []
        if cls:
            args += ["--class", cls]
        if caption:
            args += ["--caption", caption]
        if pid:
            args += ["--pid", pid]
        if visible:
            args.append("--visible")
        return args

    def controls(self, hwnd):
        return [f for f in self.run("controls", hwnd) if f["fact"] == "control"]

    def focus(self):
        return self.run("focus")[0]

    def cursor(self):
        fact = self.run("cursor")[0]
        return fact["x"], fact["y"]

    def set_foreground(self, hwnd):
        return self.run("set-foreground", hwnd, check=False)[0].get("ok", False)

    def close_window(self, hwnd):
        return self.run("close", hwnd)

    # input
    def keys(self, *chords, delay_ms=60):
        """Chords like "down", "enter", "esc", "alt+b", sent with SendInput."""
        return self.run("keys", "--delay", delay_ms, *chords)

    def type_text(self, text, delay_ms=15):
        return self.run("type", "--delay", delay_ms, text)

    # processes
    def processes(self, name=None):
        args = ["processes"] + (["--name", name] if name else [])
        return [f for f in self.run(*args) if f["fact"] == "process"]

    def watch(self, ms=3000, name=None, count=0, settle=0):
        return Watch(self, ms, name, count, settle)

    def alive(self, pid):
        return self.run("alive", pid)[0]["alive"]

    def wait_idle(self, pid, timeout=5.0):
        """True once the process waits for input with none pending (its start is over)."""
        return self.run("wait-idle", pid, "--timeout", int(scaled(timeout) * 1000),
                        timeout=timeout + 30)[0]["idle"]

    def shell_ready(self):
        """True once the desktop's Explorer answers for its window through ShellWindows."""
        return self.run("shell-ready")[0]["ready"]

    # tray
    def tray_delete(self, hwnd, uid=TRAY_ICON_ID):
        return self.run("tray-delete", hwnd, "--uid", uid, check=False)[0].get("ok", False)

    def taskbar_created(self, hwnd=None):
        return self.run("taskbar-created", *([hwnd] if hwnd else []))[0]

    def post(self, hwnd, message, wparam=0, lparam=0, times=1):
        return self.run("post", hwnd, message, wparam, lparam, "--times", times)

    def hold_hotkey(self, modifiers, vk, ms=20000):
        """Another program holding a key combination (RegisterHotKey) for ms;
        returns the running driver, stopped by the session or by .kill()."""
        proc = self.popen(["hold-hotkey", "--mods", modifiers, "--vk", vk, "--ms", ms])
        self.session.programs.append(proc)
        ready, _, _ = select.select([proc.stdout], [], [], scaled(30))
        fact = json.loads(proc.stdout.readline()) if ready else {}
        if not fact.get("ok"):
            raise E2EError(f"could not hold the hotkey: {fact}")
        return proc

    def hold(self, *args):
        """Another program holding something (hold-window, hold-mutex) until
        stopped; returns the running driver and its first fact."""
        proc = self.popen(list(args))
        self.session.programs.append(proc)
        ready, _, _ = select.select([proc.stdout], [], [], 30)
        fact = json.loads(proc.stdout.readline()) if ready else {}
        if not fact.get("ok"):
            raise E2EError(f"could not hold {args}: {fact}")
        return proc, fact

    def menu(self, owner_hwnd):
        """The open popup menu of the owner's thread, read by MenuProbe.dll:
        (menu fact, [menu-item facts]); menu fact has open, count, default."""
        facts = self.run("menu", owner_hwnd, exe=self.menu_exe)
        head = next(f for f in facts if f["fact"] == "menu")
        return head, [f for f in facts if f["fact"] == "menu-item"]

    def listview(self, hwnd):
        """A list view's rows, read by MenuProbe.dll inside its own process:
        (list fact with count, columns and enabled, [row facts with cells and selected])."""
        facts = self.run("listview", hwnd, exe=self.menu_exe)
        head = next(f for f in facts if f["fact"] == "listview")
        return head, [f for f in facts if f["fact"] == "row"]


# --------------------------------------------------------------------- session


class WineSession:
    """A private prefix (copy of the template) with its own virtual desktop.

    Typical use::

        s = WineSession("launcher-left")
        s.install_programs({"C:\\Tolvane": ["Tolvane.exe"]})
        s.reg_set(LAUNCHER_KEY, "Pfad", "C:\\x")
        s.start_desktop("C:\\Tolvane\\Tolvane.exe")
        x, y = s.wait_tray_icons(1)[0]
        s.click(x, y)
        ...
        s.close()
    """

    # The display language Wine gives the programs, from the locale of the
    # environment at each start: GetUserDefaultUILanguage() is 0x0407 for German.
    LOCALES = {"English": "C.UTF-8", "German": "de_DE.UTF-8"}

    def __init__(self, name, run=None, language="English"):
        self.run_ctx = run or E2ERun.get()
        self.language = language
        self.name = name
        self.display = self.run_ctx.ensure_display()
        template = self.run_ctx.template_prefix()
        self.root = tempfile.mkdtemp(prefix=f"{name}-", dir=self.run_ctx.work_root)
        self.prefix = os.path.join(self.root, "prefix")
        started = time.time()
        subprocess.run(["cp", "-a", template, self.prefix], check=True)
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.env = _base_env()
        self.env["WINEPREFIX"] = self.prefix
        self.env["DISPLAY"] = self.display
        self.env["LANG"] = self.env["LC_ALL"] = self.LOCALES[language]
        self.desktop = None
        self.programs = []
        # An Explorer started by a click opens its window a moment later.
        self.explorer_window_due = False
        self.closed = False
        self.shot_count = 0
        self.run_ctx.sessions.append(self)
        self.driver = Driver(self)
        self.install_files(DRIVER_DIR, [os.path.join(driver_dir(), "TestDriver.exe"),
                                        os.path.join(driver_dir(), "MenuProbe.dll"),
                                        os.path.join(driver_dir(), "DesktopUser.exe")])
        if programs_arch() == "i686":
            self.install_files(DRIVER_DIR + "\\i686", [os.path.join(bin_dir(), "TestDriver.exe"),
                                                      os.path.join(bin_dir(), "MenuProbe.dll")])
        self.log(f"prefix copied in {time.time() - started:.1f} s to {self.prefix}")

    def log(self, text):
        self.run_ctx.log(f"[{self.name}] {text}")

    # files
    def host_path(self, windows_path):
        """Host path of a C:\\ path inside this prefix."""
        if not windows_path[:3].upper() == "C:\\":
            raise ValueError("only C: paths live in the prefix: " + windows_path)
        rest = windows_path[3:].replace("\\", "/")
        return os.path.join(self.drive_c, rest)

    def install_files(self, windows_dir, host_files):
        target = self.host_path(windows_dir)
        os.makedirs(target, exist_ok=True)
        for f in host_files:
            shutil.copy2(f, target)

    def install_programs(self, mapping):
        """{windows_dir: [names in the build's bin dir]}"""
        for windows_dir, names in mapping.items():
            self.install_files(windows_dir, [os.path.join(bin_dir(), n) for n in names])

    def make_dirs(self, *windows_dirs):
        for d in windows_dirs:
            os.makedirs(self.host_path(d), exist_ok=True)

    # processes
    def wine(self, *args, timeout=60, check=True, input_text=None):
        for attempt in range(3):
            proc = subprocess.run(["wine"] + list(args), env=self.env, cwd=self.drive_c, capture_output=True,
                                  text=True, encoding="utf-8", errors="replace", timeout=scaled(timeout),
                                  input=input_text)
            if proc.returncode == 0 or not _wine_start_failed(proc):
                break
            self.log(f"wine {args}: did not start, again ({attempt + 1})")
            time.sleep(0.5)
        if check and proc.returncode != 0:
            raise E2EError(f"wine {args} failed ({proc.returncode}): {proc.stdout} {proc.stderr}")
        return proc

    def _wine_log(self):
        """Wine's own trace (TOLVANE_E2E_WINEDEBUG) goes to the artifacts."""
        if "TOLVANE_E2E_WINEDEBUG" not in os.environ:
            return subprocess.DEVNULL
        return open(os.path.join(self.run_ctx.artifacts, f"{self.name}-wine.log"), "a")

    def start_desktop(self, program=None, cwd="C:\\", args=(), keep=True):
        """Starts the virtual desktop with its taskbar (and the program in it).
        keep: a two-thread DesktopUser.exe joins it, without which Wine may
        end the desktop under a one-thread program (README, Wine quirks)."""
        command = ["wine", "explorer", f"/desktop={DESKTOP_NAME},{SCREEN_W}x{SCREEN_H}"]
        if program:
            command += [program, *args]
        wine_log = self._wine_log()
        self.desktop = subprocess.Popen(command, env=self.env, cwd=self.host_path(cwd), stdout=subprocess.DEVNULL,
                                        stderr=wine_log)
        if wine_log != subprocess.DEVNULL:
            wine_log.close()
        # A Wine program that starts while the desktop is still being created
        # can hang in its own desktop start-up, so wait for the X window of the
        # desktop before the driver runs.
        deadline = time.time() + scaled(30)
        while time.time() < deadline:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine desktop"], env=self.env,
                                   capture_output=True, text=True)
            if found.stdout.strip():
                break
            time.sleep(0.2)
        else:
            # What was running says where the start stopped.
            shot = self.screenshot("desktop-missing")
            self.log(f"no desktop window (see {shot}); running: "
                     + "; ".join(command for _pid, command in self.host_processes()))
            raise E2EError("the Wine desktop window did not appear")
        if keep:
            self.start_program(DRIVER_DIR + "\\DesktopUser.exe", args=["2"])
        time.sleep(0.5)
        if not self.driver.wait_window(cls="Shell_TrayWnd", visible=True, timeout=20):
            raise E2EError("the desktop's taskbar did not appear")
        if os.path.lexists(os.path.join(self.prefix, "dosdevices", "z:")):
            raise E2EError("the test prefix maps the host's root folder as Z:")
        self.log(f"desktop started with {program}")
        if programs_arch() == "i686":
            self.log("under qemu-i386: " + "; ".join(wine_i686.emulated_commands(self.prefix)))

    def desktop_process(self):
        """The host pid of the desktop's own process (Wine's "explorer.exe
        /desktop") in this prefix, or None. Looked up from outside: a driver
        started after the desktop ended would make a new one."""
        for pid, command in self.host_processes():
            if command.startswith("C:\\windows\\system32\\explorer.exe /desktop"):
                return pid
        return None

    def host_processes(self):
        """(host pid, command line) of the processes running in this prefix."""
        return [(pid, b" ".join(args).decode(errors="replace").strip())
                for pid, args in wine_i686.prefix_processes(self.prefix)]

    @staticmethod
    def host_alive(pid):
        """True while the host process runs (an exited one may linger as a zombie)."""
        try:
            with open(f"/proc/{pid}/stat") as f:
                return f.read().rsplit(")", 1)[1].split()[0] != "Z"
        except OSError:
            return False

    def start_program(self, program, cwd="C:\\", args=()):
        """Starts one more program on the running desktop (not waited for)."""
        proc = subprocess.Popen(["wine", program, *args], env=self.env, cwd=self.host_path(cwd),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.programs.append(proc)
        return proc

    # screen
    def screenshot(self, label):
        self.shot_count += 1
        path = os.path.join(self.run_ctx.artifacts, f"{self.name}-{self.shot_count:02d}-{label}.png")
        subprocess.run(["import", "-display", self.display, "-window", "root", path], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=scaled(30))
        return path

    def _pixels(self):
        """(width, height, bytes) of the screen as RGB."""
        proc = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, check=True, timeout=scaled(30))
        data = proc.stdout
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        width, height = int(fields[1]), int(fields[2])
        return width, height, data[pos:]

    def tray_icons(self):
        """Centres of the icons in the notification area, right to left.

        Wine's taskbar lays the icons out from the right edge in slots of
        (small icon width + 4) pixels; a slot counts as taken when it holds
        pixels of another colour than the taskbar's."""
        bars = self.driver.windows(cls="Shell_TrayWnd", visible=True)
        if not bars:
            return []
        left, top, right, bottom = bars[0]["rect"]
        width, _height, pix = self._pixels()

        def px(x, y):
            i = (y * width + x) * 3
            return pix[i:i + 3]

        # The last column of the bar is never covered by an icon.
        background = px(right - 1, top + (bottom - top) // 2)
        slot = 20
        centres = []
        for k in range(12):
            x1, x0 = right - slot * k, right - slot * (k + 1)
            busy = sum(1 for x in range(x0 + 2, x1 - 2) for y in range(top + 2, bottom - 2)
                       if px(x, y) != background)
            if busy < 6:
                break
            centres.append((x0 + slot // 2 - 1, top + (bottom - top) // 2))
        return centres

    def wait_tray_icons(self, count, timeout=15.0):
        icons = []

        def enough():
            icons[:] = self.tray_icons()
            return len(icons) >= count
        if wait_for(enough, timeout):
            return icons
        self.screenshot("tray-icons-missing")
        raise E2EError(f"expected {count} tray icon(s), found {len(icons)}")

    def wait_tray_icon_count(self, count, timeout=5.0):
        """True once exactly ``count`` icons show."""
        return wait_for(lambda: len(self.tray_icons()) == count, timeout)

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True, timeout=scaled(30))

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", x, y, "click", button)

    def park_mouse(self):
        """Moves the pointer to an empty spot of the desktop."""
        self.xdotool("mousemove", 400, 300)

    def click_and_watch(self, x, y, button=1, name="explorer.exe", ms=3000, count=0, settle=800):
        """Clicks while TestDriver watches for new processes named ``name``.

        Returns the new-process facts; each gets ``delay_ms``: the time from
        the release of the button, as Wine saw it, to the process start (None
        when the driver saw no release before the start)."""
        watch = self.driver.watch(ms, name, count, settle)
        self.click(x, y, button)
        procs = watch.collect()
        side = {1: "left", 3: "right"}.get(button)
        releases = [f["tick"] for f in watch.facts
                    if f["fact"] == "button" and f["button"] == side and not f["down"]]
        for proc in procs:
            before = [t for t in releases if t <= proc["tick"]]
            proc["delay_ms"] = proc["tick"] - before[-1] if before else None
        self.log(f"click {button} at ({x},{y}): " + "; ".join(
            f"{p['image']} [{p['cmdline']}] show={p['show']} after {p['delay_ms']} ms" for p in procs))
        if name.lower() == "explorer.exe" and procs:
            self.explorer_window_due = True
        if len(procs) != count and count:
            self.log("  unexpected; everything the watch saw: " + json.dumps(watch.facts, ensure_ascii=False))
            self.screenshot("unexpected-process-count")
        return procs

    def close_windows(self, cls, visible=False, timeout=10.0):
        """Asks every top-level window of the class (only visible ones with
        visible=True) to close with WM_CLOSE, again each second, since a window
        that is still starting up may not act on it; True once none is left."""
        if cls == "ExplorerWClass" and self.explorer_window_due:
            # Closing before the window exists would leave it to appear later,
            # maximized over the taskbar, and take the next click.
            self.driver.wait_window(cls=cls, timeout=5)
            self.explorer_window_due = False
        deadline = time.time() + scaled(timeout)
        while True:
            windows = self.driver.windows(cls=cls, visible=visible)
            if not windows:
                return True
            if time.time() >= deadline:
                return False
            for window in windows:
                self.driver.close_window(window["hwnd"])
            self.driver.wait_window_gone(cls=cls, visible=visible, timeout=1.0)

    # registry: the 32-bit view of HKLM, where the programs keep the machine's
    # values; HKCU has one view
    @staticmethod
    def _view(key):
        upper = key.upper()
        return ["/reg:32"] if upper.startswith("HKLM") and "\\POLICIES\\" not in upper else []

    def reg_set(self, key, name, value, kind="REG_SZ"):
        self.wine("reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f", *self._view(key))

    def reg_get(self, key, name):
        """The value's text (REG_SZ), or None when it is absent. Read by the
        driver: "wine reg query" loses letters outside the console code page."""
        fact = next(f for f in self.driver.run("reg-get", key, name) if f["fact"] == "reg-value")
        if not fact["exists"]:
            return None
        return fact.get("value")

    def store_settings(self, folder, mode, key=LAUNCHER_KEY):
        """Writes (or, for MISSING, deletes) the launcher's "Pfad" and "Modus":
        the machine's defaults, or the user's own with key=USER_KEY."""
        for name, value in (("Pfad", folder), ("Modus", mode)):
            if value is MISSING:
                self.reg_delete(key, name)
            else:
                self.reg_set(key, name, value)

    # the launcher
    def start_launcher(self, exe, cwd, with_desktop=True):
        """Starts Tolvane.exe (with the desktop, or on the running one); returns
        its main window and the centre of its tray icon."""
        if with_desktop:
            self.start_desktop(exe, cwd=cwd)
            proc = None
        else:
            proc = self.start_program(exe, cwd=cwd)
        try:
            window = self.driver.wait_window(cls=MAIN_WINDOW_CLASS, caption="Tolvane", timeout=10)
            if window is None:
                raise E2EError("the launcher's main window did not appear")
            icon = self.wait_tray_icons(1)[0]
            # Its hotkeys and keyboard hook come after the icon.
            if not self.driver.wait_idle(window["pid"], timeout=10):
                raise E2EError("the launcher's start did not end")
        except E2EError:
            # A launcher left running makes the next case's one say "already
            # running": a start that failed leaves none behind.
            shot = self.screenshot("launcher-start-failed")
            self.log(f"the launcher's start failed (see {shot}); ending it")
            if proc is not None:
                for left in self.driver.windows(cls=MAIN_WINDOW_CLASS):
                    self.wine("taskkill", "/f", "/pid", str(left["pid"]), check=False)
                proc.kill()
                proc.wait(timeout=scaled(30))
                wait_for(lambda: not self.driver.windows(cls=MAIN_WINDOW_CLASS), timeout=10)
            raise
        return window, icon

    def choose_from_tray_menu(self, icon, access_key):
        """Right-click on the icon, then the item's access key, as a user would."""
        for attempt in range(2):
            self.click(*icon, button=3)
            if self.driver.wait_window(cls="#32768", visible=True, timeout=5) is not None:
                break
            # An Explorer window that showed up late (maximized ones cover the
            # taskbar in Wine's desktop) takes the click; keep the evidence,
            # close it and click again once.
            shot = self.screenshot("tray-menu-missing")
            self.log(f"right click at {icon} opened no menu (see {shot}); closing Explorer windows")
            if attempt == 1 or not self.driver.windows(cls="ExplorerWClass", visible=True):
                raise E2EError(f"the tray menu did not open (screenshot {shot})")
            self.close_windows("ExplorerWClass")
        self.driver.keys(access_key)
        if not self.driver.wait_window_gone(cls="#32768", visible=True, timeout=5):
            raise E2EError("the tray menu did not close")
        self.park_mouse()

    def tray_notify(self, launcher, notification, x, y, times=1):
        """Posts the launcher's tray callback as the shell does for a version-4
        icon: lParam = notification | icon id << 16, wParam = the position."""
        self.driver.post(launcher["hwnd"], TRAY_CALLBACK, (y << 16) | x, (TRAY_ICON_ID << 16) | notification, times)

    def reg_delete(self, key, name=None):
        args = ["reg", "delete", key] + (["/v", name] if name else []) + ["/f"] + self._view(key)
        self.wine(*args, check=False)

    # teardown
    def close(self):
        if self.closed:
            return
        self.closed = True
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, timeout=scaled(60))
        try:
            subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=scaled(30))
        except subprocess.TimeoutExpired:
            pass
        for proc in [self.desktop] + self.programs:
            if proc is None:
                continue
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if not os.environ.get("TOLVANE_E2E_KEEP"):
            shutil.rmtree(self.root, ignore_errors=True)
        if self in self.run_ctx.sessions:
            self.run_ctx.sessions.remove(self)
        self.log("closed")


TEXT_FILES_KEY = r"HKCR\.txt"


def associate_text_files(session, associated=True):
    """What every Windows has and Wine 8.0's prefix lacks: .txt files opened
    by Notepad (Wine's "txtfile" class), or no association. Machine-wide:
    Wine's shell looks up the extension in HKEY_CLASSES_ROOT without the
    user's own classes."""
    if associated:
        session.wine("reg", "add", TEXT_FILES_KEY, "/ve", "/d", "txtfile", "/f")
    else:
        session.wine("reg", "delete", TEXT_FILES_KEY, "/f", check=False)


def open_guide_with_f1(session, folder, opens=True, guide="Readme.txt"):
    """F1 in the launcher's focused window. When it opens the guide, one
    Notepad starts, asked for exactly <folder>\\<guide> (closed again),
    and no message shows: []. With opens=False no Notepad may start, and the
    texts of the launcher's message (closed again) are returned."""
    guide = folder + "\\" + guide
    pressed_in = session.driver.focus()["foreground"]
    watch = session.driver.watch(3000, "notepad.exe", count=1, settle=300)
    session.driver.keys("f1")
    started = watch.collect()
    box = session.driver.wait_window(cls="#32770", caption="Tolvane", visible=True, timeout=0.5 if opens else 5)
    for proc in started:
        for window in session.driver.windows(pid=proc["pid"]):
            session.driver.close_window(window["hwnd"])
    if started:
        wait_for(lambda: not any(session.driver.alive(proc["pid"]) for proc in started), timeout=scaled(10))
        # As a user would click it: the i686 Wine under emulation does not
        # always give the activation back to the window Notepad came over.
        wait_for(lambda: session.driver.set_foreground(pressed_in) and
                 session.driver.focus()["foreground"] == pressed_in, timeout=scaled(5))
    commands = [p["cmdline"] for p in started]
    wanted = [f'"C:\\windows\\system32\\notepad.exe" "{guide}"'] if opens else []
    if [c.lower() for c in commands] != [c.lower() for c in wanted]:
        raise AssertionError(f"F1 started {commands}, wanted {wanted}")
    if box is None:
        return []
    texts = [c["text"] for c in session.driver.controls(box["hwnd"]) if c["class"] == "Static" and c["text"]]
    session.driver.close_window(box["hwnd"])
    session.driver.wait_window_gone(cls="#32770", caption="Tolvane", timeout=5)
    return texts


class SessionTest(unittest.TestCase):
    """A test class with one session for all its tests: named SESSION, with
    the build's files INSTALL ({windows_dir: [names]}) in place before
    prepare_session() runs; closed after the last test."""

    SESSION = "e2e"
    LANGUAGE = "English"  # or "German": the display language of the session
    INSTALL = {}
    # Besides INSTALL's files, what the class needs built.
    NEEDS = ("TestDriver.exe", "MenuProbe.dll")

    @classmethod
    def setUpClass(cls):
        installed = [name for names in cls.INSTALL.values() for name in names]
        require_programs(*dict.fromkeys(installed), *cls.NEEDS)
        cls.s = WineSession(cls.SESSION, language=cls.LANGUAGE)
        cls.addClassCleanup(cls.s.close)
        cls.s.install_programs(cls.INSTALL)
        cls.prepare_session()

    @classmethod
    def prepare_session(cls):
        """Settings, folders and started programs of the class's session."""


def main():
    """Runs the calling module's tests; the exit code tells ctest the result."""
    try:
        unittest.main(module="__main__", verbosity=2)
    finally:
        if E2ERun._instance is not None:
            E2ERun._instance.close()

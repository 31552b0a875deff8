"""Wine for the i686 programs on a machine whose CPU runs no 32-bit code.

The 32-bit half of Wine (Debian's wine32:i386 and libwine:i386, at exactly the
installed wine64's version, and the i386 libraries they load) is unpacked into
a private root under build/i686-wine/ and its loader runs under qemu-i386;
wineserver, the desktop, the Explorer and every other 64-bit process stay
native. Nothing is installed system-wide and dpkg never learns of i386: the
packages come from apt-get download with a private apt state.

How a 32-bit process gets to qemu: Wine 8 starts one as
"<bin folder of the running loader>/wine-preloader <same>/wine EXE ...".
Debian ships no wine-preloader, so a copy of the wine64 loader placed in the
root's usr/lib/wine/ beside our own wine-preloader script hands every 32-bit
start (from a 64-bit or a 32-bit parent) to qemu, and 32-bit parents start
64-bit children through that same copy. The commands in ``bin`` (wine,
wineboot, wineserver) go through it; put that folder first in PATH.

``python3 tests/e2e/wine_i686.py`` prepares the root (once; later runs reuse
it) and prints the bin folder.
"""

import fcntl
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
GUEST_FIXES = os.path.join(HERE, "i686", "guest_fixes.c")
sys.path.insert(0, os.path.join(REPO, "scripts"))
import pe_header  # noqa: E402
ROOT_FORMAT = "tolvane-i686-wine-2"
# qemu keeps a 32-bit process's memory at host address = guest address + this
# base. Left to itself it picks the lowest free one (page 1 here), which moves
# with the host's vm.mmap_min_addr; fixed, the test driver can name the host
# address of what a 32-bit process keeps in its memory (the server reads it
# there). 64 KiB is Debian's default mmap_min_addr.
GUEST_BASE = 0x10000
# What the i386 loader and Wine's 32-bit unix libraries load.
I386_LIBRARIES = [
    "libc6", "libgcc-s1", "zlib1g", "libbrotli1", "libpng16-16", "libfreetype6", "libexpat1",
    "libfontconfig1", "libmd0", "libbsd0", "libxau6", "libxdmcp6", "libxcb1", "libx11-6", "libxext6",
    "libxrender1", "libxfixes3", "libxcursor1", "libxi6", "libxrandr2", "libxinerama1", "libxcomposite1",
    "libxxf86vm1",
]
# A failed apt-get update is tried this often, this many seconds apart.
UPDATE_ATTEMPTS = 3
UPDATE_PAUSE = 15.0
# Host files the preparation needs (installed by scripts/common.sh).
HOST_NEEDS = {
    "qemu-user": "/usr/bin/qemu-i386",
    "gcc": "/usr/bin/gcc",
    "libz-mingw-w64": "/usr/i686-w64-mingw32/lib/zlib1.dll",
    "wine64": "/usr/lib/wine/wine64",
}


class PrepareError(RuntimeError):
    pass


def cache_dir():
    return os.environ.get("TOLVANE_I686_WINE") or os.path.join(REPO, "build", "i686-wine")


def wine64_version():
    proc = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "wine64"], capture_output=True, text=True)
    if proc.returncode != 0 or not proc.stdout.strip():
        raise PrepareError("wine64 is not installed")
    return proc.stdout.strip()


def _stamp(version, base):
    with open(GUEST_FIXES, "rb") as f:
        fixes = hashlib.sha256(f.read()).hexdigest()[:16]
    # The loader scripts name the folder by its full path: a moved or copied
    # folder is made anew.
    return f"{ROOT_FORMAT} wine64={version} fixes={fixes} at={os.path.abspath(base)}"


def _run(args, log, **kwargs):
    code = _attempt(args, log, **kwargs)
    if code != 0:
        with open(log) as f:
            tail = f.read()[-2000:]
        raise PrepareError(f"{args[0]} {args[1] if len(args) > 1 else ''} failed ({code}):\n{tail}")


def _attempt(args, log, **kwargs):
    """Runs args with its output appended to log; its exit code."""
    with open(log, "a") as out:
        out.write("$ " + " ".join(args) + "\n")
        out.flush()
        return subprocess.run(args, stdout=out, stderr=subprocess.STDOUT, **kwargs).returncode


def _candidate(apt_options, package):
    """The version apt would download of package, or None when no index it
    has names the package."""
    proc = subprocess.run(["apt-cache"] + apt_options + ["policy", package], capture_output=True, text=True)
    match = re.search(r"^\s*Candidate:\s*(\S+)", proc.stdout, re.MULTILINE)
    return match.group(1) if match and match.group(1) != "(none)" else None


def fetch_packages(apt_options, packages, into, log, attempts=UPDATE_ATTEMPTS, pause=UPDATE_PAUSE,
                   sleep=time.sleep):
    """Downloads packages (NAME or NAME=VERSION) into the folder into.

    A mirror in the middle of a sync serves an index whose size or hash does
    not match its Release file ("Mirror sync in progress?"), and apt-get update
    exits 100 although every other index arrived and was kept. So a failed
    update is tried again after a pause and then only noted: what decides is
    whether each package can still be downloaded, and a package that cannot is
    named with its version."""
    for attempt in range(1, attempts + 1):
        if _attempt(["apt-get"] + apt_options + ["update"], log) == 0:
            break
        warning = (f"warning: apt-get update failed (attempt {attempt} of {attempts}); "
                   f"going on with the indexes that arrived (see {log})")
        with open(log, "a") as out:
            out.write(warning + "\n")
        print(warning, file=sys.stderr)
        if attempt < attempts:
            sleep(pause)
    if _attempt(["apt-get"] + apt_options + ["download"] + packages, log, cwd=into) == 0:
        return
    # One at a time, to name exactly the ones that cannot be had.
    missing = []
    for package in packages:
        if _attempt(["apt-get"] + apt_options + ["download", package], log, cwd=into) == 0:
            continue
        name, _, version = package.partition("=")
        version = version or _candidate(apt_options, name)
        missing.append(f"{name} {version}" if version else f"{name} (no index names it)")
    if missing:
        with open(log) as f:
            tail = f.read()[-2000:]
        raise PrepareError("cannot download the i386 packages " + ", ".join(missing)
                           + f" (see {log}):\n{tail}")


def make_once(lock_path, marker, stamp, make):
    """Runs make() unless marker holds stamp, then writes it; under a file
    lock, so that test processes running side by side wait for each other.
    True when make() ran."""
    with open(lock_path, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        current = None
        if os.path.exists(marker):
            with open(marker) as f:
                current = f.read()
        if current == stamp:
            return False
        if os.path.exists(marker):
            os.remove(marker)
        make()
        with open(marker, "w") as f:
            f.write(stamp)
        return True


def _link(target, path):
    if os.path.lexists(path):
        os.remove(path)
    os.symlink(target, path)


class WineI686:
    """A prepared root: ``bin`` holds wine, wineboot and wineserver."""

    def __init__(self, base=None):
        self.base = base or cache_dir()
        self.root = os.path.join(self.base, "root")
        self.bin = os.path.join(self.base, "bin")
        self.loader_dir = os.path.join(self.root, "usr", "lib", "wine")
        self.stamp = None
        self.prepare_seconds = None

    def prepare(self):
        """Builds the root unless one for this wine64 and these fixes is there."""
        missing = [pkg for pkg, path in HOST_NEEDS.items() if not os.path.exists(path)]
        if missing:
            raise PrepareError("missing Debian packages: " + " ".join(missing)
                               + " (scripts/test.sh installs them when run as root)")
        version = wine64_version()
        stamp = _stamp(version, self.base)
        os.makedirs(self.base, exist_ok=True)
        started = time.time()
        if make_once(os.path.join(self.base, "lock"), os.path.join(self.base, "ready"), stamp,
                     lambda: self._build(version)):
            self.prepare_seconds = time.time() - started
        self.stamp = stamp
        return self

    def _build(self, version):
        log = os.path.join(self.base, "prepare.log")
        open(log, "w").close()
        for d in ("root", "bin", "debs"):
            shutil.rmtree(os.path.join(self.base, d), ignore_errors=True)
        debs = os.path.join(self.base, "debs")
        apt = os.path.join(self.base, "apt")
        for d in (debs, os.path.join(apt, "lists", "partial"), os.path.join(apt, "archives", "partial")):
            os.makedirs(d, exist_ok=True)
        status = os.path.join(apt, "status")
        open(status, "w").close()
        # The host's sources, seen as an i386 machine with nothing installed;
        # the host's own apt and dpkg state stay untouched.
        apt_options = [
            "-o", "APT::Architecture=i386", "-o", "APT::Architectures::=i386",
            "-o", "Dir::State::Lists=" + os.path.join(apt, "lists"),
            "-o", "Dir::State::status=" + status,
            "-o", "Dir::Cache::Archives=" + os.path.join(apt, "archives"),
            "-o", "Dir::Cache::pkgcache=", "-o", "Dir::Cache::srcpkgcache=",
            "-o", "Debug::NoLocking=1", "-q",
        ]
        packages = [f"libwine={version}", f"wine32={version}"] + I386_LIBRARIES
        fetch_packages(apt_options, packages, debs, log)
        os.makedirs(self.root)
        for deb in sorted(glob.glob(os.path.join(debs, "*.deb"))):
            _run(["dpkg-deb", "-x", deb, self.root], log)
        shutil.rmtree(debs, ignore_errors=True)

        lib32 = os.path.join(self.root, "usr", "lib", "i386-linux-gnu")
        # libwine's postinst, which dpkg-deb -x does not run: Wine's i386
        # zlib1.dll is the mingw one, marked as a Wine builtin.
        with open(HOST_NEEDS["libz-mingw-w64"], "rb") as f:
            zlib = bytearray(f.read())
        zlib[64:96] = b"Wine builtin DLL".ljust(32, b"\0")
        with open(os.path.join(lib32, "wine", "i386-windows", "zlib1.dll"), "wb") as f:
            f.write(zlib)

        _run(["gcc", "-m32", "-O2", "-fPIC", "-shared", "-nostdlib", "-fno-stack-protector", "-fno-builtin",
              "-o", os.path.join(lib32, "libtolvane-qemu-fixes.so"), GUEST_FIXES], log)
        etc = os.path.join(self.root, "etc")
        with open(os.path.join(etc, "ld.so.preload"), "w") as f:
            f.write("/usr/lib/i386-linux-gnu/libtolvane-qemu-fixes.so\n")
        # The guest's ld.so must use a cache of its own: the host's may point
        # at /lib32, and FreeType then fails to load.
        with open(os.path.join(etc, "ld.so.conf"), "w") as f:
            f.write("/lib/i386-linux-gnu\n/usr/lib/i386-linux-gnu\n")
        _run(["ldconfig", "-r", self.root], log)

        # The loader folder both halves start from (see the top of this file).
        # A copy, not a link: Wine takes its bin folder from the real path.
        shutil.copy2("/usr/lib/wine/wine64", os.path.join(self.loader_dir, "wine64"))
        # wine32's own wineserver would look for the 32-bit server.
        _link("/usr/lib/wine/wineserver64", os.path.join(self.loader_dir, "wineserver"))
        lib64 = os.path.join(self.root, "usr", "lib", "x86_64-linux-gnu")
        os.makedirs(lib64, exist_ok=True)
        _link("/usr/lib/x86_64-linux-gnu/wine", os.path.join(lib64, "wine"))
        # The host's Wine data, fonts included (fonts-wine).
        share = os.path.join(self.root, "usr", "share", "wine")
        shutil.rmtree(share, ignore_errors=True)
        _link("/usr/share/wine", share)
        self._script(os.path.join(self.loader_dir, "wine-preloader"),
                     "# Called as: wine-preloader <bin folder>/wine EXE ARGS... for a 32-bit process.\n"
                     "shift\n"
                     f'WINELOADERNOEXEC=1 exec qemu-i386 -B {GUEST_BASE:#x} -L "{self.root}" "{self.root}/usr/lib/wine/wine" "$@"\n')

        os.makedirs(self.bin)
        wine64 = os.path.join(self.loader_dir, "wine64")
        self._script(os.path.join(self.bin, "wine"), f'exec "{wine64}" "$@"\n')
        # Debian's wineboot goes to the system's loader and leaves syswow64 empty.
        self._script(os.path.join(self.bin, "wineboot"), f'exec "{wine64}" wineboot "$@"\n')
        _link("/usr/lib/wine/wineserver64", os.path.join(self.bin, "wineserver"))

    @staticmethod
    def _script(path, body):
        with open(path, "w") as f:
            f.write("#!/bin/sh\n" + body)
        os.chmod(path, 0o755)

    def env(self, base_env):
        """base_env with this root's commands first in PATH."""
        env = dict(base_env)
        env["PATH"] = self.bin + os.pathsep + env.get("PATH", os.defpath)
        env["TOLVANE_QEMU_GUEST_BASE"] = hex(GUEST_BASE)
        return env


def prefix_processes(prefix):
    """(host pid, argv as bytes) of the host's processes whose WINEPREFIX is prefix."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                if b"WINEPREFIX=" + os.fsencode(prefix) not in f.read().split(b"\0"):
                    continue
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                found.append((int(pid), f.read().split(b"\0")))
        except OSError:
            continue
    return found


def emulated_commands(prefix):
    """Command lines of the 32-bit processes qemu runs for this prefix."""
    found = []
    for _pid, args in prefix_processes(prefix):
        if not os.path.basename(args[0]).startswith(b"qemu-i386"):
            continue
        # qemu-i386 OPTIONS <root>/usr/lib/wine/wine EXE ARGS...
        loader = next((i for i, a in enumerate(args) if a.endswith(b"/usr/lib/wine/wine")), len(args))
        found.append(" ".join(a.decode(errors="replace") for a in args[loader + 1:] if a))
    return found


def pe_machine(path):
    """'i686', 'x86_64' or None, from a PE file's COFF header."""
    return pe_header.MACHINES.get(pe_header.machine(path))


if __name__ == "__main__":
    try:
        runner = WineI686().prepare()
    except PrepareError as error:
        sys.exit(str(error))
    if runner.prepare_seconds is not None:
        print(f"prepared in {runner.prepare_seconds:.0f} s", file=sys.stderr)
    print(runner.bin)

#!/usr/bin/env python3
"""Prints Tolvane's size, import, start-up, memory and idle-CPU figures.

Sizes and imports are read from the built files of both targets; the rest is
measured under Wine against minimal programs of our own built with the same
flags, in the same run: the x86_64 build, then the i686 build with Wine's
32-bit half under qemu-i386 (tests/e2e/wine_i686.py), where emulation slows
ours and the minimal ones alike, so the ratio is the figure. The launcher is
measured as installed, and again with 20 favourite folders and their hotkeys.
Each start-up figure is the median of the ratios of interleaved pairs of
starts, with its 95 % bootstrap interval (bench/pair_statistics.py).
Usage: bench/bench.py [--runs N] [--i686-runs N] [--show-pairs] [--no-i686]
Build first: cmake --preset win64 && cmake --build --preset win64 (and win32).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "bench"))
import tolvane_e2e  # noqa: E402
import wine_i686  # noqa: E402
import pair_statistics  # noqa: E402
sys.path.insert(0, str(ROOT / "scripts"))
import pe_header  # noqa: E402
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll",
               "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shlwapi.dll", "version.dll", "comdlg32.dll"}
GOAL_SIZE = 256 * 1024
GOAL_RATIO = 1.10


def imports(exe: Path, preset: str) -> list:
    objdump = "x86_64-w64-mingw32-objdump" if preset == "win64" else "i686-w64-mingw32-objdump"
    out = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    return sorted({line.split("DLL Name:")[1].strip().lower() for line in out.splitlines() if "DLL Name:" in line})


def static_figures(programs):
    print("== Size and imports (stripped release builds)")
    print(f"{'file':<28}{'bytes':>10}{'KiB':>9}  {'goal':<10} imports")
    for preset in ("win32", "win64"):
        for name in programs:
            exe = ROOT / "build" / preset / "bin" / name
            if not exe.exists():
                print(f"{preset + '/' + name:<28}{'missing':>10}")
                continue
            # The program as linked: a signature's certificate table is not counted.
            data = exe.read_bytes()
            size = pe_header.size_without_certificate_table(data)
            dlls = imports(exe, preset)
            foreign = [d for d in dlls if d not in SYSTEM_DLLS]
            verdict = "ok" if size <= GOAL_SIZE and not foreign else "MISSED"
            print(f"{preset + '/' + name:<28}{size:>10}{size / 1024:>9.1f}  {verdict:<10} {' '.join(dlls)}"
                  + (f"  NOT SYSTEM: {' '.join(foreign)}" if foreign else "")
                  + (f"  (signed: +{len(data) - size} bytes of certificate table)" if len(data) > size else ""))


class WineDesktop:
    """The e2e harness's Wine desktop (tests/e2e/tolvane_e2e.py) for one
    build's programs, with a work folder C:\\bench."""

    def __init__(self, preset):
        # The harness takes the programs' build, and with it Wine's 32-bit half, from here.
        os.environ["TOLVANE_BIN_DIR"] = str(ROOT / "build" / preset / "bin")
        self.session = tolvane_e2e.WineSession("bench-" + preset)
        self.env = self.session.env
        self.work = Path(self.session.host_path("C:\\bench"))
        self.work.mkdir(parents=True)
        # Nothing here opens an Explorer window, so no DesktopUser is needed.
        self.session.start_desktop(cwd="C:\\bench", keep=False)

    def put(self, path: Path):
        shutil.copy(path, self.work / path.name)

    def run(self, *args, timeout=300):
        return subprocess.run(["wine", *args], env=self.env, cwd=self.work, capture_output=True, timeout=timeout)

    def start(self, exe_name):
        return subprocess.Popen(["wine", "C:\\bench\\" + exe_name], env=self.env, cwd=self.work,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.session.close()


def linux_pid(exe_name):
    """The Linux process running a Windows program of ours (name match on its command line)."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            cmdline = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        # A 32-bit program runs as "qemu-i386 ... <root>/usr/lib/wine/wine C:\bench\...".
        if "qemu-i386" in cmdline.split(" ", 1)[0]:
            cmdline = cmdline.split("/usr/lib/wine/wine ", 1)[-1]
        if cmdline.lower().startswith("c:\\bench\\" + exe_name.lower()):
            return int(entry.name)
    return None


def rss_kib(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def cpu_ms(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])  # utime + stime
    return ticks * 1000 / os.sysconf("SC_CLK_TCK")


def timings(desktop, mode, programs, runs):
    """(ours, minimal) milliseconds of each run. BenchProbe starts the two by
    turns, A B then B A, each after the desktop settled, so that drift in the
    machine's load falls on both alike; a run either missed is left out."""
    out = desktop.work / f"{programs[0][0]}.{mode}.txt"
    out.unlink(missing_ok=True)
    args = []
    for exe, window_class, icon_id in programs:
        args += ["C:\\bench\\" + exe, window_class] + ([str(icon_id)] if mode == "icon" else [])
    desktop.run("C:\\bench\\BenchProbe.exe", mode, str(runs), "C:\\bench\\" + out.name, *args, timeout=1800)
    pairs = [tuple(float(v) for v in line.split()) for line in out.read_text().splitlines()] if out.exists() else []
    return [pair for pair in pairs if len(pair) == 2 and min(pair) >= 0]


# 20 favourites with a hotkey each: what the launcher reads, builds and takes at start.
FAVOURITES = [(f"Favourite {i:02d}", f"C:\\bench\\{i:02d}", ("Ctrl+Alt+" if i <= 10 else "Ctrl+Alt+Shift+") + str(i % 10))
              for i in range(1, 21)]


def store_favourites(desktop, store, count=len(FAVOURITES)):
    key = r"HKEY_CURRENT_USER\Software\Varnholt\Tolvane\Folders"
    if not store:
        desktop.run("reg", "delete", key, "/f")
        return
    lines = ["REGEDIT4", ""]
    for number, (name, folder, hotkey) in enumerate(FAVOURITES, start=1):
        lines.append(f"[{key}\\{number}]")
        for value, text in (("Name", name), ("Pfad", folder), ("Modus", "vbNormalFocus"), ("Hotkey", hotkey)):
            lines.append('"{}"="{}"'.format(value, text.replace("\\", "\\\\")))
        lines.append("")
    # Past the twentieth only the subkeys' names are read at start.
    for number in range(len(FAVOURITES) + 1, count + 1):
        lines += [f"[{key}\\{number}]", f'"Name"="n{number}"', '"Pfad"="C:\\\\bench"', ""]
    (desktop.work / "favourites.reg").write_text("\r\n".join(lines) + "\r\n", encoding="ascii")
    desktop.run("regedit", "/S", "C:\\bench\\favourites.reg")


def resident(desktop, exe, idle_seconds):
    desktop.start(exe)
    pid = None
    for _ in range(100):
        pid = linux_pid(exe)
        if pid:
            break
        time.sleep(0.1)
    if pid is None:
        return None, None
    time.sleep(3)  # settle: start-up work is not idle time
    memory = rss_kib(pid)
    before = cpu_ms(pid)
    time.sleep(idle_seconds)
    used = cpu_ms(pid) - before
    os.kill(pid, 9)  # our own process, started above
    time.sleep(0.5)
    return memory, used


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=RUNS, help="interleaved pairs for each x86_64 tray figure "
                        "(twice as many for Setup's)")
    parser.add_argument("--i686-runs", type=int, default=I686_RUNS, help="the same for the i686 build")
    parser.add_argument("--idle", type=float, default=10.0)
    parser.add_argument("--no-i686", action="store_true", help="only the x86_64 build under Wine")
    parser.add_argument("--show-pairs", action="store_true", help="print each pair's two times")
    args = parser.parse_args()
    began = time.monotonic()
    print("load average at start: " + " ".join(f"{v:.2f}" for v in os.getloadavg()))
    try:
        all_figures(args)
    finally:
        print(f"\nload average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}; "
              f"{(time.monotonic() - began) / 60:.1f} minutes")


def all_figures(args):
    static_figures(["Tolvane.exe", "Setup.exe"])

    probe = ROOT / "build" / "win64" / "bench" / "BenchProbe.exe"
    if not probe.exists():
        sys.exit("build the win64 preset first")
    dynamic_figures(args.runs, args, "win64", "x86_64 build")
    if args.no_i686:
        return
    if not (ROOT / "build" / "win32" / "bin" / "Tolvane.exe").exists():
        print("\n== i686 build: not built (cmake --preset win32 && cmake --build --preset win32)")
        return
    try:
        tolvane_e2e.i686_wine()
    except wine_i686.PrepareError as error:
        print(f"\n== i686 build: no 32-bit Wine half: {error}")
        return
    dynamic_figures(args.i686_runs, args, "win32", "i686 build, 32-bit Wine half under qemu-i386")


def dynamic_figures(runs, args, preset, title):
    # BenchProbe only starts the programs and watches: the x86_64 one, native
    # like the desktop, serves both builds.
    probe = ROOT / "build" / "win64" / "bench" / "BenchProbe.exe"
    bench = ROOT / "build" / preset / "bench"
    bin_dir = ROOT / "build" / preset / "bin"
    needed = [bin_dir / "Tolvane.exe", bench / "MinimalTray.exe"]
    if any(not p.exists() for p in needed):
        print(f"\n== {title}: not built ({preset} preset)")
        return
    desktop = WineDesktop(preset)
    try:
        for path in needed + [probe, bin_dir / "Setup.exe", bench / "MinimalWindow.exe"]:
            if path.exists():
                desktop.put(path)
        desktop.run("reg", "add", r"HKLM\Software\Varnholt\Tolvane", "/v", "Pfad", "/d", "C:\\", "/f", "/reg:32")
        desktop.run("reg", "add", r"HKLM\Software\Varnholt\Tolvane", "/v", "Modus", "/d", "vbMaximizedFocus",
                    "/f", "/reg:32")

        print(f"\n== Under Wine ({title}): start-up, {runs} interleaved pairs for each tray figure, "
              f"{2 * runs} for Setup's")
        print(f"{'':<38}{'ours':>10}{'minimal':>12}{'ratio':>9}  95 % interval")
        # The probe's first pair only warms the caches.
        def compare(mode, ours, minimal):
            pairs = timings(desktop, mode, (ours, minimal), (runs if mode == "icon" else 2 * runs) + 1)[1:]
            if args.show_pairs:
                print("  pairs: " + " ".join(f"{a:.0f}/{b:.0f}" for a, b in pairs))
            return pairs

        tray = ("Tolvane.exe", "Tolvane.MainWindow", 125)
        minimal_tray = ("MinimalTray.exe", "Bench.MinimalTray", 1)
        report("start to tray icon (ms)", compare("icon", tray, minimal_tray))
        store_favourites(desktop, True)
        report("the same with 20 favourites (ms)", compare("icon", tray, minimal_tray))
        store_favourites(desktop, True, 10000)
        report("the same with 10,000 stored (ms)", compare("icon", tray, minimal_tray))
        store_favourites(desktop, False)
        if (desktop.work / "Setup.exe").exists():
            report("start to Setup window (ms)", compare("window", ("Setup.exe", "Tolvane.SetupWindow", None),
                                                         ("MinimalWindow.exe", "Bench.MinimalWindow", None)))

        minimal_rss, minimal_cpu = resident(desktop, "MinimalTray.exe", args.idle)
        launcher_rss, launcher_cpu = resident(desktop, "Tolvane.exe", args.idle)
        if launcher_rss and minimal_rss:
            idle_row("", launcher_rss, launcher_cpu, minimal_rss, minimal_cpu, args.idle)
        store_favourites(desktop, True)
        favourites_rss, favourites_cpu = resident(desktop, "Tolvane.exe", args.idle)
        store_favourites(desktop, False)
        if favourites_rss and minimal_rss:
            idle_row("with 20 favourites: ", favourites_rss, favourites_cpu, minimal_rss, minimal_cpu, args.idle)
        # The Win+E hotkey installs a low-level keyboard hook, which must cost
        # nothing between key presses.
        desktop.run("reg", "add", r"HKCU\Software\Varnholt\Tolvane", "/v", "Hotkey", "/d", "Win+E", "/f")
        hooked_rss, hooked_cpu = resident(desktop, "Tolvane.exe", args.idle)
        desktop.run("reg", "delete", r"HKCU\Software\Varnholt\Tolvane", "/v", "Hotkey", "/f")
        if hooked_rss and minimal_rss:
            print(f"{'with the Win+E hook: memory (KiB)':<38}{hooked_rss:>10}{minimal_rss:>12}"
                  f"{hooked_rss / minimal_rss:>9.3f}")
            print(f"{'with the Win+E hook: CPU idle (ms)':<38}{hooked_cpu:>10.0f}{minimal_cpu:>12.0f}"
                  f"{'':>9}  {'ok' if hooked_cpu == 0 else 'MISSED'} (goal 0 ms)")
    finally:
        desktop.close()


# Pairs for each tray figure; Setup's figure takes twice as many, as its
# pairs cost a fifth (Wine's taskbar needs two seconds to remove an icon).
# With these the whole bench takes under ten minutes.
RUNS = 16
I686_RUNS = 8


def report(label, pairs):
    if not pairs:
        print(f"{label:<38} no measurement")
        return
    ratio, low, high = pair_statistics.median_ratio(pairs)
    ours, yardstick = [a for a, _ in pairs], [b for _, b in pairs]
    ma, mb = statistics.median(ours), statistics.median(yardstick)
    print(f"{label:<38}{ma:>10.1f}{mb:>12.1f}{ratio:>9.3f}  {low:.3f} to {high:.3f}  "
          f"{pair_statistics.verdict(low, high, GOAL_RATIO)} (goal <= {GOAL_RATIO:.2f}; {len(pairs)} pairs)")
    print(f"{label.replace('(ms)', 'fastest (ms)'):<38}{min(ours):>10.1f}{min(yardstick):>12.1f}"
          f"{min(ours) / min(yardstick):>9.3f}")


def idle_row(lead, rss, cpu, minimal_rss, minimal_cpu, idle):
    ratio = rss / minimal_rss
    print(f"{lead + 'resident memory (KiB)':<38}{rss:>10}{minimal_rss:>12}{ratio:>9.3f}  "
          f"{'ok' if ratio <= 1.10 else 'MISSED'} (goal <= 1.10)")
    print(f"{lead + 'CPU over %gs idle (ms)' % idle:<38}{cpu:>10.0f}{minimal_cpu:>12.0f}"
          f"{'':>9}  {'ok' if cpu == 0 else 'MISSED'} (goal 0 ms)")


if __name__ == "__main__":
    main()

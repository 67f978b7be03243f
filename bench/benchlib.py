"""What the benchmark scripts share: the Windows build Wine can run here, and the peak memory of
a Windows program's run under Wine."""
import contextlib
import os
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")
MB = 1_000_000


def wine32_works():
    return subprocess.run(["/usr/lib/wine/wine", "--version"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def windows_build():
    """(build folder, Wine architecture): the 32-bit release build, or the 64-bit one where
    32-bit Wine cannot start. It must have been built (scripts/test builds both)."""
    for preset, arch in (("windows", "i686"), ("windows-x64", "x86_64")):
        folder = os.path.join(ROOT, "build", preset)
        if os.path.isdir(folder) and (arch != "i686" or wine32_works()):
            return folder, arch
    sys.exit("no runnable Windows build: build the windows (or windows-x64) preset first")


def built(folder, *parts):
    path = os.path.join(folder, *parts)
    if not os.path.exists(path):
        sys.exit(f"{path} is missing: build it first")
    return path


def resident_peak(pid):
    """The largest resident set the process has had so far, in bytes; 0 once it has ended."""
    with contextlib.suppress(OSError), open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) * 1024
    return 0


def peak_until_exit(process):
    """The process's peak resident bytes, read until it ends. Not the rusage of the wait: that
    keeps the peak of the memory the process had before it started Wine, which after a vfork is
    the calling Python's."""
    peak = 0
    while process.poll() is None:
        peak = max(peak, resident_peak(process.pid))
        time.sleep(0.02)
    return peak


def run_peak(arch, program, *arguments, env=None):
    """(exit code, seconds, peak resident bytes, output) of one run under Wine. The peak is the
    process's largest resident set, Wine's own share included."""
    start = time.monotonic()
    process = subprocess.Popen([WINE_RUN, arch, program, *arguments], stdout=subprocess.PIPE,
                               text=True, env=env)
    output = []
    reader = threading.Thread(target=lambda: output.append(process.stdout.read()))
    reader.start()
    peak = peak_until_exit(process)
    reader.join()
    return process.returncode, time.monotonic() - start, peak, "".join(output)


def wine_baseline(folder, arch):
    """The peak memory of a Windows program under Wine that only sleeps, in bytes."""
    return run_peak(arch, built(folder, "bench", "sleeper.exe"), "500")[2]

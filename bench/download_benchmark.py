#!/usr/bin/env python3
"""Download benchmark: the installer's download worker against curl, on the same file from the
same local HTTPS server in the same run. Not a test; nothing here asserts on speed.

Run it, as root, after a Windows build (scripts/test makes both):
    bench/download_benchmark.py [--size-mb 256] [--fetch PATH --arch i686|x86_64]
By default it takes fetch.exe from build/windows, or from build/windows-x64 where 32-bit Wine
cannot start. It builds nothing itself.

The worker's time is fetch.exe's run for the big file less its run for a one-byte file from the
same server, which leaves out Wine's start and the connection; curl's is its own time from the
first byte requested to the last received. Each is the best of three runs, and both files are
checked against the served one. MB means 10^6 bytes; the peak memory is the largest resident
size of fetch.exe's process during the big downloads, Wine's own share included.
Last line: worker X MB/s, curl Y MB/s, ratio R, peak memory M MB (R = X / Y).
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "download"))
from with_https_server import https_server  # noqa: E402

WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")
WINE_PREFIX = os.environ.get("WINEPREFIX",
                             os.path.expanduser("~/.local/share/doxly-installer/wine"))
RUNS = 3
MB = 1_000_000
FETCH_LINE = re.compile(r'error=(-?\d+) received=(-?\d+) total=(-?\d+) path="(.*)"\s*')


def default_fetch():
    """(fetch.exe, Wine architecture) of the Windows build that Wine can run here."""
    wine32 = subprocess.run(["/usr/lib/wine/wine", "--version"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode == 0
    for build, arch in (("windows", "i686"), ("windows-x64", "x86_64")):
        path = os.path.join(ROOT, "build", build, "tools", "fetch", "fetch.exe")
        if os.path.exists(path) and (arch != "i686" or wine32):
            return path, arch
    sys.exit("no runnable fetch.exe: build the windows (or windows-x64) preset first")


def unix_path(windows_path):
    drive, rest = windows_path[:2].lower(), windows_path[3:]
    return os.path.join(WINE_PREFIX, "dosdevices", drive, *rest.split("\\"))


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def run_fetch(fetch, arch, url):
    """(seconds, peak resident bytes, result file) of one fetch.exe run."""
    start = time.monotonic()
    process = subprocess.Popen([WINE_RUN, arch, fetch, url], stdout=subprocess.PIPE, text=True,
                               env=dict(os.environ, WINEPREFIX=WINE_PREFIX))
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    match = FETCH_LINE.fullmatch(output)
    if process.returncode != 0 or not match or match.group(1) != "0":
        sys.exit(f"fetch.exe failed: status {process.returncode}, output {output!r}")
    return seconds, usage.ru_maxrss * 1024, unix_path(match.group(4))


def run_curl(url, ca, target):
    """Seconds of curl's transfer after the connection is set up."""
    output = subprocess.run(
        ["curl", "-sS", "--cacert", ca, "-o", target, "-w", "%{time_pretransfer} %{time_total}",
         url], check=True, stdout=subprocess.PIPE, text=True).stdout
    pretransfer, total = map(float, output.split())
    return total - pretransfer


def make_file(path, size):
    with open(path, "wb") as f:
        for start in range(0, size, 1 << 24):
            f.write(os.urandom(min(1 << 24, size - start)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size-mb", type=int, default=256)
    parser.add_argument("--fetch", help="fetch.exe to measure")
    parser.add_argument("--arch", choices=("i686", "x86_64"), help="its Wine architecture")
    args = parser.parse_args()
    if args.size_mb < 200:
        parser.error("the benchmark file has at least 200 MB")
    fetch, arch = (args.fetch, args.arch or "i686") if args.fetch else default_fetch()
    size = args.size_mb * MB

    with tempfile.TemporaryDirectory(prefix="doxly-bench-") as folder:
        big = os.path.join(folder, "big.bin")
        make_file(big, size)
        make_file(os.path.join(folder, "tiny.bin"), 1)
        expected = sha256(big)
        with https_server(files=folder) as (address, ca):
            run_fetch(fetch, arch, f"{address}/files/tiny.bin")  # Wine's first start
            fixed = min(run_fetch(fetch, arch, f"{address}/files/tiny.bin")[0]
                        for _ in range(RUNS))
            worker_runs = [run_fetch(fetch, arch, f"{address}/files/big.bin")
                           for _ in range(RUNS)]
            if sha256(worker_runs[-1][2]) != expected:
                sys.exit("the worker's file differs from the served one")
            os.remove(worker_runs[-1][2])
            copy = os.path.join(folder, "curl.bin")
            curl_seconds = min(run_curl(f"{address}/files/big.bin", ca, copy)
                               for _ in range(RUNS))
            if sha256(copy) != expected:
                sys.exit("curl's file differs from the served one")

    worker_seconds = min(run[0] for run in worker_runs) - fixed
    peak = max(run[1] for run in worker_runs)
    worker = size / MB / worker_seconds
    curl = size / MB / curl_seconds
    print(f"file {args.size_mb} MB, fetch.exe {arch}, best of {RUNS}; "
          f"fetch.exe start-up and connection {fixed:.2f} s")
    print(f"worker {worker_seconds:.2f} s, curl {curl_seconds:.2f} s")
    print(f"worker {worker:.1f} MB/s, curl {curl:.1f} MB/s, ratio {worker / curl:.2f}, "
          f"peak memory {peak / MB:.1f} MB")


if __name__ == "__main__":
    main()

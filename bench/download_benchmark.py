#!/usr/bin/env python3
"""Download benchmark: the installer's download worker against a bare WinINet read loop and
curl, on the same file from the same local HTTPS server in the same run. Not a test; nothing
here asserts on speed.

Run it, as root, after a Windows build (scripts/test makes both):
    bench/download_benchmark.py [--size-mb 256]
It takes fetch.exe (the worker from the command line) and bench/wininet-read.exe (1 MiB reads,
nothing written) from build/windows, or from build/windows-x64 where 32-bit Wine cannot start.
It builds nothing itself.

The times of both Windows programs are their runs for the big file less their runs for a
one-byte file from the same server, which leaves out Wine's start and the connection; curl's is
its own time from the first byte requested to the last received. Each is the best of three
runs, and the worker's and curl's files are checked against the served one. MB means 10^6
bytes; the peak memory is the largest resident size of fetch.exe's process during the big
downloads, Wine's own share included, and the wine baseline that of a Windows program that only
sleeps.
Then the worker once more, on a connection that the server breaks after every 32 MB of a body:
its time includes the pauses between its attempts, and the bytes fetched are the body bytes the
server sent over all of them.
Last lines: worker X MB/s, bare wininet B MB/s, curl Y MB/s, ratio to bare Q, peak memory M MB,
wine baseline W MB (Q = X / B); resumed X MB/s, bytes fetched F MB for a file of S MB.
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile

from benchlib import MB, ROOT, built, run_peak, wine_baseline, windows_build

sys.path.insert(0, os.path.join(ROOT, "tests", "download"))
from with_https_server import Handler, https_server  # noqa: E402

WINE_PREFIX = os.environ.get("WINEPREFIX",
                             os.path.expanduser("~/.local/share/doxly-installer/wine"))
RUNS = 3
BREAK_EVERY = 32 * MB
FETCH_LINE = re.compile(r'error=(-?\d+) received=(-?\d+) total=(-?\d+) path="(.*)"\s*')
READ_LINE = re.compile(r"received=(\d+)\s*")


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
    code, seconds, peak, output = run_peak(arch, fetch, url,
                                           env=dict(os.environ, WINEPREFIX=WINE_PREFIX))
    match = FETCH_LINE.fullmatch(output)
    if code != 0 or not match or match.group(1) != "0":
        sys.exit(f"fetch.exe failed: status {code}, output {output!r}")
    return seconds, peak, unix_path(match.group(4))


def run_read(reader, arch, url, size):
    """Seconds of one wininet-read.exe run, which must receive `size` bytes."""
    code, seconds, _, output = run_peak(arch, reader, url,
                                        env=dict(os.environ, WINEPREFIX=WINE_PREFIX))
    match = READ_LINE.fullmatch(output)
    if code != 0 or not match or int(match.group(1)) != size:
        sys.exit(f"wininet-read.exe failed: status {code}, output {output!r}")
    return seconds


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
    args = parser.parse_args()
    if args.size_mb < 200:
        parser.error("the benchmark file has at least 200 MB")
    build, arch = windows_build()
    fetch = built(build, "tools", "fetch", "fetch.exe")
    reader = built(build, "bench", "wininet-read.exe")
    size = args.size_mb * MB

    with tempfile.TemporaryDirectory(prefix="doxly-bench-") as folder:
        big = os.path.join(folder, "big.bin")
        make_file(big, size)
        make_file(os.path.join(folder, "tiny.bin"), 1)
        expected = sha256(big)
        with https_server(files=folder) as (address, ca):
            tiny, whole = f"{address}/files/tiny.bin", f"{address}/files/big.bin"
            run_fetch(fetch, arch, tiny)  # Wine's first start
            fixed = min(run_fetch(fetch, arch, tiny)[0] for _ in range(RUNS))
            worker_runs = [run_fetch(fetch, arch, whole) for _ in range(RUNS)]
            if sha256(worker_runs[-1][2]) != expected:
                sys.exit("the worker's file differs from the served one")
            os.remove(worker_runs[-1][2])
            run_read(reader, arch, tiny, 1)
            read_fixed = min(run_read(reader, arch, tiny, 1) for _ in range(RUNS))
            read_seconds = min(run_read(reader, arch, whole, size) for _ in range(RUNS))
            copy = os.path.join(folder, "curl.bin")
            curl_seconds = min(run_curl(whole, ca, copy) for _ in range(RUNS))
            if sha256(copy) != expected:
                sys.exit("curl's file differs from the served one")
            sent = Handler.sent
            resumed_seconds, _, resumed_file = run_fetch(
                fetch, arch, f"{whole}?break={BREAK_EVERY}")
            fetched = Handler.sent - sent
            if sha256(resumed_file) != expected:
                sys.exit("the resumed file differs from the served one")
            os.remove(resumed_file)

    worker_seconds = min(run[0] for run in worker_runs) - fixed
    read_seconds -= read_fixed
    peak = max(run[1] for run in worker_runs)
    baseline = wine_baseline(build, arch)
    worker = size / MB / worker_seconds
    bare = size / MB / read_seconds
    curl = size / MB / curl_seconds
    print(f"file {args.size_mb} MB, {arch} build, best of {RUNS}; start-up and connection: "
          f"fetch.exe {fixed:.2f} s, wininet-read.exe {read_fixed:.2f} s")
    print(f"worker {worker_seconds:.2f} s, bare wininet {read_seconds:.2f} s, "
          f"curl {curl_seconds:.2f} s")
    print(f"worker {worker:.1f} MB/s, bare wininet {bare:.1f} MB/s, curl {curl:.1f} MB/s, "
          f"ratio to bare {worker / bare:.2f}, peak memory {peak / MB:.1f} MB, "
          f"wine baseline {baseline / MB:.1f} MB")
    print(f"resumed {size / MB / (resumed_seconds - fixed):.1f} MB/s, bytes fetched "
          f"{fetched / MB:.1f} MB for a file of {args.size_mb} MB")


if __name__ == "__main__":
    main()

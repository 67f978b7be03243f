"""Renders one page with xhtml-view --png under Wine, in a process of its own that must end
within a time limit; shared by the paint smoke test and the paint fuzz."""
import os
import struct
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")
WIDTH, HEIGHT = 800, 500


def windows_path(path):
    return "Z:" + os.path.abspath(path)


def png_size(path):
    """(width, height) of a PNG file, or None when it is missing or no PNG."""
    try:
        with open(path, "rb") as f:
            head = f.read(24)
    except OSError:
        return None
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def render(view, arch, page, png, limit):
    """(outcome, processor seconds) of painting `page` into `png`: "ok" when the program ended
    with 0 and wrote a picture of the client area; "hung" when it was still running after `limit`
    seconds of the clock (it is then killed); otherwise what went wrong. Processor time, not the
    clock's, so that a busy machine does not make a page look slow."""
    if os.path.exists(png):
        os.remove(png)
    process = subprocess.Popen(
        [WINE_RUN, arch, view, windows_path(page), "--width", str(WIDTH), "--height", str(HEIGHT),
         "--png", windows_path(png)],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + limit
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid:
            break
        if time.monotonic() > deadline:
            process.kill()
            pid, status, usage = os.wait4(process.pid, 0)
            process.returncode = -9
            return "hung", usage.ru_utime + usage.ru_stime
        time.sleep(0.01)
    process.returncode = os.waitstatus_to_exitcode(status)
    seconds = usage.ru_utime + usage.ru_stime
    if process.returncode != 0:
        return f"exit code {process.returncode}", seconds
    if png_size(png) != (WIDTH, HEIGHT):
        return "no picture", seconds
    return "ok", seconds

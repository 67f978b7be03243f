#!/usr/bin/env python3
"""End-to-end flows of the installer program under Wine, on the X display in DISPLAY (or a
private Xvfb one), against a local HTTPS server that serves the demo setup at every path. The
pointer is moved and clicked with xdotool as a user would; installer-probe.exe reads what only
Windows can see (window class, client size, the progress bar's position). Each flow prints its
timing; screenshots of the welcome, downloading and failed states go to the --shots folder.

Usage: installer_e2e.py --arch ARCH --installer EXE --probe EXE --demo-setup EXE --port PORT
                        --shots FOLDER
The installer must be built to download from localhost:PORT. Needs root (see
tests/download/with_https_server.py), xdotool and ImageMagick's import.
"""
import argparse, contextlib, glob, os, subprocess, sys, tempfile, threading, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "download"))
from with_https_server import Handler, https_server  # noqa: E402

WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")
EXPRESS = "/FromSmallInstaller /SkipLicensePage /SILENT"
CUSTOM = "/FromSmallInstaller /SkipLicensePage"


class SetupHandler(Handler):
    """Every path is the setup program. The driver switches what the server does between flows:
    mode "slow" spreads the body over `seconds`, "fast" sends it at once, "missing" answers 404
    and "short" announces the whole body, sends half of it and closes."""
    body = b""
    mode = "slow"
    seconds = 3.0
    requests = []

    def do_GET(self):
        SetupHandler.requests.append(self.path)
        if self.mode == "missing":
            self.send_error(404)
            return
        body = self.body
        self.head(200, len(body))
        if self.mode == "short":
            self.wfile.write(body[: len(body) // 2])
            return
        step = 8192 if self.mode == "slow" else len(body)
        pause = self.seconds * step / len(body) if self.mode == "slow" else 0
        for start in range(0, len(body), step):
            self.wfile.write(body[start:start + step])
            time.sleep(pause)


@contextlib.contextmanager
def display():
    """The display in DISPLAY, or else a private Xvfb one for the time of the block (stopped by
    its PID)."""
    if os.environ.get("DISPLAY"):
        yield
        return
    read, write = os.pipe()
    # Xvfb picks a free display number itself and writes it to the pipe.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    try:
        with os.fdopen(read) as numbers:
            os.environ["DISPLAY"] = ":" + numbers.readline().strip()
        yield
    finally:
        os.environ.pop("DISPLAY", None)
        xvfb.terminate()
        xvfb.wait()


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {seconds} s waiting for {what}")
        time.sleep(0.05)


class Desktop:
    """The Windows programs of one run and the pointer on the display."""

    def __init__(self, arch, installer, probe, log):
        self.arch, self.installer, self.probe, self.log = arch, installer, probe, log

    def command(self, program, *arguments):
        return [WINE_RUN, self.arch, program, *arguments]

    def environment(self):
        """Without a log the demo setup shows its command line in a message box."""
        if self.log is None:
            return dict(os.environ)
        return dict(os.environ, DOXLY_DEMO_SETUP_LOG=windows_path(self.log))

    def ask(self, *arguments):
        """The probe's output lines, or None when it finds no installer window."""
        done = subprocess.run(self.command(self.probe, *arguments), stdout=subprocess.PIPE,
                              text=True, env=self.environment())
        return done.stdout.split("\n") if done.returncode == 0 else None

    def layout(self):
        """Client coordinates of the page's controls, by name."""
        lines = self.ask("layout")
        if not lines:
            raise AssertionError("installer-probe cannot lay the page out")
        points = {}
        for line in filter(None, lines):
            name, x, y = line.split()
            points[name] = (int(x), int(y))
        return points

    def window(self):
        """The installer window's facts (class, client, origin, bar, windows, painted), or
        None."""
        lines = self.ask("window")
        if not lines:
            return None
        facts = dict(item.split("=", 1) for item in lines[0].split())
        facts["origin"] = tuple(map(int, facts["origin"].split(",")))
        return facts

    def start(self):
        return subprocess.Popen(self.command(self.installer), env=self.environment(),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def setup_starts(self):
        """The lines the demo setup wrote: one per start."""
        with contextlib.suppress(FileNotFoundError), open(self.log, encoding="utf-8") as f:
            return f.read().splitlines()
        return []

    def click(self, origin, point):
        x, y = origin[0] + point[0], origin[1] + point[1]
        # The page takes a click only where it has seen the pointer arrive. A user's pointer
        # arrives in several steps; a single jump can be taken for leaving by a check against
        # where the pointer was before (over the licence, on a fresh display).
        for step in (x - 2, x):
            subprocess.run(["xdotool", "mousemove", str(step), str(y)], check=True)
            time.sleep(0.1)
        subprocess.run(["xdotool", "click", "1"], check=True)

    def close_with_keyboard(self):
        window = subprocess.run(["xdotool", "search", "--name", "^Doxly Creator Installer$"],
                                stdout=subprocess.PIPE, text=True, check=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        subprocess.run(["xdotool", "key", "--window", window, "alt+F4"], check=True)

    def painted(self, seconds=10):
        """The window's facts once it has painted what it shows."""
        facts = {}

        def done():
            facts.update(self.window() or {"painted": "no"})
            return facts["painted"] == "yes"

        wait_for(done, seconds, "the window to paint")
        return facts

    def screenshot(self, path):
        facts = self.painted()
        width, height = facts["client"].split("x")
        x, y = facts["origin"]
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", path], check=True)


class ProgressWatch:
    """The positions the installer's progress bar takes, read while the window is open."""

    def __init__(self, desktop):
        self.positions = []
        self.gone = False
        self.process = subprocess.Popen(desktop.command(desktop.probe, "watch"),
                                        stdout=subprocess.PIPE, text=True,
                                        env=desktop.environment())
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.process.stdout:
            if line.startswith("progress "):
                self.positions.append(int(line.split()[1]))
            elif line.strip() == "gone":
                self.gone = True

    def stop(self):
        with contextlib.suppress(subprocess.TimeoutExpired):
            self.process.wait(timeout=10)
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class Run:
    """One installer process from its start to its exit, stopped by its PID if a flow fails."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.started = time.monotonic()
        self.process = desktop.start()
        # Painted only after the page has built itself and taken its first state.
        self.facts = desktop.painted(60)
        self.window_after = time.monotonic() - self.started

    def click(self, point):
        self.desktop.click(self.facts["origin"], point)

    def exit_code(self, seconds=30):
        code = self.process.wait(timeout=seconds)
        self.duration = time.monotonic() - self.started
        return code

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


@contextlib.contextmanager
def running(desktop):
    run = Run(desktop)
    try:
        yield run
    finally:
        run.stop()


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def downloaded_setup():
    """The bytes of the file the installer downloaded, in the Wine prefix's temporary folder."""
    users = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", "*")
    found = glob.glob(os.path.join(users, "Temp", "doxly-creator.exe")) + glob.glob(
        os.path.join(users, "AppData", "Local", "Temp", "doxly-creator.exe"))
    check(len(found) == 1, f"downloaded files: {found}")
    with open(found[0], "rb") as f:
        return f.read()


def flow_express(desktop, points, shots):
    SetupHandler.mode, SetupHandler.seconds = "slow", 4.0
    with running(desktop) as run:
        facts = run.facts
        check(facts["class"] == "XhtmlFrameView", f"window class {facts['class']}")
        check(facts["client"] == "800x500", f"client size {facts['client']}")
        check(facts["bar"] == "hidden" and facts["windows"] == "1", f"welcome window {facts}")
        desktop.screenshot(os.path.join(shots, "e2e-welcome.png"))

        # A second instance ends at once, shows nothing and leaves the first one alone.
        second = time.monotonic()
        code = subprocess.run(desktop.command(desktop.installer), env=desktop.environment(),
                              timeout=30).returncode
        second = time.monotonic() - second
        check(code == 0, f"the second instance ended with {code}")
        check(desktop.window()["windows"] == "1", "the second instance made a window")

        run.click(points["install"])
        watch = ProgressWatch(desktop)
        wait_for(lambda: any(0 < p < 100 for p in watch.positions), 30, "progress")
        desktop.screenshot(os.path.join(shots, "e2e-downloading.png"))
        code = run.exit_code(60)
        watch.stop()
    check(code == 0, f"the installer ended with {code}")
    rising = watch.positions
    # The last step to 100 may fall between two reads, just before the window closes.
    check(rising == sorted(rising) and len(set(rising)) >= 5 and rising[-1] >= 90,
          f"the progress bar went {rising}")
    wait_for(desktop.setup_starts, 20, "the setup to start")
    check(desktop.setup_starts() == [EXPRESS], f"the setup was started {desktop.setup_starts()}")
    check(downloaded_setup() == SetupHandler.body,
          "the downloaded setup differs from the served one")
    return (f"express: window after {run.window_after:.1f} s, second instance gone after "
            f"{second:.1f} s, bar {rising[0]}..{rising[-1]} in {len(rising)} steps, "
            f"setup started and installer gone after {run.duration:.1f} s")


def flow_custom(desktop, points, shots):
    SetupHandler.mode = "fast"
    with running(desktop) as run:
        run.click(points["custom"])
        run.click(points["install"])
        code = run.exit_code()
    check(code == 0, f"the installer ended with {code}")
    wait_for(desktop.setup_starts, 20, "the setup to start")
    check(desktop.setup_starts() == [CUSTOM], f"the setup was started {desktop.setup_starts()}")
    return f"custom: setup started without /SILENT, installer gone after {run.duration:.1f} s"


def flow_retry(desktop, points, shots):
    SetupHandler.mode = "missing"
    SetupHandler.requests.clear()
    with running(desktop) as run:
        run.click(points["install"])
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")
        # The poll sees the failure within 100 ms; the page lays out within the next 100.
        time.sleep(1)
        desktop.screenshot(os.path.join(shots, "e2e-failed.png"))
        check(run.process.poll() is None and not desktop.setup_starts(),
              "the installer did not wait for a retry")
        SetupHandler.mode = "fast"
        run.click(points["retry"])
        code = run.exit_code()
    check(code == 0, f"the installer ended with {code}")
    check(len(SetupHandler.requests) == 2, f"requests {SetupHandler.requests}")
    wait_for(desktop.setup_starts, 20, "the setup to start")
    check(desktop.setup_starts() == [EXPRESS], f"the setup was started {desktop.setup_starts()}")
    return f"404 then retry: failed, retried, setup started after {run.duration:.1f} s"


def flow_short_body(desktop, points, shots):
    SetupHandler.mode = "short"
    SetupHandler.requests.clear()
    with running(desktop) as run:
        run.click(points["install"])
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        time.sleep(3)
        check(run.process.poll() is None, "the installer ended after a cut-short body")
        check(desktop.window()["bar"] == "shown", "the progress area is not shown")
        desktop.close_with_keyboard()
        code = run.exit_code()
    check(code == 0, f"the installer ended with {code}")
    time.sleep(2)
    check(not desktop.setup_starts(), f"a cut-short setup was started {desktop.setup_starts()}")
    return f"cut-short body: failed, nothing started, closed after {run.duration:.1f} s"


def flow_cancel(desktop, points, shots):
    SetupHandler.mode, SetupHandler.seconds = "slow", 30.0
    with running(desktop) as run:
        run.click(points["install"])
        watch = ProgressWatch(desktop)
        wait_for(lambda: any(p > 0 for p in watch.positions), 30, "progress")
        clicked = time.monotonic()
        run.click(points["retry"])  # the same button, now Cancel
        code = run.exit_code()
        gone = time.monotonic() - clicked
        watch.stop()
    check(code == 0, f"the installer ended with {code}")
    check(max(watch.positions) < 100, "the download finished before Cancel")
    time.sleep(2)
    check(not desktop.setup_starts(), f"a cancelled setup was started {desktop.setup_starts()}")
    return f"cancel during the download: installer gone {gone:.1f} s after the click"


FLOWS = [flow_express, flow_custom, flow_retry, flow_short_body, flow_cancel]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--arch", "--installer", "--probe", "--demo-setup", "--port", "--shots"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.shots, exist_ok=True)
    with open(args.demo_setup, "rb") as f:
        SetupHandler.body = f.read()
    failures = 0
    with tempfile.TemporaryDirectory(prefix="doxly-e2e-") as folder, display(), \
            https_server(handler=SetupHandler, port=int(args.port)):
        log = os.path.join(folder, "setup.log")
        desktop = Desktop(args.arch, args.installer, args.probe, log)
        points = desktop.layout()
        for flow in FLOWS:
            with contextlib.suppress(FileNotFoundError):
                os.remove(log)
            started = time.monotonic()
            try:
                line = flow(desktop, points, args.shots)
                print(f"{line} ({time.monotonic() - started:.1f} s)", flush=True)
            except Exception as failure:  # noqa: BLE001 - every flow runs and reports
                failures += 1
                print(f"FAILED {flow.__name__}: {failure!r}", flush=True)
            # The started setup, a program of its own, is done before the next download
            # replaces its file.
            time.sleep(1)
    print(f"{len(FLOWS) - failures} of {len(FLOWS)} flows passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

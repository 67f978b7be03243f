#!/usr/bin/env python3
"""End-to-end flows of the installer program under Wine, on the X display in DISPLAY (or a
private Xvfb one), against a local HTTPS server that serves the demo setup at every path, driven
by tools/installer-driver/installer_driver.py with real pointer input. Each flow prints its
timing; screenshots of the welcome, downloading and failed states go to the --shots folder.

Usage: installer_e2e.py --arch ARCH --installer EXE --probe EXE --demo-setup EXE --port PORT
                        --shots FOLDER
The installer must be built to download from localhost:PORT. Needs root.
"""
import argparse, contextlib, glob, os, subprocess, sys, tempfile, threading, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "installer-driver"))
from installer_driver import (Desktop, Run, SetupHandler, display,  # noqa: E402
                              https_server, wait_for)

EXPRESS = "/FromSmallInstaller /SkipLicensePage /SILENT"
CUSTOM = "/FromSmallInstaller /SkipLicensePage"


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

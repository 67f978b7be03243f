#!/usr/bin/env python3
"""End-to-end flows of the installer program under Wine, on the X display in DISPLAY (or a
private Xvfb one), against a local HTTPS server that serves the demo setup at every path, driven
by tools/installer-driver/installer_driver.py with real pointer and keyboard input, or by a
screen reader in another program (--reader, accessibility-probe.exe). Each flow prints its
timing; screenshots of the welcome, downloading and failed states and of the focus walk go to
the --shots folder, and what the reader reads of them as accessible-STATE.txt. The
installer must be built to download from localhost:PORT and to start only setups signed by the
--publisher, whose throw-away key lies in --publisher-folder; the demo setup is signed by it.
Needs root.
"""
import argparse, contextlib, os, re, shutil, struct, subprocess, sys, tempfile, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "installer-driver"))
sys.path.insert(0, os.path.join(ROOT, "tools", "demo-setup"))
from installer_driver import (Desktop, Run, SetupHandler, display,  # noqa: E402
                              https_server, wait_for)
import test_publisher  # noqa: E402

EXPRESS = "/FromSmallInstaller /SkipLicensePage /SILENT"
CUSTOM = "/FromSmallInstaller /SkipLicensePage"


@contextlib.contextmanager
def running(desktop, mode, seconds=3.0):
    """One installer run, its downloads answered in this mode (SetupHandler)."""
    SetupHandler.mode, SetupHandler.seconds = mode, seconds
    SetupHandler.requests.clear()
    run = Run(desktop)
    try:
        yield run
    finally:
        run.stop()


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def ended(desktop, run, setup, seconds=30):
    """The installer exits with 0, having started the setup once with these arguments, or never
    when `setup` is None."""
    code = run.exit_code(seconds)
    check(code == 0, f"the installer ended with {code}")
    if setup:
        wait_for(desktop.setup_starts, 20, "the setup to start")
    else:
        time.sleep(2)
    starts = desktop.setup_starts()
    check(starts == ([setup] if setup else []), f"the setup was started {starts}")


def flow_express(desktop, points, shots):
    with running(desktop, "slow", 4.0) as run:
        # The probe finds the window by its title.
        facts = run.facts
        check(facts["class"] == "XhtmlFrameView" and facts["client"] == "800x500",
              f"the window {facts}")
        desktop.screenshot(os.path.join(shots, "e2e-welcome.png"))

        # A second instance ends at once, shows nothing and leaves the first one alone.
        second = time.monotonic()
        code = desktop.start().wait(30)
        second = time.monotonic() - second
        windows = desktop.window()["windows"]
        check(code == 0 and windows == "1", f"second instance: exit {code}, {windows} windows")

        run.click(points["install"])
        # The probe prints "progress N" whenever the bar moves; it ends when the window has gone,
        # or after a minute.
        with subprocess.Popen(desktop.command(desktop.probe, "watch"), stdout=subprocess.PIPE,
                              text=True, env=desktop.environment()) as watch:
            rising = []
            for line in watch.stdout:
                if line.startswith("progress "):
                    rising.append(int(line.split()[1]))
                    if 0 < rising[-1] < 100:
                        break
            check(rising and 0 < rising[-1] < 100, f"no progress: {rising}")
            desktop.screenshot(os.path.join(shots, "e2e-downloading.png"))
            ended(desktop, run, EXPRESS, 60)
            rising += [int(line.split()[1]) for line in watch.stdout
                       if line.startswith("progress ")]
    # The last step to 100 may fall between two reads, just before the window closes.
    check(rising == sorted(rising) and len(set(rising)) >= 5 and rising[-1] >= 90,
          f"the progress bar went {rising}")
    return (f"express: window after {run.window_after:.1f} s, second instance gone after "
            f"{second:.1f} s, bar {rising[0]}..{rising[-1]} in {len(rising)} steps, "
            f"setup started and installer gone after {run.duration:.1f} s")


def flow_custom(desktop, points, shots):
    with running(desktop, "fast") as run:
        run.click(points["custom"])
        run.click(points["install"])
        ended(desktop, run, CUSTOM)
    return f"custom: setup started without /SILENT, installer gone after {run.duration:.1f} s"


def download_started(desktop, run, points):
    """Install clicked, the request at the server and the progress area shown."""
    run.click(points["install"])
    wait_for(lambda: SetupHandler.requests, 30, "the request")
    wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")


def flow_failed(desktop, points, shots):
    """A download answered with 404 fails at once: the installer waits, nothing started, until
    Try again with the server fixed installs."""
    with running(desktop, "missing") as run:
        download_started(desktop, run, points)
        # The poll sees the failure within 100 ms; the page lays out within the next 100.
        time.sleep(1)
        check(run.process.poll() is None and not desktop.setup_starts(),
              "the installer did not wait for a retry")
        desktop.screenshot(os.path.join(shots, "e2e-failed.png"))
        SetupHandler.mode = "fast"
        # In the failed state the button tries again; still downloading, it would cancel.
        run.click(points["retry"])
        ended(desktop, run, EXPRESS)
    check(len(SetupHandler.requests) == 2, f"requests {SetupHandler.requests}")
    return f"404 then retry: failed, retried, setup started after {run.duration:.1f} s"


def flow_broken_once(desktop, points, shots):
    """A connection that breaks halfway: the installer continues the file by itself a second
    later and starts the setup after the one click on Install."""
    with running(desktop, "break") as run:
        run.click(points["install"])
        ended(desktop, run, EXPRESS)
    requests = SetupHandler.requests
    check(len(requests) == 2 and requests[0].endswith(" -")
          and requests[1].endswith(f" bytes={len(SetupHandler.body) // 2}-"),
          f"requests {requests}")
    return f"broken once: continued, setup started after {run.duration:.1f} s"


def flow_cancel(desktop, points, shots):
    with running(desktop, "slow", 30.0) as run:
        download_started(desktop, run, points)
        clicked = time.monotonic()
        run.click(points["retry"])  # the same button, now Cancel
        # A download that had finished would have started the setup.
        ended(desktop, run, None)
    gone = run.started + run.duration - clicked
    return f"cancel during the download: installer gone {gone:.1f} s after the click"


def find(children, role, name=None):
    """The first child of that role (and name)."""
    found = [c for c in children if c["role"] == role and name in (None, c["name"])]
    check(found, f"no {role} {name!r} among {[(c['role'], c['name']) for c in children]}")
    return found[0]


def read_page(desktop, shots, state):
    """The page as a screen reader sees it, kept as accessible-STATE.txt; every child has a
    place inside the window's client area."""
    client, children = desktop.read_page(os.path.join(shots, f"accessible-{state}.txt"))
    check(client["role"] == "client" and client["name"] == "Doxly Creator Installer" and
          (client["x"], client["y"], client["w"], client["h"]) == (0, 0, 800, 500),
          f"the client {client}")
    for c in children:
        check(c["w"] > 0 and c["h"] > 0 and c["x"] >= 0 and c["y"] >= 0 and
              c["x"] + c["w"] <= 800 and c["y"] + c["h"] <= 500, f"{c['name']!r} is at {c}")
    return children


def flow_reader(desktop, points, shots):
    """With a screen reader only: the welcome page read, Custom and Install pressed through their
    default actions, the download read and its changes heard; the custom setup starts."""
    with running(desktop, "slow", 6.0) as run:
        children = read_page(desktop, shots, "welcome")
        find(children, "static text", "Doxly Creator Installation")
        check(any(c["name"].startswith("This installation program") and
                  c["states"] == {"read only"} for c in children), "no welcome text")
        check(any(c["role"].startswith("window Edit") for c in children), "no licence")
        express = find(children, "radio button", "Express")
        custom = find(children, "radio button", "Custom")
        check(express["states"] == {"checked", "focusable"} and custom["states"] == {"focusable"},
              f"the modes {express['states']} {custom['states']}")
        install = find(children, "push button", "Install")
        # The page's default button has the focus from the start.
        check(install["action"] == "Press" and install["states"] == {"focused", "focusable"},
              f"{install}")
        order = [c["name"] for c in children if c["role"] in ("radio button", "push button")]
        check(order == ["Express", "Custom", "Install"], f"the order {order}")

        desktop.press("Custom")
        _, children = desktop.read_page()
        check("checked" in find(children, "radio button", "Custom")["states"] and
              "checked" not in find(children, "radio button", "Express")["states"],
              "Custom was not checked")
        listener = desktop.listen(4000)
        desktop.press("Install")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")
        time.sleep(1)
        children = read_page(desktop, shots, "downloading")
        find(children, "push button", "Cancel")
        check(not any(c["role"] == "radio button" for c in children), "hidden modes are read")
        check(any(c["name"].startswith("https://localhost") for c in children), "no address")
        check(any(c["role"].startswith("window msctls_progress32") for c in children),
              "no progress bar")
        status = re.compile(r"[\d.]+ [KM]b / [\d.]+ [KM]b / ")
        check(any(status.match(c["name"]) for c in children), "no status line")
        heard = listener.communicate(timeout=60)[0]
        with open(os.path.join(shots, "accessible-downloading-events.txt"), "w") as f:
            f.write(heard)
        check(re.search(r'^name static text "[\d.]+ [KM]b / ', heard, re.M),
              "the status line's changes were not heard")
        check(re.search(r'^name push button "Cancel"', heard, re.M), "the new caption")
        check(re.search(r"^reorder client ", heard, re.M), "the new parts were not heard")
        ended(desktop, run, CUSTOM, 60)
    return "screen reader: welcome and download read, Custom and Install pressed, custom setup"


def flow_reader_failed(desktop, points, shots):
    """A failed download read out; Try again, then Cancel, pressed through default actions."""
    with running(desktop, "missing") as run:
        desktop.press("Install")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        time.sleep(1)
        children = read_page(desktop, shots, "failed")
        find(children, "static text", "An error occurred while downloading.")
        find(children, "push button", "Try again")
        SetupHandler.mode, SetupHandler.seconds = "slow", 30.0
        desktop.press("Try again")
        wait_for(lambda: len(SetupHandler.requests) == 2, 30, "the second request")
        desktop.press("Cancel")
        ended(desktop, run, None)
    return "screen reader: failure read, Try again and Cancel pressed, nothing started"


def flow_keys_express(desktop, points, shots):
    """Enter right after the start presses Install, where the page puts the focus."""
    with running(desktop, "fast") as run:
        run.keys("Return")
        ended(desktop, run, EXPRESS)
    return f"keys, express: Enter installed, setup started after {run.duration:.1f} s"


def flow_keys_custom(desktop, points, shots):
    """Shift+Tab back to the radio group, an arrow to "custom", Enter: the custom install."""
    with running(desktop, "fast") as run:
        run.keys("shift+Tab", "Right", "Return")
        ended(desktop, run, CUSTOM)
    return f"keys, custom: Shift+Tab, Right, Enter installed without /SILENT"


def flow_keys_escape(desktop, points, shots):
    """Escape during the download presses Cancel: the installer ends, nothing started."""
    with running(desktop, "slow", 30.0) as run:
        run.keys("Return")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")
        pressed = time.monotonic()
        run.keys("Escape")
        ended(desktop, run, None)
    gone = run.started + run.duration - pressed
    return f"keys, Escape during the download: installer gone {gone:.1f} s after it"


def differing(first, second, point, size):
    """How many pixels of two screenshots differ in the area of that size around the point."""
    (x, y), (width, height) = point, size
    area = f"{width}x{height}+{x - width // 2}+{y - height // 2}"
    done = subprocess.run(["compare", "-metric", "AE", "-extract", area, first, second, "null:"],
                          stderr=subprocess.PIPE, text=True)
    return int(float(done.stderr.split()[0]))


def flow_keys_walk(desktop, points, shots):
    """Tab walks the page from the button: the licence (its own window), the radio group, the
    button and around; the focus ring follows the views the page draws, and shows only once the
    keyboard is used. Escape in the welcome state closes the window."""
    with running(desktop, "fast") as run:
        pictures = [os.path.join(shots, f"e2e-focus-{n}.png") for n in range(5)]
        desktop.screenshot(pictures[0])
        seen = []
        for picture in pictures[1:]:
            run.keys("Tab")
            seen.append(desktop.focus())
            desktop.screenshot(picture)
        check(seen == ["Edit", "XhtmlFrameView", "XhtmlFrameView", "Edit"],
              f"the focus went {seen}")
        button, radio = (points["install"], (120, 40)), (points["express"], (24, 24))
        rings = {(name, n): differing(pictures[0], pictures[n], *area)
                 for name, area in (("button", button), ("radio", radio)) for n in (2, 3)}
        check(rings[("radio", 2)] > 0 and rings[("button", 2)] == 0 and
              rings[("button", 3)] > 0 and rings[("radio", 3)] == 0,
              f"pixels changed by the ring {rings}")
        run.keys("Escape")
        ended(desktop, run, None)
    return (f"keys, Tab walk: {' '.join(seen)}, ring on the radio then the button "
            f"({rings[('radio', 2)]} and {rings[('button', 3)]} pixels), Escape closed")


# What the server may send instead of the build's publisher's setup, by name (made by main).
BODIES = {}


def flow_rejected(name):
    """A download that is not a program of the build's publisher: nothing started, no file left,
    the failed state; Try again with the real setup starts it with its flags."""
    def flow(desktop, points, shots):
        setup = SetupHandler.body
        SetupHandler.body = BODIES[name]
        try:
            with running(desktop, "fast") as run:
                download_started(desktop, run, points)
                time.sleep(1.5)
                check(run.process.poll() is None and not desktop.setup_starts(),
                      "the installer did not wait for a retry")
                shot = f"e2e-rejected-{name.replace(' ', '-')}.png"
                desktop.screenshot(os.path.join(shots, shot))
                check(desktop.window()["setup"] == "absent", "the rejected file was left")
                SetupHandler.body = setup
                run.click(points["retry"])
                ended(desktop, run, EXPRESS)
        finally:
            SetupHandler.body = setup
        return f"{name}: rejected, nothing started, no file left, retried, setup started"

    flow.__name__ = f"flow_rejected_{name}"
    return flow


# The libraries the installer loads at run time, and those it once imported at load time.
PLANTED = ["uxtheme", "gdiplus", "wininet", "comctl32", "comdlg32", "msimg32", "wintrust",
           "crypt32", "oleacc"]


def flow_planted(desktop, points, shots):
    """Libraries beside the installer under the names of those it loads, which Wine is told to
    prefer to its own: an express install completes and none of them is loaded."""
    folder = tempfile.mkdtemp(prefix="doxly-planted-")
    try:
        installer = os.path.join(folder, "doxly-installer.exe")
        shutil.copy(desktop.installer, installer)
        for name in PLANTED:
            with open(os.path.join(folder, name + ".dll"), "wb") as f:
                f.write(BODIES["planted library"])
        beside = Desktop(desktop.arch, installer, desktop.probe, desktop.log,
                         overrides="mscoree,mshtml=;" + ",".join(PLANTED) + "=n,b")
        try:
            with running(beside, "fast") as run:
                run.click(points["install"])
                ended(beside, run, EXPRESS)
        finally:
            # Reported before whatever else failed: a planted library may have ended the run.
            loaded = sorted(name for name in os.listdir(folder) if name.endswith(".loaded"))
            check(not loaded, f"planted libraries were loaded: {loaded}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return "planted libraries: express install completed, none loaded"


FLOWS = [flow_express, flow_custom, flow_failed, flow_broken_once, flow_cancel, flow_keys_express,
         flow_keys_custom, flow_keys_escape, flow_keys_walk, flow_planted, flow_reader,
         flow_reader_failed,
         flow_rejected("unsigned"), flow_rejected("tampered"), flow_rejected("other publisher"),
         flow_rejected("signed library"), flow_rejected("not a program")]


def tampered(signed):
    """The signed program with one byte of its code changed after signing."""
    image = bytearray(signed)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    raw = struct.unpack_from("<I", image, pe + 24 + optional_size + 20)[0]  # the first section's
    image[raw + 16] ^= 0xFF
    return bytes(image)


def make_bodies(folder, signed_setup, library, publisher, publisher_folder):
    def made(write):
        path = os.path.join(folder, "body")
        write(path)
        with open(path, "rb") as f:
            return f.read()

    with open(signed_setup, "rb") as f:
        signed = f.read()
    BODIES["unsigned"] = made(lambda path: test_publisher.unsigned(signed_setup, path))
    BODIES["tampered"] = tampered(signed)
    BODIES["other publisher"] = made(lambda path: test_publisher.sign(
        signed_setup, path, folder, "Someone Else"))
    BODIES["signed library"] = made(lambda path: test_publisher.sign(
        library, path, publisher_folder, publisher))
    BODIES["not a program"] = b"<html><body>502 Bad Gateway</body></html>\n" * 100
    with open(library, "rb") as f:
        BODIES["planted library"] = f.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--arch", "--installer", "--probe", "--reader", "--demo-setup",
                   "--planted-library", "--publisher", "--publisher-folder", "--port", "--shots"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.shots, exist_ok=True)
    with open(args.demo_setup, "rb") as f:
        SetupHandler.body = f.read()
    failures = 0
    with tempfile.TemporaryDirectory(prefix="doxly-e2e-") as folder, display(), \
            https_server(handler=SetupHandler, port=int(args.port)):
        make_bodies(folder, args.demo_setup, args.planted_library, args.publisher,
                    args.publisher_folder)
        log = os.path.join(folder, "setup.log")
        desktop = Desktop(args.arch, args.installer, args.probe, log, reader=args.reader)
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

#!/usr/bin/env python3
"""The installer's page as a screen reader in another program sees it, under Wine, on the X display
in DISPLAY (or a private Xvfb one), against a local HTTPS server that serves the demo setup at every
path (tools/installer-driver/installer_driver.py): accessibility-probe.exe walks the window's
accessible object in each page state and presses the page's controls through their default
actions only. What a reader sees of each state goes to --out as STATE.txt (and the announced
changes during a download as downloading-events.txt). Needs root.
"""
import argparse, contextlib, os, re, subprocess, sys, tempfile, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "installer-driver"))
from installer_driver import Desktop, Run, SetupHandler, display, https_server, wait_for  # noqa

EXPRESS = "/FromSmallInstaller /SkipLicensePage /SILENT"
CUSTOM = "/FromSmallInstaller /SkipLicensePage"
LINE = re.compile(r'(?P<role>.+?) "(?P<name>.*)" \[(?P<states>[^\]]*)\] at (?P<x>-?\d+),(?P<y>-?\d+) '
                  r'(?P<w>\d+)x(?P<h>\d+)(?: action "(?P<action>.*)")?$')


def check(condition, message):
    if not condition:
        raise AssertionError(message)


class Reader:
    """The accessibility probe against the running installer."""

    def __init__(self, desktop, probe, out):
        self.desktop, self.probe, self.out = desktop, probe, out

    def run(self, *arguments):
        done = subprocess.run(self.desktop.command(self.probe, *arguments), stdout=subprocess.PIPE,
                              text=True, env=self.desktop.environment(), timeout=60)
        return done.returncode, done.stdout

    def tree(self, state=None):
        """The client and its children as dicts (role, name, states, x, y, w, h, action), kept in
        STATE.txt when a state is named."""
        code, text = self.run("tree")
        check(code == 0, f"the probe found no page: {text!r}")
        if state:
            with open(os.path.join(self.out, f"{state}.txt"), "w", encoding="utf-8") as f:
                f.write(text)
        items = []
        for line in filter(None, text.split("\n")):
            match = LINE.match(line)
            check(match, f"unreadable line {line!r}")
            item = match.groupdict()
            item["states"] = set(filter(None, item["states"].split(", ")))
            for key in "xywh":
                item[key] = int(item[key])
            items.append(item)
        return items[0], items[1:]

    def press(self, name):
        code, text = self.run("do", name)
        check(code == 0 and text.strip() == "done", f"the default action of {name!r}: {text!r}")

    def listen(self, milliseconds):
        """The probe listening to the page's events; its output once it has ended."""
        listener = subprocess.Popen(self.desktop.command(self.probe, "events", str(milliseconds)),
                                    stdout=subprocess.PIPE, text=True,
                                    env=self.desktop.environment())
        check(listener.stdout.readline().strip() == "listening", "the probe does not listen")
        return listener


def find(children, role, name=None):
    found = [c for c in children if c["role"] == role and (name is None or c["name"] == name)]
    check(found, f"no {role} {name!r} in {[(c['role'], c['name']) for c in children]}")
    return found[0]


def check_places(client, children):
    """Every child has a place inside the window's client area."""
    check(client["x"] == 0 and client["y"] == 0 and (client["w"], client["h"]) == (800, 500),
          f"the client is at {client}")
    for c in children:
        check(c["w"] > 0 and c["h"] > 0 and c["x"] >= 0 and c["y"] >= 0 and
              c["x"] + c["w"] <= 800 and c["y"] + c["h"] <= 500, f"{c['name']!r} is at {c}")


@contextlib.contextmanager
def running(desktop, mode, seconds=3.0):
    SetupHandler.mode, SetupHandler.seconds = mode, seconds
    SetupHandler.requests.clear()
    run = Run(desktop)
    try:
        yield run
    finally:
        run.stop()


def ended(desktop, run, setup):
    code = run.exit_code(60)
    check(code == 0, f"the installer ended with {code}")
    if setup:
        wait_for(desktop.setup_starts, 20, "the setup to start")
    else:
        time.sleep(2)
    starts = desktop.setup_starts()
    check(starts == ([setup] if setup else []), f"the setup was started {starts}")


def flow_welcome_and_download(desktop, reader):
    """The welcome page read out; Custom and Install pressed through their default actions start a
    custom installation, the download page read out and its changes announced."""
    with running(desktop, "slow", 6.0) as run:
        client, children = reader.tree("welcome")
        check(client["role"] == "client" and client["name"] == "Doxly Creator Installer",
              f"the client {client}")
        check_places(client, children)
        find(children, "static text", "Doxly Creator Installation")
        check(find(children, "static text")["states"] == {"read only"}, "texts are read only")
        check(any(c["name"].startswith("This installation program") for c in children),
              "no welcome text")
        check(any(c["role"].startswith("window Edit") for c in children), "no licence")
        express, custom = find(children, "radio button", "Express"), find(children, "radio button",
                                                                          "Custom")
        check(express["states"] == {"checked", "focusable"} and custom["states"] == {"focusable"},
              f"the modes {express['states']} {custom['states']}")
        install = find(children, "push button", "Install")
        check(install["action"] == "Press" and "focusable" in install["states"], f"{install}")
        order = [c["name"] for c in children if c["role"] in ("radio button", "push button")]
        check(order == ["Express", "Custom", "Install"], f"the order {order}")

        reader.press("Custom")
        _, children = reader.tree()
        check("checked" in find(children, "radio button", "Custom")["states"] and
              "checked" not in find(children, "radio button", "Express")["states"],
              "Custom is not checked")

        listener = reader.listen(4000)
        reader.press("Install")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")
        time.sleep(1)
        client, children = reader.tree("downloading")
        check_places(client, children)
        find(children, "push button", "Cancel")
        check(not [c for c in children if c["role"] == "radio button"], "the modes are still read")
        check(any(c["name"].startswith("https://localhost") for c in children), "no address")
        check(any(c["role"].startswith("window msctls_progress32") for c in children),
              "no progress bar")
        status = re.compile(r"[\d.]+ [KM]b / [\d.]+ [KM]b / ")
        check(any(status.match(c["name"]) for c in children), "no status line")
        events = listener.communicate(timeout=60)[0]
        with open(os.path.join(reader.out, "downloading-events.txt"), "w", encoding="utf-8") as f:
            f.write(events)
        check(re.search(r'^name static text "[\d.]+ [KM]b / ', events, re.M),
              "the status line's changes were not announced")
        check(re.search(r'^name push button "Cancel"', events, re.M), "the caption's change")
        check(re.search(r"^reorder client ", events, re.M), "the new parts were not announced")
        ended(desktop, run, CUSTOM)
    return "welcome and downloading read, Custom and Install pressed: custom setup started"


def flow_failed(desktop, reader):
    """A failed download read out; Try again pressed through its default action installs."""
    with running(desktop, "missing") as run:
        reader.press("Install")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        time.sleep(1)
        client, children = reader.tree("failed")
        check_places(client, children)
        find(children, "static text", "An error occurred while downloading.")
        find(children, "push button", "Try again")
        SetupHandler.mode = "fast"
        reader.press("Try again")
        ended(desktop, run, EXPRESS)
    return "failed read, Try again pressed: express setup started"


def flow_cancel(desktop, reader):
    with running(desktop, "slow", 30.0) as run:
        reader.press("Install")
        wait_for(lambda: SetupHandler.requests, 30, "the request")
        wait_for(lambda: desktop.window()["bar"] == "shown", 10, "the progress area")
        reader.press("Cancel")
        ended(desktop, run, None)
    return "Cancel pressed during the download: installer gone, nothing started"


FLOWS = [flow_welcome_and_download, flow_failed, flow_cancel]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--arch", "--installer", "--probe", "--accessibility-probe", "--demo-setup",
                   "--port", "--out"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    with open(args.demo_setup, "rb") as f:
        SetupHandler.body = f.read()
    failures = 0
    with tempfile.TemporaryDirectory(prefix="doxly-access-") as folder, display(), \
            https_server(handler=SetupHandler, port=int(args.port)):
        log = os.path.join(folder, "setup.log")
        desktop = Desktop(args.arch, args.installer, args.probe, log)
        reader = Reader(desktop, args.accessibility_probe, args.out)
        for flow in FLOWS:
            with contextlib.suppress(FileNotFoundError):
                os.remove(log)
            started = time.monotonic()
            try:
                line = flow(desktop, reader)
                print(f"{line} ({time.monotonic() - started:.1f} s)", flush=True)
            except Exception as failure:  # noqa: BLE001 - every flow runs and reports
                failures += 1
                print(f"FAILED {flow.__name__}: {failure!r}", flush=True)
            time.sleep(1)
    print(f"{len(FLOWS) - failures} of {len(FLOWS)} flows passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

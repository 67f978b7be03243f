"""Drives the installer program under Wine on an X display, for the end-to-end flows
(tests/app/installer_e2e.py), scripts/run and the benchmarks: a local HTTPS server that serves
the demo setup at every path, the pointer moved and clicked and keys typed with xdotool as a user
would, installer-probe.exe for what only Windows can see (window class, client size, the progress
bar, the window with the keyboard focus) and accessibility-probe.exe for what a screen reader sees
and does.
Needs root (see tests/download/with_https_server.py), Xvfb, xdotool and ImageMagick's import.
"""
import contextlib, os, re, subprocess, sys, time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "download"))
from with_https_server import RANGES, Handler, https_server  # noqa: E402,F401 - for the users

WINE_RUN = os.path.join(ROOT, "cmake", "wine-run")


class SetupHandler(Handler):
    """Every path is the setup program. The driver switches what the server does between flows:
    mode "slow" spreads the body over `seconds`, "fast" sends it at once, "missing" answers 404
    and "break" breaks the connection after half of the body of the first request and lets
    later ones continue. The requests are listed as "PATH RANGE" ("-" without a range)."""
    body = b""
    mode = "slow"
    seconds = 3.0
    requests = []

    def do_GET(self):
        SetupHandler.requests.append(f"{self.path} {self.headers.get('Range', '-')}")
        if self.mode == "missing":
            self.send_error(404)
            return
        body = self.body
        if self.mode == "break":
            first = len(SetupHandler.requests) == 1
            self.serve(len(body), lambda start, end: body[start:end], RANGES,
                       cut=len(body) // 2 if first else None)
            return
        self.head(200, len(body))
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


# A line of accessibility-probe.exe: ROLE "NAME" [STATES] at X,Y WxH, and action "ACTION".
READER_LINE = re.compile(r'(?P<role>.+?) "(?P<name>.*)" \[(?P<states>[^\]]*)\] at (?P<x>-?\d+),'
                         r'(?P<y>-?\d+) (?P<w>\d+)x(?P<h>\d+)(?: action "(?P<action>.*)")?$')


class Desktop:
    """The Windows programs of one run and the pointer on the display."""

    def __init__(self, arch, installer, probe, log, overrides=None, reader=None):
        self.arch, self.installer, self.probe, self.log = arch, installer, probe, log
        # WINEDLLOVERRIDES for the installer alone.
        self.overrides = overrides
        # accessibility-probe.exe: the page as a screen reader in another program sees it.
        self.reader = reader

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
        """The installer window's facts (class, client, origin, bar, windows, painted, setup:
        whether the downloaded setup's file exists), or None."""
        lines = self.ask("window")
        if not lines:
            return None
        facts = dict(item.split("=", 1) for item in lines[0].split())
        facts["origin"] = tuple(map(int, facts["origin"].split(",")))
        return facts

    def read_page(self, keep=None):
        """The page's client object and its children, each a dict of role, name, states (a set),
        x, y, w, h (client coordinates) and action; the probe's output is kept in the file
        `keep` when given."""
        done = subprocess.run(self.command(self.reader, "tree"), stdout=subprocess.PIPE,
                              text=True, env=self.environment(), timeout=60)
        if done.returncode != 0:
            raise AssertionError(f"the reader found no page: {done.stdout!r}")
        if keep:
            with open(keep, "w", encoding="utf-8") as f:
                f.write(done.stdout)
        items = []
        for line in filter(None, done.stdout.split("\n")):
            match = READER_LINE.match(line)
            if not match:
                raise AssertionError(f"the reader wrote {line!r}")
            item = match.groupdict()
            item["states"] = set(filter(None, item["states"].split(", ")))
            for key in "xywh":
                item[key] = int(item[key])
            items.append(item)
        return items[0], items[1:]

    def press(self, name):
        """The default action of the page's first child of that name, as a screen reader does."""
        done = subprocess.run(self.command(self.reader, "do", name), stdout=subprocess.PIPE,
                              text=True, env=self.environment(), timeout=60)
        if done.returncode != 0 or done.stdout.strip() != "done":
            raise AssertionError(f"the default action of {name!r}: {done.stdout!r}")

    def listen(self, milliseconds):
        """The reader listening to the page's events for that long; communicate() gives them."""
        listener = subprocess.Popen(self.command(self.reader, "events", str(milliseconds)),
                                    stdout=subprocess.PIPE, text=True, env=self.environment())
        if listener.stdout.readline().strip() != "listening":
            raise AssertionError("the reader does not listen")
        return listener

    def focus(self):
        """The class of the window with the installer's keyboard focus, or "none"."""
        lines = self.ask("focus")
        return lines[0] if lines else None

    def start(self):
        environment = self.environment()
        if self.overrides:
            environment["WINEDLLOVERRIDES"] = self.overrides
        return subprocess.Popen(self.command(self.installer), env=environment,
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

    def keys(self, *names):
        """Keys typed one after the other (xdotool's names: Tab, shift+Tab, Right, Return)."""
        for name in names:
            subprocess.run(["xdotool", "key", name], check=True)
            time.sleep(0.3)

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

    def keys(self, *names):
        self.desktop.keys(*names)

    def exit_code(self, seconds=30):
        code = self.process.wait(timeout=seconds)
        self.duration = time.monotonic() - self.started
        return code

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

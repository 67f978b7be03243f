#!/usr/bin/env python3
"""Usage: with_https_server.py [--expect-output REGEX] -- COMMAND [ARGUMENTS...]

Runs COMMAND while a local HTTPS server listens; it sees the server's address in DOXLY_TEST_SERVER
and for "{server}" in its arguments. Exits with its status, or 1 when its output does not match
REGEX. The certificate's authority, made on first use for localhost only, is trusted by the
system (Wine trusts only that). Needs root.
"""
import collections, contextlib, fcntl, http.server, os, re, shutil, signal, socket, ssl
import subprocess, sys, tempfile, threading, time, urllib.parse

CA_DIR = os.path.expanduser("~/.local/share/doxly-installer/test-ca")
TRUSTED_CA = "/usr/local/share/ca-certificates/doxly-installer-test-ca.crt"


def pattern(start, end):
    return bytes(((i * 2654435761) & 0xFFFFFFFF) >> 24 for i in range(start, end))


def changed_pattern(start, end):
    """The bytes of the file after it changed on the server."""
    return bytes(b ^ 0xFF for b in pattern(start, end))


RANGES = {"Accept-Ranges": "bytes", "ETag": '"v1"'}
STALL_SECONDS = 60


class Handler(http.server.BaseHTTPRequestHandler):
    files = None
    # Per path, the Range and If-Range of each request ("-" for none), as /requests/PATH tells.
    requests = collections.defaultdict(list)
    # Body bytes written over all requests.
    sent = 0
    lock = threading.Lock()

    def log_message(self, *args):
        pass

    # Paths, N being a byte count: /file/N and /nolength/N, N pattern bytes with and without
    # Content-Length; /slow/N, the same 8192 bytes every 50 ms; /short/N and /corrupt/N announce
    # N bytes, send half of them, then close or send an undecryptable record; /redirect/N to
    # /file/N; /files/NAME from the folder `files`.
    # Faults that a next request gets past, the first answer broken after 40 % of N unless told
    # otherwise, and with ?break=B every answer after B bytes of its body (also of /files/NAME):
    # /break/N, later answers honour a Range whose If-Range names the ETag;
    # /break-dated/N the same with Last-Modified; /break-plain/N without either or Accept-Ranges;
    # /busy/N, the first two answered 503 with Retry-After 1, then honours ranges; /stall/N, the
    # first stalls after 10 %; /ignore-range/N, later answers the whole file; /new-etag/N, later
    # answers have another ETag and other bytes. /requests/PATH lists the requests of PATH.
    def do_GET(self):
        path, _, query = self.path.partition("?")
        mode, _, argument = path[1:].partition("/")
        count = int(argument) if argument.isdigit() else 0
        with Handler.lock:
            seen = Handler.requests[self.path]
            seen.append(f"{self.headers.get('Range', '-')} {self.headers.get('If-Range', '-')}")
            first = len(seen) == 1
        every = urllib.parse.parse_qs(query).get("break")
        every = int(every[0]) if every else None
        cut = every or (count * 2 // 5 if first else None)
        file = os.path.join(self.files or "/nonexistent", os.path.basename(argument))
        if mode == "files" and os.path.isfile(file):
            with open(file, "rb") as source:
                size = os.fstat(source.fileno()).st_size

                def body(start, end):
                    source.seek(start)
                    return source.read(end - start)
                self.serve(size, body, RANGES, cut=every)
        elif mode == "requests":
            listed = Handler.requests.get(self.path[len("/requests"):], [])
            self.respond(200, "\n".join(listed).encode())
        elif mode == "redirect":
            self.head(302, 0, f"/file/{count}")
        elif mode in ("file", "nolength", "slow"):
            self.head(200, None if mode == "nolength" else count)
            step = 8192 if mode == "slow" else max(count, 1)
            for start in range(0, count, step):
                self.wfile.write(pattern(start, min(start + step, count)))
                time.sleep(0.05 if mode == "slow" else 0)
        elif mode in ("short", "corrupt"):
            self.head(200, count)
            self.wfile.write(pattern(0, count // 2))
            if mode == "corrupt":  # an application data record written past TLS
                with socket.socket(fileno=os.dup(self.connection.fileno())) as raw:
                    raw.sendall(b"\x17\x03\x03\x00\x20" + bytes(32))
        elif mode in ("break", "ignore-range"):
            self.serve(count, pattern, RANGES, cut=cut, ranges=first or mode == "break")
        elif mode == "break-dated":
            self.serve(count, pattern, {"Accept-Ranges": "bytes",
                                        "Last-Modified": "Tue, 01 Dec 2026 10:00:00 GMT"}, cut=cut)
        elif mode == "break-plain":
            self.serve(count, pattern, {}, cut=cut, ranges=False)
        elif mode == "busy" and len(seen) <= 2:
            self.send_response(503)
            self.send_header("Retry-After", "1")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif mode == "busy":
            self.serve(count, pattern, RANGES)
        elif mode == "stall":
            self.serve(count, pattern, RANGES, cut=count // 10 if first else None, stall=True)
        elif mode == "new-etag":
            self.serve(count, pattern if first else changed_pattern,
                       RANGES if first else dict(RANGES, ETag='"v2"'), cut=cut)
        else:
            self.send_error(404)

    def serve(self, size, body, headers, cut=None, stall=False, ranges=True):
        """Answers with the `size` bytes that body(start, end) gives and `headers`. A Range
        "bytes=N-" gets the rest when `ranges` and its If-Range, if any, names the ETag or the
        Last-Modified of `headers`. After `cut` bytes of its body the answer breaks off: the
        connection ends without TLS's closing record, at once or, with `stall`, after
        STALL_SECONDS without a byte."""
        wanted = re.fullmatch(r"bytes=(\d+)-", self.headers.get("Range", ""))
        condition = self.headers.get("If-Range")
        start = 0
        if ranges and wanted and int(wanted[1]) < size and (
                condition is None or condition in (headers.get("ETag"),
                                                   headers.get("Last-Modified"))):
            start = int(wanted[1])
        self.send_response(206 if start else 200)
        for name, value in headers.items():
            self.send_header(name, value)
        if start:
            self.send_header("Content-Range", f"bytes {start}-{size - 1}/{size}")
        self.send_header("Content-Length", str(size - start))
        self.end_headers()
        end = size if cut is None else min(size, start + cut)
        for at in range(start, end, 1 << 20):
            chunk = body(at, min(at + (1 << 20), end))
            self.wfile.write(chunk)
            with Handler.lock:
                Handler.sent += len(chunk)
        if end < size:
            time.sleep(STALL_SECONDS if stall else 0)
            self.connection.shutdown(socket.SHUT_RDWR)

    def respond(self, status, body):
        self.head(status, len(body))
        self.wfile.write(body)

    def head(self, status, length, location=None):
        self.send_response(status)
        if location:
            self.send_header("Location", location)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def handle(self):
        with contextlib.suppress(BrokenPipeError, ConnectionResetError, ssl.SSLError):
            super().handle()  # a stopped download goes away in the middle


def certificate(name, *options):
    subprocess.run(["openssl", "req", "-x509", "-nodes", "-newkey", "ec",
                    "-pkeyopt", "ec_paramgen_curve:P-256", "-keyout", f"{name}.key",
                    "-out", f"{name}.crt", *options],
                   check=True, capture_output=True)
    os.chmod(f"{name}.key", 0o600)
    return f"{name}.crt", f"{name}.key"


def read(path):
    with contextlib.suppress(OSError), open(path, "rb") as f:
        return f.read()


def test_ca():
    """The authority's (certificate, key) files, made and trusted by the system when needed."""
    os.makedirs(CA_DIR, mode=0o700, exist_ok=True)
    with open(f"{CA_DIR}/lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        crt, key = f"{CA_DIR}/ca.crt", f"{CA_DIR}/ca.key"
        if read(crt) is None or read(key) is None:
            certificate(f"{CA_DIR}/ca", "-days", "3650",
                        "-subj", "/CN=Doxly Installer test authority (localhost only)",
                        "-addext", "basicConstraints=critical,CA:true,pathlen:0",
                        "-addext", "keyUsage=critical,keyCertSign,cRLSign",
                        "-addext", "nameConstraints=critical,permitted;DNS:localhost")
        bundle = read("/etc/ssl/certs/ca-certificates.crt") or b""
        if read(TRUSTED_CA) != read(crt) or read(crt).split(b"\n")[1] not in bundle:
            shutil.copyfile(crt, TRUSTED_CA)
            subprocess.run(["update-ca-certificates"], check=True, capture_output=True)
    return crt, key


@contextlib.contextmanager
def https_server(files=None, handler=Handler, port=0):
    """Yields (base address, authority certificate file) while the server runs: `handler`
    answers the requests, on `port` or a free one."""
    ca_crt, ca_key = test_ca()
    with tempfile.TemporaryDirectory(prefix="doxly-https-") as folder:
        Handler.files = files
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        server.daemon_threads = True
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*certificate(
            f"{folder}/server", "-days", "2", "-subj", "/CN=localhost", "-CA", ca_crt,
            "-CAkey", ca_key, "-addext", "basicConstraints=CA:false",
            "-addext", "keyUsage=critical,digitalSignature",
            "-addext", "extendedKeyUsage=serverAuth", "-addext", "subjectAltName=DNS:localhost"))
        server.socket = context.wrap_socket(server.socket, server_side=True)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            yield f"https://localhost:{server.server_address[1]}", ca_crt
        finally:
            server.shutdown()
            server.server_close()


def main():
    split = sys.argv.index("--")
    expected = sys.argv[2] if split == 3 and sys.argv[1] == "--expect-output" else None
    # A CTest time-out sends SIGTERM: leave through the finally blocks, which stop the server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    with https_server() as (address, _):
        command = [argument.replace("{server}", address) for argument in sys.argv[split + 1:]]
        result = subprocess.run(command, env=dict(os.environ, DOXLY_TEST_SERVER=address),
                                stdout=subprocess.PIPE if expected else None, text=True)
    if expected:
        print(result.stdout, end="")
        if result.returncode == 0 and not re.fullmatch(expected, result.stdout):
            sys.exit(f"the output does not match: {expected}")
    return result.returncode


if __name__ == "__main__":
    sys.exit(main())

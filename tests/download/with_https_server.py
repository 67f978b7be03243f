#!/usr/bin/env python3
"""Usage: with_https_server.py [--expect-output REGEX] -- COMMAND [ARGUMENTS...]

Runs COMMAND while a local HTTPS server listens; it sees the server's address in DOXLY_TEST_SERVER
and for "{server}" in its arguments. Exits with its status, or 1 when its output does not match
REGEX. The certificate's authority, made on first use for localhost only, is trusted by the
system (Wine trusts only that). Needs root.
"""
import contextlib, fcntl, http.server, os, re, shutil, signal, socket, ssl
import subprocess, sys, tempfile, threading, time

CA_DIR = os.path.expanduser("~/.local/share/doxly-installer/test-ca")
TRUSTED_CA = "/usr/local/share/ca-certificates/doxly-installer-test-ca.crt"


def pattern(start, end):
    return bytes(((i * 2654435761) & 0xFFFFFFFF) >> 24 for i in range(start, end))


class Handler(http.server.BaseHTTPRequestHandler):
    files = None

    def log_message(self, *args):
        pass

    # Paths, N being a byte count: /file/N and /nolength/N, N pattern bytes with and without
    # Content-Length; /slow/N, the same 8192 bytes every 50 ms; /short/N and /corrupt/N announce
    # N bytes, send half of them, then close or send an undecryptable record; /redirect/N to
    # /file/N; /files/NAME from the folder `files`.
    def do_GET(self):
        mode, _, argument = self.path[1:].partition("/")
        count = int(argument) if argument.isdigit() else 0
        file = os.path.join(self.files or "/nonexistent", os.path.basename(argument))
        if mode == "files" and os.path.isfile(file):
            with open(file, "rb") as source:
                self.head(200, os.fstat(source.fileno()).st_size)
                shutil.copyfileobj(source, self.wfile, 1 << 20)
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
        else:
            self.send_error(404)

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

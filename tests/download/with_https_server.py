#!/usr/bin/env python3
"""Runs a command while the download tests' HTTPS server (https_server.py) listens.

Usage: with_https_server.py [--files DIR] [--expect-output REGEX] -- COMMAND [ARGUMENTS...]

The command sees DOXLY_TEST_SERVER=https://localhost:PORT and DOXLY_TEST_CA (the certificate
authority's file, for curl); "{server}" in its arguments becomes the same address. Exits with the
command's status, or 1 when --expect-output is given and the output does not match it in full.

The server's certificate is made for each run and signed by a test certificate authority that is
made on first use, kept in ~/.local/share/doxly-installer/test-ca (Wine trusts only what the
system trusts, and teaching the system a new authority takes seconds) and trusted through
/usr/local/share/ca-certificates. The authority may sign for localhost only, so its key is of no
use to anyone beyond this machine's loopback tests. Needs root, openssl and update-ca-certificates.
"""
import argparse
import contextlib
import fcntl
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CA_DIR = os.path.expanduser("~/.local/share/doxly-installer/test-ca")
TRUSTED_CA = "/usr/local/share/ca-certificates/doxly-installer-test-ca.crt"
SYSTEM_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
STARTUP_TIMEOUT = 10


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def is_trusted(certificate):
    body = certificate.split(b"\n")[1]  # first line of the base64 text
    bundle = read(SYSTEM_BUNDLE) or b""
    return read(TRUSTED_CA) == certificate and body in bundle


def test_ca():
    """The authority's (certificate, key) files, made and trusted by the system when needed."""
    os.makedirs(CA_DIR, mode=0o700, exist_ok=True)
    crt, key = os.path.join(CA_DIR, "ca.crt"), os.path.join(CA_DIR, "ca.key")
    with open(os.path.join(CA_DIR, "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if read(crt) is None or read(key) is None:
            with open(os.path.join(CA_DIR, "ca.cnf"), "w") as config:
                config.write(
                    "[req]\ndistinguished_name = dn\nx509_extensions = ca\nprompt = no\n"
                    "[dn]\nCN = Doxly Installer test authority (localhost only)\n"
                    "[ca]\nbasicConstraints = critical, CA:true, pathlen:0\n"
                    "keyUsage = critical, keyCertSign, cRLSign\n"
                    "nameConstraints = critical, permitted;DNS:localhost\n"
                    "subjectKeyIdentifier = hash\n")
            openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                    "-nodes", "-days", "3650", "-config", "ca.cnf", "-keyout", "ca.key.new",
                    "-out", "ca.crt.new", cwd=CA_DIR)
            os.chmod(os.path.join(CA_DIR, "ca.key.new"), 0o600)
            os.replace(os.path.join(CA_DIR, "ca.key.new"), key)
            os.replace(os.path.join(CA_DIR, "ca.crt.new"), crt)
        certificate = read(crt)
        if not is_trusted(certificate):
            with open(TRUSTED_CA, "wb") as trusted:
                trusted.write(certificate)
            subprocess.run(["update-ca-certificates"], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    return crt, key


def localhost_certificate(ca_crt, ca_key, folder):
    """A fresh server certificate for localhost, signed by the test authority."""
    with open(os.path.join(folder, "server.cnf"), "w") as config:
        config.write("basicConstraints = CA:false\nkeyUsage = critical, digitalSignature\n"
                     "extendedKeyUsage = serverAuth\nsubjectAltName = DNS:localhost\n")
    openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
            "-subj", "/CN=localhost", "-keyout", "server.key", "-out", "server.csr", cwd=folder)
    openssl("x509", "-req", "-in", "server.csr", "-CA", ca_crt, "-CAkey", ca_key,
            "-CAcreateserial", "-CAserial", "ca.srl", "-days", "2", "-extfile", "server.cnf",
            "-out", "server.crt", cwd=folder)
    return os.path.join(folder, "server.crt"), os.path.join(folder, "server.key")


@contextlib.contextmanager
def https_server(files=None):
    """Yields (base address, authority certificate file) while the server runs."""
    ca_crt, ca_key = test_ca()
    with tempfile.TemporaryDirectory(prefix="doxly-https-") as folder:
        crt, key = localhost_certificate(ca_crt, ca_key, folder)
        port_file = os.path.join(folder, "port")
        command = [sys.executable, os.path.join(HERE, "https_server.py"), "--cert", crt,
                   "--key", key, "--port-file", port_file]
        if files:
            command += ["--files", files]
        server = subprocess.Popen(command)
        try:
            deadline = time.monotonic() + STARTUP_TIMEOUT
            while read(port_file) is None:
                if server.poll() is not None or time.monotonic() > deadline:
                    raise RuntimeError("the HTTPS test server did not start")
                time.sleep(0.05)
            yield f"https://localhost:{int(read(port_file))}", ca_crt
        finally:
            server.terminate()
            try:
                server.wait(5)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()


def main():
    parser = argparse.ArgumentParser(
        usage="%(prog)s [--files DIR] [--expect-output REGEX] -- COMMAND [ARGUMENTS...]")
    parser.add_argument("--files")
    parser.add_argument("--expect-output")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command given")
    # A CTest time-out sends SIGTERM: leave through the finally blocks, which stop the server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))

    with https_server(args.files) as (address, ca_crt):
        environment = dict(os.environ, DOXLY_TEST_SERVER=address, DOXLY_TEST_CA=ca_crt)
        command = [argument.replace("{server}", address) for argument in command]
        if args.expect_output is None:
            return subprocess.run(command, env=environment).returncode
        result = subprocess.run(command, env=environment, stdout=subprocess.PIPE, text=True)
        print(result.stdout, end="")
        if result.returncode != 0:
            return result.returncode
        if not re.fullmatch(args.expect_output, result.stdout):
            print(f"the output does not match: {args.expect_output}", file=sys.stderr)
            return 1
        return 0


if __name__ == "__main__":
    sys.exit(main())

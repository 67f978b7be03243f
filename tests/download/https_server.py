#!/usr/bin/env python3
"""The HTTPS server of the download tests and the download benchmark (standard library only).

Listens on 127.0.0.1 at a free port and writes the port to --port-file once it accepts.
Paths, N being a byte count:
  /file/N            N pattern bytes with Content-Length
  /nolength/N        N pattern bytes without Content-Length; the body ends with the connection
  /slow/N            N pattern bytes with Content-Length, 8192 bytes every 50 ms
  /slow-nolength/N   the same without Content-Length
  /short/N           announces N pattern bytes, sends half of them and closes
  /reset/N           announces N pattern bytes, sends half of them and resets the connection
  /corrupt/N         announces N pattern bytes, sends half of them, then bytes that fail decryption
  /empty             status 200, Content-Length: 0
  /empty-nolength    status 200, no Content-Length, no body
  /redirect/N        302 to /file/N
  /files/NAME        the file NAME of the --files folder
  anything else      404
Pattern byte i is the top byte of i * 2654435761 modulo 2**32: no chunk of a body repeats another.
"""
import argparse
import http.server
import os
import re
import shutil
import socket
import ssl
import struct
import time

SLOW_CHUNK = 8192
SLOW_PAUSE = 0.05
FILE_BLOCK = 1 << 20


def pattern(start, count):
    return bytes(((i * 2654435761) & 0xFFFFFFFF) >> 24 for i in range(start, start + count))


class Handler(http.server.BaseHTTPRequestHandler):
    files = None

    def log_message(self, *args):
        pass

    def do_GET(self):
        match = re.fullmatch(r"/([a-z-]+)(?:/([^/]+))?", self.path)
        mode, argument = match.groups() if match else (None, None)
        count = int(argument) if argument and argument.isdigit() else 0
        try:
            if mode == "file":
                self.send_body(pattern(0, count))
            elif mode == "nolength":
                self.send_head(None)
                self.wfile.write(pattern(0, count))
            elif mode in ("slow", "slow-nolength"):
                self.send_head(count if mode == "slow" else None)
                for start in range(0, count, SLOW_CHUNK):
                    self.wfile.write(pattern(start, min(SLOW_CHUNK, count - start)))
                    time.sleep(SLOW_PAUSE)
            elif mode == "short":
                self.send_head(count)
                self.wfile.write(pattern(0, count // 2))
            elif mode == "reset":
                self.send_head(count)
                self.wfile.write(pattern(0, count // 2))
                self.reset()
            elif mode == "corrupt":
                self.send_head(count)
                self.wfile.write(pattern(0, count // 2))
                self.send_undecryptable_record()
            elif mode == "empty":
                self.send_body(b"")
            elif mode == "empty-nolength":
                self.send_head(None)
            elif mode == "redirect":
                self.send_response(302)
                self.send_header("Location", f"/file/{count}")
                self.send_header("Content-Length", "0")
                self.end_headers()
            elif mode == "files" and self.files and argument:
                self.send_file(os.path.join(self.files, os.path.basename(argument)))
            else:
                self.send_error(404)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            pass  # the client went away: a stopped download does that

    def send_head(self, length):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def send_body(self, body):
        self.send_head(len(body))
        self.wfile.write(body)

    def send_file(self, path):
        if not os.path.isfile(path):
            self.send_error(404)
            return
        with open(path, "rb") as source:
            self.send_head(os.fstat(source.fileno()).st_size)
            shutil.copyfileobj(source, self.wfile, FILE_BLOCK)

    def send_undecryptable_record(self):
        """Writes an application data record past TLS, which the client cannot decrypt."""
        raw = socket.socket(fileno=os.dup(self.connection.fileno()))
        raw.sendall(b"\x17\x03\x03\x00\x20" + bytes(32))
        raw.close()

    def reset(self):
        """Ends the connection with a TCP reset instead of an orderly close."""
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.connection.close()
        self.close_connection = True


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, context):
        super().__init__(("127.0.0.1", 0), Handler)
        self.context = context

    def get_request(self):
        connection, address = super().get_request()
        # The handshake happens in the request's thread, so one slow client holds up no other.
        return self.context.wrap_socket(
            connection, server_side=True, do_handshake_on_connect=False), address


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cert", required=True, help="server certificate chain (PEM)")
    parser.add_argument("--key", required=True, help="server private key (PEM)")
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--files", help="folder served under /files/")
    args = parser.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    Handler.files = args.files
    server = Server(context)
    temporary = args.port_file + ".new"
    with open(temporary, "w") as port_file:
        port_file.write(str(server.server_address[1]))
    os.replace(temporary, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()

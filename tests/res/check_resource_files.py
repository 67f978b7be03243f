#!/usr/bin/env python3
"""Checks the files compiled into the program for the forms their readers rely on.

Usage: check_resource_files.py RES_DIR
"""
import re
import struct
import sys

LANGUAGES = "en de es fr it pt ru uk ja zh id vi pl th ko ro nl".split()
KEYS = ("headline startText install startInstall close cancel tryAgain startingInstallation "
        "errorWhileDownloading startingInstallation express custom").split()
BOM = b"\xef\xbb\xbf"


def read(name):
    with open(f"{sys.argv[1]}/{name}", "rb") as f:
        return f.read()


def check_crlf_utf8(name, data):
    data.decode("utf-8")
    assert data.count(b"\r") == data.count(b"\n") == data.count(b"\r\n"), f"{name}: not CR LF"


table = read("i18n.txt")
check_crlf_utf8("i18n.txt", table)
assert not table.startswith(BOM) and table.endswith(b"\r\n")
blocks = table.decode("utf-8").removesuffix("\r\n").split("\r\n\r\n")
assert [b.split(".", 1)[0] for b in blocks] == LANGUAGES, "languages missing or out of order"
for language, block in zip(LANGUAGES, blocks):
    for line, key in zip(block.split("\r\n"), KEYS, strict=True):
        # The page inserts texts unescaped into its markup.
        assert re.fullmatch(rf"{language}\.{key} = [^&<>\"{{\s]([^&<>\"{{]*\S)?", line), line

page = read("installer.xhtml")
assert not page.startswith(BOM), "a byte-order mark would become page text"
used = set(re.findall(r"\{lang[a-z-]*/([^}]*)\}", page.decode("utf-8")))
assert used and used <= set(KEYS), used - set(KEYS)

for name in ("license_English.txt", "license_German.txt"):
    # A native multi-line edit control breaks lines only at CR LF.
    licence = read(name)
    check_crlf_utf8(name, licence)
    assert licence.startswith(BOM) and len(licence) > 1000, name

logo = read("logo.png")
assert logo[:8] == b"\x89PNG\r\n\x1a\n" and logo[12:16] == b"IHDR"
assert struct.unpack(">IIBB", logo[16:26]) == (256, 256, 8, 6), "not 256 x 256 RGBA"
icon = read("installer.ico")
assert struct.unpack("<HHH", icon[:6])[:2] == (0, 1)
# In an icon directory a width byte of 0 means 256.
sizes = {icon[6 + 16 * i] or 256 for i in range(struct.unpack("<H", icon[4:6])[0])}
assert sizes == {16, 32, 48, 256}, sizes
# Entries of 32 pixels and more are PNG: as bitmaps they would take twice the room.
for i in range(struct.unpack("<H", icon[4:6])[0]):
    width, _, _, _, _, _, size, offset = struct.unpack("<BBBBHHII", icon[6 + 16 * i:22 + 16 * i])
    assert (width or 256) < 32 or icon[offset:offset + 8] == b"\x89PNG\r\n\x1a\n", width

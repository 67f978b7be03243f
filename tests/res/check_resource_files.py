#!/usr/bin/env python3
"""Checks the files compiled into the program for the forms their readers rely on.

Usage: check_resource_files.py RES_DIR
"""

import re
import struct
import sys
import unittest

RES = None

LANGUAGES = ["en", "de", "es", "fr", "it", "pt", "ru", "uk", "ja", "zh", "id", "vi", "pl", "th",
             "ko", "ro", "nl"]
KEYS = ["headline", "startText", "install", "startInstall", "close", "cancel", "tryAgain",
        "startingInstallation", "errorWhileDownloading", "startingInstallation", "express", "custom"]
BOM = b"\xef\xbb\xbf"


def read(name):
    with open(f"{RES}/{name}", "rb") as f:
        return f.read()


def assert_crlf_only(test, data):
    test.assertNotIn(b"\n", data.replace(b"\r\n", b""), "a line ends without CR LF")
    test.assertNotIn(b"\r", data.replace(b"\r\n", b""), "a lone CR")


class LocalisationTable(unittest.TestCase):
    def setUp(self):
        self.data = read("i18n.txt")

    def test_encoding_and_line_ends(self):
        self.assertFalse(self.data.startswith(BOM))
        self.data.decode("utf-8")
        assert_crlf_only(self, self.data)
        self.assertTrue(self.data.endswith(b"\r\n"))

    def test_every_language_has_the_same_lines_in_order(self):
        blocks = self.data.decode("utf-8").removesuffix("\r\n").split("\r\n\r\n")
        self.assertEqual([b.split(".", 1)[0] for b in blocks], LANGUAGES)
        for language, block in zip(LANGUAGES, blocks):
            lines = block.split("\r\n")
            keys = [re.match(rf"{language}\.(\w+) = \S", line) for line in lines]
            self.assertTrue(all(keys), f"{language}: a line not of the form 'lang.key = text'")
            self.assertEqual([k.group(1) for k in keys], KEYS, language)

    def test_texts_are_safe_in_markup(self):
        # The page inserts texts unescaped into its markup.
        for line in self.data.decode("utf-8").split("\r\n"):
            text = line.partition("=")[2].strip()
            for bad in '&<>"{':
                self.assertNotIn(bad, text, line)
            self.assertEqual(line, line.strip(), "blanks at the end of a line")


class Page(unittest.TestCase):
    def test_placeholders_name_existing_keys(self):
        page = read("installer.xhtml")
        self.assertFalse(page.startswith(BOM), "a byte-order mark would become page text")
        used = set(re.findall(r"\{lang[a-z-]*/([^}]*)\}", page.decode("utf-8")))
        self.assertTrue(used)
        self.assertLessEqual(used, set(KEYS))


class LicenceTexts(unittest.TestCase):
    def test_bom_and_crlf(self):
        # A native multi-line edit control breaks lines only at CR LF.
        for name in ("license_English.txt", "license_German.txt"):
            with self.subTest(name=name):
                data = read(name)
                self.assertTrue(data.startswith(BOM))
                self.assertGreater(len(data.decode("utf-8")), 1000)
                assert_crlf_only(self, data)


class Images(unittest.TestCase):
    def test_logo_is_256_square_rgba_png(self):
        data = read("logo.png")
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(data[12:16], b"IHDR")
        width, height, depth, colour_type = struct.unpack(">IIBB", data[16:26])
        self.assertEqual((width, height, depth, colour_type), (256, 256, 8, 6))

    def test_icon_holds_the_four_sizes(self):
        data = read("installer.ico")
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        # In an icon directory a width byte of 0 means 256.
        sizes = {data[6 + 16 * i] or 256 for i in range(count)}
        self.assertEqual(sizes, {16, 32, 48, 256})


if __name__ == "__main__":
    RES = sys.argv.pop(1)
    unittest.main(verbosity=2)

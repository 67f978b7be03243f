#!/usr/bin/env python3
"""Reads the libraries a Windows program imports at load time from its PE import directory and
fails when one is outside the allowed list: those every supported Windows loads from its own
KnownDLLs list, none of which pulls in a library that could be planted beside the program.

Usage: check_imports.py PROGRAM
"""
import struct, sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
           "oleaut32.dll", "msvcrt.dll", "shlwapi.dll"}


def imported_libraries(image):
    """The names in the import directory, in the order of its descriptors."""
    if image[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    import_rva = struct.unpack_from("<I", image, directories + 8)[0]
    table = [struct.unpack_from("<8xII4xI16x", image, optional + optional_size + 40 * i)
             for i in range(sections)]

    def offset(rva):
        for size, address, raw in table:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError(f"RVA {rva:#x} in no section")

    names, at = [], offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<12xI", image, at)[0]
        if name_rva == 0:
            return names
        start = offset(name_rva)
        names.append(image[start:image.index(b"\0", start)].decode("ascii"))
        at += 20


def main():
    with open(sys.argv[1], "rb") as f:
        names = imported_libraries(f.read())
    print("imports:", " ".join(names))
    outside = [name for name in names if name.lower() not in ALLOWED]
    if outside or not names:
        print("FAILED: imported at load time outside the allowed list:", " ".join(outside))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Throw-away code-signing certificates made with openssl, and Authenticode signatures made with
osslsigncode, for the demo setup and the end-to-end flows. Never for a release: the keys lie
unprotected in a build folder.

Usage: test_publisher.py FOLDER NAME PROGRAM
signs PROGRAM in place as the publisher NAME, whose key and certificate are kept in FOLDER.
"""
import os, subprocess, sys


def certificate(folder, name):
    """The (certificate, key) files of the publisher `name` in `folder`, made when missing."""
    os.makedirs(folder, exist_ok=True)
    stem = os.path.join(folder, name.replace(" ", "-"))
    certificate, key = stem + ".crt", stem + ".key"
    if not (os.path.exists(certificate) and os.path.exists(key)):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
                        "-subj", f"/CN={name}", "-keyout", key, "-out", certificate,
                        "-addext", "keyUsage=critical,digitalSignature",
                        "-addext", "extendedKeyUsage=codeSigning"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return certificate, key


def sign(program, output, folder, name):
    """Writes `program` signed by the publisher `name` to `output` (which may be `program`)."""
    certificate_file, key = certificate(folder, name)
    signed = output + ".signing"
    subprocess.run(["osslsigncode", "sign", "-certs", certificate_file, "-key", key,
                    "-n", "Doxly Creator setup", "-in", program, "-out", signed],
                   check=True, stdout=subprocess.DEVNULL)
    os.replace(signed, output)


def unsigned(program, output):
    """Writes `program` without its signature to `output`."""
    subprocess.run(["osslsigncode", "remove-signature", "-in", program, "-out", output],
                   check=True, stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sign(sys.argv[3], sys.argv[3], sys.argv[1], sys.argv[2])

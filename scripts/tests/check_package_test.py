#!/usr/bin/env python3
"""The package check finds each fault a broken release could have: every case
rewrites the good zip with one fault and expects the check to name it.

  check_package_test.py <check_package.py arguments> --stand-in DLL
"""
import argparse
import os
import struct
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import check_package  # noqa: E402


def rewrite(source, target, change):
    """Copies a zip, passing each (name, data, mode) through change, which
    returns a list of entries to write in its place."""
    with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as new:
        for info in old.infolist():
            for name, data, mode in change(info.filename, old.read(info), info.external_attr >> 16):
                entry = zipfile.ZipInfo(name, info.date_time)
                entry.external_attr = mode << 16
                new.writestr(entry, data, zipfile.ZIP_DEFLATED)


def main():
    parser = argparse.ArgumentParser()
    for option in ("manifest", "zip", "setup", "product", "version", "machine", "stand-in"):
        parser.add_argument(f"--{option}", required=True)
    args = parser.parse_args()
    folder = f"tessera-{args.version}/"
    stand_in = open(args.stand_in, "rb").read()
    wrong_version = args.version.encode("utf-16-le"), "9.9.9".encode("utf-16-le")[:len(args.version) * 2]

    def amd64(data):
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        return data[:pe + 4] + struct.pack("<H", 0x8664) + data[pe + 6:]

    def only(path, make):  # applies make to one release file, keeps the others
        return lambda name, data, mode: make(name, data, mode) if name == folder + path else [(name, data, mode)]

    cases = [  # what is broken, the change, a piece of the expected complaint
        ("nothing", lambda n, d, m: [(n, d, m)], None),
        ("stand-in as link.dll", only("link.dll", lambda n, d, m: [(n, stand_in, m)]), "link.dll: no version resource"),
        ("stand-in added", only("link.dll", lambda n, d, m: [(n, d, m), (folder + "iserver_script.dll", stand_in, m)]),
         "a test stand-in"),
        ("file left out", only("mantle.dll", lambda n, d, m: []), "zip holds"),
        ("launcher not executable", only("tessera-wine.sh", lambda n, d, m: [(n, d, 0o644)]), "not executable"),
        ("other version", only("tessel.exe", lambda n, d, m: [(n, d.replace(*wrong_version), m)]), "FileVersion"),
        ("other machine", only("tessel.exe", lambda n, d, m: [(n, amd64(d), m)]), "machine amd64"),
        ("zip and setup differ", only("README.txt", lambda n, d, m: [(n, d + b"\r\n", m)]), "setup installs"),
        ("outside the folder", only("LICENSE.txt", lambda n, d, m: [("LICENSE.txt", d, m)]), "outside"),
    ]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for what, change, complaint in cases:
            broken = os.path.join(work, "broken.zip")
            rewrite(args.zip, broken, change)
            problems = check_package.problems_of(argparse.Namespace(**{**vars(args), "zip": broken}))
            found = not problems if complaint is None else any(complaint in p for p in problems)
            if not found:
                failures += 1
                print(f"FAILED {what}: expected {complaint or 'no problem'}, got {problems}")
            else:
                print(f"ok     {what}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

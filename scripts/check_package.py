#!/usr/bin/env python3
"""Checks a release package against release/files.txt: the zip holds exactly
the listed files in one folder tessera-<version>/, the launcher is executable,
every Windows binary in it is built for the machine and carries the release's
version resource, nothing of the test stand-ins is inside, and the setup
program (itself with the version resource) installs the same files with the
same sizes (as `7z l` lists it).

  check_package.py --manifest FILE --zip ZIP --setup EXE --product NAME --version X.Y.Z [--machine i386]
"""
import argparse
import re
import subprocess
import sys
import zipfile

import pe_version

# Names of the test stand-ins (tools/), test programs and their data.
STAND_IN = re.compile(r"test|stub|probe|gallery|iserver_(script|nosuspend)|c012_peer|\.script$|\.res$", re.I)


def manifest_paths(path):
    """The release paths release/files.txt lists (its third column)."""
    paths = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if fields and not fields[0].startswith("#"):
                paths.append(fields[2])
    return paths


def setup_files(setup):
    """{path: size} of the files the setup program installs (7z's listing)."""
    listing = subprocess.run(["7z", "l", "-slt", setup], check=True, capture_output=True, text=True).stdout
    files, path = {}, None
    for line in listing.splitlines():
        if line.startswith("Path = "):
            path = line[7:].replace("\\", "/")
        elif line.startswith("Size = ") and path is not None:
            files[path] = line[7:]
            path = None
    # The archive itself, NSIS's own plug-ins, and the uninstaller the setup
    # writes (no stored file, so no size) are not release files.
    return {p: int(s) for p, s in files.items()
            if p != setup and not p.startswith("$PLUGINSDIR/") and s and p != "uninstall.exe"}


def problems_of(args):
    problems = []
    expected = manifest_paths(args.manifest)
    folder = f"tessera-{args.version}/"
    with zipfile.ZipFile(args.zip) as archive:
        entries = archive.infolist()
        names = [e.filename for e in entries]
        outside = [n for n in names if not n.startswith(folder) or n.endswith("/")]
        if outside:
            problems.append(f"entries outside {folder} or folders: {outside}")
        inside = {e.filename[len(folder):]: e for e in entries if e.filename.startswith(folder)}
        if sorted(inside) != sorted(expected) or len(names) != len(set(names)):
            problems.append(f"zip holds {sorted(inside)}, expected {sorted(expected)}")
        for path, entry in inside.items():
            if STAND_IN.search(path):
                problems.append(f"{path}: a test stand-in in the release")
            if path.endswith(".sh") and not (entry.external_attr >> 16) & 0o100:
                problems.append(f"{path}: not executable")
            data = archive.read(entry)
            if data[:2] == b"MZ" or path.lower().endswith((".exe", ".dll")):
                for problem in pe_version.check(data, args.machine, args.product, args.version):
                    problems.append(f"{path}: {problem}")
        zip_sizes = {path: entry.file_size for path, entry in inside.items()}
    with open(args.setup, "rb") as f:
        for problem in pe_version.check(f.read(), args.machine, args.product, args.version):
            problems.append(f"setup program: {problem}")
    installed = setup_files(args.setup)
    if installed != zip_sizes:
        problems.append(f"setup installs {sorted(installed.items())}, zip holds {sorted(zip_sizes.items())}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    for option in ("manifest", "zip", "setup", "product", "version"):
        parser.add_argument(f"--{option}", required=True)
    parser.add_argument("--machine", default="i386")
    args = parser.parse_args()
    problems = problems_of(args)
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{args.zip} and {args.setup}: the files of release/files.txt, as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

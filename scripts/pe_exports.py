#!/usr/bin/env python3
"""Checks a Windows binary's export table: its machine, the module name it
gives, and that it exports exactly the expected names.

  pe_exports.py FILE [--machine i386|amd64] [--module NAME] [--names A,B,...] [--contains A,B,...]
"""
import argparse
import sys

from pe_image import EXPORT_DIRECTORY, PeImage


def read_exports(path):
    image = PeImage.open(path)
    export_rva, _ = image.directory(EXPORT_DIRECTORY)
    if export_rva == 0:
        return image.machine, None, []
    fields = image.unpack("<IIHHIIIIIII", image.offset(export_rva))
    module, count, names_rva = fields[4], fields[7], fields[9]
    names = [image.cstring(image.unpack("<I", image.offset(names_rva) + 4 * i)[0]) for i in range(count)]
    return image.machine, image.cstring(module), names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--machine")
    parser.add_argument("--module")
    parser.add_argument("--names", help="exactly these exports")
    parser.add_argument("--contains", help="at least these exports")
    args = parser.parse_args()
    machine, module, names = read_exports(args.file)
    problems = []
    if args.machine and machine != args.machine:
        problems.append(f"machine {machine}, expected {args.machine}")
    if args.module and module != args.module:
        problems.append(f"module name {module!r}, expected {args.module!r}")
    if args.names and sorted(names) != sorted(args.names.split(",")):
        problems.append(f"exports {sorted(names)}, expected {sorted(args.names.split(','))}")
    if args.contains:
        missing = sorted(set(args.contains.split(",")) - set(names))
        if missing:
            problems.append(f"missing exports {missing}")
    for problem in problems:
        print(f"{args.file}: {problem}")
    if not problems:
        print(f"{args.file}: {machine}, module {module}, {len(names)} exports as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

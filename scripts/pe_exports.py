#!/usr/bin/env python3
"""Checks a Windows binary's export table: its machine, the module name it
gives, and that it exports exactly the expected names.

  pe_exports.py FILE [--machine i386|amd64] [--module NAME] [--names A,B,...] [--contains A,B,...]
"""
import argparse
import struct
import sys

MACHINES = {0x14C: "i386", 0x8664: "amd64"}


def read_exports(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    export_rva, _ = struct.unpack_from("<II", data, directories)
    table = optional + optional_size
    spans = []
    for i in range(sections):
        _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        spans.append((vaddr, max(vsize, rsize), raw))

    def offset(rva):
        for vaddr, size, raw in spans:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        raise ValueError("address outside every section")

    def text(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    if export_rva == 0:
        return MACHINES.get(machine, hex(machine)), None, []
    fields = struct.unpack_from("<IIHHIIIIIII", data, offset(export_rva))
    module, count, names_rva = fields[4], fields[7], fields[9]
    names = [text(struct.unpack_from("<I", data, offset(names_rva) + 4 * i)[0]) for i in range(count)]
    return MACHINES.get(machine, hex(machine)), text(module), names


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

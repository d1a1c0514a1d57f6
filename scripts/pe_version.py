#!/usr/bin/env python3
"""Checks a Windows binary's version resource (what Explorer shows under
Properties > Details): the machine, the product name, the file description,
the original file name, and that the fixed and the text versions agree with
the release version. Company and copyright lines must be there.

  pe_version.py FILE [--machine i386|amd64] [--product NAME] [--version X.Y.Z]
                [--description TEXT] [--filename NAME]
"""
import argparse
import sys

from pe_image import RESOURCE_DIRECTORY, PeImage

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def _first_entry(image, base, directory, wanted=None):
    """The target of a resource directory's entry with id `wanted` (the first
    entry when None), as (is_subdirectory, offset from the resource base)."""
    named, ids = image.unpack("<HH", base + directory + 12)
    for i in range(named + ids):
        name, target = image.unpack("<II", base + directory + 16 + 8 * i)
        if wanted is None or (not name & 0x80000000 and name == wanted):
            return bool(target & 0x80000000), target & 0x7FFFFFFF
    return None


def version_bytes(image):
    """The raw VS_VERSIONINFO block, or None without one."""
    rva, _ = image.directory(RESOURCE_DIRECTORY)
    if rva == 0:
        return None
    base = image.offset(rva)
    entry = (True, 0)
    for wanted in (RT_VERSION, None, None):   # type, name, language
        if entry is None or not entry[0]:
            return None
        entry = _first_entry(image, base, entry[1], wanted)
    if entry is None or entry[0]:
        return None
    data_rva, size = image.unpack("<II", base + entry[1])
    return image.bytes_at(data_rva, size)


def _align(n):
    return (n + 3) & ~3


def parse_block(data, pos=0):
    """One version block: (key, value bytes, is_text, children)."""
    if pos + 6 > len(data):
        raise ValueError("version block past its end")
    length, value_length, kind = (int.from_bytes(data[pos + i:pos + i + 2], "little") for i in (0, 2, 4))
    end = pos + length
    if length < 6 or end > len(data):
        raise ValueError("version block length out of range")
    key_end = pos + 6
    while key_end + 1 < end and data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    value_pos = _align(key_end + 2)
    value_size = value_length * 2 if kind == 1 else value_length
    value = data[value_pos:min(value_pos + value_size, end)]
    children, child = [], _align(value_pos + value_size)
    while child + 6 <= end:
        block, child_end = parse_block(data, child)
        children.append(block)
        child = _align(child_end)
    return (key, value, kind == 1, children), end


def read_version(image):
    """{"fixed": (file version, product version), "strings": {...}} or None."""
    raw = version_bytes(image)
    if raw is None:
        return None
    (key, value, _, children), _ = parse_block(raw)
    if key != "VS_VERSION_INFO" or len(value) < 52:
        raise ValueError("not a version resource")
    words = [int.from_bytes(value[i:i + 4], "little") for i in range(0, 52, 4)]
    if words[0] != FIXED_SIGNATURE:
        raise ValueError("fixed version info without its signature")

    def dotted(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

    strings = {}
    for block in children:
        if block[0] != "StringFileInfo":
            continue
        for table in block[3]:
            for name, text, _, _ in table[3]:
                strings[name] = text.decode("utf-16-le").split("\0")[0]
    return {"fixed": (dotted(words[2], words[3]), dotted(words[4], words[5])), "strings": strings}


def check(data, machine=None, product=None, version=None, description=None, filename=None):
    """The problems found with a binary's machine and version resource (empty: none)."""
    try:
        image = PeImage(data)
        info = read_version(image)
    except ValueError as error:
        return [str(error)]
    problems = []
    if machine and image.machine != machine:
        problems.append(f"machine {image.machine}, expected {machine}")
    if info is None:
        return problems + ["no version resource"]
    strings = info["strings"]
    wanted = {"ProductName": product, "FileDescription": description, "OriginalFilename": filename,
              "FileVersion": version, "ProductVersion": version}
    for name, value in wanted.items():
        if value is not None and strings.get(name) != value:
            problems.append(f"{name} {strings.get(name)!r}, expected {value!r}")
    for name in ("CompanyName", "LegalCopyright", "FileDescription"):
        if not strings.get(name):
            problems.append(f"no {name}")
    if version is not None and info["fixed"] != (f"{version}.0",) * 2:
        problems.append(f"fixed versions {info['fixed']}, expected {version}.0")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    for option in ("machine", "product", "version", "description", "filename"):
        parser.add_argument(f"--{option}")
    args = parser.parse_args()
    try:
        with open(args.file, "rb") as f:
            data = f.read()
    except OSError as error:
        print(f"{args.file}: {error}")
        return 1
    problems = check(data, args.machine, args.product, args.version, args.description, args.filename)
    for problem in problems:
        print(f"{args.file}: {problem}")
    if not problems:
        print(f"{args.file}: version resource as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

"""The parts of a PE file (a Windows .exe or .dll) that the static checks read:
its machine, section map and data directories. Malformed or truncated files
raise ValueError with a short reason, never read past the file's end.
"""
import struct

MACHINES = {0x14C: "i386", 0x8664: "amd64"}
EXPORT_DIRECTORY = 0
RESOURCE_DIRECTORY = 2


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a PE file")
        pe = self.unpack("<I", 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        machine, sections, _, _, _, optional_size, _ = self.unpack("<HHIIIHH", pe + 4)
        self.machine = MACHINES.get(machine, hex(machine))
        optional = pe + 24
        magic = self.unpack("<H", optional)[0]
        first = optional + (92 if magic == 0x10B else 108)
        count = self.unpack("<I", first)[0]
        self.directories = [self.unpack("<II", first + 4 + 8 * i) for i in range(min(count, 16))]
        table = optional + optional_size
        self.spans = []
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = self.unpack("<8sIIII", table + 40 * i)
            self.spans.append((vaddr, max(vsize, rsize), raw))

    @classmethod
    def open(cls, path):
        with open(path, "rb") as f:
            return cls(f.read())

    def unpack(self, fmt, offset):
        try:
            return struct.unpack_from(fmt, self.data, offset)
        except struct.error:
            raise ValueError(f"truncated at offset {offset:#x}") from None

    def directory(self, index):
        """(rva, size) of a data directory; (0, 0) when the file has none."""
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for vaddr, size, raw in self.spans:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        raise ValueError(f"address {rva:#x} outside every section")

    def bytes_at(self, rva, size):
        start = self.offset(rva)
        if start + size > len(self.data):
            raise ValueError(f"{size} bytes at {rva:#x} reach past the end of the file")
        return self.data[start:start + size]

    def cstring(self, rva):
        start = self.offset(rva)
        end = self.data.find(b"\0", start)
        if end < 0:
            raise ValueError(f"unterminated name at {rva:#x}")
        return self.data[start:end].decode("ascii")

"""Sets a Windows Installer package's package code and times in its summary
information, in place (standard library only). wixl 0.101 writes a random
package code and the build's clock there and takes neither from outside, so
two builds of one commit differ only there; msi.py calls this last.

The package is a compound file (the OLE structured storage format); the
summary information is its stream "\\x05SummaryInformation", a property set.
A package code (a GUID in braces) and a time keep their sizes, so only their
bytes change, wherever the stream's sectors lie."""
import struct

SIGNATURE = bytes.fromhex("D0CF11E0A1B11AE1")
END_OF_CHAIN = 0xFFFFFFFE
STREAM, ROOT = 2, 5
SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION_NUMBER, PID_CREATED, PID_LAST_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
# A FILETIME counts 100 ns intervals from 1601-01-01.
FILETIME_AT_1970 = 116444736000000000


class CompoundFile:
    """Where each stream's bytes lie in the file."""

    def __init__(self, data):
        if data[:8] != SIGNATURE:
            raise ValueError("not a compound file")
        sector_shift, mini_shift = struct.unpack_from("<HH", data, 0x1E)
        self.data, self.sector_size, self.mini_size = data, 1 << sector_shift, 1 << mini_shift
        (fat_sectors, directory_start, _, self.cutoff, mini_fat_start, _, difat_start,
         difat_sectors) = struct.unpack_from("<8I", data, 0x2C)
        difat = list(struct.unpack_from("<109I", data, 0x4C))
        sector = difat_start
        for _ in range(difat_sectors):
            entries = self.words(self.offset(sector), self.sector_size)
            difat, sector = difat + entries[:-1], entries[-1]
        self.fat = [word for s in difat[:fat_sectors] for word in self.words(self.offset(s), self.sector_size)]
        self.mini_fat = [word for s in self.chain(mini_fat_start, self.fat)
                         for word in self.words(self.offset(s), self.sector_size)]
        self.entries = {}
        for sector in self.chain(directory_start, self.fat):
            for pos in range(self.offset(sector), self.offset(sector) + self.sector_size, 128):
                name_size, kind = struct.unpack_from("<HB", data, pos + 0x40)
                start, size_low, size_high = struct.unpack_from("<III", data, pos + 0x74)
                # Version 3 files (512-byte sectors) may leave the high half undefined.
                size = size_low if self.sector_size == 512 else size_low | size_high << 32
                if kind == ROOT:
                    self.mini_stream = self.positions(start, size, self.fat, self.sector_size, self.offset)
                elif kind == STREAM:
                    name = data[pos:pos + max(name_size - 2, 0)].decode("utf-16-le")
                    self.entries.setdefault(name, (start, size))

    def words(self, offset, size):
        return list(struct.unpack_from("<%dI" % (size // 4), self.data, offset))

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def chain(self, start, table):
        sectors = []
        while start != END_OF_CHAIN:
            if start >= len(table) or len(sectors) > len(table):
                raise ValueError("a broken sector chain")
            sectors.append(start)
            start = table[start]
        return sectors

    def positions(self, start, size, table, block, where):
        """The file offset of each byte of a chain of blocks."""
        return [where(s) + i for s in self.chain(start, table) for i in range(block)][:size]

    def stream(self, name):
        """The file offset of each byte of a stream in the root storage."""
        start, size = self.entries[name]
        if size >= self.cutoff:
            return self.positions(start, size, self.fat, self.sector_size, self.offset)
        return self.positions(start, size, self.mini_fat, self.mini_size,
                              lambda s: self.mini_stream[s * self.mini_size])


def set_summary(path, package_code, seconds):
    """Writes package_code ("{GUID}") and, as the created and last saved
    times, seconds since 1970 (UTC) into the package at path."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    where = CompoundFile(data).stream(SUMMARY_STREAM)
    stream = bytearray(data[p] for p in where)
    # A property set: a header, one section's place at 44, and in the section
    # its size, its count and a (property id, place) pair per property.
    (section,) = struct.unpack_from("<I", stream, 44)
    (count,) = struct.unpack_from("<I", stream, section + 4)
    places = dict(struct.unpack_from("<II", stream, section + 8 + 8 * i) for i in range(count))
    code = package_code.encode("ascii") + b"\0"
    time = struct.pack("<Q", FILETIME_AT_1970 + int(seconds) * 10 ** 7)
    for pid, kind, value in ((PID_REVISION_NUMBER, VT_LPSTR, code), (PID_CREATED, VT_FILETIME, time),
                             (PID_LAST_SAVED, VT_FILETIME, time)):
        pos = section + places[pid]
        if struct.unpack_from("<I", stream, pos)[0] != kind:
            raise ValueError("summary property %d is not of type %d" % (pid, kind))
        if kind == VT_LPSTR:
            if struct.unpack_from("<I", stream, pos + 4)[0] != len(value):
                raise ValueError("the package code has another length than wixl's")
            pos += 4
        stream[pos + 4:pos + 4 + len(value)] = value
    for p, byte in zip(where, stream):
        data[p] = byte
    with open(path, "wb") as f:
        f.write(data)

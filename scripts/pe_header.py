"""The one reader of a PE file's headers, for the release script, the release
checks and the i686 harness (standard library only)."""
import struct

# The COFF header's machine numbers of the two builds.
MACHINES = {0x14C: "i686", 0x8664: "x86_64"}


class PeError(Exception):
    pass


def coff_offset(data):
    """Where the COFF header starts, after the "PE\\0\\0" signature."""
    if len(data) < 64 or data[:2] != b"MZ":
        raise PeError("no MZ header")
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise PeError("no PE signature")
    return pe_offset + 4


def machine(path):
    """The machine number of a PE file, None for anything else (or unreadable)."""
    try:
        with open(path, "rb") as f:
            data = f.read(4096)
        return struct.unpack_from("<H", data, coff_offset(data))[0]
    except (OSError, PeError, struct.error):
        return None

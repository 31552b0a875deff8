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


# The certificate table (data directory 4, the security directory): the
# Authenticode signature, appended to the file after it is linked. Unlike the
# other directories it gives a file offset, not an address in memory.
DIR_SECURITY = 4
WIN_CERT_REVISION_2_0 = 0x0200
WIN_CERT_TYPE_PKCS_SIGNED_DATA = 0x0002


def data_directory(data, index):
    """(address or offset, size) of one data directory; (0, 0) when absent."""
    opt = coff_offset(data) + 20
    (magic,) = struct.unpack_from("<H", data, opt)
    count_at = {0x10B: 92, 0x20B: 108}.get(magic)
    if count_at is None:
        raise PeError("unknown optional header magic 0x%x" % magic)
    (count,) = struct.unpack_from("<I", data, opt + count_at)
    if index >= count:
        return (0, 0)
    return struct.unpack_from("<II", data, opt + count_at + 4 + 8 * index)


def sections_end(data):
    """Where the last section's bytes in the file end."""
    coff = coff_offset(data)
    count, = struct.unpack_from("<H", data, coff + 2)
    (optional_size,) = struct.unpack_from("<H", data, coff + 16)
    table = coff + 20 + optional_size
    end = table + 40 * count
    for i in range(count):
        raw_size, raw_ptr = struct.unpack_from("<II", data, table + 40 * i + 16)
        end = max(end, raw_ptr + raw_size)
    return end


def certificate_table(data):
    """(offset, size) of the file's certificate table, None when unsigned.
    PeError unless it is one: WIN_CERTIFICATE entries (revision 2.0, PKCS#7
    signed data), each padded to 8 bytes, after every section and ending the
    file, as a signing tool appends them."""
    offset, size = data_directory(data, DIR_SECURITY)
    if not offset and not size:
        return None
    if offset % 8 or offset < sections_end(data):
        raise PeError("the certificate table at 0x%x does not follow the sections (they end at 0x%x)"
                      % (offset, sections_end(data)))
    if offset + size != len(data):
        raise PeError("the certificate table (0x%x, %d bytes) does not end the file (%d bytes)"
                      % (offset, size, len(data)))
    at = offset
    while at < offset + size:
        if at + 8 > offset + size:
            raise PeError("the certificate table is not one: a cut WIN_CERTIFICATE at 0x%x" % at)
        length, revision, kind = struct.unpack_from("<IHH", data, at)
        if length <= 8 or at + length > offset + size or (revision, kind) != (
                WIN_CERT_REVISION_2_0, WIN_CERT_TYPE_PKCS_SIGNED_DATA):
            raise PeError("the certificate table is not one: WIN_CERTIFICATE at 0x%x has length %d, revision "
                          "0x%x, type %d" % (at, length, revision, kind))
        at += (length + 7) & ~7
    return (offset, size)


def size_without_certificate_table(data):
    """The file's size as linked: without the certificate table that signing
    appends, and only that."""
    table = certificate_table(data)
    return table[0] if table else len(data)

#!/usr/bin/env python3
"""Static checks of a built bin/ folder as it is shipped: Tolvane.exe, Setup.exe
and Readme.txt. The PE files are parsed here with the standard library only, so
the i686 build (which this machine cannot run) is checked the same way as the
x86_64 one.

    python3 check_deliverable.py --bin build/win32/bin --arch i386
"""
import argparse
import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pe_header  # noqa: E402
import tolvane_version  # noqa: E402

# ---------------------------------------------------------------------------
# What the shipped files must be.
# ---------------------------------------------------------------------------

ARCHITECTURES = {
    # arch: (optional header magic, COFF machine, description)
    "i386": (0x10B, 0x14C, "PE32 / i386"),
    "x86-64": (0x20B, 0x8664, "PE32+ / x86-64"),
}

SUBSYSTEM_WINDOWS_GUI = 2
DLLCHAR_DYNAMIC_BASE = 0x0040
DLLCHAR_NX_COMPAT = 0x0100

ALLOWED_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "comctl32.dll", "msvcrt.dll", "version.dll", "ole32.dll", "shlwapi.dll",
    "comdlg32.dll",
    # Setup: BSTR and VARIANT arguments for the desktop shell's ShellExecute,
    # which starts the launcher as the desktop's user.
    "oleaut32.dll",
}

# The version records come from version/Version.h.
VERSION = tolvane_version.read()

LANGUAGE_BLOCK = "040704B0"
TRANSLATION = (0x0407, 1200)
ENGLISH_BLOCK = "040904B0"
ENGLISH_TRANSLATION = (0x0409, 1200)

PROGRAMS = {
    "Tolvane.exe": {
        "fixed_version": VERSION["TOLVANE_VERSION_BINARY"],
        "strings": {
            "FileVersion": VERSION["TOLVANE_VERSION_TEXT"],
            "ProductVersion": VERSION["TOLVANE_VERSION_TEXT"],
            "FileDescription": "Programm zum einfachen Starten des Explorers",
            "CompanyName": "Varnholt",
            "ProductName": "Tolvane",
        },
        # The launcher speaks English too: a block of its own, and both in Translation.
        "english": {"FileDescription": "Program for starting the Explorer easily", "CompanyName": "Varnholt"},
        "execution_level": "asInvoker",
        # (width, height, bits per pixel) that the icon group must hold
        "icons": [(16, 16, 4), (32, 32, 4)],
    },
    "Setup.exe": {
        "fixed_version": VERSION["SETUP_VERSION_BINARY"],
        "strings": {
            "FileVersion": VERSION["SETUP_VERSION_TEXT"],
            "ProductVersion": VERSION["SETUP_VERSION_TEXT"],
            "FileDescription": "Installationsprogramm von Tolvane",
            "CompanyName": "Varnholt",
            "ProductName": "Tolvane",
        },
        # Setup speaks English and German, as the launcher does.
        "english": {"FileDescription": "Installer of Tolvane", "CompanyName": "Varnholt"},
        "execution_level": "requireAdministrator",
        "icons": [(32, 32, 4)],
    },
}

OTHER_FILES = ["Readme.txt", "Liesmich.txt"]

# Each program as linked, without the certificate table a signature appends
# (docs/performance.md).
SIZE_GOAL = 256 * 1024

COMMON_CONTROLS = ("Microsoft.Windows.Common-Controls", "6.0.0.0")

# ---------------------------------------------------------------------------
# PE reading
# ---------------------------------------------------------------------------

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_DEBUG = 6


PeError = pe_header.PeError


class PeFile:
    def __init__(self, data):
        self.data = data
        coff = pe_header.coff_offset(data)
        (self.machine, self.section_count, _, self.symbol_table_pointer,
         self.symbol_count, optional_size, self.characteristics) = struct.unpack_from(
            "<HHIIIHH", data, coff)
        opt = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, opt)
        if self.magic == 0x10B:
            self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
            (dir_count,) = struct.unpack_from("<I", data, opt + 92)
            dirs = opt + 96
        elif self.magic == 0x20B:
            self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
            (dir_count,) = struct.unpack_from("<I", data, opt + 108)
            dirs = opt + 112
        else:
            raise PeError("unknown optional header magic 0x%x" % self.magic)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(dir_count)]
        self.sections = []
        table = opt + optional_size
        for i in range(self.section_count):
            name, vsize, rva, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), rva, max(vsize, raw_size),
                                  raw_ptr, raw_size))

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def offset(self, rva):
        for _, start, size, raw_ptr, raw_size in self.sections:
            if start <= rva < start + size:
                if rva - start >= raw_size:
                    raise PeError("RVA 0x%x lies in uninitialised data" % rva)
                return raw_ptr + rva - start
        raise PeError("RVA 0x%x is outside every section" % rva)

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def imported_dlls(self):
        rva, size = self.directory(DIR_IMPORT)
        if not rva:
            return []
        names = []
        pos = self.offset(rva)
        while True:
            fields = struct.unpack_from("<IIIII", self.data, pos)
            if not any(fields):
                return names
            names.append(self.c_string(fields[3]))
            pos += 20

    def resources(self):
        """{(type, name, language): bytes}; string ids are returned as str."""
        return {k: self.data[start:start + size] for k, (start, size) in self.resource_locations().items()}

    def resource_locations(self):
        """{(type, name, language): (file offset, size)}."""
        rva, _ = self.directory(DIR_RESOURCE)
        if not rva:
            return {}
        base = self.offset(rva)
        found = {}

        def entry_id(value):
            if value & 0x80000000:
                pos = base + (value & 0x7FFFFFFF)
                (length,) = struct.unpack_from("<H", self.data, pos)
                return self.data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
            return value

        def walk(dir_offset, path):
            named, numbered = struct.unpack_from("<HH", self.data, base + dir_offset + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + dir_offset + 16 + 8 * i)
                key = path + (entry_id(name),)
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, key)
                else:
                    data_rva, size = struct.unpack_from("<II", self.data, base + target)
                    found[key] = (self.offset(data_rva), size)

        walk(0, ())
        return found

    def resources_of_type(self, rtype):
        return {k: v for k, v in self.resources().items() if k[0] == rtype}


def read_pe(path):
    with open(path, "rb") as f:
        return PeFile(f.read())


# ---------------------------------------------------------------------------
# Version record (VS_VERSIONINFO) parsing
# ---------------------------------------------------------------------------

def _align4(n):
    return (n + 3) & ~3


def parse_version_node(data, pos=0):
    """One node of the version tree: (key, value bytes, value type, children)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_start = pos + 6
    key_end = key_start
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value_start = _align4(key_end + 2)
    # Text values count their length in WORDs, binary ones in bytes.
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = data[value_start:value_start + value_bytes]
    children = []
    child = _align4(value_start + value_bytes)
    while child < end:
        (child_length,) = struct.unpack_from("<H", data, child)
        if child_length == 0:
            break
        children.append(parse_version_node(data, child))
        child = _align4(child + child_length)
    return key, value, value_type, children


class VersionInfo:
    def __init__(self, data):
        key, value, _, children = parse_version_node(data)
        if key != "VS_VERSION_INFO":
            raise PeError("version record key is %r" % key)
        signature, _, ms, ls, pms, pls = struct.unpack_from("<IIIIII", value)
        if signature != 0xFEEF04BD:
            raise PeError("VS_FIXEDFILEINFO signature 0x%x" % signature)
        self.file_version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        self.product_version = (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF)
        self.string_tables = {}
        self.translations = []
        for child_key, _, _, grandchildren in children:
            if child_key == "StringFileInfo":
                for table_key, _, _, strings in grandchildren:
                    self.string_tables[table_key.upper()] = {
                        k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in strings}
            elif child_key == "VarFileInfo":
                for var_key, var_value, _, _ in grandchildren:
                    if var_key == "Translation":
                        for i in range(0, len(var_value) - 3, 4):
                            self.translations.append(struct.unpack_from("<HH", var_value, i))


# ---------------------------------------------------------------------------
# Checks: each returns a list of problems, empty when the file is right.
# ---------------------------------------------------------------------------

def check_architecture(pe, arch):
    magic, machine, label = ARCHITECTURES[arch]
    problems = []
    if pe.magic != magic:
        problems.append("optional header magic is 0x%x, %s needs 0x%x" % (pe.magic, label, magic))
    if pe.machine != machine:
        problems.append("machine is 0x%x, %s needs 0x%x" % (pe.machine, label, machine))
    return problems


def check_gui_subsystem(pe):
    if pe.subsystem != SUBSYSTEM_WINDOWS_GUI:
        return ["subsystem is %d, not Windows GUI (%d)" % (pe.subsystem, SUBSYSTEM_WINDOWS_GUI)]
    return []


def check_stripped(pe):
    problems = []
    if pe.symbol_table_pointer or pe.symbol_count:
        problems.append("COFF symbol table present (%d symbols at 0x%x)"
                        % (pe.symbol_count, pe.symbol_table_pointer))
    debug_sections = [s[0] for s in pe.sections if s[0].startswith((".debug", ".zdebug")) or s[0].startswith("/")]
    if debug_sections:
        problems.append("debug sections present: %s" % ", ".join(debug_sections))
    if pe.directory(DIR_DEBUG)[0]:
        problems.append("debug directory present")
    return problems


def check_imports(pe):
    dlls = pe.imported_dlls()
    problems = ["imports %s, which is not a Windows system DLL" % dll
                for dll in dlls if dll.lower() not in ALLOWED_DLLS]
    if not dlls:
        problems.append("no import table")
    return problems


def check_security_flags(pe):
    problems = []
    for flag, name in ((DLLCHAR_DYNAMIC_BASE, "DYNAMIC_BASE (ASLR)"), (DLLCHAR_NX_COMPAT, "NX_COMPAT (DEP)")):
        if not pe.dll_characteristics & flag:
            problems.append("%s not set (DllCharacteristics 0x%04x)" % (name, pe.dll_characteristics))
    return problems


def check_size(pe):
    try:
        size = pe_header.size_without_certificate_table(pe.data)
    except PeError as e:
        return ["%s, so it counts: %d bytes" % (e, len(pe.data))] + (
            ["over the goal: %d bytes, %d allowed" % (len(pe.data), SIZE_GOAL)] if len(pe.data) > SIZE_GOAL else [])
    if size > SIZE_GOAL:
        return ["over the goal: %d bytes without the certificate table, %d allowed" % (size, SIZE_GOAL)]
    return []


def check_version(pe, expected):
    records = pe.resources_of_type(RT_VERSION)
    if not records:
        return ["no RT_VERSION resource"]
    info = VersionInfo(next(iter(records.values())))
    problems = []
    if info.file_version != expected["fixed_version"]:
        problems.append("fixed file version %s, expected %s"
                        % (".".join(map(str, info.file_version)), ".".join(map(str, expected["fixed_version"]))))
    if info.product_version != expected["fixed_version"]:
        problems.append("fixed product version %s, expected %s"
                        % (".".join(map(str, info.product_version)), ".".join(map(str, expected["fixed_version"]))))
    block, translation = expected.get("language", (LANGUAGE_BLOCK, TRANSLATION))
    table = info.string_tables.get(block)
    if table is None:
        problems.append("no string table %s (has %s)" % (block, sorted(info.string_tables)))
        table = {}
    for name, value in expected["strings"].items():
        if table.get(name) != value:
            problems.append("%s is %r, expected %r" % (name, table.get(name), value))
    wanted = [(block, translation, expected["strings"])]
    if "english" in expected:
        wanted.append((ENGLISH_BLOCK, ENGLISH_TRANSLATION, expected["english"]))
    for block, translation, strings in wanted[1:]:
        for name, value in strings.items():
            if info.string_tables.get(block, {}).get(name) != value:
                problems.append("%s of %s is %r, expected %r"
                                % (name, block, info.string_tables.get(block, {}).get(name), value))
    for block, translation, _ in wanted:
        if translation not in info.translations:
            problems.append("Translation %s lacks 0x%04x/%d"
                            % ((["0x%04x/%d" % t for t in info.translations],) + translation))
    if len(info.string_tables) != len(wanted) or len(info.translations) != len(wanted):
        problems.append("string tables %s and Translation %s, expected one each for %s"
                        % (sorted(info.string_tables), info.translations, [b for b, _, _ in wanted]))
    return problems


def _local(tag):
    return tag.rsplit("}", 1)[-1]


def check_manifest(pe, expected):
    manifests = [v for k, v in pe.resources().items() if k[0] == RT_MANIFEST and k[1] == 1]
    if not manifests:
        return ["no RT_MANIFEST resource with id 1"]
    try:
        root = ET.fromstring(manifests[0])
    except ET.ParseError as e:
        return ["manifest is not well-formed XML: %s" % e]
    elements = {}
    for element in root.iter():
        elements.setdefault(_local(element.tag), []).append(element)

    problems = []
    levels = [e.get("level") for e in elements.get("requestedExecutionLevel", [])]
    if levels != [expected["execution_level"]]:
        problems.append("requestedExecutionLevel %s, expected %r" % (levels, expected["execution_level"]))

    identities = [(e.get("name"), e.get("version"))
                  for dep in elements.get("dependentAssembly", [])
                  for e in dep if _local(e.tag) == "assemblyIdentity"]
    if COMMON_CONTROLS not in identities:
        problems.append("no dependency on %s %s (dependencies: %s)" % (COMMON_CONTROLS + (identities,)))

    awareness = [(e.text or "").strip() for e in elements.get("dpiAwareness", [])]
    if not any("PerMonitorV2" in [p.strip() for p in a.split(",")] for a in awareness):
        problems.append("dpiAwareness %s does not name PerMonitorV2" % awareness)
    fallback = [(e.text or "").strip().lower() for e in elements.get("dpiAware", [])]
    if not any(f.startswith("true") or f == "per monitor" for f in fallback):
        problems.append("no dpiAware fallback for older Windows (found %s)" % fallback)

    long_path = [(e.text or "").strip().lower() for e in elements.get("longPathAware", [])]
    if long_path != ["true"]:
        problems.append("longPathAware is %s, expected true" % long_path)

    if not [e.get("Id") for e in elements.get("supportedOS", []) if e.get("Id")]:
        problems.append("no supportedOS entries")
    return problems


def check_icons(pe, expected):
    resources = pe.resources()
    groups = [v for k, v in resources.items() if k[0] == RT_GROUP_ICON]
    if not groups:
        return ["no RT_GROUP_ICON resource"]
    images = {k[1]: v for k, v in resources.items() if k[0] == RT_ICON}
    problems = []
    found = []
    for group in groups:
        _, kind, count = struct.unpack_from("<HHH", group)
        for i in range(count):
            width, height, colours, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            width, height = width or 256, height or 256
            image = images.get(icon_id)
            if image is None:
                problems.append("group names icon %d, which is missing" % icon_id)
                continue
            if image[:8] == b"\x89PNG\r\n\x1a\n":
                found.append((width, height, bits))
                continue
            # What Windows draws comes from the image's own header, not the group entry.
            _, img_width, img_height, _, img_bits = struct.unpack_from("<IiiHH", image)
            if (img_width, img_height // 2) != (width, height) or (bits and img_bits != bits):
                problems.append("icon %d: group says %dx%d %d bpp, image is %dx%d %d bpp"
                                % (icon_id, width, height, bits, img_width, img_height // 2, img_bits))
            if img_bits == 4 and colours not in (0, 16):
                problems.append("icon %d: 4 bpp image with colour count %d" % (icon_id, colours))
            found.append((img_width, img_height // 2, img_bits))
    for size in expected["icons"]:
        if size not in found:
            problems.append("no %dx%d %d bpp icon image (found %s)" % (size + (found,)))
    return problems


# ---------------------------------------------------------------------------
# unittest front end
# ---------------------------------------------------------------------------

BIN_DIR = None
ARCH = None

PE_CHECKS = [
    # (name, function taking (pe, expectations for this program))
    ("architecture", lambda pe, exp: check_architecture(pe, ARCH)),
    ("gui subsystem", lambda pe, exp: check_gui_subsystem(pe)),
    ("stripped", lambda pe, exp: check_stripped(pe)),
    ("system DLL imports only", lambda pe, exp: check_imports(pe)),
    ("ASLR and DEP", lambda pe, exp: check_security_flags(pe)),
    ("size", lambda pe, exp: check_size(pe)),
    ("version record", check_version),
    ("manifest", check_manifest),
    ("icons", check_icons),
]


class DeliverableTest(unittest.TestCase):
    def test_files_side_by_side(self):
        for name in list(PROGRAMS) + OTHER_FILES:
            with self.subTest(file=name):
                path = os.path.join(BIN_DIR, name)
                self.assertTrue(os.path.isfile(path), "%s missing from %s" % (name, BIN_DIR))
                self.assertGreater(os.path.getsize(path), 0, "%s is empty" % path)

    def test_readme_names_the_version(self):
        # The German guide starts with a byte order mark, for Notepads that would take it for ANSI.
        for name in OTHER_FILES:
            with self.subTest(file=name), open(os.path.join(BIN_DIR, name), encoding="utf-8-sig") as f:
                self.assertEqual(f.readline().rstrip(), "Tolvane " + VERSION["TOLVANE_VERSION_TEXT"])


def _make_test(check_name, check, program):
    def test(self):
        path = os.path.join(BIN_DIR, program)
        if not os.path.isfile(path):
            self.fail("%s missing" % path)
        try:
            problems = check(read_pe(path), PROGRAMS[program])
        except (PeError, struct.error, ValueError) as e:
            problems = ["cannot be read: %s" % e]
        if problems:
            self.fail("%s, %s:\n  %s" % (program, check_name, "\n  ".join(problems)))
    return test


for _program in PROGRAMS:
    for _check_name, _check in PE_CHECKS:
        _method = "test_%s_%s" % (_program.split(".")[0].lower(),
                                  _check_name.replace(" ", "_").replace("-", "_"))
        setattr(DeliverableTest, _method, _make_test(_check_name, _check, _program))


def main():
    global BIN_DIR, ARCH
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="folder holding Tolvane.exe, Setup.exe, Readme.txt")
    parser.add_argument("--arch", required=True, choices=sorted(ARCHITECTURES))
    args, rest = parser.parse_known_args()
    BIN_DIR, ARCH = args.bin, args.arch
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

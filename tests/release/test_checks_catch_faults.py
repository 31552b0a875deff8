#!/usr/bin/env python3
"""Each deliverable check must reject a file that is wrong in just the way it
looks for: the real programs from --bin are damaged one fault at a time (in
memory, same length, so the rest of the file still parses) and the matching
check has to report it.

    python3 test_checks_catch_faults.py --bin build/win32/bin --arch i386
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_deliverable as cd  # noqa: E402

BIN_DIR = None
ARCH = None


def _opt(data):
    return cd.pe_header.coff_offset(data) + 20


def set_u16(data, pos, value):
    struct.pack_into("<H", data, pos, value)


def set_machine(data):
    set_u16(data, cd.pe_header.coff_offset(data), 0x1C0)  # ARM


def set_console_subsystem(data):
    set_u16(data, _opt(data) + 68, 3)


def add_symbol_table(data):
    struct.pack_into("<II", data, cd.pe_header.coff_offset(data) + 8, 0x400, 12)


def rename_first_section_debug(data):
    coff = cd.pe_header.coff_offset(data)
    (optional_size,) = struct.unpack_from("<H", data, coff + 16)
    table = coff + 20 + optional_size
    data[table:table + 8] = b".debug_i"


def clear_dll_characteristic(flag):
    def mutate(data):
        pos = _opt(data) + 70
        (value,) = struct.unpack_from("<H", data, pos)
        set_u16(data, pos, value & ~flag)
    return mutate


def replace_in_file(old, new):
    assert len(old) == len(new)

    def mutate(data):
        pos = bytes(data).index(old)
        data[pos:pos + len(old)] = new
    return mutate


def replace_in_resource(rtype, old, new, encoding=None, after=None):
    """Same-length replacement inside the resource of type rtype only (and past
    the text `after` if given), so the program's own strings elsewhere stay as
    they are."""
    if encoding:
        old, new = old.encode(encoding), new.encode(encoding)
        after = after.encode(encoding) if after else None
    assert len(old) == len(new)

    def mutate(data):
        pe = cd.PeFile(bytes(data))
        for (t, _, _), (start, size) in pe.resource_locations().items():
            if t == rtype:
                block = bytes(data[start:start + size])
                skip = block.index(after) if after and after in block else 0
                if old in block[skip:]:
                    pos = start + block.index(old, skip)
                    data[pos:pos + len(old)] = new
                    return
        raise AssertionError("%r not found in resource type %d" % (old, rtype))
    return mutate


def patch_group_icon(field_offset, value):
    """Overwrites one byte/word of the first group entry (offset inside GRPICONDIRENTRY)."""
    def mutate(data):
        pe = cd.PeFile(bytes(data))
        start, _ = next(v for k, v in pe.resource_locations().items() if k[0] == cd.RT_GROUP_ICON)
        pos = start + 6 + field_offset
        if field_offset in (4, 6, 12):
            set_u16(data, pos, value)
        else:
            data[pos] = value
    return mutate


def patch_all_icon_images_bits(value):
    def mutate(data):
        pe = cd.PeFile(bytes(data))
        for k, (start, _) in pe.resource_locations().items():
            if k[0] == cd.RT_ICON:
                set_u16(data, start + 14, value)  # BITMAPINFOHEADER.biBitCount
    return mutate


def grow_past_goal(data):
    """Zeros after the sections, as data appended after linking would be (a
    signed build's program loses its signature first)."""
    table = cd.pe_header.certificate_table(bytes(data))
    if table:
        del data[table[0]:]
        set_security_directory(data, 0, 0)
    data.extend(bytes(cd.SIZE_GOAL + 8 - len(data) + (-len(data)) % 8))


def set_security_directory(data, offset, size):
    (magic,) = struct.unpack_from("<H", data, _opt(data))
    struct.pack_into("<II", data, _opt(data) + (96 if magic == 0x10B else 112) + 8 * cd.pe_header.DIR_SECURITY,
                     offset, size)


def zeros_as_certificate_table(data):
    linked = cd.pe_header.size_without_certificate_table(bytes(data))
    grow_past_goal(data)
    set_security_directory(data, linked, len(data) - linked)


def certificate_table_over_last_section(data):
    """A well-formed WIN_CERTIFICATE claiming the grown file from inside the
    last section on: only where the table sits tells it from a signature."""
    grow_past_goal(data)
    offset = cd.pe_header.sections_end(data) - 512
    struct.pack_into("<IHH", data, offset, len(data) - offset, 0x0200, 0x0002)
    set_security_directory(data, offset, len(data) - offset)


def fixed_version_bump(data):
    pe = cd.PeFile(bytes(data))
    start, size = next(v for k, v in pe.resource_locations().items() if k[0] == cd.RT_VERSION)
    pos = start + bytes(data[start:start + size]).index(struct.pack("<I", 0xFEEF04BD))
    (ms,) = struct.unpack_from("<I", data, pos + 8)
    struct.pack_into("<I", data, pos + 8, ms + 1)  # dwFileVersionMS: minor + 1


U16 = "utf-16-le"


def other_version(text):
    """The version text with its last digit changed: same length, so the
    record still parses."""
    return text[:-1] + str((int(text[-1]) + 1) % 10)


def version_text_fault(program):
    text = cd.PROGRAMS[program]["strings"]["FileVersion"]
    return (program, "version text", replace_in_resource(cd.RT_VERSION, text + "\0", other_version(text) + "\0", U16),
            "version record", "FileVersion is '%s'" % other_version(text))


def bumped_minor(version):
    return ".".join(map(str, (version[0], version[1] + 1) + tuple(version[2:])))

# (program, fault, damage, check that must report it, words its message must contain)
FAULTS = [
    ("Tolvane.exe", "other machine", set_machine, "architecture", "machine is 0x1c0"),
    ("Setup.exe", "other machine", set_machine, "architecture", "machine is 0x1c0"),
    ("Tolvane.exe", "console subsystem", set_console_subsystem, "gui subsystem", "subsystem is 3"),
    ("Setup.exe", "COFF symbols kept", add_symbol_table, "stripped", "symbol table"),
    ("Tolvane.exe", "debug section", rename_first_section_debug, "stripped", ".debug_i"),
    ("Tolvane.exe", "runtime DLL import", replace_in_file(b"msvcrt.dll\0", b"libgcc.dll\0"),
     "system DLL imports only", "libgcc.dll"),
    ("Setup.exe", "pthread DLL import", replace_in_file(b"KERNEL32.dll\0", b"libwinpthr-1\0"),
     "system DLL imports only", "libwinpthr-1"),
    ("Tolvane.exe", "no ASLR", clear_dll_characteristic(cd.DLLCHAR_DYNAMIC_BASE), "ASLR and DEP", "DYNAMIC_BASE"),
    ("Setup.exe", "no DEP", clear_dll_characteristic(cd.DLLCHAR_NX_COMPAT), "ASLR and DEP", "NX_COMPAT"),
    version_text_fault("Tolvane.exe"),
    version_text_fault("Setup.exe"),
    ("Tolvane.exe", "fixed version", fixed_version_bump, "version record",
     "fixed file version " + bumped_minor(cd.PROGRAMS["Tolvane.exe"]["fixed_version"])),
    ("Tolvane.exe", "description", replace_in_resource(cd.RT_VERSION, "Explorer", "Explorar", U16),
     "version record", "FileDescription"),
    ("Setup.exe", "company", replace_in_resource(cd.RT_VERSION, "Varnholt\0", "Varnholz\0", U16),
     "version record", "CompanyName"),
    ("Tolvane.exe", "product", replace_in_resource(cd.RT_VERSION, "Tolvane", "Tolvani", U16, after="ProductName"),
     "version record", "ProductName"),
    ("Tolvane.exe", "string table language", replace_in_resource(cd.RT_VERSION, "040704B0", "040904B0", U16),
     "version record", "no string table 040704B0"),
    ("Tolvane.exe", "translation language",
     replace_in_resource(cd.RT_VERSION, struct.pack("<HH", 0x0407, 1200), struct.pack("<HH", 0x0409, 1200)),
     "version record", "Translation"),
    # Setup speaks German and English too: its record has a block for each.
    ("Setup.exe", "string table language", replace_in_resource(cd.RT_VERSION, "040704B0", "040904B0", U16),
     "version record", "no string table 040704B0"),
    ("Setup.exe", "English description", replace_in_resource(cd.RT_VERSION, "Installer", "Installex", U16),
     "version record", "FileDescription of 040904B0"),
    ("Tolvane.exe", "execution level", replace_in_resource(cd.RT_MANIFEST, b'"asInvoker"', b'"asInvokex"'),
     "manifest", "requestedExecutionLevel"),
    ("Setup.exe", "execution level",
     replace_in_resource(cd.RT_MANIFEST, b'"requireAdministrator"', b'"highestAvailable"    '),
     "manifest", "requestedExecutionLevel"),
    ("Tolvane.exe", "common controls version", replace_in_resource(cd.RT_MANIFEST, b'"6.0.0.0"', b'"5.8.0.0"'),
     "manifest", "Common-Controls"),
    ("Setup.exe", "per-monitor v2", replace_in_resource(cd.RT_MANIFEST, b"PerMonitorV2", b"PerMonitorV3"),
     "manifest", "PerMonitorV2"),
    ("Tolvane.exe", "dpiAware fallback", replace_in_resource(cd.RT_MANIFEST, b">true/pm<", b">false/p<"),
     "manifest", "dpiAware fallback"),
    ("Tolvane.exe", "long paths", replace_in_resource(cd.RT_MANIFEST, b">true</longPath", b">fals</longPath"),
     "manifest", "longPathAware"),
    ("Setup.exe", "supported OS list",
     lambda data: [replace_in_resource(cd.RT_MANIFEST, b"<supportedOS ", b"<unsupported ")(data) for _ in range(4)],
     "manifest", "supportedOS"),
    ("Tolvane.exe", "broken XML", replace_in_resource(cd.RT_MANIFEST, b"</assembly>", b"</assembly<"),
     "manifest", "well-formed"),
    ("Setup.exe", "over the size goal", grow_past_goal, "size", "over the goal"),
    ("Setup.exe", "over the goal, zeros posing as a certificate table", zeros_as_certificate_table, "size",
     "over the goal"),
    ("Tolvane.exe", "over the goal, a certificate table over the last section",
     certificate_table_over_last_section, "size", "does not follow the sections"),
    ("Tolvane.exe", "256-colour icons", patch_all_icon_images_bits(8), "icons", "4 bpp"),
    ("Setup.exe", "icon size", patch_group_icon(0, 48), "icons", "48x32"),
    ("Tolvane.exe", "missing icon image", patch_group_icon(12, 999), "icons", "icon 999"),
]


class ChecksCatchFaults(unittest.TestCase):
    def test_clean_files_pass(self):
        for program, expected in cd.PROGRAMS.items():
            pe = cd.read_pe(os.path.join(BIN_DIR, program))
            for check_name, check in cd.PE_CHECKS:
                with self.subTest(program=program, check=check_name):
                    self.assertEqual([], check(pe, expected))

    def test_each_fault_is_reported(self):
        checks = dict(cd.PE_CHECKS)
        for program, fault, damage, check_name, words in FAULTS:
            with self.subTest(program=program, fault=fault):
                with open(os.path.join(BIN_DIR, program), "rb") as f:
                    data = bytearray(f.read())
                damage(data)
                problems = checks[check_name](cd.PeFile(bytes(data)), cd.PROGRAMS[program])
                self.assertTrue(problems, "%s with %s passed the %s check" % (program, fault, check_name))
                self.assertIn(words, "\n".join(problems))

    def test_a_signature_does_not_count(self):
        for program in cd.PROGRAMS:
            with self.subTest(program=program):
                with open(os.path.join(BIN_DIR, program), "rb") as f:
                    data = bytearray(f.read())
                grow_past_goal(data)
                del data[cd.SIZE_GOAL:]
                # A signature's size: one WIN_CERTIFICATE of 1.5 KiB ending the file.
                data.extend(struct.pack("<IHH", 1536, 0x0200, 0x0002) + bytes(1528))
                set_security_directory(data, cd.SIZE_GOAL, 1536)
                self.assertEqual([], cd.check_size(cd.PeFile(bytes(data))))

    def test_programs_swapped(self):
        checks = dict(cd.PE_CHECKS)
        # Tolvane.exe's icon group also holds the one size Setup.exe needs, so
        # only the other way round is an icon fault.
        swapped = [
            ("Tolvane.exe", "Setup.exe", "version record"),
            ("Tolvane.exe", "Setup.exe", "manifest"),
            ("Tolvane.exe", "Setup.exe", "icons"),
            ("Setup.exe", "Tolvane.exe", "version record"),
            ("Setup.exe", "Tolvane.exe", "manifest"),
        ]
        for program, other, check_name in swapped:
            with self.subTest(expected=program, file=other, check=check_name):
                pe = cd.read_pe(os.path.join(BIN_DIR, other))
                self.assertTrue(checks[check_name](pe, cd.PROGRAMS[program]))

    def _run_checker(self, bin_dir, arch):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_deliverable.py")
        return subprocess.run([sys.executable, script, "--bin", bin_dir, "--arch", arch],
                              capture_output=True, text=True)

    def test_whole_run_fails_for_other_architecture(self):
        other = "x86-64" if ARCH == "i386" else "i386"
        result = self._run_checker(BIN_DIR, other)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("machine is 0x%x" % cd.ARCHITECTURES[ARCH][1], result.stderr)

    def test_whole_run_fails_without_readme(self):
        with tempfile.TemporaryDirectory() as folder:
            for program in cd.PROGRAMS:
                shutil.copy(os.path.join(BIN_DIR, program), folder)
            result = self._run_checker(folder, ARCH)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("Readme.txt missing", result.stderr)


def main():
    global BIN_DIR, ARCH
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--arch", required=True, choices=sorted(cd.ARCHITECTURES))
    args, rest = parser.parse_known_args()
    BIN_DIR, ARCH = args.bin, args.arch
    cd.ARCH = ARCH
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""A signed build: a throwaway code-signing certificate (openssl) is given to
a build of this project as TOLVANE_SIGN_* values, which signs with its own
step (scripts/sign.py). Every signature verifies against that certificate
and no other, Setup holds the signed launcher's hash, the programs as linked
meet the size goal, and the signed Setup installs silently under Wine. A bad
certificate or password stops the build and leaves nothing unsigned behind.

    test_signed_build.py --source . --work build/win64/signed --toolchain cmake/mingw-x86_64.cmake \\
        --unsigned-bin build/win64/bin
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import check_deliverable as cd  # noqa: E402

ARGS = None
PASSWORD = "throwaway pass"


def make_certificate(folder, name):
    """cert.pem, and <name>.p12 with its key, whose password is in password.txt."""
    os.makedirs(folder, exist_ok=True)
    cert, key, p12 = (os.path.join(folder, name + ext) for ext in (".pem", ".key", ".p12"))
    password = os.path.join(folder, "password.txt")
    with open(password, "w") as f:
        f.write(PASSWORD + "\n")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=Tolvane throwaway signer " + name,
                    "-addext", "extendedKeyUsage=codeSigning", "-addext", "keyUsage=digitalSignature"],
                   check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", p12,
                    "-passout", "file:" + password], check=True, capture_output=True)
    return cert, p12, password


def configure(build, *definitions):
    return subprocess.run(["cmake", "-S", ARGS.source, "-B", build, "-G", "Ninja",
                           "-DCMAKE_TOOLCHAIN_FILE=" + ARGS.toolchain, "-DCMAKE_BUILD_TYPE=MinSizeRel"]
                          + ["-D" + d for d in definitions], capture_output=True, text=True)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


class SignedBuildTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A new certificate each run; the build folder is kept, so a later run
        # relinks and signs again (the certificate is an input of each link).
        keys = os.path.join(ARGS.work, "certificates")
        shutil.rmtree(keys, ignore_errors=True)
        cls.cert, p12, cls.password = make_certificate(keys, "signer")
        cls.other_cert, _, _ = make_certificate(os.path.join(keys, "other"), "other")
        cls.p12 = p12
        build = os.path.join(ARGS.work, "build")
        result = configure(build, "TOLVANE_SIGN_PKCS12=" + p12, "TOLVANE_SIGN_PASSWORD_FILE=" + cls.password)
        if result.returncode:
            raise AssertionError("configure failed:\n" + result.stdout + result.stderr)
        result = subprocess.run(["cmake", "--build", build, "--target", "Setup", "msi"], capture_output=True,
                                text=True)
        if result.returncode:
            raise AssertionError("build failed:\n" + result.stdout[-4000:] + result.stderr)
        cls.bin = os.path.join(build, "bin")
        cls.msi = next(os.path.join(build, "msi", name) for name in os.listdir(os.path.join(build, "msi"))
                       if name.endswith(".msi"))

    def test_every_signature_verifies_against_that_certificate_only(self):
        unsigned = os.path.join(ARGS.unsigned_bin, "Tolvane.exe")
        for path, ca, verifies in ((os.path.join(self.bin, "Tolvane.exe"), self.cert, True),
                                   (os.path.join(self.bin, "Setup.exe"), self.cert, True),
                                   (self.msi, self.cert, True),
                                   (os.path.join(self.bin, "Setup.exe"), self.other_cert, False),
                                   (unsigned, self.cert, False)):
            with self.subTest(file=path, ca=os.path.basename(ca)):
                result = subprocess.run(["osslsigncode", "verify", "-CAfile", ca, "-in", path],
                                        capture_output=True, text=True)
                self.assertEqual(verifies, result.returncode == 0, result.stdout + result.stderr)

    def test_setup_holds_the_signed_launchers_hash(self):
        # Setup keeps its hashes as wide text, as every other text it has.
        with open(os.path.join(self.bin, "Setup.exe"), "rb") as f:
            setup = f.read()
        launcher = sha256(os.path.join(self.bin, "Tolvane.exe"))
        self.assertTrue(launcher.encode("utf-16-le") in setup, "Setup.exe does not hold the signed launcher's " + launcher)

    def test_programs_meet_the_size_goal_as_linked(self):
        for name in cd.PROGRAMS:
            with self.subTest(program=name):
                pe = cd.read_pe(os.path.join(self.bin, name))
                self.assertEqual([], cd.check_size(pe))
                # Only the table is left out: the rest is as long as the unsigned build's program.
                other = cd.read_pe(os.path.join(ARGS.unsigned_bin, name))
                self.assertEqual(cd.pe_header.size_without_certificate_table(pe.data),
                                 cd.pe_header.size_without_certificate_table(other.data))
                self.assertGreater(len(pe.data), len(other.data))

    def test_signed_setup_installs_under_wine(self):
        os.environ["TOLVANE_BIN_DIR"] = self.bin
        import tolvane_e2e
        session = tolvane_e2e.WineSession("signed-setup")
        self.addCleanup(tolvane_e2e.E2ERun.get().close)
        files = ["Tolvane.exe", "Setup.exe", "Readme.txt", "Liesmich.txt"]
        session.install_programs({"C:\\Downloads": files})
        result = session.wine("C:\\Downloads\\Setup.exe", "/S", "/DIR=C:\\Signed Tolvane\\", "/LOG=C:\\setup.log",
                              check=False, timeout=120)
        self.assertEqual(0, result.returncode, open(session.host_path("C:\\setup.log")).read())
        for name in files:
            with self.subTest(file=name):
                self.assertEqual(sha256(os.path.join(self.bin, name)),
                                 sha256(session.host_path("C:\\Signed Tolvane\\" + name)))

    def test_a_bad_certificate_stops_the_build(self):
        wrong = os.path.join(ARGS.work, "certificates", "wrong.txt")
        with open(wrong, "w") as f:
            f.write("not " + PASSWORD + "\n")
        missing = os.path.join(ARGS.work, "certificates", "missing.p12")
        for p12, password, words in ((self.p12, wrong, "Wrong password"),
                                     (self.cert, self.password, "PKCS#12"),
                                     (missing, self.password, "does not exist")):
            with self.subTest(p12=os.path.basename(p12), password=os.path.basename(password)):
                target = os.path.join(ARGS.work, "certificates", "Tolvane.exe")
                shutil.copy(os.path.join(ARGS.unsigned_bin, "Tolvane.exe"), target)
                result = subprocess.run([sys.executable, os.path.join(ARGS.source, "scripts", "sign.py"),
                                         "--pkcs12", p12, "--password-file", password, "--remove-on-failure",
                                         target], capture_output=True, text=True)
                self.assertNotEqual(0, result.returncode)
                self.assertIn(words, result.stderr)
                self.assertFalse(os.path.exists(target), "an unsigned file was left behind")
        # A file that does not exist stops the configuration already.
        result = configure(os.path.join(ARGS.work, "missing-certificate"), "TOLVANE_SIGN_PKCS12=" + missing,
                           "TOLVANE_SIGN_PASSWORD_FILE=" + self.password)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("TOLVANE_SIGN_PKCS12 names no file", result.stderr.replace("\n", " "))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ("--source", "--work", "--toolchain", "--unsigned-bin"):
        parser.add_argument(name, required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.source, ARGS.work = os.path.abspath(ARGS.source), os.path.abspath(ARGS.work)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

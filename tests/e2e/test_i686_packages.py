"""The 32-bit Wine half's download of its i386 packages, against a local
archive whose second suite has an index that does not match its Release file
(as a mirror in the middle of a sync serves one)."""

import hashlib
import os
import subprocess
import tempfile
import unittest

import wine_i686

PROBE = "tolvane-probe"
PROBE_VERSION = "1.0-1"


def _write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def _digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest(), os.path.getsize(path)


class Archive:
    """A file archive with the suites "good" and "broken", each listing the
    probe package; "broken"'s Release gives its index a wrong size."""

    def __init__(self, base):
        self.base = base
        repo = os.path.join(base, "repo")
        control = os.path.join(base, "pkg", "DEBIAN", "control")
        _write(control, f"Package: {PROBE}\nVersion: {PROBE_VERSION}\nArchitecture: i386\n"
                        "Maintainer: Tolvane <tests@tolvane.invalid>\nDescription: probe\n")
        self.deb = os.path.join(repo, "pool", f"{PROBE}_{PROBE_VERSION}_i386.deb")
        os.makedirs(os.path.dirname(self.deb))
        subprocess.run(["dpkg-deb", "--build", os.path.dirname(os.path.dirname(control)), self.deb],
                       check=True, capture_output=True)
        sha, size = _digest(self.deb)
        for suite, size_error in (("good", 0), ("broken", 7)):
            index = os.path.join(repo, "dists", suite, "main", "binary-i386", "Packages")
            _write(index, f"Package: {PROBE}\nVersion: {PROBE_VERSION}\nArchitecture: i386\n"
                          f"Maintainer: Tolvane <tests@tolvane.invalid>\nDescription: probe\n"
                          f"Filename: pool/{os.path.basename(self.deb)}\nSize: {size}\nSHA256: {sha}\n\n")
            index_sha, index_size = _digest(index)
            _write(os.path.join(repo, "dists", suite, "Release"),
                   f"Suite: {suite}\nCodename: {suite}\nArchitectures: i386\nComponents: main\n"
                   f"Date: Wed, 09 Dec 2026 00:00:00 UTC\nSHA256:\n"
                   f" {index_sha} {index_size + size_error} main/binary-i386/Packages\n")
        sources = os.path.join(base, "sources.list")
        _write(sources, "".join(f"deb [trusted=yes] copy:{repo} {suite} main\n" for suite in ("good", "broken")))
        state = os.path.join(base, "state")
        for d in ("lists/partial", "archives/partial"):
            os.makedirs(os.path.join(state, d))
        _write(os.path.join(state, "status"), "")
        self.options = [
            "-o", "APT::Architecture=i386", "-o", "APT::Architectures::=i386",
            "-o", "Dir::Etc::sourcelist=" + sources, "-o", "Dir::Etc::sourceparts=-",
            "-o", "Dir::State::Lists=" + os.path.join(state, "lists"),
            "-o", "Dir::State::status=" + os.path.join(state, "status"),
            "-o", "Dir::Cache::Archives=" + os.path.join(state, "archives"),
            "-o", "Dir::Cache::pkgcache=", "-o", "Dir::Cache::srcpkgcache=",
            "-o", "Debug::NoLocking=1", "-q",
        ]


class FetchPackages(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.archive = Archive(self.scratch.name)
        self.into = os.path.join(self.scratch.name, "debs")
        os.makedirs(self.into)
        self.log = os.path.join(self.scratch.name, "prepare.log")
        self.pauses = []

    def tearDown(self):
        self.scratch.cleanup()

    def fetch(self, packages):
        wine_i686.fetch_packages(self.archive.options, packages, self.into, self.log,
                                 attempts=2, pause=3, sleep=self.pauses.append)

    def test_a_broken_index_is_tried_again_then_a_warning(self):
        for packages in ([PROBE], [f"{PROBE}={PROBE_VERSION}"]):
            with self.subTest(packages=packages):
                self.fetch(packages)
                self.assertEqual(os.listdir(self.into), [os.path.basename(self.archive.deb)])
                with open(self.log) as f:
                    self.assertIn("warning: apt-get update failed (attempt 2 of 2)", f.read())
                self.pauses.clear()
                os.remove(os.path.join(self.into, os.path.basename(self.archive.deb)))

    def test_a_package_that_cannot_be_downloaded_is_named_with_its_version(self):
        cases = [
            # (packages asked for, the archive's file removed, named in the error)
            ([PROBE, "tolvane-absent"], False, "tolvane-absent (no index names it)"),
            ([f"{PROBE}=9.9"], False, f"{PROBE} 9.9"),
            ([PROBE], True, f"{PROBE} {PROBE_VERSION}"),
        ]
        for packages, file_gone, named in cases:
            with self.subTest(packages=packages, file_gone=file_gone):
                for deb in os.listdir(self.into):
                    os.remove(os.path.join(self.into, deb))
                if file_gone:
                    os.remove(self.archive.deb)
                with self.assertRaises(wine_i686.PrepareError) as raised:
                    self.fetch(packages)
                message = str(raised.exception).splitlines()[0]
                self.assertIn(named, message)
                self.assertNotIn(f"{PROBE},", message)
                self.assertEqual(self.pauses, [3])
                self.pauses.clear()


if __name__ == "__main__":
    unittest.main()

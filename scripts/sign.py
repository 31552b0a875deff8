#!/usr/bin/env python3
"""Signs a built program or installer package in place with Authenticode,
with osslsigncode and a PKCS#12 file (certificate and private key):

    scripts/sign.py --pkcs12 cert.p12 --password-file pass.txt [--timestamp-url URL] \\
        [--description TEXT] [--remove-on-failure] FILE...

The one signing step of the build (each program right after it is linked, the
MSI after it is built), of the release (its MSI packages) and of the signing
test. The file is replaced only by a completely signed one; with
--remove-on-failure a file that could not be signed is removed, so that a
build stops and makes it again next time instead of shipping it unsigned.
With SOURCE_DATE_EPOCH set, the signing time is that date, and two signings
of one file with one certificate (without a timestamp) are byte-equal.
"""
import argparse
import os
import shutil
import subprocess
import sys


class SigningError(Exception):
    pass


def sign(path, pkcs12, password_file, timestamp_url=None, description=None, remove_on_failure=False):
    try:
        _sign(path, pkcs12, password_file, timestamp_url, description)
    except SigningError:
        if remove_on_failure and os.path.exists(path):
            os.remove(path)
        raise


def _sign(path, pkcs12, password_file, timestamp_url, description):
    for what, name in (("the file to sign", path), ("the PKCS#12 file", pkcs12),
                       ("the password file", password_file)):
        if not name or not os.path.isfile(name):
            raise SigningError("%s %s does not exist" % (what, name or "(none given)"))
    if not shutil.which("osslsigncode"):
        raise SigningError("osslsigncode is missing (Debian package osslsigncode)")
    signed = path + ".signing"
    # -readpass keeps the password off the command line, where any user's ps would show it.
    command = ["osslsigncode", "sign", "-pkcs12", pkcs12, "-readpass", password_file, "-h", "sha256"]
    if description:
        # What the elevation prompt shows as the program's name (for an MSI, instead of a temporary file name).
        command += ["-n", description]
    if os.environ.get("SOURCE_DATE_EPOCH"):
        command += ["-time", os.environ["SOURCE_DATE_EPOCH"]]
    if timestamp_url:
        command += ["-ts", timestamp_url]
    command += ["-in", path, "-out", signed]
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0 or not os.path.isfile(signed):
        if os.path.exists(signed):
            os.remove(signed)
        # osslsigncode's own lines name the cause ("Wrong password?"); OpenSSL's error stack after them does not.
        reason = [line for line in (result.stdout + result.stderr).splitlines()
                  if line.strip() and ":error:" not in line and line.strip() != "Failed"]
        raise SigningError("osslsigncode could not sign %s with %s and the password in %s: %s"
                           % (path, pkcs12, password_file, "; ".join(reason[:3]) or "exit code %d" % result.returncode))
    shutil.copymode(path, signed)
    os.replace(signed, path)


def main():
    parser = argparse.ArgumentParser(description="Sign files in place with Authenticode (osslsigncode).")
    parser.add_argument("--pkcs12", required=True, help="PKCS#12 file with the certificate and its private key")
    parser.add_argument("--password-file", required=True, help="file whose first line is the PKCS#12 password")
    parser.add_argument("--timestamp-url", default="", help="RFC 3161 timestamp server (optional)")
    parser.add_argument("--description", default="", help="the signed content's name")
    parser.add_argument("--remove-on-failure", action="store_true", help="remove a file that could not be signed")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    for path in args.files:
        try:
            sign(path, args.pkcs12, args.password_file, args.timestamp_url, args.description, args.remove_on_failure)
        except SigningError as e:
            sys.exit("sign: %s%s" % (e, "; %s removed, nothing half-signed is left" % path
                                     if args.remove_on_failure else ""))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Builds the vendor test's packages as a vendor would: "mkinstaller --init", the starter's
script turned into the reference's worked example ("Acme Notes") in versions 1.4 and 2.0,
each built without --lenient and signed with a throwaway self-signed certificate
(<out>/acme-cert.pem)."""
import argparse
import os
import re
import shutil
import subprocess

P = "\u00b6"

TASKS = [
    ("VendorKey", "REGADDKEY{P}HKCU{P}{P}{P}Software\\Acme"),
    ("ProductKey", "REGADDKEY{P}HKCU{P}{P}{P}Software\\Acme\\Notes"),
    ("Settings", "REGADDVALUE{P}HKCU{P}Folder{P}<DefaultInstallPath>{P}Software\\Acme\\Notes{P}REG_SZ"),
    ("Vendor", "REGADDKEY{P}HKLM{P}{P}{P}Software\\Acme"),
    ("Product", "REGADDKEY{P}HKLM{P}{P}{P}Software\\Acme\\Notes"),
    ("Edition", "REGADDVALUE{P}HKLM{P}Edition{P}Home{P}Software\\Acme\\Notes{P}REG_SZ"),
    ("GroupLink", "NORMALLINK{P}17{P}Acme Notes{P}<DefaultInstallPath>AcmeNotes.exe{P}0{P}0{P}Acme Notes"),
    ("DesktopLink", "NORMALLINK{P}11{P}Acme Notes{P}<DefaultInstallPath>AcmeNotes.exe{P}1{P}0{P}Acme Notes"),
    ("FileType", "ASSOCIATEEXTENSION{P}acmenote{P}Acme note{P}<DefaultInstallPath>AcmeNotes.exe{P}0"),
    ("StartIt", "RUN{P}0{P}0{P}0{P}<DefaultInstallPath>AcmeNotes.exe{P}{P}Acme Notes"),
]


def script_for(starter, version):
    text = starter
    for key, value in (("AppName", "Acme Notes"), ("Version", version), ("CompanyName", "Acme"),
                       ("Website", "https://acme.example"), ("Email", "support@acme.example"),
                       ("RequireReadme", "0"), ("DefaultPath", "<ProgramFiles>Acme Notes\\")):
        text, count = re.subn(r"(?m)^%s = .*$" % key, "%s = %s" % (key, value.replace("\\", "\\\\")), text)
        assert count == 1, key
    text = text.replace("[GeneralInformation]\r\n", "[GeneralInformation]\r\nCopyright = (C) 2026 Acme Test Vendor\r\n")
    start = text.index("[InstTasks]\r\n") + len("[InstTasks]\r\n")
    end = text.index("[UninstTasks]")
    lines = "".join("%s = %s\r\n" % (name, line.format(P=P)) for name, line in TASKS)
    return text[:start] + lines + "\r\n" + text[end:]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mkinstaller", required=True)
    parser.add_argument("--stub", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    work = os.path.join(args.out, "src", "acme")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    src = os.path.join(work, "starter")
    subprocess.run([args.mkinstaller, "--init", src], check=True, stdout=subprocess.DEVNULL)
    key, cert = os.path.join(work, "key.pem"), os.path.join(args.out, "acme-cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                    "-subj", "/CN=Acme Test Vendor", "-addext", "extendedKeyUsage=codeSigning",
                    "-keyout", key, "-out", cert], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    sign = "osslsigncode sign -certs '%s' -key '%s' -n 'Acme Notes' -in {in} -out {out} >/dev/null" % (cert, key)
    with open(os.path.join(src, "config", "Config", "Script.ini"), "rb") as f:
        starter = f.read().decode("cp1252")
    for version, only in (("1.4", "Old.txt"), ("2.0", "New.txt")):
        tag = version.replace(".", "_")
        config, app = os.path.join(work, "config-" + tag), os.path.join(work, "app-" + tag)
        shutil.copytree(os.path.join(src, "config"), config)
        shutil.copytree(os.path.join(src, "app"), app)
        with open(os.path.join(config, "Config", "Script.ini"), "wb") as f:
            f.write(script_for(starter, version).encode("cp1252"))
        for name, data in (("AcmeNotes.exe", b"MZ Acme Notes " + version.encode()), (only, b"only in " + version.encode())):
            with open(os.path.join(app, name), "wb") as f:
                f.write(data)
        subprocess.run([args.mkinstaller, "--stub", args.stub, "--app", app, "--config", config,
                        "--output", os.path.join(args.out, "acme_%s.exe" % tag), "--sign", sign], check=True)


if __name__ == "__main__":
    main()

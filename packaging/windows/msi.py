#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes yomorisu-<version>.msi from the folder `cmake --install` filled, the
one list of what is installed (scripts/package.sh --windows calls it), for
administrators who deploy with Group Policy or Intune: per machine into
Program Files\\ヨモリス, the Start-menu shortcut, App Paths and the uninstall
entry without Modify; a newer version replaces an older one in place, an
older one over a newer is refused, and so is any over the setup's own
installation.

Debian's wixl writes every string beyond ASCII into the tables as an empty
one. So each Japanese name goes into the .wxs as an ASCII token, and once
wixl has made the database, msitools set its code page to 932 and put the
Japanese in place of the tokens, table by table.

Usage: msi.py --staging DIR --version V --version4 A.B.C.D --icon ICO --check msicheck.dll --out X.msi
"""

import argparse
import re
import subprocess
import tempfile
import uuid
import xml.etree.ElementTree as ET
from pathlib import Path

PRODUCT = "ヨモリス"
# Never to change: Windows Installer knows every version of ヨモリス by it,
# and the NSIS setup looks for an MSI installation by it.
UPGRADE_CODE = "5d0f6e2a-8c1b-4b7e-9a63-2f4c7d8e1b90"
COMMENTS = "健康指導の表と計算"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.yomorisu.Yomorisu"
APP_PATHS_KEY = r"Software\Microsoft\Windows\CurrentVersion\App Paths\yomorisu.exe"
MSI_KEY = r"Software\jp.yomorisu.Yomorisu\MSI"
MESSAGES = {
    "setup_installed": f"セットアップで入れた{PRODUCT}があります。先にそれを削除してください。",
    "newer_installed": f"より新しい{PRODUCT}が入っています。それより古い [ProductVersion] は入れられません。",
}
# The tables that can hold a token, and the one of the upgrade's versions.
TOKEN_TABLES = ["Directory", "File", "Shortcut", "Property", "LaunchCondition", "Upgrade"]
TOKEN = re.compile(r"JPTOKEN(\d{4})")


class Tokens:
    """ASCII stand-ins for Japanese strings, and what each stands for."""

    def __init__(self):
        self.texts = {}

    def __call__(self, text, file_name=False):
        if text.isascii():
            return text
        text.encode("cp932")  # the database's code page must hold it
        number = len(self.texts)
        if file_name:
            # A valid 8.3 short name beside the long one; the number keeps
            # it unique.
            extension = Path(text).suffix[1:4].upper()
            short = f"JP{number:04d}" + (f".{extension}" if extension.isascii() and extension.isalnum() else "")
            text = f"{short}|{text}"
        self.texts[number] = text
        return f"JPTOKEN{number:04d}"

    def replace(self, idt):
        return TOKEN.sub(lambda m: self.texts[int(m[1])], idt)


def sub(parent, tag, **attributes):
    return ET.SubElement(parent, tag, {k: str(v) for k, v in attributes.items()})


def wxs(staging, source_base, version, icon, check, tokens):
    """The WiX source: one component per file, its GUID made from its path
    so that every version agrees on it."""
    wix = ET.Element("Wix", xmlns="http://schemas.microsoft.com/wix/2006/wi")
    product = sub(wix, "Product", Id="*", Name=tokens(PRODUCT), Language="1041", Version=version,
                  Manufacturer=tokens(PRODUCT), UpgradeCode=UPGRADE_CODE)
    sub(product, "Package", InstallerVersion="500", Compressed="yes", InstallScope="perMachine",
        SummaryCodepage="932", Description=PRODUCT, Comments=COMMENTS)
    # The old version is removed whole before this one goes in.
    sub(product, "MajorUpgrade", DowngradeErrorMessage=tokens(MESSAGES["newer_installed"]))
    sub(product, "Media", Id="1", Cabinet="yomorisu.cab", EmbedCab="yes")
    sub(product, "Icon", Id="yomorisu.ico", SourceFile=icon)
    for name, value in {"ARPPRODUCTICON": "yomorisu.ico", "ARPNOMODIFY": "1",
                        "ARPCOMMENTS": tokens(COMMENTS)}.items():
        sub(product, "Property", Id=name, Value=value)
    # The setup's installation, in the 64-bit registry as it writes it.
    found = sub(product, "Property", Id="SETUPINSTALLED")
    sub(found, "RegistrySearch", Id="SetupInstallLocation", Root="HKLM", Key=UNINSTALL_KEY, Name="InstallLocation",
        Type="raw", Win64="yes")
    # The folder of the first install, where upgrades go and from where the
    # removal takes the files (Wine's msiexec looks in the default one).
    folder = sub(product, "Property", Id="INSTALLFOLDER")
    sub(folder, "RegistrySearch", Id="InstalledFolder", Root="HKLM", Key=MSI_KEY, Name="InstallFolder", Type="raw",
        Win64="yes")
    # One line: Wine's msiexec fails on a condition of several.
    sub(product, "Condition", Message=tokens(MESSAGES["setup_installed"])).text = "Installed OR NOT SETUPINSTALLED"
    sub(product, "CustomAction", Id="SetInstallLocation", Property="ARPINSTALLLOCATION", Value="[INSTALLFOLDER]")
    # Nothing is installed or removed while ヨモリス runs (msicheck.cpp).
    sub(product, "Binary", Id="msicheck", SourceFile=check)
    sub(product, "CustomAction", Id="WaitWhileRunning", BinaryKey="msicheck", DllEntry="WaitWhileRunning",
        Execute="immediate", Return="check")
    sequence = sub(product, "InstallExecuteSequence")
    sub(sequence, "Custom", Action="SetInstallLocation", Sequence="1001")
    sub(sequence, "Custom", Action="WaitWhileRunning", Sequence="1399")  # before InstallValidate

    target = sub(product, "Directory", Id="TARGETDIR", Name="SourceDir")
    sub(target, "Directory", Id="ProgramMenuFolder")
    program_files = sub(target, "Directory", Id="ProgramFiles64Folder")
    feature = sub(product, "Feature", Id="Main", Level="1")
    count = 0

    def add(folder, element):
        nonlocal count
        for path in sorted(folder.iterdir()):
            relative = path.relative_to(staging).as_posix()
            count += 1
            if path.is_dir():
                add(path, sub(element, "Directory", Id="BINFOLDER" if relative == "bin" else f"d{count}",
                              Name=tokens(path.name, file_name=True)))
                continue
            program = relative == "bin/yomorisu.exe"
            component_id = f"c{count}"
            component = sub(element, "Component", Id=component_id,
                            Guid=uuid.uuid5(uuid.UUID(UPGRADE_CODE), relative), Win64="yes")
            file_id = "yomorisu.exe" if program else f"f{count}"
            sub(component, "File", Id=file_id, Name=tokens(path.name, file_name=True),
                Source=f"{source_base}/{relative}", KeyPath="yes")
            if program:
                # Started in its own folder, as the setup's shortcut does.
                sub(component, "Shortcut", Id="StartMenu", Directory="ProgramMenuFolder",
                    Name=tokens(PRODUCT, file_name=True), Target="[#yomorisu.exe]", WorkingDirectory="BINFOLDER")
                # ファイル名を指定して実行 starts it as "yomorisu".
                sub(component, "RegistryValue", Root="HKLM", Key=APP_PATHS_KEY, Type="string",
                    Value="[#yomorisu.exe]")
                sub(component, "RegistryValue", Root="HKLM", Key=APP_PATHS_KEY, Name="Path", Type="string",
                    Value="[BINFOLDER]")
                sub(component, "RegistryValue", Root="HKLM", Key=MSI_KEY, Name="InstallFolder", Type="string",
                    Value="[INSTALLFOLDER]")
            sub(feature, "ComponentRef", Id=component_id)

    add(staging, sub(program_files, "Directory", Id="INSTALLFOLDER", Name=tokens(PRODUCT, file_name=True)))
    return ET.ElementTree(wix)


def run(*command, **options):
    return subprocess.run(command, check=True, capture_output=True, text=True, **options).stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--staging", required=True, type=Path)
    parser.add_argument("--version", required=True)
    parser.add_argument("--version4", required=True)
    parser.add_argument("--icon", required=True, type=Path)
    parser.add_argument("--check", required=True, type=Path, help="msicheck.dll")
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()
    # Windows Installer compares the first three numbers only.
    numbers = [int(n) for n in args.version4.split(".")][:3]
    assert numbers[0] < 256 and numbers[1] < 256 and numbers[2] < 65536, f"{args.version4} is no MSI version"
    out = args.out.resolve()
    tokens = Tokens()
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        source = work / "wix.wxs"
        # wixl takes its sources relative to the .wxs only.
        (work / "staging").symlink_to(args.staging.resolve())
        (work / "yomorisu.ico").symlink_to(args.icon.resolve())
        (work / "msicheck.dll").symlink_to(args.check.resolve())
        wix = wxs(args.staging.resolve(), "staging", ".".join(map(str, numbers)), "yomorisu.ico", "msicheck.dll",
                  tokens)
        wix.write(source, encoding="utf-8", xml_declaration=True)
        out.unlink(missing_ok=True)
        run("wixl", "-a", "x64", "-o", str(out), str(source), cwd=work)
        (work / "_ForceCodepage.idt").write_text("\n\n932\t_ForceCodepage\n")
        run("msibuild", str(out), "-i", "_ForceCodepage.idt", cwd=work)
        for table in TOKEN_TABLES:
            idt = run("msiinfo", "export", str(out), table, cwd=work)
            if table == "Upgrade":
                # A build of the same version replaces the installed one
                # too, rather than going in beside it: the upgrade's
                # highest version included (0x200).
                idt, found = re.subn(r"^(.*\t)1(\t\tWIX_UPGRADE_DETECTED)$", r"\g<1>513\2", idt, flags=re.M)
                assert found == 1, f"no upgrade to include the same version in: {idt}"
            elif not TOKEN.search(idt):
                continue
            (work / f"{table}.idt").write_text(tokens.replace(idt), encoding="utf-8")
            run("msibuild", str(out), "-i", f"{table}.idt", cwd=work)
        # The summary, as Explorer shows it: wixl takes its author from the
        # manufacturer's token.
        package_code = re.search(r"^Revision number \(UUID\): (\S+)$", run("msiinfo", "suminfo", str(out)), re.M)[1]
        run("msibuild", str(out), "-s", PRODUCT, PRODUCT, "x64;1041", package_code)
        # No token left anywhere, and no name emptied.
        for table in run("msiinfo", "tables", str(out)).split():
            if table.startswith("_"):
                continue
            # In the work folder: a table's streams are written beside it.
            idt = run("msiinfo", "export", str(out), table, cwd=work)
            assert not TOKEN.search(idt), f"a token is left in {table}"
            if table in ("Directory", "File", "Shortcut"):  # the name is the third column of each
                for row in idt.splitlines()[3:]:
                    assert row.split("\t")[2], f"an empty name in {table}: {row}"


if __name__ == "__main__":
    main()

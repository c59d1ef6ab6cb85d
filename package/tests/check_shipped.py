#!/usr/bin/env python3
"""Reads the shipped programs back as Explorer and Windows see them.

For kaltrenox.exe and kxm.exe in DIST: the version resource (fixed part and
texts), the manifest, the icon groups in the order of the resource directory
(wrestool from icoutils), the imported DLLs (only the system's), and that the
copies are stripped with their debug information beside them.
Usage: check_shipped.py DIST VERSION OBJDUMP
"""
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

dist, version, objdump = sys.argv[1:4]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def resource(exe, kind, name=None, raw=True):
    args = ["wrestool", "-x"] + (["--raw"] if raw else []) + [f"--type={kind}", exe]
    if name is not None:
        args.insert(4, f"--name={name}")
    return subprocess.run(args, check=True, capture_output=True).stdout


def version_block(data, at=0):
    """One node of VS_VERSIONINFO: (key, value bytes, is text, children)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    size = value_length * 2 if is_text else value_length
    value = data[pos:pos + size]
    pos = (pos + size + 3) & ~3
    children = []
    while pos < end:
        child, pos = version_block(data, pos)
        children.append(child)
        pos = (pos + 3) & ~3
    return (key, value, is_text, children), end


def version_strings(tree):
    texts = {}
    for key, value, is_text, children in tree[3]:
        if key == "StringFileInfo":
            for table in children:
                for name, text, _, _ in table[3]:
                    texts[name] = text.decode("utf-16-le").rstrip("\0")
    return texts


major, minor = (int(part) for part in version.split("."))
programs = {
    "kaltrenox": "Kaltrenox Leistungsprüfstand",
    "kxm": "Kaltrenox Kommandozeilenwerkzeug",
}
system_dlls = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll", "comctl32.dll",
               "gdiplus.dll", "msimg32.dll", "msvcrt.dll", "advapi32.dll", "ole32.dll", "winspool.drv"}

for program, description in programs.items():
    exe = os.path.join(dist, program + ".exe")
    tree, _ = version_block(resource(exe, 16))
    check(tree[0] == "VS_VERSION_INFO", f"{program}: version resource")
    signature, _, ms, ls, pms, pls = struct.unpack_from("<IIIIII", tree[1])
    check(signature == 0xFEEF04BD, f"{program}: fixed file info")
    check((ms, ls, pms, pls) == (major << 16 | minor, 0, major << 16 | minor, 0),
          f"{program}: FILEVERSION {ms >> 16},{ms & 0xFFFF},{ls >> 16},{ls & 0xFFFF}")
    texts = version_strings(tree)
    expected = {"ProductVersion": version, "FileVersion": version, "ProductName": "Kaltrenox",
                "CompanyName": "Kaltrenox", "FileDescription": description,
                "LegalCopyright": "© 2026 Kaltrenox", "OriginalFilename": program + ".exe"}
    for key, value in expected.items():
        check(texts.get(key) == value, f"{program}: {key} is {texts.get(key)!r}, not {value!r}")

    manifest = ET.fromstring(resource(exe, 24, 1))
    text = ET.tostring(manifest, encoding="unicode")
    check('level="asInvoker"' in text, f"{program}: asInvoker")
    for os_id in ("35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                  "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"):
        check(os_id in text, f"{program}: supportedOS {os_id}")
    if program == "kaltrenox":
        check("Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text,
              "kaltrenox: Common Controls 6")
        check(re.search(r"dpiAware[^>]*>false<", text) is not None, "kaltrenox: DPI-unaware")
        check(re.search(r"gdiScaling[^>]*>true<", text) is not None, "kaltrenox: gdiScaling")

    imports = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", imports)}
    check(dlls and dlls <= system_dlls, f"{program}: imports {sorted(dlls - system_dlls)}")
    sections = subprocess.run([objdump, "-h", exe], check=True, capture_output=True, text=True).stdout
    check(".debug_info" not in sections, f"{program}: stripped")
    debug = os.path.join(dist, program + ".debug")
    check(os.path.exists(debug) and ".debug_info" in subprocess.run(
        [objdump, "-h", debug], capture_output=True, text=True).stdout, f"{program}: debug file beside it")
    check(".gnu_debuglink" in sections, f"{program}: linked to its debug file")

# Explorer's and the taskbar's icon: the first icon group of the directory
groups = re.findall(r"--type=14 --name=(\S+)",
                    subprocess.run(["wrestool", "-l", os.path.join(dist, "kaltrenox.exe")],
                                   check=True, capture_output=True, text=True).stdout)
check(groups[:1] == ["'APPICON'"], f"kaltrenox: first icon group {groups[:1]}")
check("2" in groups, "kaltrenox: the measurement files' icon as id 2")
program_icon = resource(os.path.join(dist, "kaltrenox.exe"), 14, "APPICON", raw=False)
check(program_icon and program_icon == resource(os.path.join(dist, "kaltrenox.exe"), 14, "MAINICON", raw=False),
      "kaltrenox: APPICON is the program icon")

for failure in failures:
    print("FAIL", failure)
print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)

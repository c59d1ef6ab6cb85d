#!/usr/bin/env python3
"""No string, command or message id written as a number in the program's code.

Every id has one named definition: string and command ids in
resources/resource.h, private messages in the *Messages.h headers. Outside
resources/ and the tests this check fails on
  - a number in the string-id range 40000-40999,
  - a string loaded by number (LoadText(40017), portableText(40020)),
  - a command id of resource.h written as a number in a case label, a
    comparison or MAKEWPARAM,
  - WM_USER or WM_APP outside a *Messages.h header,
  - a window style written as an 8-digit hexadecimal number.
Comments and string literals are not looked at. Usage: check-ids.py [top folder]
"""
import os
import re
import sys

SKIP_DIRS = {"build", ".git", "resources", "tests"}
DEFINE = re.compile(r"^\s*#\s*define\s+(ID_\w+)\s+(\d+)", re.M)


def strip(text):
    """The code without comments and string or character literals, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def command_ids(top):
    with open(os.path.join(top, "resources", "resource.h"), encoding="utf-8") as f:
        return {int(v) for _, v in DEFINE.findall(f.read())}


def make_rules(commands):
    number = r"(\d+)\b"
    return [
        ("string id as a number", re.compile(r"(?<![\w.])(40\d{3})\b(?!\.)"), None),
        ("string loaded by number", re.compile(r"\b(?:LoadText|LoadStringW|portableText|loadText)\(\s*" + number), None),
        ("command id as a number", re.compile(r"\bcase\s+" + number + r"\s*:"), commands),
        ("command id as a number", re.compile(r"[=!]=\s*" + number), commands),
        ("command id as a number", re.compile(r"\bMAKEWPARAM\(\s*" + number), commands),
        ("window style as a number", re.compile(r"\b\w*[Ss]tyle\w*\s*=\s*(0x[0-9A-Fa-f]{8})\b"), None),
    ]


MESSAGE = re.compile(r"\b(WM_USER|WM_APP)\b")


def findings(text, name, rules):
    """(line number, what, line) of every id written as a number in one file."""
    found = []
    for number, line in enumerate(strip(text).split("\n"), 1):
        for what, pattern, only in rules:
            if any(only is None or int(m.group(1), 0) in only for m in pattern.finditer(line)):
                found.append((number, what, line.strip()))
        if MESSAGE.search(line) and not name.endswith("Messages.h"):
            found.append((number, "private message outside a *Messages.h header", line.strip()))
    return found


# Each line breaks one rule; comments and strings break none. Checked on every
# run, so that the check cannot quietly stop finding anything.
SAMPLE = """
const int kText = 40070;
auto t = LoadText(17);
case 1551: break;
if (LOWORD(wParam) == 518) {}
SendMessageW(w, WM_COMMAND, MAKEWPARAM(516, 0), 0);
constexpr DWORD kStyle = 0x50000008;
constexpr UINT kMine = WM_USER + 7;
// 40070, case 1551:, WM_USER
const wchar_t* s = L"40070 WM_APP";
int timeout = 500; int port = 1024;
"""


def self_test(rules):
    lines = [n for n, _, _ in findings(SAMPLE, "Sample.cpp", rules)]
    expected = list(range(2, 9))
    if lines != expected:
        print(f"self-test: findings on lines {lines}, expected {expected}")
        return False
    return True


def main():
    top = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.getcwd())
    rules = make_rules(command_ids(top))
    if not self_test(rules):
        return 2
    found = 0
    for folder, dirs, names in os.walk(top):
        dirs[:] = sorted(d for d in dirs if d not in SKIP_DIRS and not d.startswith("."))
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            for number, what, line in findings(text, name, rules):
                print(f"{os.path.relpath(path, top)}:{number}: {what}: {line}")
                found += 1
    print(f"{found} ids written as numbers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

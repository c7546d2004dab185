#!/usr/bin/env python3
"""Generate src/ui/keywords/api.txt, the built-in list of Windows API names.

Usage: make-api-keywords.py [--include DIR] [--lib DIR] [--output FILE]

    --include  MinGW-w64 headers, default /usr/share/mingw-w64/include
               (Debian packages mingw-w64-common, mingw-w64-x86-64-dev)
    --lib      MinGW-w64 x86-64 import libraries, default
               /usr/x86_64-w64-mingw32/lib (mingw-w64-x86-64-dev)
    --output   default src/ui/keywords/api.txt in this repository

The build does not run this script: its output is committed. Run
scripts/pad-keywords.py afterwards to refresh the padded .kw resources.

The result is one line of exactly 1,608 function names and 25,477 bytes,
names separated by single blanks, no blank or line break at the end, sorted
without regard to case, AbortDoc first and wsprintf last. The script stops
with an error when it cannot meet those numbers.

How the names are chosen
------------------------
1. Harvest. Every function that the headers listed in HEADERS declare with
   a WINAPI, WINAPIV or APIENTRY calling convention (the WINUSERAPI /
   WINGDIAPI / WINBASEAPI / ... declarations), plus the SHSTDAPI_(type)
   declarations of shellapi.h. Comments are stripped first; typedefs of
   function types are skipped.

2. Era. The #if conditions around each declaration are followed. A
   condition that compares _WIN32_WINNT, WINVER or NTDDI_VERSION with a
   minimum Windows version (numbers or the sdkddkver.h names) gives the
   declaration that minimum; nested conditions take the highest; an #else
   of such a condition, and a disjunct without a version test, count as no
   minimum. A name gets the lowest era of its declarations. Era 0 holds what
   MinGW-w64 declares unconditionally: the classic Win32 API.

3. Generic names. Basic programs call ANSI/Unicode pairs through the
   generic name, so FooA and FooW become Foo when both are declared, when
   Foo itself is declared, or when the headers define Foo as
   __MINGW_NAME_AW(Foo) / __MINGW_NAME_UAW(Foo) or as FooA / FooW. Other
   names stay as declared (CommandLineToArgvW has no ANSI form).

4. Group. The import libraries tell which DLL exports a name (Foo, FooA or
   FooW). In order of preference:
       0 user32     1 gdi32      2 kernel32   3 comdlg32   4 shell32
       5 registry   (advapi32, declared in winreg.h)
       6 version    7 winmm      8 winspool
       9 console    (kernel32, declared only in wincon.h)
      10 advapi32   (the rest: security, event log, services)
      11 anything else (opengl32, msimg32, newer API-set-only functions)

5. Filter. Dropped: names starting with an underscore (the 16-bit _lopen
   family), program entry points (WinMain, wWinMain, DllMain), and names
   sorting before AbortDoc or after wsprintf without regard to case (so the
   list runs from AbortDoc to wsprintf).

6. Priority. Candidates are ordered by (era, group, name without regard to
   case). The first 1,608 are taken.

7. Size. The byte size is then brought to 25,477 by swaps: while the text is
   too long, the longest chosen name (the later one in priority order on a
   tie) goes out and the earliest unchosen candidate that is shorter, but by
   no more than the excess, comes in; while it is too short, the shortest
   chosen name goes out and the earliest unchosen candidate that is longer,
   but by no more than the deficit, comes in. AbortDoc and wsprintf never go
   out. Every step is deterministic, so the same headers and libraries give
   the same list. (The classic names average more letters than 1,608 names
   in 25,477 bytes allow, so this trades the longest, mostly specialised,
   names for shorter ones.)

8. The chosen names are sorted without regard to case (ties by the exact
   spelling) and written joined by single blanks.
"""
import argparse
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

NAME_COUNT = 1608
BYTE_COUNT = 25477
FIRST = "AbortDoc"
LAST = "wsprintf"
ENTRY_POINTS = {"WinMain", "wWinMain", "DllMain"}

HEADERS = [
    "winuser.h", "wingdi.h", "winbase.h", "fileapi.h", "processthreadsapi.h",
    "memoryapi.h", "synchapi.h", "libloaderapi.h", "libloaderapi2.h",
    "handleapi.h", "errhandlingapi.h", "sysinfoapi.h", "heapapi.h",
    "debugapi.h", "processenv.h", "namedpipeapi.h", "ioapiset.h",
    "datetimeapi.h", "timezoneapi.h", "profileapi.h", "stringapiset.h",
    "commapi.h", "fibersapi.h", "interlockedapi.h", "jobapi.h",
    "namespaceapi.h", "processtopologyapi.h", "realtimeapiset.h",
    "systemtopologyapi.h", "threadpoolapiset.h", "threadpoollegacyapiset.h",
    "utilapiset.h", "wow64apiset.h", "winnls.h", "wincon.h", "commdlg.h",
    "shellapi.h", "winreg.h", "winver.h", "mmsystem.h", "winspool.h",
]

# Import libraries, in the order a name is attributed to them.
LIBRARIES = ["user32", "gdi32", "kernel32", "comdlg32", "shell32",
             "advapi32", "version", "winmm", "winspool"]

DECL = re.compile(
    r"\b(?:WINAPI|WINAPIV|APIENTRY)\s+([A-Za-z_]\w*)\s*\("
    r"|\bSHSTDAPI_?\s*(?:\(\s*\w+\s*\*?\s*\))?\s+([A-Za-z_]\w*)\s*\(")
VERSION_TEST = re.compile(
    r"\b(_WIN32_WINNT|WINVER|NTDDI_VERSION)\s*(>=|>)\s*\(?\s*(\w+)")
GENERIC_DEFINE = re.compile(
    r"^\s*#\s*define\s+(\w+)\s+__MINGW_NAME_U?AW\s*\(\s*(\w+)\s*\)", re.M)
GENERIC_ALIAS = re.compile(r"^\s*#\s*define\s+(\w+)\s+(\w+)[AW]\s*$", re.M)
VERSION_NAME = re.compile(
    r"^\s*#\s*define\s+(_WIN32_WINNT_\w+|NTDDI_\w+)\s+(\w+)", re.M)


def fail(message):
    sys.exit("make-api-keywords: " + message)


def read_header(include, name):
    path = os.path.join(include, name)
    if not os.path.exists(path):
        fail("missing header " + path)
    with open(path, encoding="latin-1") as f:
        text = f.read()
    # Strip comments (keeping line breaks) and join continued lines.
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    return text.replace("\\\n", " ")


def library_exports(libdir, lib):
    """Names an import library imports (its __imp_ symbols), from the
    symbol index of the ar archive."""
    path = os.path.join(libdir, "lib%s.a" % lib)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        fail("missing import library " + path)
    if data[:8] != b"!<arch>\n" or data[8:24].rstrip() != b"/":
        fail("no symbol index in " + path)
    size = int(data[56:66])
    index = data[68:68 + size]
    count = struct.unpack(">I", index[:4])[0]
    names = index[4 + 4 * count:].split(b"\0")[:count]
    return {n[6:].decode("ascii") for n in names if n.startswith(b"__imp_")}


class VersionNames:
    """Numeric values of the _WIN32_WINNT_xxx and NTDDI_xxx names."""

    def __init__(self, include):
        self.names = dict(VERSION_NAME.findall(read_header(include, "sdkddkver.h")))

    def value(self, token):
        for _ in range(10):
            if token not in self.names:
                break
            token = self.names[token]
        try:
            return int(token, 0)
        except ValueError:
            return None

    def minimum(self, condition):
        """Lowest NTDDI-style version a condition asks for (0: none)."""
        lowest = None
        for disjunct in condition.split("||"):
            need = 0
            for macro, op, token in VERSION_TEST.findall(disjunct):
                v = self.value(token)
                if v is None:
                    continue
                if macro != "NTDDI_VERSION":
                    v <<= 16
                if op == ">":
                    v += 1
                need = max(need, v)
            lowest = need if lowest is None else min(lowest, need)
        return lowest or 0


def scan_header(text, versions):
    """Return ({function name: era}, set of generic names) for one header."""
    found = {}
    stack = []
    pending = ""
    for line in text.split("\n"):
        s = line.strip()
        if s.startswith("#"):
            d = re.match(r"#\s*(\w+)\s*(.*)", s)
            if not d:
                continue
            kind, cond = d.groups()
            if kind == "if":
                stack.append(versions.minimum(cond))
            elif kind in ("ifdef", "ifndef"):
                stack.append(0)
            elif kind == "elif" and stack:
                stack[-1] = versions.minimum(cond)
            elif kind == "else" and stack:
                stack[-1] = 0
            elif kind == "endif" and stack:
                stack.pop()
            continue
        pending += " " + s
        era = max(stack, default=0)
        matched = False
        for m in DECL.finditer(pending):
            matched = True
            if "typedef" in pending[:m.start()]:
                continue
            name = m.group(1) or m.group(2)
            found[name] = min(found.get(name, era), era)
        end = max(pending.rfind(";"), pending.rfind("{"), pending.rfind("}"))
        if end >= 0:
            pending = pending[end + 1:]
        elif matched:
            pending = ""
    generic = {a for a, b in GENERIC_DEFINE.findall(text) + GENERIC_ALIAS.findall(text)
               if a == b}
    return found, generic


def harvest(include, libdir):
    """Return {generic name: (era, group)} for every declared function."""
    versions = VersionNames(include)
    era = {}
    headers = {}
    generic = set()
    for header in HEADERS:
        names, gen = scan_header(read_header(include, header), versions)
        generic |= gen
        for name, e in names.items():
            era[name] = min(era.get(name, e), e)
            headers.setdefault(name, set()).add(header)

    exporter = {}
    for lib in LIBRARIES:
        for name in library_exports(libdir, lib):
            exporter.setdefault(name, lib)

    def group(name, declared_in):
        lib = next((exporter[n] for n in (name, name + "A", name + "W") if n in exporter), None)
        if lib == "kernel32" and declared_in == {"wincon.h"}:
            return 9
        if lib == "advapi32":
            return 5 if "winreg.h" in declared_in else 10
        order = {"user32": 0, "gdi32": 1, "kernel32": 2, "comdlg32": 3,
                 "shell32": 4, "version": 6, "winmm": 7, "winspool": 8}
        return order.get(lib, 11)

    folded = {}
    for name in era:
        base = name
        if name[-1] in "AW":
            stem, other = name[:-1], name[:-1] + ("W" if name[-1] == "A" else "A")
            if other in era or stem in era or stem in generic:
                base = stem
        entry = folded.setdefault(base, [1 << 40, set()])
        entry[0] = min(entry[0], era[name])
        entry[1] |= headers[name]
    return {n: (e, group(n, h)) for n, (e, h) in folded.items()}


def keep(name):
    if name.startswith("_") or name in ENTRY_POINTS:
        return False
    return FIRST.lower() <= name.lower() <= LAST.lower()


def choose(candidates):
    for pinned in (FIRST, LAST):
        if pinned not in candidates:
            fail("%s is not declared by the headers" % pinned)
    ranked = sorted(candidates, key=lambda n: (candidates[n], n.lower(), n))
    if len(ranked) < NAME_COUNT:
        fail("only %d candidate names, %d needed" % (len(ranked), NAME_COUNT))
    position = {n: i for i, n in enumerate(ranked)}
    chosen = set(ranked[:NAME_COUNT])
    for pinned in (FIRST, LAST):
        if pinned not in chosen:
            fail("%s did not make the first %d names" % (pinned, NAME_COUNT))

    def size():
        return sum(len(n) for n in chosen) + len(chosen) - 1

    while size() != BYTE_COUNT:
        diff = size() - BYTE_COUNT
        movable = [n for n in chosen if n not in (FIRST, LAST)]
        if diff > 0:
            out = max(movable, key=lambda n: (len(n), position[n]))
            fits = lambda n: len(out) - diff <= len(n) < len(out)
        else:
            out = min(movable, key=lambda n: (len(n), -position[n]))
            fits = lambda n: len(out) < len(n) <= len(out) - diff
        incoming = next((n for n in ranked if n not in chosen and fits(n)), None)
        if incoming is None:
            fail("cannot reach %d bytes (at %d)" % (BYTE_COUNT, size()))
        chosen.remove(out)
        chosen.add(incoming)
    return sorted(chosen, key=lambda n: (n.lower(), n))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--include", default="/usr/share/mingw-w64/include")
    parser.add_argument("--lib", default="/usr/x86_64-w64-mingw32/lib")
    parser.add_argument("--output", default=os.path.join(ROOT, "src", "ui", "keywords", "api.txt"))
    args = parser.parse_args()

    candidates = {n: r for n, r in harvest(args.include, args.lib).items() if keep(n)}
    names = choose(candidates)
    data = " ".join(names).encode("ascii")
    if len(names) != NAME_COUNT or len(data) != BYTE_COUNT:
        fail("got %d names / %d bytes" % (len(names), len(data)))
    if names[0] != FIRST or names[-1] != LAST:
        fail("list runs from %s to %s" % (names[0], names[-1]))
    if len({n.lower() for n in names}) != len(names):
        fail("duplicate names")
    with open(args.output, "wb") as f:
        f.write(data)
    print("%s: %d names, %d bytes" % (args.output, len(names), len(data)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Write the padded keyword resources src/ui/keywords/*.kw.

Each .kw file is its .txt file followed by zero bytes up to the stored size
of the built-in list; the resource script includes the .kw files as custom
resources of type 501 (1 = api, 2 = freebasic, 3 = powerbasic). The program
strips the trailing zero bytes before use. The build does not run this
script: the .kw files are committed. Rerun it after changing a .txt file.
"""
import os
import sys

KEYWORDS = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        "src", "ui", "keywords")

STORED_SIZE = {"api": 25480, "freebasic": 1532, "powerbasic": 3648}


def main():
    for name, size in STORED_SIZE.items():
        with open(os.path.join(KEYWORDS, name + ".txt"), "rb") as f:
            text = f.read()
        if b"\0" in text or len(text) >= size:
            sys.exit("pad-keywords: %s.txt has %d bytes, must stay below %d without zero bytes"
                     % (name, len(text), size))
        with open(os.path.join(KEYWORDS, name + ".kw"), "wb") as f:
            f.write(text + b"\0" * (size - len(text)))
        print("%s.kw: %d bytes of text + %d zero bytes" % (name, len(text), size - len(text)))


if __name__ == "__main__":
    main()

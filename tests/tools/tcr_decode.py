#!/usr/bin/env python3
"""Decodes a TCR file to stdout, independently of the engine (for the corpus checks).

TCR, the Psion text compression format: the signature "!!8-Bit!!", then 256 dictionary
entries, each a length byte followed by that many bytes (the string of code 0, code 1, ...,
code 255), then the compressed text: every following byte is a code that stands for its
dictionary string.

Usage: tcr_decode.py FILE              the text to stdout
       tcr_decode.py --out DIR FILE...  each text to DIR/<file name>.txt
Exit status 1 when a file is not TCR.
"""
import os
import sys

SIGNATURE = b"!!8-Bit!!"


def decode(data):
    if not data.startswith(SIGNATURE):
        raise ValueError("no TCR signature")
    pos = len(SIGNATURE)
    strings = []
    for code in range(256):
        if pos >= len(data):
            raise ValueError("dictionary cut short at code %d" % code)
        length = data[pos]
        pos += 1
        if pos + length > len(data):
            raise ValueError("dictionary entry %d cut short" % code)
        strings.append(data[pos:pos + length])
        pos += length
    return b"".join(strings[code] for code in data[pos:])


def decode_file(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        return decode(data)
    except ValueError as error:
        print("%s: not TCR: %s" % (path, error), file=sys.stderr)
        return None


def main(args):
    if len(args) >= 3 and args[0] == "--out":
        status = 0
        for path in args[2:]:
            text = decode_file(path)
            if text is None:
                status = 1
                continue
            with open(os.path.join(args[1], os.path.basename(path) + ".txt"), "wb") as f:
                f.write(text)
        return status
    if len(args) != 1:
        print(__doc__.split("Usage:")[1].strip(), file=sys.stderr)
        return 2
    text = decode_file(args[0])
    if text is None:
        return 1
    sys.stdout.buffer.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Single-byte code page tables, taken from the iconv mappings of this system.

Each table lists the UTF-16 unit of the bytes 0x80..0xFF (bytes below 0x80 are ASCII in every one of
these code pages). A byte the code page leaves undefined becomes '?' (U+003F): a NUL there would end
the decoded text early.

The ISO tables (8859-2, 8859-5, 8859-16) keep their published C1 controls U+0080..U+009F at
0x80..0x9F, exactly as iconv decodes them. Windows-1252 is the published windows-1252 table; it also
serves the ISO-8859-1 names, the way browsers read "iso-8859-1" text.

Every table is cross-checked against Python's own codec of the same code page; the differences are
written into the generated file (iconv's value is the one used).
"""

import os
import subprocess

from common import generated_header

# (C++ identifier, iconv name, Python codec name, what it is)
TABLES = [
    ("kCodePageWindows1250", "CP1250", "cp1250", "windows-1250, Central European"),
    ("kCodePageWindows1251", "CP1251", "cp1251", "windows-1251, Cyrillic"),
    ("kCodePageWindows1252", "CP1252", "cp1252", "windows-1252, Western European"),
    ("kCodePageWindows1253", "CP1253", "cp1253", "windows-1253, Greek"),
    ("kCodePageWindows1257", "CP1257", "cp1257", "windows-1257, Baltic"),
    ("kCodePageCp775", "CP775", "cp775", "cp775, DOS Baltic"),
    ("kCodePageCp737", "CP737", "cp737", "cp737, DOS Greek"),
    ("kCodePageCp866", "CP866", "cp866", "cp866, DOS Cyrillic"),
    ("kCodePageCp850", "CP850", "cp850", "cp850, DOS Western European"),
    ("kCodePageKoi8r", "KOI8-R", "koi8_r", "KOI8-R, Russian"),
    ("kCodePageIso8859_2", "ISO-8859-2", "iso8859_2", "ISO-8859-2, Latin-2"),
    ("kCodePageWindows1254", "CP1254", "cp1254", "windows-1254, Turkish"),
    ("kCodePageCp852", "CP852", "cp852", "cp852, DOS Central European"),
    ("kCodePageIso8859_16", "ISO-8859-16", "iso8859_16", "ISO-8859-16, South-Eastern European"),
    ("kCodePageIso8859_5", "ISO-8859-5", "iso8859_5", "ISO-8859-5, Cyrillic"),
    ("kCodePageMacCyrillic", "MAC-CYRILLIC", "mac_cyrillic", "Mac OS Cyrillic"),
]

UNDEFINED = 0x3F


def iconv_table(iconv_name):
    """Decodes every byte 0x80..0xFF on a line of its own; an undefined byte leaves its line empty."""
    sample = b"".join(bytes([b]) + b"\n" for b in range(0x80, 0x100))
    out = subprocess.run(["iconv", "-c", "-f", iconv_name, "-t", "UTF-32LE"], input=sample,
                         capture_output=True, check=False, env={"LC_ALL": "C.UTF-8"}).stdout
    code_points = [int.from_bytes(out[i:i + 4], "little") for i in range(0, len(out), 4)]
    lines, current = [], []
    for cp in code_points:
        if cp == 0x0A:
            lines.append(current)
            current = []
        else:
            current.append(cp)
    if len(lines) != 128:
        raise SystemExit("iconv %s: expected 128 lines, got %d" % (iconv_name, len(lines)))
    table = []
    for byte, chars in enumerate(lines, 0x80):
        if len(chars) > 1 or (chars and chars[0] > 0xFFFF):
            raise SystemExit("iconv %s: byte %02X is not one BMP character" % (iconv_name, byte))
        table.append(chars[0] if chars else UNDEFINED)
    return table


def python_table(codec):
    table = []
    for byte in range(0x80, 0x100):
        try:
            table.append(ord(bytes([byte]).decode(codec)))
        except UnicodeDecodeError:
            table.append(UNDEFINED)
    return table


def generate(repo):
    lines = generated_header("The single-byte code page tables, decoded by iconv (%s)." % libc_version())
    lines.append("// Each table gives the UTF-16 unit of the bytes 0x80..0xFF; '?' marks a byte the code page")
    lines.append("// leaves undefined.")
    for ident, iconv_name, codec, title in TABLES:
        table = iconv_table(iconv_name)
        reference = python_table(codec)
        lines.append("")
        lines.append("// %s (iconv %s)" % (title, iconv_name))
        for byte, (ours, theirs) in enumerate(zip(table, reference), 0x80):
            if ours != theirs:
                lines.append("// byte %02X: iconv U+%04X, Python's %s codec U+%04X" % (byte, ours, codec, theirs))
        lines.append("inline constexpr char16_t %s[128] = {" % ident)
        for row in range(0, 128, 8):
            lines.append("    " + " ".join("0x%04X," % v for v in table[row:row + 8]))
        lines.append("};")
    path = os.path.join(repo, "engine", "text", "CodePageTables.inc")
    return {path: "\n".join(lines) + "\n"}


def libc_version():
    try:
        return os.confstr("CS_GNU_LIBC_VERSION")
    except (ValueError, OSError):
        return "libc"

"""Windows locale identifiers (LCIDs) and the ISO 639 code of their language.

Base: Python's locale.windows_locale (the Windows locale list as Python ships it). On top of it:
  * language codes that table writes in an old or wrong form are given as Windows names them today;
  * locales of the Windows list that the table lacks;
  * the neutral identifiers (the primary language id alone, e.g. 9 for English, 0x7C04 for
    Traditional Chinese), which take the language of their locales.
"""

import locale
import os

from common import generated_header

# Language part of Python's table -> the code Windows uses.
CODE_FIXES = {
    "kh": "km",    # Khmer
    "div": "dv",   # Divehi
    "ns": "nso",   # Sesotho sa Leboa
    "tmz": "tzm",  # Tamazight
    "gbz": "prs",  # Dari
    "wen": "hsb",  # Upper Sorbian
    "qut": "quc",  # K'iche'
}

# LCID -> language of locales the table lacks.
MISSING = {
    0x0430: "st", 0x0431: "ts", 0x0433: "ve", 0x043C: "gd", 0x043D: "yi", 0x0455: "my", 0x0458: "mni",
    0x0459: "sd", 0x045C: "chr", 0x045F: "tzm", 0x0460: "ks", 0x0466: "bin", 0x0467: "ff", 0x0469: "ibb",
    0x0470: "ig", 0x0471: "kr", 0x0472: "om", 0x0473: "ti", 0x0474: "gn", 0x0475: "haw", 0x0476: "la",
    0x0477: "so", 0x0479: "pap", 0x0491: "gd", 0x0492: "ku",
    0x0818: "ro", 0x0819: "ru", 0x0827: "lt", 0x0832: "tn", 0x0845: "bn", 0x0846: "pa", 0x0849: "ta",
    0x0859: "sd", 0x0860: "ks", 0x0861: "ne", 0x0867: "ff", 0x0873: "ti",
    0x105F: "tzm", 0x1C0C: "fr", 0x200C: "fr", 0x240C: "fr", 0x241A: "sr", 0x280C: "fr", 0x281A: "sr",
    0x2C0C: "fr", 0x2C1A: "sr", 0x300C: "fr", 0x301A: "sr", 0x340C: "fr", 0x3809: "en", 0x380C: "fr",
    0x3C09: "en", 0x3C0C: "fr", 0x4809: "en", 0x4C09: "en", 0x580A: "es", 0x5C0A: "es",
}

# Neutral identifiers beyond "primary language id alone".
NEUTRAL = {
    0x0014: "no", 0x7C14: "nb", 0x7814: "nn", 0x7C04: "zh", 0x7C1A: "sr", 0x781A: "bs", 0x701A: "sr",
    0x6C1A: "sr", 0x641A: "bs", 0x7C2E: "dsb",
}


def build():
    table = {}
    for lcid, name in locale.windows_locale.items():
        code = name.split("_")[0].lower()
        table[lcid] = CODE_FIXES.get(code, code)
    table[0x4809] = "en"  # English (Singapore); Python's table says en_IN
    for lcid, code in MISSING.items():
        table.setdefault(lcid, code)
    # A neutral identifier takes the language of its first locale (sub-language 1).
    for lcid in sorted(table):
        primary = lcid & 0x3FF
        if lcid >> 10 == 1 and primary not in table:
            table[primary] = table[lcid]
    table.update(NEUTRAL)
    return table


def generate(repo):
    table = build()
    lines = generated_header("Windows locale identifiers and the ISO 639 code of their language, by LCID.")
    entries = ["{0x%04X, \"%s\"}," % (lcid, table[lcid]) for lcid in sorted(table)]
    for row in range(0, len(entries), 6):
        lines.append(" ".join(entries[row:row + 6]))
    path = os.path.join(repo, "engine", "text", "LcidLanguages.inc")
    return {path: "\n".join(lines) + "\n"}

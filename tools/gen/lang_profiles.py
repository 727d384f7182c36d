"""Language profiles of the code page detector.

A profile is what the detector measures on a text, measured here on a large sample of running text of
one language converted by iconv into one code page:

  * 256 byte frequencies: only bytes >= 0x80, ASCII letters and the apostrophe are counted; each
    frequency is count * 0x7000 / counted bytes (0x7000 stands for 1);
  * the 256 most frequent letter pairs: every byte is itself when it would be counted above and a
    space otherwise; starting at the second byte, with a space before it, every pair except
    (space, space) is counted; the 256 highest counts are kept (equal counts: lower pair first),
    sorted by their two bytes, and each becomes count * 0x7000 / counted pairs.

'utf8' profiles count the UTF-8 bytes of the text in just the same way.

Output layout (engine/text/LangProfiles.inc), one brace list per profile, in detector order:

  {"code page", "language",
   {{256 byte frequencies},
    number of pairs,
    {pairs as 0xAABBFFFF: first byte AA, second byte BB, frequency FFFF; ascending}}},

The sources of every sample are listed in tools/gen/lang_sources.txt.
"""

import os
import subprocess

import text_sources as src
from common import generated_header

SAMPLE_CHARACTERS = 400000  # taken from each sample (evenly spread over its sources)
MIN_SAMPLE_BYTES = 50 * 1024

FORTUNES = "/usr/share/games/fortunes/"

# Where the text of each language comes from, by kind of source.
LANGUAGES = {
    "ru": {"man": [("manpages-ru", "ru")], "po": ["ru"], "fortune": [("fortunes-ru", FORTUNES + "ru")]},
    "bg": {"po": ["bg"], "fortune": [("fortunes-bg", FORTUNES + "bg")]},
    "cs": {"man": [("manpages-cs", "cs")], "po": ["cs"], "fortune": [("fortunes-cs", FORTUNES + "cs")]},
    "pl": {"man": [("manpages-pl", "pl")], "po": ["pl"], "fortune": [("fortunes-pl", FORTUNES + "pl")]},
    "fr": {"man": [("manpages-fr", "fr")], "po": ["fr"]},
    "de": {"man": [("manpages-de", "de")], "po": ["de"], "fortune": [("fortunes-de", FORTUNES + "de")]},
    "es": {"man": [("manpages-es", "es")], "po": ["es"], "fortune": [("fortunes-es", FORTUNES + "es")]},
    "et": {"po": ["et"]},
    "el": {"man": [("manpages-el", "el")], "po": ["el"]},
    "lt": {"po": ["lt"]},
    "lv": {"po": ["lv"]},
    # Serbian in a Latin code page: the Latin catalogues, and the Cyrillic manual pages transliterated
    # letter by letter (the two alphabets of Serbian correspond one to one).
    "sr-latn": {"man": [("manpages-sr", "sr")], "po": ["sr@latin"], "transliterate": "sr"},
    "it": {"man": [("manpages-it", "it")], "po": ["it"], "fortune": [("fortunes-it", FORTUNES + "it")]},
    "tr": {"man": [("manpages-tr", "tr")], "po": ["tr"]},
    "zh-hans": {"man": [("manpages-zh", "zh_CN")], "po": ["zh_CN"],
                "fortune": [("fortunes-zh", FORTUNES.rstrip("/"))], "fortune_exclude": ("song100", "tang300")},
    "zh-hant": {"man": [("manpages-zh", "zh_TW")], "po": ["zh_TW"]},
    "ja": {"man": [("manpages-ja", "ja")], "po": ["ja"]},
    "ko": {"po": ["ko"]},
    "ro": {"man": [("manpages-ro", "ro")], "po": ["ro"]},
    "hu": {"man": [("manpages-hu", "hu")], "po": ["hu"]},
}

# Languages written in another script than Latin: their lines made mostly of ASCII letters
# (commands, paths, English terms) are left out.
NON_LATIN = {"ru", "bg", "el", "zh-hans", "zh-hant", "ja", "ko"}

# Code page names of the profiles -> iconv's name (None: the UTF-8 text itself).
ENCODINGS = {
    "cp1251": "CP1251", "cp866": "CP866", "koi8r": "KOI8-R", "utf8": None, "cp1250": "CP1250",
    "cp1252": "CP1252", "cp850": "CP850", "cp775": "CP775", "cp1253": "CP1253", "cp737": "CP737",
    "cp1257": "CP1257", "cp1254": "CP1254", "gbk": "GBK", "shift_jis": "CP932", "eucjp": "EUC-JP",
    "big5": "CP950", "euc_kr": "EUC-KR", "iso8859-16": "ISO-8859-16",
}

# The profiles in detector order: (code page, language reported, text language, kind of sample).
# The kind is one source ("man", "po", "fortune") or "all" of them; a language with several
# profiles in one code page gets a different sample for each.
PROFILES = [
    ("cp1251", "ru", "ru", "man"),
    ("cp1251", "ru", "ru", "po"),
    ("cp1251", "ru", "ru", "fortune"),
    ("cp866", "ru", "ru", "man"),
    ("koi8r", "ru", "ru", "man"),
    ("koi8r", "ru", "ru", "po"),
    ("utf8", "ru", "ru", "all"),
    ("cp1251", "ru", "ru", "all"),
    ("cp866", "ru", "ru", "po"),
    ("koi8r", "ru", "ru", "fortune"),
    ("cp1251", "bg", "bg", "all"),
    ("cp866", "bg", "bg", "all"),
    ("koi8r", "bg", "bg", "all"),
    ("cp1250", "cs", "cs", "man"),
    ("cp1250", "pl", "pl", "man"),
    ("cp1250", "pl", "pl", "po"),
    ("cp1252", "fr", "fr", "man"),
    ("cp1252", "fr", "fr", "po"),
    ("cp850", "fr", "fr", "man"),
    ("cp850", "fr", "fr", "po"),
    ("cp1252", "de", "de", "man"),
    ("cp1252", "de", "de", "po"),
    ("cp850", "de", "de", "man"),
    ("cp850", "de", "de", "po"),
    ("cp1252", "es", "es", "man"),
    ("cp1252", "es", "es", "po"),
    ("cp850", "es", "es", "man"),
    ("cp850", "es", "es", "po"),
    ("utf8", "ee", "et", "all"),
    ("cp775", "ee", "et", "all"),
    ("cp1253", "gr", "el", "all"),
    ("cp737", "gr", "el", "all"),
    ("cp1257", "lit", "lt", "all"),
    ("cp1257", "lat", "lv", "all"),
    ("cp1250", "sr", "sr-latn", "all"),
    ("cp1252", "it", "it", "all"),
    ("cp1254", "tr", "tr", "all"),
    ("gbk", "zh", "zh-hans", "man"),
    ("gbk", "zh", "zh-hans", "po"),
    ("shift_jis", "ja", "ja", "man"),
    ("shift_jis", "ja", "ja", "po"),
    ("eucjp", "ja", "ja", "man"),
    ("eucjp", "ja", "ja", "po"),
    ("big5", "ja", "ja", "all"),
    ("big5", "zh", "zh-hant", "all"),
    ("euc_kr", "ko", "ko", "all"),
    ("cp1252", "de", "de", "fortune"),
    ("utf8", "de", "de", "all"),
    ("iso8859-16", "ro", "ro", "all"),
    ("cp1250", "ro", "ro", "all"),
    ("utf8", "ro", "ro", "all"),
    ("cp1250", "cz", "cs", "po"),
    ("cp1250", "hu", "hu", "man"),
    ("cp1250", "hu", "hu", "po"),
]

# Japanese has no kana in code page 950; the Big5 profile of Japanese text takes the kana where the
# ETEN extension of Big5 (kept by Big5-HKSCS) puts them, as Big5 encoders of Japanese text do.
ICONV_OVERRIDE = {("big5", "ja"): "BIG5-HKSCS"}

SOURCE_TITLES = {"man": "manual pages", "po": "gettext catalogues", "fortune": "fortune cookies"}


def sample_title(lang, kind):
    kinds = [k for k in ("man", "po", "fortune") if k in LANGUAGES[lang]] if kind == "all" else [kind]
    return " + ".join(SOURCE_TITLES[k] for k in kinds)

_SERBIAN_LATIN = dict(zip(
    "абвгдђежзијклљмнњопрстћуфхцчџшАБВГДЂЕЖЗИЈКЛЉМНЊОПРСТЋУФХЦЧЏШ",
    ["a", "b", "v", "g", "d", "đ", "e", "ž", "z", "i", "j", "k", "l", "lj", "m", "n", "nj", "o", "p",
     "r", "s", "t", "ć", "u", "f", "h", "c", "č", "dž", "š",
     "A", "B", "V", "G", "D", "Đ", "E", "Ž", "Z", "I", "J", "K", "L", "Lj", "M", "N", "Nj", "O", "P",
     "R", "S", "T", "Ć", "U", "F", "H", "C", "Č", "Dž", "Š"]))


def _transliterate_serbian(text):
    return "".join(_SERBIAN_LATIN.get(ch, ch) for ch in text)


class Samples:
    """Reads each language's sources once and hands out samples of one kind."""

    def __init__(self):
        self._sources = {}
        self.records = {}

    def _source(self, lang, kind):
        key = (lang, kind)
        if key not in self._sources:
            config = LANGUAGES[lang]
            texts, used = [], []
            if kind == "man":
                for package, man_dir in config.get("man", []):
                    text, files = src.man_pages(package, man_dir)
                    if config.get("transliterate") == man_dir:
                        text = _transliterate_serbian(text)
                    texts.append(text)
                    used += files
            elif kind == "po":
                for locale_dir in config.get("po", []):
                    text, files = src.gettext_catalogues(locale_dir)
                    texts.append(text)
                    used += files
            elif kind == "fortune":
                for package, directory in config.get("fortune", []):
                    text, files = src.fortunes(package, directory, config.get("fortune_exclude", ()))
                    texts.append(text)
                    used += files
            text = src.normalise("\n".join(t for t in texts if t))
            if lang in NON_LATIN:
                text = "\n".join(line for line in text.split("\n") if not src.mostly_foreign_letters(line))
            self._sources[key] = (text, used)
        return self._sources[key]

    def sample(self, lang, kind):
        kinds = [k for k in ("man", "po", "fortune") if k in LANGUAGES[lang]] if kind == "all" else [kind]
        texts, used = [], []
        for k in kinds:
            text, files = self._source(lang, k)
            if text:
                texts.append(text)
                used += files
        full = "\n".join(texts)
        sample = src.spread_sample(full, SAMPLE_CHARACTERS)
        self.records[(lang, kind)] = (len(sample), len(full), used)
        return sample


def encode(text, code_page, language):
    if code_page == "utf8":
        return text.encode("utf-8")
    if language == "ro":
        # Romanian s and t with comma below exist only in ISO-8859-16; the other code pages have the
        # cedilla forms, which is what Romanian text in them uses.
        if code_page == "iso8859-16":
            text = text.translate(str.maketrans("şţŞŢ", "șțȘȚ"))
        else:
            text = text.translate(str.maketrans("șțȘȚ", "şţŞŢ"))
    target = ICONV_OVERRIDE.get((code_page, language), ENCODINGS[code_page])
    result = subprocess.run(["iconv", "-c", "-f", "UTF-8", "-t", target + "//TRANSLIT"],
                            input=text.encode("utf-8"), capture_output=True, check=False,
                            env={"LC_ALL": "C.UTF-8"})
    return result.stdout


_COUNTED = bytes(b if (b >= 0x80 or 0x41 <= b <= 0x5A or 0x61 <= b <= 0x7A or b == 0x27) else 0x20
                 for b in range(256))


def measure(data):
    """Byte and pair frequencies of `data`, exactly as the detector measures a text."""
    counts = [0] * 256
    for value in range(256):
        if _COUNTED[value] != 0x20:
            counts[value] = data.count(bytes([value]))
    total = sum(counts)
    byte_freq = [c * 0x7000 // total if total else 0 for c in counts]

    mapped = data.translate(_COUNTED)
    sequence = b" " + mapped[1:]
    pair_counts = {}
    for key in zip(sequence, sequence[1:]):
        pair_counts[key] = pair_counts.get(key, 0) + 1
    pair_counts.pop((0x20, 0x20), None)
    total_pairs = sum(pair_counts.values())
    best = sorted(pair_counts.items(), key=lambda item: (-item[1], item[0]))[:256]
    pairs = sorted((first, second, count * 0x7000 // total_pairs) for (first, second), count in best)
    return byte_freq, pairs


def generate(repo):
    samples = Samples()
    lines = generated_header("The language profiles of the code page detector, in detector order.")
    lines.append("// Layout: {code page, language, {{256 byte frequencies}, number of pairs, {pairs as")
    lines.append("// 0xAABBFFFF: bytes AA BB, frequency FFFF}}}; 0x7000 stands for a frequency of 1.")
    lines.append("// Built from running text of each language; tools/gen/lang_sources.txt lists the sources.")
    for index, (code_page, language, text_lang, kind) in enumerate(PROFILES):
        text = samples.sample(text_lang, kind)
        data = encode(text, code_page, language)
        if len(data) < MIN_SAMPLE_BYTES:
            raise SystemExit("profile %d (%s %s): only %d bytes of text" % (index, code_page, language, len(data)))
        byte_freq, pairs = measure(data)
        lines.append("")
        lines.append("// %d: %s %s, %s (%s), %d bytes" % (index, code_page, language, sample_title(text_lang, kind),
                                                          text_lang, len(data)))
        lines.append('{"%s", "%s",' % (code_page, language))
        lines.append(" {{")
        for row in range(0, 256, 16):
            lines.append("  " + " ".join("%d," % v for v in byte_freq[row:row + 16]))
        lines.append(" },")
        lines.append(" %d," % len(pairs))
        lines.append(" {")
        packed = ["0x%02X%02X%04X," % (a, b, f) for a, b, f in pairs]
        for row in range(0, len(packed), 8):
            lines.append("  " + " ".join(packed[row:row + 8]))
        lines.append(" }}},")
    outputs = {os.path.join(repo, "engine", "text", "LangProfiles.inc"): "\n".join(lines) + "\n"}
    outputs[os.path.join(repo, "tools", "gen", "lang_sources.txt")] = sources_report(samples)
    return outputs


def sources_report(samples):
    out = ["Sources of the language profiles (written by tools/gen/gen_charsets.py).", ""]
    out.append("Profiles, in detector order: index, code page, language, sample (text language, kind).")
    for index, (code_page, language, text_lang, kind) in enumerate(PROFILES):
        out.append("  %2d  %-10s %-4s %s %s" % (index, code_page, language, text_lang, kind))
    out.append("")
    out.append("Samples: characters taken of characters available; then the Debian packages")
    out.append("(version) and how many of their files fed the sample.")
    versions = {}
    for (lang, kind) in sorted(samples.records):
        taken, available, used = samples.records[(lang, kind)]
        out.append("")
        out.append("%s %s: %d of %d characters" % (lang, kind, taken, available))
        per_package = {}
        folders = {}
        for path, package in used:
            per_package[package] = per_package.get(package, 0) + 1
            folders.setdefault(package, set()).add(os.path.dirname(path))
        for package in sorted(per_package):
            if package not in versions:
                versions[package] = src.package_version(package) or "?"
            out.append("  %s (%s): %d files in %s" % (package, versions[package], per_package[package],
                                                      ", ".join(sorted(folders[package]))))
    return "\n".join(out) + "\n"

"""Running text of one language, read from installed Debian packages.

Three kinds of source, all UTF-8 on Debian 12:
  man      translated manual pages (manpages-xx), with the roff markup stripped
  po       gettext catalogues (the msgstr side of the .mo files under /usr/share/locale/<lang>)
  fortune  fortune cookie collections (fortunes-xx)

Only the packages named in this file are read, so that unrelated installs do not change the result.
Each reader returns (text, [(path, package)]) with the files in sorted order.
"""

import glob
import gzip
import os
import re
import struct
import subprocess
import unicodedata

DPKG_INFO = "/var/lib/dpkg/info"

# Packages whose gettext catalogues hold translated messages; names-only catalogues (iso-codes,
# xkb-data) are left out because they are lists of names rather than running text.
GETTEXT_PACKAGES = [
    "appstream", "apt", "at-spi2-common", "bash", "binutils-common", "coreutils", "diffutils", "dpkg",
    "findutils", "gettext", "git", "gnupg-l10n", "grep", "gsettings-desktop-schemas",
    "libapt-pkg6.0", "libc-l10n", "libgdk-pixbuf2.0-common", "libglib2.0-data", "libgstreamer1.0-0",
    "libgtk2.0-common", "libpam-runtime", "login", "make", "man-db", "packagekit", "procps", "psmisc",
    "sed", "shared-mime-info", "systemd", "tar", "wget", "xz-utils",
]

_owner_cache = {}


def package_files(package):
    """The regular files a Debian package installed, sorted; empty when it is not installed."""
    if package in _owner_cache:
        return _owner_cache[package]
    files = []
    for list_file in sorted(glob.glob(os.path.join(DPKG_INFO, package + ".list"))
                            + glob.glob(os.path.join(DPKG_INFO, package + ":*.list"))):
        with open(list_file, encoding="utf-8", errors="replace") as handle:
            for line in handle:
                path = line.rstrip("\n")
                if os.path.isfile(path) and not os.path.islink(path):
                    files.append(path)
    files = sorted(set(files))
    _owner_cache[package] = files
    return files


def package_version(package):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True,
                            text=True, check=False)
    return result.stdout.strip() if result.returncode == 0 else None


# ---------------------------------------------------------------- manual pages

_ROFF_NAMED = {
    "em": "\u2014", "en": "\u2013", "hy": "-", "mi": "-", "aq": "'", "dq": '"', "lq": "\u201c",
    "rq": "\u201d", "oq": "\u2018", "cq": "\u2019", "Fo": "\u00ab", "Fc": "\u00bb", "fo": "\u2039",
    "fc": "\u203a", "bu": "\u2022", "co": "\u00a9", "rg": "\u00ae", "tm": "\u2122", "pl": "+",
    "mu": "\u00d7", "de": "\u00b0", "ti": "~", "ha": "^", "ga": "`", "aa": "\u00b4", "rs": "\\",
    "sl": "/", "ba": "|", "br": "|", "lB": "[", "rB": "]", "lC": "{", "rC": "}", "la": "\u27e8",
    "ra": "\u27e9", "Lq": "\u201e", "Bq": "\u201e", "bq": "\u201a", "ua": "\u2191", "da": "\u2193",
    "->": "\u2192", "<-": "\u2190", "<=": "\u2264", ">=": "\u2265", "!=": "\u2260", "sc": "\u00a7",
    "ps": "\u00b6", "Eu": "\u20ac", "eu": "\u20ac", "dg": "\u2020", "ss": "\u00df", "ae": "\u00e6",
    "AE": "\u00c6", "o/": "\u00f8", "O/": "\u00d8", "ff": "ff", "fi": "fi", "fl": "fl", "lh": "",
    "rh": "", "ci": "\u25cb", "sq": "\u25a1", "rA": "\u21d2", "lA": "\u21d0", "OK": "\u2713",
}
_ROFF_STRINGS = {"lq": "\u201c", "rq": "\u201d", "R": "\u00ae", "Tm": "\u2122", "Aq": "'", "Q": "\u201c",
                 "U": "\u201d"}
_TEXT_MACROS = {"B", "I", "BR", "RB", "BI", "IB", "IR", "RI", "SB", "SM", "SH", "SS", "IP", "Nd", "Sh",
                "Ss", "Dq", "Qq", "Sq", "Pq", "Em", "Sy", "Ql", "Dl", "It"}

_ESCAPE = re.compile(r"""\\(?:
      f(?:\[[^\]]*\]|\(..|.)          # font change
    | s(?:\[[^\]]*\]|[+-]?\(..|[+-]?\d+)  # size change
    | \*(?:\[(?P<s1>[^\]]*)\]|\((?P<s2>..)|(?P<s3>.))  # string register
    | \((?P<n1>..)                     # named character, short form
    | \[(?P<n2>[^\]]*)\]               # named character, long form
    | [nkgmMFYV](?:\[[^\]]*\]|\(..|.)  # registers, colours, fonts by name
    | [hvwlLoXZNbDxRSAB]'[^']*'         # escapes with a quoted argument
    | (?P<c>.)
)""", re.VERBOSE)

_SIMPLE_ESCAPES = {"-": "-", "e": "\\", "~": " ", " ": " ", "0": " ", "'": "\u00b4", "`": "`",
                   "\\": "\\", ".": ".", '"': ""}


def _roff_escape(match):
    if match.group("n1") or match.group("n2"):
        name = match.group("n1") or match.group("n2")
        if name.startswith("u") and re.fullmatch(r"u[0-9A-Fa-f]{4,6}(_[0-9A-Fa-f]{4,6})*", name):
            return "".join(chr(int(part.lstrip("u"), 16)) for part in name.split("_"))
        return _ROFF_NAMED.get(name, "")
    name = match.group("s1") or match.group("s2") or match.group("s3")
    if name is not None:
        return _ROFF_STRINGS.get(name, "")
    plain = match.group("c")
    if plain is not None:
        return _SIMPLE_ESCAPES.get(plain, "")
    return ""


def _macro_arguments(rest):
    args = re.findall(r'"((?:[^"]|"")*)"|(\S+)', rest)
    return " ".join((quoted or bare).replace('""', '"') for quoted, bare in args)


def roff_to_text(source):
    """The readable text of a manual page: text lines and the arguments of the font and heading
    macros, escapes resolved or dropped; requests, macro definitions and tables are skipped."""
    out = []
    skip_until = None
    for line in source.split("\n"):
        if skip_until is not None:
            if line.startswith(skip_until):
                skip_until = None
            continue
        if line.startswith((".\\\"", "'\\\"", ".\\#", "\\#")):
            continue
        if line.startswith((".", "'")):
            match = re.match(r"[.']\s*(\S*)\s*(.*)", line)
            macro, rest = match.group(1), match.group(2)
            if macro in ("de", "de1", "am", "ig"):
                skip_until = ".."
                continue
            if macro == "TS":
                skip_until = ".TE"
                continue
            if macro == "EQ":
                skip_until = ".EN"
                continue
            # Examples (command lines, file contents) are not running text.
            if macro == "EX":
                skip_until = ".EE"
                continue
            if macro == "nf":
                skip_until = ".fi"
                continue
            if macro not in _TEXT_MACROS:
                continue
            line = _macro_arguments(rest)
        line = _ESCAPE.sub(_roff_escape, line)
        if line.strip():
            out.append(line)
    return "\n".join(out)


def man_pages(package, man_dir):
    """Text of the manual pages that `package` installed under /usr/share/man/<man_dir>/."""
    prefix = "/usr/share/man/%s/" % man_dir
    texts, used = [], []
    for path in package_files(package):
        if not path.startswith(prefix) or not path.endswith(".gz"):
            continue
        try:
            with gzip.open(path, "rb") as handle:
                source = handle.read().decode("utf-8")
        except (OSError, UnicodeDecodeError, EOFError):
            continue
        if source.lstrip().startswith(".so "):
            continue
        text = roff_to_text(source)
        if text:
            texts.append(text)
            used.append((path, package))
    return "\n".join(texts), used


# ---------------------------------------------------------------- gettext catalogues

_FORMAT = re.compile(r"%(?:\d+\$)?[-+ #0']*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|q|j|z|t|I64)?"
                     r"[diouxXeEfFgGaAcsSpn%]|%<PRI\w+>|\$\{\w+\}|\{\w*\}")
_MARKUP = re.compile(r"</?[A-Za-z][^<>]*>")
_ACCELERATOR = re.compile(r"[_&](?=\w)")


def _clean_message(text):
    text = _FORMAT.sub(" ", text)
    text = _MARKUP.sub(" ", text)
    text = text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", '"')
    text = _ACCELERATOR.sub("", text)
    return re.sub(r"[ \t\r\n]+", " ", text).strip()


def read_mo(path):
    """The translated messages of a .mo catalogue (plural forms included, untranslated ones not)."""
    with open(path, "rb") as handle:
        data = handle.read()
    if len(data) < 28:
        return []
    magic = struct.unpack("<I", data[:4])[0]
    endian = "<" if magic == 0x950412DE else ">" if magic == 0xDE120495 else None
    if endian is None:
        return []
    count, ids_offset, strs_offset = struct.unpack(endian + "III", data[8:20])

    def entry(table, index):
        length, offset = struct.unpack(endian + "II", data[table + 8 * index:table + 8 * index + 8])
        return data[offset:offset + length]

    charset = "utf-8"
    messages = []
    for index in range(count):
        original, translated = entry(ids_offset, index), entry(strs_offset, index)
        if not original:
            match = re.search(rb"charset=([-\w]+)", translated)
            if match and match.group(1).upper() != b"CHARSET":
                charset = match.group(1).decode("ascii")
            continue
        if b"\x04" in original:
            original = original.split(b"\x04", 1)[1]
        originals = set(original.split(b"\0"))
        for form in translated.split(b"\0"):
            if not form or form in originals:
                continue
            try:
                text = _clean_message(form.decode(charset))
            except (UnicodeDecodeError, LookupError):
                continue
            if text:
                messages.append(text)
    return messages


def gettext_catalogues(locale_dir):
    texts, used = [], []
    prefix = "/usr/share/locale/%s/LC_MESSAGES/" % locale_dir
    for package in GETTEXT_PACKAGES:
        for path in package_files(package):
            if path.startswith(prefix) and path.endswith(".mo"):
                messages = read_mo(path)
                if messages:
                    texts.append("\n".join(messages))
                    used.append((path, package))
    return "\n".join(texts), used


# ---------------------------------------------------------------- fortune cookies

_ANSI = re.compile(r"\x1b\[[0-9;]*[A-Za-z]")


def fortunes(package, directory, exclude=()):
    """Text of the fortune files of `package` in one directory (the offensive ones, which are
    rot13-encoded, and the index files are left out)."""
    texts, used = [], []
    for path in package_files(package):
        if "/off/" in path or path.endswith(".dat") or os.path.dirname(path) != directory:
            continue
        if os.path.basename(path) in exclude:
            continue
        try:
            with open(path, "rb") as handle:
                text = handle.read().decode("utf-8")
        except UnicodeDecodeError:
            continue
        text = _ANSI.sub("", text)
        text = "\n".join(line for line in text.split("\n") if line.strip() != "%")
        if text.strip():
            texts.append(text)
            used.append((path, package))
    return "\n".join(texts), used


# ---------------------------------------------------------------- samples

def normalise(text):
    """NFC, so that accented letters are the single characters the code pages hold; no control
    characters except line feeds and tabs."""
    text = unicodedata.normalize("NFC", text)
    return "".join(ch for ch in text if ch in "\n\t" or unicodedata.category(ch) != "Cc")


def mostly_foreign_letters(line):
    """True when most letters of a line are ASCII: commands, paths and English terms in the text of a
    language written in another script."""
    ascii_letters = sum(1 for ch in line if ch.isascii() and ch.isalpha())
    other_letters = sum(1 for ch in line if not ch.isascii() and ch.isalpha())
    return ascii_letters > other_letters


def spread_sample(text, limit, windows=40):
    """At most `limit` characters of `text`, taken as equal slices from evenly spaced places so that
    every source file has its share."""
    if len(text) <= limit:
        return text
    piece = limit // windows
    step = len(text) // windows
    return "\n".join(text[i * step:i * step + piece] for i in range(windows))

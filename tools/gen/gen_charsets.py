#!/usr/bin/env python3
"""Regenerates the charset data of engine/text from this system's iconv, its locale list and the
running text of installed Debian packages:

  engine/text/CodePageTables.inc   single-byte code page tables        (codepage_tables.py)
  engine/text/LangProfiles.inc     language profiles of the detector   (lang_profiles.py)
  engine/text/LcidLanguages.inc    LCID -> ISO 639 language            (lcid_languages.py)
  tools/gen/lang_sources.txt       which package and file fed which profile

Usage: python3 tools/gen/gen_charsets.py [--check]
  --check  compare with the committed files instead of writing them (exit 1 on a difference).

The profiles need these Debian packages (apt-get install ...):
  manpages-{cs,de,el,es,fr,hu,it,ja,pl,ro,ru,sr,tr,zh}
  fortunes-{bg,cs,de,es,it,pl,ru,zh}
and the gettext catalogues of the packages listed in text_sources.GETTEXT_PACKAGES.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import codepage_tables  # noqa: E402
import lang_profiles  # noqa: E402
import lcid_languages  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def main():
    check = "--check" in sys.argv[1:]
    outputs = {}
    for generator in (codepage_tables, lcid_languages, lang_profiles):
        outputs.update(generator.generate(REPO))
    differ = False
    for path, text in sorted(outputs.items()):
        rel = os.path.relpath(path, REPO)
        if check:
            try:
                with open(path, encoding="utf-8") as handle:
                    same = handle.read() == text
            except FileNotFoundError:
                same = False
            print("%s %s" % ("same" if same else "DIFFERS", rel))
            differ |= not same
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8", newline="\n") as handle:
                handle.write(text)
            print("wrote", rel)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())

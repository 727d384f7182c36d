\vThis comment is hidden\v
\x\cChapter One\c\x
\C0="Chapter One"
\Q="start"\bBold\b text and \iitalic \usome underline\u left open
and continued on the next line\i; \oold\o words, a soft\-hyphen, a back\\slash.
\tIndented \rright\r text\t
Accents: caf\a233, \U20ACuro, \a000 and \U0000 stay, \z unknown.
\q="#note"A link\q to a note, \m="picture.png" an image, \T="5%" a tab.
\w="50%"
\X1Part Two\X1
\X2Section 2.1\X2
Text of section 2.1 with \Bstrong\B words \s and \l\n\d ignored escapes.
\pA page break starts a new section.
Byte é read as windows-1252.

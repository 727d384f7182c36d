#pragma once

#include <cstddef>
#include <cstdint>

// Hard limits against hostile input, kept together so that they are easy to review and so that the
// fuzz targets can reach every one of them. Each subsystem adds its own section.

// --- Streams -------------------------------------------------------------------------------
// Largest region a stream buffer copies into memory.
constexpr uint32_t kMaxStreamBufferBytes = 256u * 1024 * 1024;
// Largest memory stream (its positions are 32-bit and files of 2 GiB are refused).
constexpr uint32_t kMaxMemoryStreamBytes = 0x7FFFFFFFu;

// --- Property files ------------------------------------------------------------------------
// Largest property file read into memory.
constexpr uint32_t kMaxPropertyFileBytes = 64u * 1024 * 1024;

// --- PDB books (MOBI, PalmDOC, eReader) ----------------------------------------------------
// Decoded bytes of one text record; real books use 4096, anything above this is refused.
constexpr uint32_t kMaxPdbRecordTextBytes = 64u * 1024;
// Raw bytes of one text, HUFF or CDIC record read into memory.
constexpr uint32_t kMaxPdbRawRecordBytes = 1024u * 1024;
// Bytes of record 0 read for the headers, the full name and the EXTH block.
constexpr uint32_t kMaxPdbHeaderRecordBytes = 1024u * 1024;
// Decoded text of a whole book (stream positions are 32-bit).
constexpr uint32_t kMaxPdbTextBytes = 256u * 1024 * 1024;
// Nesting of HUFF/CDIC phrases that are themselves compressed.
constexpr uint32_t kMaxHuffPhraseDepth = 32;
// Decoded HUFF/CDIC phrases kept for reuse.
constexpr uint32_t kMaxHuffDecodedPhraseBytes = 32u * 1024 * 1024;

// --- Document tree -------------------------------------------------------------------------
// Attributes kept on one element; later ones are dropped (and logged).
constexpr uint32_t kMaxElementAttributes = 1024;
// Distinct attribute values of one document; later new values are not stored (and logged).
constexpr uint32_t kMaxAttrValues = 1u << 24;

// Bytes and count of the binary objects (pictures inside the text) one document keeps.
constexpr uint64_t kMaxDocumentBlobBytes = 256u * 1024 * 1024;
constexpr uint32_t kMaxDocumentBlobs = 65536;

// --- CSS -----------------------------------------------------------------------------------
// Nested "@import" levels followed below a stylesheet.
constexpr int kMaxCssImportDepth = 10;
// Files and bytes read through "@import" for one stylesheet, however they fan out.
constexpr int kMaxCssImportFiles = 64;
constexpr uint32_t kMaxCssImportBytes = 8u * 1024 * 1024;
// Largest single stylesheet file read.
constexpr uint32_t kMaxCssFileBytes = 4u * 1024 * 1024;
// Longest text value of an attribute condition in a selector.
constexpr int kMaxCssAttrValueLength = 64;
// Integer part of a CSS number saturates here, so that x 256 (8 fraction bits) still fits 32 bits.
constexpr int64_t kMaxCssNumberIntegerPart = 0x7FFFFF;
// Fraction digits that count; further digits are read and ignored.
constexpr int kMaxCssFractionDigits = 6;
// Computed font sizes saturate here (nested "font-size: 100em" would overflow otherwise).
constexpr int32_t kMaxComputedFontPixels = 0x7FFFFF;

// --- Text import ---------------------------------------------------------------------------
// Longest line ReadLine hands out when no blank cuts it earlier (text without spaces such as CJK,
// or binary data); lines read with the usual limits keep their 16-bit columns.
constexpr int32_t kMaxTextLineUnits = 32768;
// Largest range a parser loads into its byte buffer at once.
constexpr uint32_t kMaxParserBufferBytes = 64u * 1024 * 1024;
// Text the plain-text import holds in its window of lines: it stops reading lines ahead once the
// window has this many units (lines cut without blanks are long).
constexpr int64_t kMaxTextWindowUnits = 4 * 1024 * 1024;
// Empty-line elements the plain-text import writes for one run of blank lines; the rest of the
// run is dropped (a file of nothing but line breaks would otherwise fill the tree).
constexpr int kMaxTextEmptyLinesInRow = 8;
// Pieces of one overlong line (cut by the line reader) joined into one paragraph.
constexpr int kMaxTextJoinedPieces = 30;

// --- Images --------------------------------------------------------------------------------
// Largest width or height of a decoded image, and largest pixel count; checked against the
// image header before anything of that size is allocated.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 64ll * 1024 * 1024;
// Working memory libjpeg and libpng may take for one decode (a progressive JPEG keeps all its
// coefficients, an interlaced PNG its whole image).
constexpr size_t kMaxImageDecoderBytes = 384u * 1024 * 1024;
// Progressive JPEG scans accepted; hostile files repeat scans to make decoding endless.
constexpr int kMaxJpegScans = 500;
// Largest PNG ancillary chunk held in memory, and how many ancillary chunks are kept.
constexpr uint32_t kMaxPngChunkBytes = 8u * 1024 * 1024;
constexpr uint32_t kMaxPngCachedChunks = 1000;
// GIF files are read whole; larger ones are refused.
constexpr uint32_t kMaxGifFileBytes = 524288;
// Largest GIF logical screen side (screen) and image side (image descriptor).
constexpr int kMaxGifScreenSide = 4095;
constexpr int kMaxGifImageSide = 4096;

// --- TCR-compressed text -------------------------------------------------------------------
// Code bytes accepted after the dictionary; the decoded text must also fit a stream (2 GiB).
constexpr uint32_t kMinTcrPackedBytes = 10;
constexpr uint32_t kMaxTcrPackedBytes = 128u * 1024 * 1024;

// --- Fonts ---------------------------------------------------------------------------------
// Font files of a book outside these sizes are not loaded.
constexpr uint32_t kMinDocumentFontBytes = 100;
constexpr uint32_t kMaxDocumentFontBytes = 5000000;
// Faces looked at in one font file (a collection may claim any count).
constexpr int kMaxFacesPerFontFile = 64;
// Largest pixel size a font instance is made for.
constexpr int kMaxFontPixelSize = 1024;
// Glyphs whose bitmap would be wider or taller than this are not rendered (their advance still
// counts): a hostile outline could otherwise ask for gigabytes.
constexpr int kMaxRenderedGlyphSide = 2048;

// --- XML and HTML tokenizer ------------------------------------------------------------------
// Longest tag or attribute name; a longer one makes the tag unreadable.
constexpr int32_t kMaxXmlNameUnits = 256;
// Longest attribute value kept; the rest of a longer value is read and dropped.
constexpr int32_t kMaxXmlAttrValueUnits = 1 << 20;
// Attributes reported for one tag; later ones are read and dropped.
constexpr int32_t kMaxXmlAttributesPerTag = 1024;
// Text is handed to the writer in pieces of at most this many units (plus a few to keep an
// entity or a surrogate pair whole).
constexpr int32_t kXmlTextPieceUnits = 8192;

// --- Document writers ------------------------------------------------------------------------
// Deepest element nesting a writer builds. Deeper opens create no element (their content goes to
// the deepest element there is, their closes are ignored), so that no later tree walk, style,
// layout or drawing step can run out of stack on a book of unclosed tags.
constexpr int kMaxElementDepth = 1000;

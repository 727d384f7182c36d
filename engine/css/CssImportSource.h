#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/KsString.h"
#include "engine/streams/KsContainer.h"

// Where "@import" finds the files it names.
class CssImportSource {
public:
    virtual ~CssImportSource() = default;
    // The text of the stylesheet at `path`, as UTF-8; false when it cannot be read (or is
    // larger than kMaxCssFileBytes).
    virtual bool readStyleSheet(const string16& path, string8& utf8) = 0;
};

// Stylesheets inside the book's container.
class CssContainerImportSource final : public CssImportSource {
public:
    explicit CssContainerImportSource(KsContainer* container) : container_(container) {}
    bool readStyleSheet(const string16& path, string8& utf8) override;

private:
    KsContainer* container_;
};

// Stylesheets on the file system (the command-line tools).
class CssFileImportSource final : public CssImportSource {
public:
    bool readStyleSheet(const string16& path, string8& utf8) override;
};

// Stylesheet bytes to UTF-8: a UTF-8 or UTF-16 byte order mark decides; without one, valid
// UTF-8 is kept and anything else is read as Windows-1252.
string8 DecodeStyleSheetBytes(const uint8_t* bytes, size_t length);
// Reads a whole stream (at most kMaxCssFileBytes) and decodes it.
bool ReadStyleSheetStream(KsStream& stream, string8& utf8);

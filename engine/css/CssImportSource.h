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

// Reads a whole stylesheet stream (at most kMaxCssFileBytes; the charset detected as for
// plain-text files) as UTF-8; false for a null, unreadable or too large stream.
bool ReadStyleSheetStream(KsRef<KsStream> stream, string8& utf8);

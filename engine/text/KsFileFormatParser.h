#pragma once

#include "engine/core/Types.h"

class KsLoadingCallback;

// A parser of one book format. It is built on a stream and a callback, used once: CheckFormat
// (which always leaves it reset to the start of the stream), then, when that says yes,
// setProgressCallback and Parse, which turns the whole stream into events on the callback.
class KsFileFormatParser {
public:
    virtual ~KsFileFormatParser() = default;

    virtual KsLoadingCallback* getProgressCallback() { return nullptr; }
    virtual void setProgressCallback(KsLoadingCallback* /*callback*/) {}
    // Whether the stream is in this parser's format.
    [[nodiscard]] virtual bool CheckFormat() = 0;
    virtual bool Parse() = 0;
    // Back to the start of the stream.
    virtual void Reset() = 0;
    // Asks a running Parse to finish as if the input had ended.
    virtual void Stop() = 0;
    // Selects the decoding by charset name.
    virtual void SetCharset(const unit16* name) = 0;
    // Selects a single-byte decoding by its 128-entry table (bytes 0x80-0xFF), or none.
    virtual void SetCharsetTable(const unit16* table) = 0;
    // The 128-entry table in use, or null.
    virtual const unit16* GetCharsetTable() = 0;
    virtual void setAuxFlag(bool /*flag*/) {}
    virtual bool getAuxFlag() { return false; }
};

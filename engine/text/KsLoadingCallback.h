#pragma once

// Receives the progress of a long load (the document view implements it). Parsers call it from
// their updateProgress, on the thread that runs the parse.
class KsLoadingCallback {
public:
    virtual ~KsLoadingCallback() = default;
    // Enough of the book has been read to show its first pages.
    virtual void OnFirstPagesReady() {}
    // `percent` (0-100) of the input has been read.
    virtual void OnLoadProgress(int /*percent*/) {}
};

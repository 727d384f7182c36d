#pragma once

#include <string>

#include "engine/dom/ldomMarkupImport.h"
#include "tools/cli/Cli.h"

// The format options of the markup commands (--xml, --fb2, --html; at most one). False when
// more than one is given.
bool CliMarkupFormat(const CliArgs& args, MarkupFormat& format);

// Opens a file given on the command line and parses it into the document; without a format
// option a MOBI, PalmDOC or eReader book is imported as the document loader would. 0 on success,
// else the exit status after a message (2 when the file cannot be opened, 1 when it is not markup).
int CliImportMarkup(const std::string& path, ldomDocument& document, MarkupFormat format);

#pragma once

#include <string>

#include "engine/text/KsTextParser.h"
#include "tools/cli/Cli.h"

class ldomDocument;

enum class CliTextChoice { Markup, Text, Conflict };

// The text options of the commands that build documents: --text (layout guessed), --pre (every
// line kept), --pml (Palm Markup Language). Markup without one; Conflict when more than one is
// given.
CliTextChoice CliTextLayout(const CliArgs& args, TextLayout& layout);

// Opens a file given on the command line and imports it as text. 0 on success, else the exit
// status after a message (2 when the file cannot be opened, 1 when it is not text).
int CliImportText(const std::string& path, ldomDocument& document, TextLayout layout);

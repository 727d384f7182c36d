#pragma once

#include <string>

#include "engine/view/KsDocView.h"

// Loads a book through the reader's view, as the reader window does. Returns 0 when it opened;
// otherwise prints "quillet-cli: PATH: " and the title of the error document the reader would
// show (for a refused PDB book with the reason in brackets) to stderr and returns 2.
int CliLoadBook(const std::string& path, KsDocView& view);

#pragma once

#include <string>

#include "engine/streams/KsStream.h"

// Opens a path given on the command line for reading: a file, or "archive@/item" once the
// archive's container can be opened. On failure returns null and a message.
KsRef<KsStream> CliOpenStream(const std::string& path, std::string& error);

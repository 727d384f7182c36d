#include "tools/cli/CliStreams.h"

#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/PathUtils.h"

KsRef<KsStream> CliOpenStream(const std::string& path, std::string& error) {
    string16 path16 = Utf8ToString16(path.c_str(), path.size());
    KsRef<KsStream> stream = OpenFileStream(path16, KS_MODE_READ);
    if (stream) return stream;
    string16 archive, item;
    if (SplitArchivePath(path16, archive, item)) {
        // FIXME: items of archives open once the archive containers exist.
        error = "cannot open archive items yet: " + path;
        return nullptr;
    }
    error = "cannot open " + path;
    return nullptr;
}

#include "engine/css/CssImportSource.h"

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/text/KsTextFileBase.h"

bool ReadStyleSheetStream(KsRef<KsStream> stream, string8& utf8) {
    if (!stream) return false;
    ks_pos_t size = stream->GetSize();
    if (size == KS_POS_UNKNOWN || size > kMaxCssFileBytes) return false;
    if (stream->SetPos(0) != 0) return false;
    // Charset detected as for plain-text files.
    utf8 = String16ToUtf8(readTextStream(std::move(stream)));
    return true;
}

bool CssContainerImportSource::readStyleSheet(const string16& path, string8& utf8) {
    if (!container_) return false;
    return ReadStyleSheetStream(container_->OpenStream(path, KS_MODE_READ), utf8);
}

bool CssFileImportSource::readStyleSheet(const string16& path, string8& utf8) {
    return ReadStyleSheetStream(OpenFileStream(path, KS_MODE_READ), utf8);
}

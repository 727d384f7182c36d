#include "engine/books/KsPDBContainerItem.h"

#include "engine/streams/KsStreamFragment.h"

KsRef<KsStream> KsPDBRegionContainerItem::OpenItemStream() {
    if (!BaseStream()) return nullptr;
    return KsRef<KsStream>(new KsStreamFragment(BaseStream(), Start(), GetSize()));
}

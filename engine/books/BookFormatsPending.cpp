#include "engine/books/BookFormatsPending.h"

KsRef<KsContainer> OpenArchive(KsRef<KsStream> /*stream*/) {
    return nullptr;
}
bool IsEpubBook(KsRef<KsStream> /*stream*/) {
    return false;
}
bool IsChmBook(KsRef<KsStream> /*stream*/) {
    return false;
}
bool LoadEpubBook(KsRef<KsStream> /*stream*/, ldomDocument* /*document*/,
                  KsLoadingCallback* /*progress*/, CacheLoadingCallback* /*formatCallback*/) {
    return false;
}
bool LoadChmBook(KsRef<KsStream> /*stream*/, ldomDocument* /*document*/,
                 KsLoadingCallback* /*progress*/) {
    return false;
}

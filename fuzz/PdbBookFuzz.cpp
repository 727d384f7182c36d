// Arbitrary bytes as a PDB book: detection, a full open with the text pass, reading the whole
// text (in uneven blocks and after seeks) and every image item.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"
#include "engine/books/PdbBook.h"
#include "engine/streams/KsMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    PdbContentKind kind = PDB_CONTENT_NONE;
    bool detected = IsPdbBook(stream, kind);
    if (kind != PDB_CONTENT_NONE) std::abort();

    KsRef<PDBFile> file(new PDBFile());
    KsRef<KsPDBContainer> container(new KsPDBContainer());
    bool opened = file->Open(stream, container.Get(), PdbTextPass::Run, &kind);
    // Whatever opens must have passed detection.
    if (opened && !detected) std::abort();
    if (!opened) return 0;
    container->SetPdbFile(file);

    ks_pos_t length = file->GetSize();
    if (length != file->TextLength()) std::abort();
    std::vector<uint8_t> block(1 + size % 5000);
    ks_pos_t total = 0;
    for (;;) {
        ks_pos_t got = 0;
        KsStatus status = file->Read(block.data(), static_cast<ks_pos_t>(block.size()), &got);
        if (got > block.size()) std::abort();
        total += got;
        if (status != KS_OK || got == 0) break;
    }
    if (total > length) std::abort();
    if (file->SetPos(length) != length || !file->Eof()) std::abort();
    if (file->SetPos(length / 2) == length / 2) (void)file->Read(block.data(), 100, nullptr);
    uint32_t crc = 0;
    if (file->ComputeCrc32(&crc) != KS_OK) std::abort();

    for (int i = 0; i < container->GetObjectCount(); ++i) {
        const KsContainerItemInfo* item = container->GetObjectInfo(i);
        KsRef<KsStream> image = container->OpenStream(item->GetName(), KS_MODE_READ);
        if (!image) std::abort();
        ks_pos_t got = 0;
        while (image->Read(block.data(), static_cast<ks_pos_t>(block.size()), &got) == KS_OK &&
               got > 0) {
        }
    }
    return 0;
}

#include "engine/books/ZlibRecord.h"

#include <zlib.h>

bool InflateZlibRecord(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t limit) {
    out.clear();
    if (size > UINT32_MAX) return false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    // One byte more than the limit tells "exactly the limit" from "more than the limit".
    out.resize(limit + 1);
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    int result = inflate(&z, Z_FINISH);
    size_t produced = out.size() - z.avail_out;
    bool ok = result == Z_STREAM_END && z.avail_in == 0 && produced <= limit;
    inflateEnd(&z);
    out.resize(ok ? produced : 0);
    return ok;
}

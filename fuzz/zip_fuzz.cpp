// Fuzz target: a zip's central directory through libzip, and reading every
// entry it lists. Whatever the bytes, the reader must list only safe names,
// keep to its limits, and never give more bytes than asked for; -rss_limit_mb
// catches a directory or an entry that makes it allocate without bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/zip_reader.h"
#include "listing_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    constexpr std::uint64_t kCap = 1 << 20;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ZipReader reader = ZipReader::FromBytes(std::string(bytes), "fuzz.pk3");
    fuzz::CheckListing(reader.listing(), "fuzz.pk3");
    for (const ArchiveEntry& entry : reader.listing().entries) {
        const EntryBytes read = reader.read(entry, kCap);
        fuzz::CheckRead(read, entry.size);
        fuzz::Check(entry.size <= kCap || !read.ok);
    }
    return 0;
}

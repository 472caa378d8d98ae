// Fuzz target: a pak's header and directory, and reading every entry it
// lists. A pak comes from other people: whatever the bytes, the reader must
// list only entries that lie inside the file under safe names, keep to its
// limits, and read exactly what it listed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/pak_reader.h"
#include "listing_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    using fuzz::Check;
    constexpr std::uint64_t kCap = 1 << 16;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PakReader reader = PakReader::FromBytes(std::string(bytes), "fuzz.pak");
    fuzz::CheckListing(reader.listing(), "fuzz.pak");
    for (const ArchiveEntry& entry : reader.listing().entries) {
        Check(entry.name.size() < kPakNameBytes);
        Check(entry.offset <= size && entry.size <= size - entry.offset);
        const EntryBytes read = reader.read(entry, kCap);
        fuzz::CheckRead(read, entry.size);
        Check(read.ok == (entry.size <= kCap));
        Check(!read.ok || read.data == bytes.substr(entry.offset, entry.size));
    }
    return 0;
}

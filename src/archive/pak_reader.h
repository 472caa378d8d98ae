#pragma once
// The pak: the idTech2 game archive. A 12-byte header ("PACK", then the
// directory's offset and length as little-endian 32-bit integers), the files'
// bytes, and a directory of 64-byte entries: the name in 56 bytes, padded
// with NUL bytes, then the offset and length of its bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "archive/archive.h"
#include "archive/file_io.h"

namespace corvane {

inline constexpr std::size_t kPakHeaderBytes = 12;
inline constexpr std::size_t kPakEntryBytes = 64;
inline constexpr std::size_t kPakNameBytes = 56;  // with the NUL that ends the name

// Reads a pak's directory and, on request, its entries.
//
// A file whose header or directory cannot be right (no "PACK", a negative or
// overflowing offset or length, a directory length that is not a multiple of
// 64, a directory beyond the end of the file, more than kMaxArchiveEntries
// entries) is refused as a whole: nothing in it can be trusted. Single entries
// that cannot be used (a name without its NUL, an unsafe name, bytes outside
// the file) are left out and the rest is kept, as the game would still load
// those.
class PakReader {
public:
    // Opens the pak at `path` and reads its directory. The file stays open
    // for read().
    static PakReader Open(const std::string& path, Links links = Links::Follow);

    // Reads the directory of a pak held in memory, which the reader keeps.
    // `file` names it in warnings.
    static PakReader FromBytes(std::string bytes, std::string file);

    const ArchiveListing& listing() const { return listing_; }

    // The bytes of a listed entry, refused when there are more than `maxBytes`.
    EntryBytes read(const ArchiveEntry& entry, std::uint64_t maxBytes) const;

private:
    PakReader() = default;
    bool readAt(std::uint64_t offset, char* out, std::size_t count, std::string& error) const;
    void readDirectory(std::string file);

    archive_io::Fd fd_;
    std::unique_ptr<const std::string> bytes_;  // where it stays when the reader moves
    std::uint64_t size_ = 0;
    ArchiveListing listing_;
};

}  // namespace corvane

#pragma once
// Zip archives (.pk3, .pkz), read with libzip.

#include <cstdint>
#include <memory>
#include <string>

#include "archive/archive.h"

struct zip;

namespace corvane {

// Reads a zip's central directory and, on request, its entries.
//
// libzip checks the archive's consistency on opening (the central directory
// against the file's size and every local header); a file that fails is
// refused as a whole. Entries are left out when their name is unsafe, they
// are encrypted or compressed by a method that cannot be read, or their
// stated sizes cannot be true (more than deflate can give from the compressed
// bytes, stored bytes that differ from their size, compressed bytes larger
// than the file). Folder entries ("textures/") are not files and are passed
// over without a word. Names are taken as the archive stores them, as bytes.
class ZipReader {
public:
    // Opens the zip at `path` and reads its directory. The file stays open
    // for read().
    static ZipReader Open(const std::string& path, Links links = Links::Follow);

    // Reads a zip held in memory, which the reader keeps. `file` names it in
    // warnings.
    static ZipReader FromBytes(std::string bytes, std::string file);

    ZipReader(ZipReader&& other) noexcept;
    ZipReader& operator=(ZipReader&& other) noexcept;
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    const ArchiveListing& listing() const { return listing_; }

    // The bytes of a listed entry, refused when the archive states more than
    // `maxBytes`; data that does not match its stated size or checksum is an
    // error. Memory grows with the data that really arrives, never past
    // `maxBytes` and one byte.
    EntryBytes read(const ArchiveEntry& entry, std::uint64_t maxBytes);

private:
    ZipReader() = default;
    void readDirectory(std::string file, std::uint64_t fileSize);

    std::unique_ptr<const std::string> bytes_;  // where it stays when the reader moves
    ::zip* zip_ = nullptr;
    ArchiveListing listing_;
};

}  // namespace corvane

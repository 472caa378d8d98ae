#pragma once
// Archives built byte by byte for the tests, sound or damaged on purpose,
// and the names a listing holds.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive.h"

namespace corvane::test {

// The entries' names, in the listing's order.
std::vector<std::string> EntryNames(const ArchiveListing& listing);

void PutLe(std::string& out, std::uint64_t value, int bytes);

struct PakItem {
    std::string name;  // copied into the 56-byte field as it is (cut at 56)
    std::string data;
    std::optional<std::int64_t> offset = {};  // written instead of the real one
    std::optional<std::int64_t> length = {};  // written instead of the real one
};

// A pak: header, the items' data in order, then the directory.
std::string PakBytes(const std::vector<PakItem>& items);

struct ZipItem {
    std::string name;
    std::string data;                   // stored as it is (method 0)
    std::optional<std::uint32_t> size = {};  // the uncompressed size stated instead
    std::optional<std::uint16_t> method = {};
    bool badCrc = false;
};

// A zip of stored entries with a central directory and its end record.
std::string ZipBytes(const std::vector<ZipItem>& items);

// The records that end a zip: the end of central directory record, after the
// zip64 end record and its locator when `zip64`. The classic record then
// holds 0xffff and 0xffffffff, as the zip64 form asks.
std::string ZipEnd(std::uint64_t entries, std::uint64_t centralSize, std::uint64_t centralOffset, bool zip64);

// A zip of one entry compressed with deflate: `count` zero bytes.
std::string DeflatedZeros(const std::string& name, std::size_t count);

}  // namespace corvane::test

#pragma once
// Packing a game folder into one archive: a pak, or a zip under the name .pk3
// or .pkz, for a release.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive.h"

namespace corvane {

enum class ArchiveFormat { Pak, Pk3, Pkz };

// "pak", "pk3" or "pkz", and back.
std::string_view ArchiveFormatName(ArchiveFormat format);
std::optional<ArchiveFormat> ArchiveFormatFromName(std::string_view name);

// Where the archive of `folder` goes when no other place is named: inside it
// as pak0.pak for a pak (the name the game loads first), beside it as
// FOLDER.pk3 or FOLDER.pkz for a zip.
std::string DefaultArchivePath(const std::string& folder, ArchiveFormat format);

// The longest name a pak entry can hold: 56 bytes with the NUL that ends it.
inline constexpr std::size_t kPakLongestName = 55;
// The most entries the original engine loads from one pak.
inline constexpr std::size_t kPakEngineEntries = 4096;

struct PackOptions {
    ArchiveFormat format = ArchiveFormat::Pak;
    bool withSources = false;  // also pack the .map sources
    bool force = false;        // replace an output that exists
    // Called after each file with the files done and the files in all.
    std::function<void(std::size_t done, std::size_t total)> progress;
    // Asked before each file (and while a zip is written): true stops the
    // pack, which then leaves nothing behind. Called on the packing thread.
    std::function<bool()> cancelled;
};

struct PackResult {
    bool ok = false;
    bool cancelled = false;                // stopped by PackOptions::cancelled
    std::vector<std::string> errors;       // why no archive was written, one line each
    std::vector<ArchiveWarning> warnings;  // the archive was written, but see these
    std::size_t entries = 0;
    std::uint64_t bytes = 0;               // the archive's size
};

// The files of `folder` that its archive holds: every regular file below it,
// as a name relative to it with "/" between folders, in ascending byte order.
// Left out: names that begin with "." (with what is below such a folder),
// the .map sources unless `withSources`, and the file at `output` itself.
// Linked files are packed as the file they point to; linked folders are not
// entered (a warning says so), nor is anything that is not a regular file
// packed.
struct PackList {
    bool ok = false;
    std::string error;  // the folder could not be read
    std::vector<std::string> names;
    std::vector<ArchiveWarning> warnings;
};
PackList ListFilesToPack(const std::string& folder, bool withSources, const std::string& output);

// Packs `folder` into the archive `output`.
//
// Every entry has the same fixed time (1980-01-01 00:00), the entries are in
// ascending byte order of name, and no owner, permission or other detail of
// this machine goes in: packing the same files again gives the same bytes.
// A zip holds its entries compressed with deflate.
//
// The archive is written to a temporary file beside `output` and takes its
// name only when complete; an existing output is replaced only with `force`.
// Nothing is written when a name cannot be held (a pak holds 55 bytes at
// most), when nothing is left to pack, or when a file cannot be read; a
// failed pack leaves no file behind.
PackResult PackFolder(const std::string& folder, const std::string& output, const PackOptions& options);

}  // namespace corvane

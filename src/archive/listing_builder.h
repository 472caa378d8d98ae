#pragma once
// Builds the listing of one archive: its entries, the entries left out with
// their reasons (the first few one by one, the rest as one count), or the
// whole file refused.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/archive.h"

namespace corvane {

class ListingBuilder {
public:
    explicit ListingBuilder(std::string file) : file_(std::move(file)) {}

    // Refuses the file as a whole; what was collected is dropped.
    ArchiveListing refuse(std::string problem);

    // Leaves out the entry named `name` for the reason `problem`.
    void skip(std::string_view name, std::string_view problem);

    // Adds the entry when its name is safe, else leaves it out.
    void add(ArchiveEntry entry);

    ArchiveListing finish();

    const std::string& file() const { return file_; }

private:
    std::string file_;
    ArchiveListing listing_;
    std::size_t skipped_ = 0;
};

// "'NAME' holds SIZE bytes, more than the MAX allowed"
std::string TooLargeText(std::string_view name, std::uint64_t size, std::uint64_t maxBytes);

}  // namespace corvane

#include "archive/pak_reader.h"

#include <cstring>
#include <vector>

#include "archive/listing_builder.h"

namespace corvane {

namespace {

std::int32_t LittleInt32(const char* bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(value);
}

// "bytes A to B": a range named in a warning.
std::string RangeText(std::int64_t offset, std::int64_t length)
{
    return "bytes " + std::to_string(offset) + " to " + std::to_string(offset + length);
}

}  // namespace

PakReader PakReader::Open(const std::string& path, Links links)
{
    PakReader reader;
    archive_io::OpenedFile opened = archive_io::OpenRegularFile(path, links);
    if (!opened.fd) {
        reader.listing_.warnings.push_back({path, "cannot be read: " + opened.error});
        return reader;
    }
    reader.fd_ = std::move(opened.fd);
    reader.size_ = opened.size;
    reader.readDirectory(path);
    return reader;
}

PakReader PakReader::FromBytes(std::string bytes, std::string file)
{
    PakReader reader;
    reader.size_ = bytes.size();
    reader.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    reader.readDirectory(std::move(file));
    return reader;
}

bool PakReader::readAt(std::uint64_t offset, char* out, std::size_t count, std::string& error) const
{
    if (count == 0)
        return true;
    if (fd_)
        return archive_io::ReadAt(fd_.get(), offset, out, count, error);
    if (offset > size_ || count > size_ - offset) {
        error = "the file ends early";
        return false;
    }
    std::memcpy(out, bytes_->data() + offset, count);
    return true;
}

void PakReader::readDirectory(std::string file)
{
    ListingBuilder builder(std::move(file));
    char header[kPakHeaderBytes];
    std::string error;
    if (size_ < kPakHeaderBytes) {
        listing_ = builder.refuse("not a pak: " + std::to_string(size_) + " bytes, too short for its header");
        return;
    }
    if (!readAt(0, header, kPakHeaderBytes, error)) {
        listing_ = builder.refuse("cannot be read: " + error);
        return;
    }
    if (std::memcmp(header, "PACK", 4) != 0) {
        listing_ = builder.refuse("not a pak: it does not begin with PACK");
        return;
    }
    const std::int64_t offset = LittleInt32(header + 4);
    const std::int64_t length = LittleInt32(header + 8);
    if (offset < 0 || length < 0) {
        listing_ = builder.refuse("damaged pak: the directory has a negative offset or length (" +
                                  std::to_string(offset) + ", " + std::to_string(length) + ")");
        return;
    }
    if (length % kPakEntryBytes != 0) {
        listing_ = builder.refuse("damaged pak: the directory's length " + std::to_string(length) +
                                  " is not a multiple of 64");
        return;
    }
    if (static_cast<std::uint64_t>(offset + length) > size_) {
        listing_ = builder.refuse("damaged pak: the directory (" + RangeText(offset, length) +
                                  ") lies beyond the end of the file (" + std::to_string(size_) + " bytes)");
        return;
    }
    const auto count = static_cast<std::size_t>(length) / kPakEntryBytes;
    if (count > kMaxArchiveEntries) {
        listing_ = builder.refuse("refused: the directory lists " + std::to_string(count) +
                                  " entries, more than " + std::to_string(kMaxArchiveEntries));
        return;
    }
    // Bounded twice over: by the file's real size and by the entry limit.
    std::vector<char> directory(static_cast<std::size_t>(length));
    if (!readAt(static_cast<std::uint64_t>(offset), directory.data(), directory.size(), error)) {
        listing_ = builder.refuse("cannot be read: " + error);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const char* raw = directory.data() + i * kPakEntryBytes;
        const void* end = std::memchr(raw, '\0', kPakNameBytes);
        if (!end) {
            builder.skip(std::string_view(raw, kPakNameBytes), "its name does not end within 56 bytes");
            continue;
        }
        std::string name(raw, static_cast<const char*>(end));
        const std::int64_t start = LittleInt32(raw + kPakNameBytes);
        const std::int64_t bytes = LittleInt32(raw + kPakNameBytes + 4);
        if (start < 0 || bytes < 0) {
            builder.skip(name, "a negative offset or length");
            continue;
        }
        if (static_cast<std::uint64_t>(start + bytes) > size_) {
            builder.skip(name, "its bytes (" + RangeText(start, bytes) + ") lie beyond the end of the file");
            continue;
        }
        builder.add({std::move(name), static_cast<std::uint64_t>(start), static_cast<std::uint64_t>(bytes)});
    }
    listing_ = builder.finish();
}

EntryBytes PakReader::read(const ArchiveEntry& entry, std::uint64_t maxBytes) const
{
    EntryBytes result;
    if (entry.size > maxBytes) {
        result.error = TooLargeText(entry.name, entry.size, maxBytes);
        return result;
    }
    if (entry.offset > size_ || entry.size > size_ - entry.offset) {
        result.error = "'" + ShortShownName(entry.name) + "' lies beyond the end of the file";
        return result;
    }
    result.data.resize(static_cast<std::size_t>(entry.size));
    if (!readAt(entry.offset, result.data.data(), result.data.size(), result.error)) {
        result.data.clear();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace corvane

#include "archive/zip_reader.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <utility>

#include <zip.h>

#include "archive/file_io.h"
#include "archive/listing_builder.h"

namespace corvane {

namespace {

// Deflate turns one bit pair into at most one 258-byte match, so no stream
// gives more than 1,032 bytes per compressed byte (plus its few final bytes).
constexpr std::uint64_t kDeflateMostRatio = 1032;
constexpr std::uint64_t kDeflateSlack = 1024;

constexpr int kOpenFlags = ZIP_RDONLY | ZIP_CHECKCONS;

std::string ErrorText(zip_error_t& error)
{
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Why an entry's stated sizes cannot be true, or "".
std::string SizeProblem(const zip_stat_t& st, std::uint64_t fileSize)
{
    if (st.comp_size > fileSize)
        return "it states " + std::to_string(st.comp_size) + " compressed bytes in a file of " +
               std::to_string(fileSize);
    if (st.comp_method == ZIP_CM_STORE && st.size != st.comp_size)
        return "it is stored, but states " + std::to_string(st.size) + " bytes in " +
               std::to_string(st.comp_size);
    if (st.comp_method == ZIP_CM_DEFLATE && st.size / kDeflateMostRatio > st.comp_size + kDeflateSlack)
        return "it states " + std::to_string(st.size) + " bytes from " + std::to_string(st.comp_size) +
               " compressed, more than deflate can give";
    return {};
}

}  // namespace

ZipReader ZipReader::Open(const std::string& path, Links links)
{
    ZipReader reader;
    archive_io::OpenedFile opened = archive_io::OpenRegularFile(path, links);
    if (!opened.fd) {
        reader.listing_.warnings.push_back({path, "cannot be read: " + opened.error});
        return reader;
    }
    std::FILE* stream = ::fdopen(opened.fd.get(), "rb");
    if (!stream) {
        reader.listing_.warnings.push_back({path, "cannot be read: " + archive_io::ErrorText(errno)});
        return reader;
    }
    opened.fd.release();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_filep_create(stream, 0, -1, &error);
    if (!source) {
        std::fclose(stream);
        reader.listing_.warnings.push_back({path, "cannot be read: " + ErrorText(error)});
        return reader;
    }
    reader.zip_ = zip_open_from_source(source, kOpenFlags, &error);
    if (!reader.zip_) {
        zip_source_free(source);  // closes the stream
        reader.listing_.warnings.push_back({path, "not a readable zip: " + ErrorText(error)});
        return reader;
    }
    zip_error_fini(&error);
    reader.readDirectory(path, opened.size);
    return reader;
}

ZipReader ZipReader::FromBytes(std::string bytes, std::string file)
{
    ZipReader reader;
    reader.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(reader.bytes_->data(), reader.bytes_->size(), 0, &error);
    if (!source) {
        reader.listing_.warnings.push_back({file, "cannot be read: " + ErrorText(error)});
        return reader;
    }
    reader.zip_ = zip_open_from_source(source, kOpenFlags, &error);
    if (!reader.zip_) {
        zip_source_free(source);
        reader.listing_.warnings.push_back({file, "not a readable zip: " + ErrorText(error)});
        return reader;
    }
    zip_error_fini(&error);
    reader.readDirectory(std::move(file), reader.bytes_->size());
    return reader;
}

ZipReader::ZipReader(ZipReader&& other) noexcept
    : bytes_(std::move(other.bytes_)), zip_(std::exchange(other.zip_, nullptr)), listing_(std::move(other.listing_))
{
}

ZipReader& ZipReader::operator=(ZipReader&& other) noexcept
{
    if (this != &other) {
        if (zip_)
            zip_discard(zip_);
        zip_ = std::exchange(other.zip_, nullptr);
        bytes_ = std::move(other.bytes_);
        listing_ = std::move(other.listing_);
    }
    return *this;
}

ZipReader::~ZipReader()
{
    if (zip_)
        zip_discard(zip_);
}

void ZipReader::readDirectory(std::string file, std::uint64_t fileSize)
{
    ListingBuilder builder(std::move(file));
    const zip_int64_t count = zip_get_num_entries(zip_, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxArchiveEntries) {
        listing_ = builder.refuse("refused: the central directory lists " + std::to_string(count) +
                                  " entries, more than " + std::to_string(kMaxArchiveEntries));
        return;
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip_, index, ZIP_FL_ENC_RAW, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            builder.skip("#" + std::to_string(i), zip_strerror(zip_));
            continue;
        }
        const std::string name = st.name;
        if (!name.empty() && name.back() == '/')
            continue;  // a folder
        const zip_uint64_t needed = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD |
                                    ZIP_STAT_ENCRYPTION_METHOD;
        if ((st.valid & needed) != needed) {
            builder.skip(name, "its sizes are not stated");
        } else if (st.encryption_method != ZIP_EM_NONE) {
            builder.skip(name, "it is encrypted");
        } else if (!zip_compression_method_supported(st.comp_method, 0)) {
            builder.skip(name, "compression method " + std::to_string(st.comp_method) + " cannot be read");
        } else if (const std::string problem = SizeProblem(st, fileSize); !problem.empty()) {
            builder.skip(name, problem);
        } else {
            builder.add({name, index, st.size});
        }
    }
    listing_ = builder.finish();
}

EntryBytes ZipReader::read(const ArchiveEntry& entry, std::uint64_t maxBytes)
{
    EntryBytes result;
    const std::string shown = "'" + ShortShownName(entry.name) + "'";
    zip_stat_t st;
    zip_stat_init(&st);
    if (!zip_ || zip_stat_index(zip_, entry.offset, ZIP_FL_ENC_RAW, &st) != 0 ||
        !(st.valid & ZIP_STAT_NAME) || entry.name != st.name || !(st.valid & ZIP_STAT_SIZE)) {
        result.error = shown + " is not in the archive";
        return result;
    }
    if (st.size > maxBytes) {
        result.error = TooLargeText(entry.name, st.size, maxBytes);
        return result;
    }
    zip_file_t* stream = zip_fopen_index(zip_, entry.offset, 0);
    if (!stream) {
        result.error = shown + " cannot be read: " + zip_strerror(zip_);
        return result;
    }
    // The buffer grows as the data arrives, never by what the archive states
    // (a bzip2 or lzma entry may state any size), and one byte more than
    // stated is asked for, to notice data that runs on.
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    const std::uint64_t wanted = st.size + 1;
    std::size_t filled = 0;
    while (filled < wanted) {
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, wanted - filled));
        result.data.resize(filled + step);
        const zip_int64_t got = zip_fread(stream, result.data.data() + filled, step);
        if (got < 0) {
            result.error = shown + " cannot be read: " + zip_file_strerror(stream);
            break;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    zip_fclose(stream);
    if (result.error.empty() && filled != st.size)
        result.error = shown + " does not hold the " + std::to_string(st.size) + " bytes it states";
    if (!result.error.empty()) {
        result.data.clear();
        return result;
    }
    result.data.resize(filled);
    result.ok = true;
    return result;
}

}  // namespace corvane

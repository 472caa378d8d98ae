#include "archive/archive_bytes.h"

#include <zlib.h>

namespace corvane::test {

std::vector<std::string> EntryNames(const ArchiveListing& listing)
{
    std::vector<std::string> names;
    for (const ArchiveEntry& entry : listing.entries)
        names.push_back(entry.name);
    return names;
}

void PutLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

std::string PakBytes(const std::vector<PakItem>& items)
{
    std::string data;
    std::string directory;
    for (const PakItem& item : items) {
        std::string name = item.name.substr(0, 56);
        name.resize(56, '\0');
        directory += name;
        PutLe(directory, static_cast<std::uint64_t>(item.offset.value_or(12 + data.size())), 4);
        PutLe(directory, static_cast<std::uint64_t>(item.length.value_or(item.data.size())), 4);
        data += item.data;
    }
    std::string pak = "PACK";
    PutLe(pak, 12 + data.size(), 4);
    PutLe(pak, directory.size(), 4);
    return pak + data + directory;
}

namespace {

std::string ZipRecords(const std::vector<ZipItem>& items,
                       const std::vector<std::string>& compressed, const std::vector<std::uint32_t>& crcs)
{
    std::string local;
    std::string central;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ZipItem& item = items[i];
        const std::uint32_t crc = crcs[i] ^ (item.badCrc ? 1u : 0u);
        const std::uint64_t size = item.size.value_or(item.data.size());
        const std::uint16_t method = item.method.value_or(0);
        auto header = [&](std::string& out) {
            PutLe(out, 20, 2);      // version needed
            PutLe(out, 0, 2);       // flags
            PutLe(out, method, 2);
            PutLe(out, 0, 2);       // time
            PutLe(out, 0x21, 2);    // date
            PutLe(out, crc, 4);
            PutLe(out, compressed[i].size(), 4);
            PutLe(out, size, 4);
            PutLe(out, item.name.size(), 2);
            PutLe(out, 0, 2);       // extra
        };
        const std::size_t offset = local.size();
        PutLe(local, 0x04034b50, 4);
        header(local);
        local += item.name + compressed[i];

        PutLe(central, 0x02014b50, 4);
        PutLe(central, 20, 2);      // made by
        header(central);
        PutLe(central, 0, 2);       // comment
        PutLe(central, 0, 2);       // disk
        PutLe(central, 0, 2);       // internal attributes
        PutLe(central, 0, 4);       // external attributes
        PutLe(central, offset, 4);
        central += item.name;
    }
    const std::string end = ZipEnd(items.size(), central.size(), local.size(), items.size() > 0xffff);
    return local + central + end;
}

}  // namespace

std::string ZipEnd(std::uint64_t entries, std::uint64_t centralSize, std::uint64_t centralOffset, bool zip64)
{
    std::string end;
    if (zip64) {
        PutLe(end, 0x06064b50, 4);
        PutLe(end, 44, 8);
        PutLe(end, 45, 2);
        PutLe(end, 45, 2);
        PutLe(end, 0, 8);
        PutLe(end, entries, 8);
        PutLe(end, entries, 8);
        PutLe(end, centralSize, 8);
        PutLe(end, centralOffset, 8);
        PutLe(end, 0x07064b50, 4);
        PutLe(end, 0, 4);
        PutLe(end, centralOffset + centralSize, 8);
        PutLe(end, 1, 4);
    }
    PutLe(end, 0x06054b50, 4);
    PutLe(end, 0, 4);
    PutLe(end, zip64 ? 0xffff : entries, 2);
    PutLe(end, zip64 ? 0xffff : entries, 2);
    PutLe(end, zip64 ? 0xffffffff : centralSize, 4);
    PutLe(end, zip64 ? 0xffffffff : centralOffset, 4);
    PutLe(end, 0, 2);
    return end;
}

namespace {

std::uint32_t Crc(const std::string& data)
{
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

}  // namespace

std::string ZipBytes(const std::vector<ZipItem>& items)
{
    std::vector<std::string> stored;
    std::vector<std::uint32_t> crcs;
    for (const ZipItem& item : items) {
        stored.push_back(item.data);
        crcs.push_back(Crc(item.data));
    }
    return ZipRecords(items, stored, crcs);
}

std::string DeflatedZeros(const std::string& name, std::size_t count)
{
    const std::string zeros(count, '\0');
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(count)), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    stream.avail_in = static_cast<uInt>(count);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    ZipItem item{name, zeros, static_cast<std::uint32_t>(count), 8, false};
    return ZipRecords({item}, {out}, {Crc(zeros)});
}

}  // namespace corvane::test

#include "transfer/byte_total.h"

#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/shown_name.h"

namespace corvane {

namespace {

struct ByteWalk {
    const ByteWalkWatch& watch;
    ByteTotal total;

    void done()
    {
        if (watch.folderDone)
            watch.folderDone(total.bytes);
    }

    void walk(const std::string& dir)
    {
        const Listing listing = ListDirectory(dir);
        if (!listing.ok) {
            total.unreadable.push_back(dir);
            if (watch.unreadable)
                watch.unreadable(dir, listing.error);
            done();
            return;
        }
        for (const DirEntry& entry : listing.entries) {
            const bool folder = entry.type == EntryType::Directory || entry.type == EntryType::Unknown;
            if (folder && entry.name.front() != '.') {
                if (!entry.link)
                    walk(JoinPath(dir, entry.name));
            } else if (entry.type == EntryType::File) {
                total.bytes += entry.size;
            }
        }
        done();
    }
};

}  // namespace

std::string FormatByteCount(std::string_view digits)
{
    std::string text;
    text.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string TotalBytesText(std::uint64_t total)
{
    return "Total Bytes:  " + FormatByteCount(std::to_string(total));
}

ByteTotal TotalDirectoryBytes(const std::string& dir, const ByteWalkWatch& watch)
{
    ByteWalk walk{watch, {}};
    walk.walk(dir);
    return std::move(walk.total);
}

ByteTotal ShowDirectoryBytes(Host& host, const std::string& dir, const std::string& targPath,
                             const std::string& targetMapPath)
{
    const std::string caption = "Corvane - " + ShownName(targetMapPath);
    ByteWalkWatch watch;
    watch.unreadable = [&](const std::string&, const std::string&) {
        host.alert(AlertSound::Stop);
        host.messageBox({"Cant open target dir:\n" + ShownName(targPath), "Error", MessageIcon::Warning, {MessageButton::Ok}});
    };
    watch.folderDone = [&](std::uint64_t running) {
        host.setStatus(StatusLine::Total, TotalBytesText(running));
        host.setCaption(caption);
    };
    return TotalDirectoryBytes(dir, watch);
}

}  // namespace corvane

#include "pool/byte_total.h"

#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

struct ByteWalk {
    Host& host;
    const std::string& targPath;
    const std::string caption;
    std::uint64_t total = 0;

    void show()
    {
        host.setStatus(1, TotalBytesText(total));
        host.setCaption(caption);
    }

    void walk(const std::string& dir)
    {
        const Listing listing = ListDirectory(dir);
        if (!listing.ok) {
            host.alert(AlertSound::Stop);
            host.messageBox({"Cant open target dir:\n" + targPath, "Error", MessageIcon::Warning,
                             {MessageButton::Ok}});
            show();
            return;
        }
        for (const DirEntry& entry : listing.entries) {
            const bool folder = entry.type == EntryType::Directory || entry.type == EntryType::Unknown;
            if (folder && entry.name.front() != '.') {
                if (!entry.link)
                    walk(JoinPath(dir, entry.name));
            } else if (entry.type == EntryType::File) {
                total += entry.size;
            }
        }
        show();
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

std::uint64_t TotalDirectoryBytes(Host& host, const std::string& dir, const std::string& targPath,
                                  const std::string& targetMapPath)
{
    ByteWalk walk{host, targPath, "Corvane - " + targetMapPath};
    walk.walk(dir);
    return walk.total;
}

}  // namespace corvane

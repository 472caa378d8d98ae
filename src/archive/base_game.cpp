#include "archive/base_game.h"

#include <algorithm>
#include <utility>

#include "archive/listing_builder.h"
#include "archive/pak_reader.h"
#include "archive/walk.h"
#include "archive/zip_reader.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

namespace corvane {

namespace {

// The number after "pak" in "pakN.pak", or -1 for another pak name.
long PakNumber(const std::string& name)
{
    const std::string lower = AsciiLower(name);
    const std::string digits = lower.substr(3, lower.size() - 7);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(digits);
}

bool IsZipName(const std::string& name)
{
    return MatchesPattern(name, "*.pk3") || MatchesPattern(name, "*.pkz");
}

bool IsPakName(const std::string& name)
{
    return MatchesPattern(name, "pak*.pak");
}

// Warnings about the folder walk, the first few one by one and the rest as a
// count, as for the entries of one archive.
class WalkWarnings {
public:
    WalkWarnings(std::vector<ArchiveWarning>& out, std::string folder) : out_(out), folder_(std::move(folder)) {}

    void add(std::string file, std::string problem)
    {
        if (++count_ <= kMaxEntryWarnings)
            out_.push_back({std::move(file), std::move(problem)});
    }

    void finish()
    {
        if (count_ > kMaxEntryWarnings)
            out_.push_back({folder_, std::to_string(count_ - kMaxEntryWarnings) + " more files left out"});
    }

private:
    std::vector<ArchiveWarning>& out_;
    std::string folder_;
    std::size_t count_ = 0;
};

}  // namespace

bool BaseGameIndex::add(std::string name, std::size_t source, std::uint64_t offset, std::uint64_t size)
{
    const auto [it, added] = byName_.try_emplace(AsciiLower(name), files_.size());
    if (added)
        files_.push_back({std::move(name), source, offset, size});
    return added;
}

BaseGameIndex BaseGameIndex::Load(const std::string& folder)
{
    BaseGameIndex index;
    index.folder_ = folder;
    WalkWarnings walkWarnings(index.warnings_, folder);

    // Loose files first: they win over every archive.
    std::vector<std::string> pakNames, zipNames;
    auto visit = [&](const WalkItem& item) {
        const DirEntry& entry = item.entry;
        if (entry.link) {
            walkWarnings.add(item.full, "a link, not followed");
        } else if (entry.type == EntryType::Directory) {
            return true;
        } else if (entry.type != EntryType::File) {
            walkWarnings.add(item.full, "not a regular file, left out");
        } else if (item.top && IsPakName(entry.name)) {
            pakNames.push_back(entry.name);
        } else if (item.top && IsZipName(entry.name)) {
            zipNames.push_back(entry.name);
        } else if (const std::string problem = ArchiveNameProblem(item.relative); !problem.empty()) {
            walkWarnings.add(item.full, "left out: " + problem);
        } else {
            if (index.add(item.relative, kLooseSource, 0, entry.size))
                ++index.looseFiles_;
        }
        return false;
    };
    auto unreadable = [&](const std::string& full, const std::string& error) {
        walkWarnings.add(full, "folder cannot be read: " + error);
    };
    WalkResult walk = WalkTree(folder, visit, unreadable);
    index.folders_ = std::move(walk.folders);
    if (!walk.ok) {
        index.warnings_.push_back({folder, "cannot be read: " + walk.error});
        return index;
    }
    walkWarnings.finish();
    index.ok_ = true;

    // Then the archives, the one that wins first.
    std::sort(zipNames.begin(), zipNames.end(), [](const std::string& a, const std::string& b) {
        return AsciiLower(a) > AsciiLower(b);
    });
    std::sort(pakNames.begin(), pakNames.end(), [](const std::string& a, const std::string& b) {
        const long na = PakNumber(a), nb = PakNumber(b);
        return na != nb ? na > nb : AsciiLower(a) > AsciiLower(b);
    });
    auto readArchive = [&index](const std::string& path, BaseSource kind, const ArchiveListing& listing) {
        BaseGameArchive archive{path, kind, listing.entries.size(), 0, !listing.ok, archive_io::StampOf(path)};
        const std::size_t source = index.archives_.size();
        const std::size_t before = index.files_.size();
        for (const ArchiveEntry& entry : listing.entries)
            index.add(entry.name, source, entry.offset, entry.size);
        archive.taken = index.files_.size() - before;
        index.archives_.push_back(std::move(archive));
        index.warnings_.insert(index.warnings_.end(), listing.warnings.begin(), listing.warnings.end());
    };
    for (const std::string& name : zipNames) {
        const std::string path = JoinPath(folder, name);
        readArchive(path, BaseSource::Zip, ZipReader::Open(path, Links::Refuse).listing());
    }
    for (const std::string& name : pakNames) {
        const std::string path = JoinPath(folder, name);
        readArchive(path, BaseSource::Pak, PakReader::Open(path, Links::Refuse).listing());
    }
    return index;
}

const BaseGameFile* BaseGameIndex::Find(std::string_view name) const
{
    const auto it = byName_.find(AsciiLower(std::string(name)));
    return it == byName_.end() ? nullptr : &files_[it->second];
}

EntryBytes BaseGameIndex::readLoose(const BaseGameFile& file, std::uint64_t maxBytes) const
{
    EntryBytes result;
    const std::string path = JoinPath(folder_, file.name);
    archive_io::OpenedFile opened = archive_io::OpenRegularFile(path, Links::Refuse);
    if (!opened.fd) {
        result.error = path + ": " + opened.error;
        return result;
    }
    if (opened.size > maxBytes) {
        result.error = path + ": " + TooLargeText(file.name, opened.size, maxBytes);
        return result;
    }
    result.data.resize(static_cast<std::size_t>(opened.size));
    if (!archive_io::ReadAt(opened.fd.get(), 0, result.data.data(), result.data.size(), result.error)) {
        result.error = path + ": " + result.error;
        result.data.clear();
        return result;
    }
    result.ok = true;
    return result;
}

EntryBytes BaseGameIndex::Read(std::string_view name, std::uint64_t maxBytes) const
{
    const BaseGameFile* file = Find(name);
    if (!file)
        return {false, {}, "'" + ShortShownName(name) + "' is not in the base game " + folder_};
    if (file->source == kLooseSource)
        return readLoose(*file, maxBytes);

    const BaseGameArchive& archive = archives_[file->source];
    if (archive_io::StampOf(archive.path) != archive.stamp)
        return {false, {}, archive.path + ": changed since the base game was read"};
    const ArchiveEntry entry{file->name, file->offset, file->size};
    EntryBytes result;
    if (archive.kind == BaseSource::Pak)
        result = PakReader::Open(archive.path, Links::Refuse).read(entry, maxBytes);
    else
        result = ZipReader::Open(archive.path, Links::Refuse).read(entry, maxBytes);
    if (!result.ok) {
        result.data.clear();
        result.error = archive.path + ": " + result.error;
    }
    return result;
}

bool BaseGameIndex::IsCurrent() const
{
    for (const auto& [path, stamp] : folders_) {
        if (archive_io::StampOf(path) != stamp)
            return false;
    }
    if (folders_.empty())
        return false;
    for (const BaseGameArchive& archive : archives_) {
        if (archive_io::StampOf(archive.path) != archive.stamp)
            return false;
    }
    return true;
}

std::vector<const BaseGameFile*> BaseGameIndex::Files() const
{
    std::vector<const BaseGameFile*> files;
    files.reserve(files_.size());
    for (const BaseGameFile& file : files_)
        files.push_back(&file);
    std::sort(files.begin(), files.end(),
              [](const BaseGameFile* a, const BaseGameFile* b) { return a->name < b->name; });
    return files;
}

std::shared_ptr<const BaseGameIndex> BaseGameCache::Get(const std::string& folder)
{
    const std::lock_guard lock(mutex_);
    if (!index_ || index_->folder() != folder || !index_->IsCurrent())
        index_ = std::make_shared<const BaseGameIndex>(BaseGameIndex::Load(folder));
    return index_;
}

}  // namespace corvane

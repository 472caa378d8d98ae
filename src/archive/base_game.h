#pragma once
// The base game: the folder of the game itself (such as baseq2), whose files
// decide what is the game's own. Its files are the loose files below it and
// the entries of its archives: every pak*.pak and every .pk3 and .pkz directly
// in the folder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/archive.h"
#include "archive/file_io.h"

namespace corvane {

enum class BaseSource { Loose, Pak, Zip };

struct BaseGameArchive {
    std::string path;             // the archive's full path
    BaseSource kind = BaseSource::Pak;
    std::size_t listed = 0;       // the usable entries it lists
    std::size_t taken = 0;        // those the index took from it: the rest were found first elsewhere
    bool refused = false;         // it could not be read at all (see the warnings)
    archive_io::FileStamp stamp;  // the archive as it was read
};

// One file of the base game and where it is read from.
struct BaseGameFile {
    std::string name;        // relative, "/" between folders, spelt as its source spells it
    std::size_t source = 0;  // kLooseSource, or the index of its archive in archives()
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// One index of the base game's files, by name, with ASCII letters compared
// without regard to case ("Textures/E1U1/FLOOR1_3.wal" is
// "textures/e1u1/floor1_3.wal").
//
// Where a name is found more than once, the file that the game would load
// wins: loose files first, then the .pk3 and .pkz archives, the last by name
// first, then the paks, the highest number first (pak2.pak over pak1.pak over
// pak0.pak; a pak whose name has no number after "pak" comes below pak0).
//
// The folder is untrusted: links are never followed (a linked file or folder
// is left out, with a warning), nothing but regular files is opened, and
// damaged archives are left out with a warning (see PakReader, ZipReader).
// Archives in sub-folders are loose files like any other; the archives
// themselves are not names of the index.
class BaseGameIndex {
public:
    static constexpr std::size_t kLooseSource = static_cast<std::size_t>(-1);

    // Reads the base game in `folder`.
    static BaseGameIndex Load(const std::string& folder);

    const std::string& folder() const { return folder_; }

    // False when the folder itself could not be read (see warnings()).
    bool ok() const { return ok_; }

    // The number of distinct names.
    std::size_t size() const { return files_.size(); }

    bool Contains(std::string_view name) const { return Find(name) != nullptr; }

    // The file that answers to `name`, or nullptr.
    const BaseGameFile* Find(std::string_view name) const;

    // The bytes of the file that answers to `name`, from wherever it lives;
    // refused when it holds more than `maxBytes`, or when its archive has
    // changed since it was indexed.
    EntryBytes Read(std::string_view name, std::uint64_t maxBytes) const;

    // True while neither the folder, nor any folder below it, nor any of its
    // archives has changed (by size, modification time or identity) since
    // the index was read. Costs one stat for each.
    bool IsCurrent() const;

    // Every file, in ascending byte order of name.
    std::vector<const BaseGameFile*> Files() const;

    // The archives read, in the order that decides between them (the one
    // that wins first).
    const std::vector<BaseGameArchive>& archives() const { return archives_; }

    // The number of names the loose files gave (on a file system that tells
    // case apart, two files may give one name).
    std::size_t looseFiles() const { return looseFiles_; }

    // Damaged archives, entries left out, links not followed, folders that
    // could not be read.
    const std::vector<ArchiveWarning>& warnings() const { return warnings_; }

private:
    bool add(std::string name, std::size_t source, std::uint64_t offset, std::uint64_t size);
    EntryBytes readLoose(const BaseGameFile& file, std::uint64_t maxBytes) const;

    std::string folder_;
    bool ok_ = false;
    std::vector<BaseGameFile> files_;
    std::unordered_map<std::string, std::size_t> byName_;  // lower-case name -> files_ index
    std::vector<BaseGameArchive> archives_;
    std::size_t looseFiles_ = 0;
    std::vector<std::pair<std::string, archive_io::FileStamp>> folders_;  // the folder and every folder below
    std::vector<ArchiveWarning> warnings_;
};

// Keeps the index of one base game and reads it again only when it is no
// longer current or another folder is asked for. Safe to share between
// threads; an index handed out never changes.
class BaseGameCache {
public:
    std::shared_ptr<const BaseGameIndex> Get(const std::string& folder);

private:
    std::mutex mutex_;
    std::shared_ptr<const BaseGameIndex> index_;
};

}  // namespace corvane

#include "archive/pack.h"

#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <zip.h>

#include "archive/file_io.h"
#include "archive/pak_reader.h"
#include "archive/walk.h"
#include "platform/paths.h"

namespace corvane {

namespace {

using archive_io::TemporaryOutput;

// The fixed time of every zip entry, in the zip's own form: 1980-01-01 00:00,
// the first time a zip can hold.
constexpr zip_uint16_t kZipDate = (0 << 9) | (1 << 5) | 1;
constexpr zip_uint16_t kZipTime = 0;
// A plain file that its owner may write and everyone read.
constexpr zip_uint32_t kZipAttributes = (S_IFREG | 0644u) << 16;

// A pak's offsets and lengths are signed 32-bit integers.
constexpr std::uint64_t kPakLargest = 0x7fffffff;

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PutLittleInt32(char* out, std::uint64_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

struct PackJob {
    const std::string& folder;
    const std::string& output;
    const PackOptions& options;
    const std::vector<std::string>& names;
    PackResult& result;

    void progress(std::size_t done) const
    {
        if (options.progress)
            options.progress(done, names.size());
    }
    // True, with the error said, when the pack is to stop.
    bool stopped() const
    {
        if (!options.cancelled || !options.cancelled())
            return false;
        result.cancelled = true;
        result.errors.push_back(output + ": not written: the pack was cancelled");
        return true;
    }
};

// Header, the files' bytes one after another, then the directory.
bool WritePak(const PackJob& job, TemporaryOutput& out)
{
    std::string error;
    char header[kPakHeaderBytes] = {'P', 'A', 'C', 'K'};
    if (!out.write(header, sizeof header, error)) {
        job.result.errors.push_back(job.output + ": cannot be written: " + error);
        return false;
    }
    std::string directory;
    directory.reserve(job.names.size() * kPakEntryBytes);
    std::uint64_t offset = kPakHeaderBytes;
    std::vector<char> buffer(std::size_t{1} << 20);
    for (std::size_t i = 0; i < job.names.size(); ++i) {
        if (job.stopped())
            return false;
        const std::string& name = job.names[i];
        const std::string full = JoinPath(job.folder, name);
        archive_io::OpenedFile in = archive_io::OpenRegularFile(full, Links::Follow);
        if (!in.fd) {
            job.result.errors.push_back(full + ": cannot be read: " + in.error);
            return false;
        }
        // Up to the size the file had when it was opened; a file that grows
        // meanwhile is cut there, one that shrinks is an error.
        const std::uint64_t start = offset;
        for (std::uint64_t left = in.size; left > 0;) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            if (!archive_io::ReadAt(in.fd.get(), in.size - left, buffer.data(), chunk, error)) {
                job.result.errors.push_back(full + ": cannot be read: " + error);
                return false;
            }
            if (offset + chunk + (job.names.size() * kPakEntryBytes) > kPakLargest) {
                job.result.errors.push_back(job.output + ": a pak holds at most 2 GiB; these files hold more");
                return false;
            }
            if (!out.write(buffer.data(), chunk, error)) {
                job.result.errors.push_back(job.output + ": cannot be written: " + error);
                return false;
            }
            offset += chunk;
            left -= chunk;
        }
        char entry[kPakEntryBytes] = {};
        std::copy(name.begin(), name.end(), entry);
        PutLittleInt32(entry + kPakNameBytes, start);
        PutLittleInt32(entry + kPakNameBytes + 4, offset - start);
        directory.append(entry, sizeof entry);
        job.progress(i + 1);
    }
    PutLittleInt32(header + 4, offset);
    PutLittleInt32(header + 8, directory.size());
    if (!out.write(directory.data(), directory.size(), error) || !out.writeAt(0, header, sizeof header, error)) {
        job.result.errors.push_back(job.output + ": cannot be written: " + error);
        return false;
    }
    return true;
}

void ZipProgress(zip_t*, double done, void* state)
{
    const PackJob& job = *static_cast<const PackJob*>(state);
    job.progress(static_cast<std::size_t>(done * static_cast<double>(job.names.size())));
}

int ZipCancelled(zip_t*, void* state)
{
    return static_cast<const PackJob*>(state)->stopped() ? 1 : 0;
}

// libzip writes the archive into the temporary file (through a temporary file
// of its own, which it renames over ours when it is complete).
bool WriteZip(const PackJob& job, TemporaryOutput& out)
{
    out.closeFd();
    int code = 0;
    zip_t* zip = zip_open(out.path().c_str(), ZIP_TRUNCATE, &code);
    if (!zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        job.result.errors.push_back(job.output + ": cannot be written: " + zip_error_strerror(&error));
        zip_error_fini(&error);
        return false;
    }
    auto fail = [&](const std::string& what) {
        job.result.errors.push_back(what + ": " + zip_strerror(zip));
        zip_discard(zip);
        return false;
    };
    for (const std::string& name : job.names) {
        if (job.stopped()) {
            zip_discard(zip);
            return false;
        }
        const std::string full = JoinPath(job.folder, name);
        // libzip opens the files only while it writes; one that cannot be
        // read is named here rather than in a message that names none.
        if (archive_io::OpenedFile in = archive_io::OpenRegularFile(full, Links::Follow); !in.fd) {
            job.result.errors.push_back(full + ": cannot be read: " + in.error);
            zip_discard(zip);
            return false;
        }
        zip_source_t* source = zip_source_file(zip, full.c_str(), 0, -1);
        if (!source)
            return fail(full + ": cannot be read");
        const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(source);
            return fail(name + ": cannot be added");
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(zip, at, ZIP_CM_DEFLATE, 0) != 0 ||
            zip_file_set_dostime(zip, at, kZipTime, kZipDate, 0) != 0 ||
            zip_file_set_external_attributes(zip, at, 0, ZIP_OPSYS_UNIX, kZipAttributes) != 0)
            return fail(name + ": cannot be added");
    }
    zip_register_progress_callback_with_state(zip, 0.001, ZipProgress, nullptr,
                                              const_cast<PackJob*>(&job));
    zip_register_cancel_callback_with_state(zip, ZipCancelled, nullptr, const_cast<PackJob*>(&job));
    if (zip_close(zip) != 0) {
        if (job.result.cancelled) {
            zip_discard(zip);
            return false;
        }
        return fail(job.output + ": cannot be written");
    }
    job.progress(job.names.size());
    return true;
}

// The names the chosen format cannot hold, one error each.
void CheckNames(const std::vector<std::string>& names, ArchiveFormat format, std::vector<std::string>& errors)
{
    for (const std::string& name : names) {
        if (const std::string problem = ArchiveNameProblem(name); !problem.empty())
            errors.push_back("'" + ShortShownName(name) + "' cannot be stored in an archive: " + problem);
        else if (format == ArchiveFormat::Pak && name.size() > kPakLongestName)
            errors.push_back("'" + name + "' is " + std::to_string(name.size()) + " bytes long; a pak holds " +
                             std::to_string(kPakLongestName) + " at most");
    }
}

bool IsEngineLoadedPakName(const std::string& name)
{
    return name.size() == 8 && name.compare(0, 3, "pak") == 0 && name[3] >= '0' && name[3] <= '9' &&
           name.compare(4, 4, ".pak") == 0;
}

}  // namespace

std::string_view ArchiveFormatName(ArchiveFormat format)
{
    switch (format) {
    case ArchiveFormat::Pak:
        return "pak";
    case ArchiveFormat::Pk3:
        return "pk3";
    case ArchiveFormat::Pkz:
        return "pkz";
    }
    return "pak";
}

std::optional<ArchiveFormat> ArchiveFormatFromName(std::string_view name)
{
    for (const ArchiveFormat format : {ArchiveFormat::Pak, ArchiveFormat::Pk3, ArchiveFormat::Pkz}) {
        if (name == ArchiveFormatName(format))
            return format;
    }
    return std::nullopt;
}

std::string DefaultArchivePath(const std::string& folder, ArchiveFormat format)
{
    if (format == ArchiveFormat::Pak)
        return JoinPath(folder, "pak0.pak");
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    return trimmed + "." + std::string(ArchiveFormatName(format));
}

PackList ListFilesToPack(const std::string& folder, bool withSources, const std::string& output)
{
    PackList list;
    const archive_io::FileStamp outputStamp = archive_io::StampOf(output);
    auto visit = [&](const WalkItem& item) {
        const DirEntry& entry = item.entry;
        if (entry.name.front() == '.')
            return false;
        if (entry.type == EntryType::Directory) {
            if (!entry.link)
                return true;
            list.warnings.push_back({item.full, "a linked folder, not entered"});
        } else if (entry.type != EntryType::File) {
            list.warnings.push_back({item.full, "not a regular file, left out"});
        } else if (!withSources && MatchesPattern(entry.name, "*.map")) {
            // a level source
        } else if (outputStamp.exists && item.full == output) {
            // the archive itself, from an earlier pack
        } else if (const archive_io::FileStamp stamp = archive_io::StampOf(item.full);
                   outputStamp.exists && stamp.device == outputStamp.device && stamp.inode == outputStamp.inode) {
            // the archive again, under another name
        } else {
            list.names.push_back(item.relative);
        }
        return false;
    };
    auto unreadable = [&](const std::string& full, const std::string& error) {
        list.warnings.push_back({full, "folder cannot be read: " + error});
    };
    const WalkResult walk = WalkTree(folder, visit, unreadable);
    if (!walk.ok) {
        list.error = folder + ": cannot be read: " + walk.error;
        list.names.clear();
        return list;
    }
    std::sort(list.names.begin(), list.names.end());
    list.ok = true;
    return list;
}

PackResult PackFolder(const std::string& folder, const std::string& output, const PackOptions& options)
{
    PackResult result;
    const archive_io::FileStamp existing = archive_io::StampOf(output);
    struct stat st {};
    if (::stat(output.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        result.errors.push_back(output + ": is a folder");
        return result;
    }
    if (existing.exists && !options.force) {
        result.errors.push_back(output + ": already exists and is not replaced without force");
        return result;
    }
    PackList list = ListFilesToPack(folder, options.withSources, output);
    result.warnings = std::move(list.warnings);
    if (!list.ok) {
        result.errors.push_back(list.error);
        return result;
    }
    if (list.names.empty()) {
        result.errors.push_back(folder + ": nothing to pack" +
                                (options.withSources ? "" : " (the .map sources are left out)"));
        return result;
    }
    CheckNames(list.names, options.format, result.errors);
    if (!result.errors.empty())
        return result;

    if (options.format == ArchiveFormat::Pak) {
        if (list.names.size() > kPakEngineEntries)
            result.warnings.push_back({output, std::to_string(list.names.size()) + " entries; the original engine loads " +
                                                   std::to_string(kPakEngineEntries) + " from one pak at most"});
        if (!IsEngineLoadedPakName(NameOf(output)))
            result.warnings.push_back({output, "the original engine loads only pak0.pak to pak9.pak"});
    }
    for (const std::string& name : list.names) {
        if (MatchesPattern(name, "*.pak") || MatchesPattern(name, "*.pk3") || MatchesPattern(name, "*.pkz"))
            result.warnings.push_back({JoinPath(folder, name), "an archive packed into the archive; "
                                                                "the game does not look inside it"});
    }

    TemporaryOutput out;
    std::string error;
    if (!out.create(output, error)) {
        result.errors.push_back(output + ": no temporary file can be made beside it: " + error);
        return result;
    }
    const PackJob job{folder, output, options, list.names, result};
    const bool written = options.format == ArchiveFormat::Pak ? WritePak(job, out) : WriteZip(job, out);
    if (!written)
        return result;
    if (!out.commit(options.force, error)) {
        result.errors.push_back(output + ": cannot be put in place: " + error);
        return result;
    }
    result.entries = list.names.size();
    result.bytes = archive_io::StampOf(output).size;
    result.ok = true;
    return result;
}

}  // namespace corvane

// The file operations over std::filesystem, for Windows.

#include "platform/file_ops.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "platform/faults.h"
#include "platform/file_ops_detail.h"
#include "platform/paths.h"

namespace corvane {

using detail::Failed;
using detail::kNotRegular;
using detail::kSameFile;
using detail::TemporaryPathFor;

namespace fs = std::filesystem;

NameListing ListNames(const std::string& dir)
{
    NameListing names;
    Listing listing = ListDirectory(dir);
    names.ok = listing.ok;
    for (DirEntry& entry : listing.entries)
        names.names.push_back(std::move(entry.name));
    return names;
}

Listing ListDirectory(const std::string& dir)
{
    Listing listing;
    if (const int fault = InjectedFault(FileOp::List, dir)) {
        listing.error = std::strerror(fault);
        return listing;
    }
    std::error_code ec;
    fs::directory_iterator it(fs::u8path(dir), ec), end;
    if (ec) {
        listing.error = ec.message();
        return listing;
    }
    for (; it != end; it.increment(ec)) {
        if (ec) {
            listing.entries.clear();
            listing.error = ec.message();
            return listing;
        }
        DirEntry entry;
        entry.name = it->path().filename().string();
        std::error_code typeError;
        const auto status = it->status(typeError);
        entry.link = it->is_symlink(typeError);
        if (typeError)
            entry.type = EntryType::Unknown;
        else if (fs::is_regular_file(status))
            entry.type = EntryType::File;
        else if (fs::is_directory(status))
            entry.type = EntryType::Directory;
        else
            entry.type = EntryType::System;
        if (entry.type == EntryType::File)
            entry.size = it->file_size(typeError);
        listing.entries.push_back(std::move(entry));
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    listing.ok = true;
    return listing;
}

bool DirectoryEntryExists(const std::string& path)
{
    std::error_code ec;
    const auto status = fs::status(path, ec);
    return !ec && (fs::is_regular_file(status) || fs::is_directory(status));
}

OpResult CreateDirectoryLevel(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::CreateDirectory, path))
        return Failed(fault);
    std::error_code ec;
    if (!fs::create_directory(path, ec)) {
        if (ec)
            return Failed(ec.message());
        OpResult taken = Failed(EEXIST);
        taken.cause = OpResult::Cause::Exists;
        return taken;
    }
    return {true, {}};
}

OpResult DeleteFile(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::Delete, path))
        return Failed(fault);
    std::error_code ec;
    if (!fs::remove(path, ec))
        return Failed(ec ? ec.message() : std::strerror(ENOENT));
    return {true, {}};
}

PathProbe ProbePath(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::Stat, path))
        return {PathKind::Unknown, std::strerror(fault)};
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec) {
        if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory ||
            ec == std::errc::filename_too_long)
            return {PathKind::Missing, {}};
        return {PathKind::Unknown, ec.message()};
    }
    if (fs::is_regular_file(status))
        return {PathKind::File, {}};
    if (fs::is_directory(status))
        return {PathKind::Directory, {}};
    if (!fs::exists(status))
        return {PathKind::Missing, {}};
    return {PathKind::Other, {}};
}

namespace {

FileIdentity IdentityOf(const std::string& path)
{
    // Windows has no inode numbers in the standard library: the size and the
    // time tell a changed file.
    std::error_code ec;
    FileIdentity identity;
    identity.size = static_cast<std::uint64_t>(fs::file_size(path, ec));
    identity.modifiedNanoseconds =
        static_cast<std::int64_t>(fs::last_write_time(path, ec).time_since_epoch().count());
    return identity;
}

}  // namespace

OpResult DeleteCopiedFile(const std::string& path, const FileIdentity& copied)
{
    if (const int fault = InjectedFault(FileOp::Delete, path))
        return Failed(fault);
    std::error_code ec;
    if (!fs::is_regular_file(fs::status(path, ec)) || !(IdentityOf(path) == copied))
        return Failed(kChangedSinceCopied);
    if (!fs::remove(path, ec))
        return Failed(ec ? ec.message() : std::strerror(ENOENT));
    return {true, {}};
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

namespace {

OpResult CopyOne(const std::string& source, const std::string& target, CopyMode mode)
{
    if (const int fault = InjectedFault(FileOp::Read, source))
        return Failed(fault);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return Failed(ec ? ec.message() : kNotRegular);
    if (SameFile(source, target))
        return Failed(kSameFile);
    if (mode == CopyMode::FailIfExists && fs::exists(fs::symlink_status(target, ec))) {
        OpResult taken = Failed(EEXIST);
        taken.cause = OpResult::Cause::Exists;
        return taken;
    }
    const std::string temp = TemporaryPathFor(target, ".corvane-tmp");
    if (const int fault = InjectedFault(FileOp::Write, target))
        return Failed(fault);
    if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(temp, ec);
        return Failed(ec.message());
    }
    fs::last_write_time(temp, fs::last_write_time(source, ec), ec);
    if (const int fault = InjectedFault(FileOp::Rename, target)) {
        fs::remove(temp, ec);
        return Failed(fault);
    }
    if (mode == CopyMode::FailIfExists && fs::exists(fs::symlink_status(target, ec))) {
        fs::remove(temp, ec);
        OpResult taken = Failed(EEXIST);
        taken.cause = OpResult::Cause::Exists;
        return taken;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(temp, ec);
        return Failed(reason);
    }
    return {true, {}};
}

CopyResult WithIdentity(OpResult result, const std::string& source)
{
    CopyResult copied;
    copied.source = IdentityOf(source);
    static_cast<OpResult&>(copied) = std::move(result);
    return copied;
}

// The first link on the way from `root` to `path` (the path itself included), or "".
std::string LinkBelow(const std::string& root, const std::string& path)
{
    std::error_code ec;
    const fs::path below = fs::u8path(path).lexically_relative(fs::u8path(root));
    fs::path walked = fs::u8path(root);
    for (const fs::path& part : below) {
        walked /= part;
        if (fs::is_symlink(fs::symlink_status(walked, ec)))
            return walked.string();
    }
    return {};
}

bool IsBelow(const std::string& root, const std::string& path)
{
    const fs::path below = fs::u8path(path).lexically_relative(fs::u8path(root));
    return !below.empty() && *below.begin() != ".." && below != ".";
}

OpResult LinkRefusal(const std::string& link)
{
    OpResult result = Failed(LinkInTheWay(link));
    result.cause = OpResult::Cause::Link;
    return result;
}

}  // namespace

CopyResult CopyFileAtomic(const std::string& source, const std::string& target, CopyMode mode)
{
    return WithIdentity(CopyOne(source, target, mode), source);
}

// Windows keeps its links for administrators and developers; the folders are
// checked one by one before each step.
struct TargetFolder::Open {};

TargetFolder::TargetFolder(std::string root) : root_(std::move(root)), open_(std::make_unique<Open>()) {}

TargetFolder::~TargetFolder() = default;

PathProbe TargetFolder::probe(const std::string& path) const
{
    if (!IsBelow(root_, path))
        return {PathKind::Unknown, "Not below the target folder"};
    const std::string link = LinkBelow(root_, path);
    if (link == path)
        return {PathKind::Link, LinkInTheWay(path)};
    if (!link.empty())
        return {PathKind::Unknown, LinkInTheWay(link)};
    return ProbePath(path);
}

OpResult TargetFolder::createDirectory(const std::string& path) const
{
    if (!IsBelow(root_, path))
        return Failed(std::string("Not below the target folder"));
    if (const std::string link = LinkBelow(root_, path); !link.empty())
        return LinkRefusal(link);
    return CreateDirectoryLevel(path);
}

CopyResult TargetFolder::copyFile(const std::string& source, const std::string& path,
                                  const CopyOptions& options) const
{
    if (!IsBelow(root_, path))
        return WithIdentity(Failed(std::string("Not below the target folder")), source);
    if (const std::string link = LinkBelow(root_, ParentPath(path)); !link.empty())
        return WithIdentity(LinkRefusal(link), source);
    return CopyFileAtomic(source, path, options.mode);
}

FolderLock::~FolderLock() = default;

// Transfers into one folder are not locked against each other on Windows yet;
// a new file is still never put over one that appeared meanwhile.
FolderLock::State FolderLock::tryLock(const std::string&)
{
    error_ = "not supported on this system";
    return state_ = State::Unavailable;
}

FolderLock::State FolderLock::wait()
{
    return state_;
}

std::uint64_t FileSize(const std::string& path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

std::string FileDateText(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "(date unknown)";
    std::fclose(file);
    struct _stat64 st {};
    if (::_stat64(path.c_str(), &st) != 0)
        return "(date unknown)";
    std::tm local {};
    const std::time_t when = st.st_mtime;
    if (::localtime_s(&local, &when) != 0)
        return "(date unknown)";
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

}  // namespace corvane

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
    if (!fs::create_directory(path, ec))
        return Failed(ec ? ec.message() : std::strerror(EEXIST));
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

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

OpResult CopyFileAtomic(const std::string& source, const std::string& target, CopyMode mode)
{
    if (const int fault = InjectedFault(FileOp::Read, source))
        return Failed(fault);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return Failed(ec ? ec.message() : kNotRegular);
    if (SameFile(source, target))
        return Failed(kSameFile);
    if (mode == CopyMode::FailIfExists && fs::exists(fs::symlink_status(target, ec)))
        return Failed(EEXIST);
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
    if (mode == CopyMode::FailIfExists && fs::exists(target, ec)) {
        fs::remove(temp, ec);
        return Failed(EEXIST);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(temp, ec);
        return Failed(reason);
    }
    return {true, {}};
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

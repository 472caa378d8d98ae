#pragma once
// A regular file's bytes, up to the size it had when it was opened, held for
// reading. A big file is mapped into memory instead of being copied; a small
// one (where mapping costs more than reading) is read into a buffer.
//
// A mapped file stays open to change: when it shrinks while it is mapped, the
// pages past its new end would stop the program with SIGBUS on the next read.
// A process-wide handler guards every live mapping of ours: a fault inside one
// puts zero pages in place of the rest of that mapping and marks the view
// damaged, and the read goes on with NUL bytes where the file has gone.
// Faults anywhere else go to the handler that was installed before ours.

#include <cstddef>
#include <memory>
#include <string>

namespace corvane {

class FileView;

struct FileViewResult {
    std::shared_ptr<const FileView> view;  // null when the file could not be opened
    std::string error;                     // the reason then, such as "Not a regular file"
};

class FileView {
public:
    // Files at least this big are mapped; smaller ones are read, which costs
    // less than setting up and tearing down a mapping (the two are about
    // even at this size).
    static constexpr std::size_t kMapFrom = 256 * 1024;

    // Opens `path`, which must name a regular file (anything else is refused
    // at once, without waiting on a pipe or reading a device), and takes its
    // bytes up to the size it has now: what is appended later is not seen.
    static FileViewResult Open(const std::string& path);

    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool mapped() const { return slot_ >= 0; }

    // True once part of the mapping could not be read (the file was cut short
    // or its disk failed); those bytes read as zeros from then on.
    bool damaged() const;

    // True when the bytes may not be the file as it was opened: the mapping
    // is damaged, or the file's size or modification time has changed since
    // (for a file that was read: while it was read).
    bool changed() const;

    // Tells the system that [offset, offset + length) is about to be read,
    // so that it is brought in with a few calls instead of a fault a page.
    void willRead(std::size_t offset, std::size_t length) const;

private:
    FileView() = default;

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::unique_ptr<char[]> buffer_;  // the bytes of a file that was read
    int slot_ = -1;                   // the guard's record of a mapping
    int fd_ = -1;                     // a mapped file, kept open to see whether it changed
    bool readChanged_ = false;        // a file that was read changed meanwhile
    long long openedSize_ = 0;        // the file's size and modification time when opened
    long long openedTime_ = 0;        // (nanoseconds)
};

}  // namespace corvane

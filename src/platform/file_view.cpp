#include "platform/file_view.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "platform/faults.h"

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#include <system_error>
#else
#include <atomic>

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvane {

namespace {

constexpr const char* kNotRegular = "Not a regular file";

std::string ErrnoText(int code)
{
    return std::strerror(code);
}

}  // namespace

#ifdef _WIN32

// No mapping here: the file is read whole, up to the size it has when opened.
FileViewResult FileView::Open(const std::string& path)
{
    FileViewResult result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = ErrnoText(fault);
        return result;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        result.error = ec.message();
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = std::filesystem::is_directory(status) ? ErrnoText(EISDIR) : kNotRegular;
        return result;
    }
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const auto size = std::filesystem::file_size(path, ec);
    if (!in || ec) {
        result.error = ec ? ec.message() : ErrnoText(EACCES);
        return result;
    }
    std::shared_ptr<FileView> view(new FileView);
    view->buffer_ = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size) + 1);
    in.read(view->buffer_.get(), static_cast<std::streamsize>(size));
    if (in.bad()) {
        result.error = ErrnoText(EIO);
        return result;
    }
    view->data_ = view->buffer_.get();
    view->size_ = static_cast<std::size_t>(in.gcount());
    result.view = std::move(view);
    return result;
}

FileView::~FileView() = default;

bool FileView::damaged() const
{
    return false;
}

bool FileView::changed() const
{
    return readChanged_;
}

void FileView::willRead(std::size_t, std::size_t) const {}

#else

namespace {

// The guard's record of the live mappings. The signal handler reads it, so it
// is a fixed table of lock-free atomics: a mapping claims a free slot, and the
// slot stops counting as live before the mapping goes away.
struct GuardedMapping {
    enum State : int { kFree, kClaimed, kLive };
    std::atomic<int> state{kFree};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::size_t> length{0};  // whole pages
    std::atomic<bool> damaged{false};
};
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free && std::atomic<std::size_t>::is_always_lock_free &&
              std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// More live mappings than this are not expected (a window holds one level);
// a file that finds no free slot is read instead of mapped.
constexpr int kSlots = 256;
GuardedMapping g_mappings[kSlots];
struct sigaction g_previous {};
const std::uintptr_t g_pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));

// Hands a SIGBUS that is not ours to whatever would have had it without us.
void PassOn(int signal, siginfo_t* info, void* context)
{
    const bool sent = info->si_code <= 0;  // by kill() and its kind, not by a fault
    if (g_previous.sa_flags & SA_SIGINFO) {
        if (g_previous.sa_sigaction)
            g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler == SIG_IGN && sent)
        return;
    if (g_previous.sa_handler == SIG_DFL || g_previous.sa_handler == SIG_IGN) {
        // The default action ends the program: a fault happens again as soon
        // as the handler returns, a signal that was sent is sent once more.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(SIGBUS, &fallback, nullptr);
        if (sent)
            ::raise(SIGBUS);
        return;
    }
    g_previous.sa_handler(signal);
}

// A read of one of our mappings beyond the end of its file (or from a disk
// that failed): zero pages go in place of the rest of that mapping, so the
// read that faulted and every later one go on, and the view is marked. The
// handler only reads atomics and makes one system call (mmap, which on Linux
// is a plain system call and safe in a signal handler).
void OnBusError(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    if (info->si_code > 0) {
        const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
        for (GuardedMapping& mapping : g_mappings) {
            if (mapping.state.load() != GuardedMapping::kLive)
                continue;
            const std::uintptr_t begin = mapping.begin.load();
            const std::size_t length = mapping.length.load();
            if (address - begin >= length)
                continue;
            const std::uintptr_t page = address & ~(g_pageSize - 1);
            void* zeros = ::mmap(reinterpret_cast<void*>(page), begin + length - page, PROT_READ,
                                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (zeros == MAP_FAILED)
                break;
            mapping.damaged.store(true);
            errno = savedErrno;
            return;
        }
    }
    errno = savedErrno;
    PassOn(signal, info, context);
}

// Installs the handler once per process, keeping the one it replaces.
bool GuardInstalled()
{
    static const bool installed = [] {
        if (::sigaction(SIGBUS, nullptr, &g_previous) != 0)
            return false;
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, nullptr) == 0;
    }();
    return installed;
}

std::size_t WholePages(std::size_t size)
{
    return (size + g_pageSize - 1) & ~(g_pageSize - 1);
}

int Guard(const void* address, std::size_t size)
{
    if (!GuardInstalled())
        return -1;
    for (int slot = 0; slot < kSlots; ++slot) {
        GuardedMapping& mapping = g_mappings[slot];
        int expected = GuardedMapping::kFree;
        if (!mapping.state.compare_exchange_strong(expected, GuardedMapping::kClaimed))
            continue;
        mapping.begin.store(reinterpret_cast<std::uintptr_t>(address));
        mapping.length.store(WholePages(size));
        mapping.damaged.store(false);
        mapping.state.store(GuardedMapping::kLive);
        return slot;
    }
    return -1;
}

void Unmap(int slot, const char* data, std::size_t size)
{
    GuardedMapping& mapping = g_mappings[slot];
    mapping.state.store(GuardedMapping::kClaimed);
    ::munmap(const_cast<char*>(data), WholePages(size));
    mapping.state.store(GuardedMapping::kFree);
}

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string RefusalFor(mode_t mode)
{
    return S_ISDIR(mode) ? ErrnoText(EISDIR) : kNotRegular;
}

long long ModificationTime(const struct stat& status)
{
    return static_cast<long long>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

// Whether the open file `fd` still has this size and modification time.
bool StillAsOpened(int fd, long long size, long long time)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && status.st_size == size && ModificationTime(status) == time;
}

}  // namespace

FileViewResult FileView::Open(const std::string& path)
{
    FileViewResult result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = ErrnoText(fault);
        return result;
    }
    // What the path names is looked at before it is opened, so that a device
    // is never opened; the open itself never waits (a pipe put in place
    // meanwhile), and what was opened is looked at again.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        result.error = ErrnoText(errno);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.error = RefusalFor(status.st_mode);
        return result;
    }
    Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0) {
        result.error = ErrnoText(errno);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.error = RefusalFor(status.st_mode);
        return result;
    }
    if (status.st_size < 0 || static_cast<std::uintmax_t>(status.st_size) > PTRDIFF_MAX / 2) {
        result.error = ErrnoText(EFBIG);
        return result;
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    std::shared_ptr<FileView> view(new FileView);
    view->openedSize_ = status.st_size;
    view->openedTime_ = ModificationTime(status);
    if (size >= kMapFrom) {
        void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.fd, 0);
        if (address != MAP_FAILED) {
            view->slot_ = Guard(address, size);
            view->data_ = static_cast<const char*>(address);
            view->size_ = size;
            // A test may cut the file short here, or refuse the mapping.
            if (view->slot_ >= 0 && InjectedFault(FileOp::Map, path) == 0) {
                view->fd_ = std::exchange(file.fd, -1);
                result.view = std::move(view);
                return result;
            }
            if (view->slot_ >= 0)
                Unmap(view->slot_, view->data_, size);
            else
                ::munmap(address, size);
            view->slot_ = -1;
        }
    }
    // Read, up to the size found above: a file that grows meanwhile is not
    // followed, one that shrinks gives what is left.
    try {
        view->buffer_ = std::make_unique_for_overwrite<char[]>(size + 1);
    } catch (const std::bad_alloc&) {
        result.error = ErrnoText(ENOMEM);
        return result;
    }
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(file.fd, view->buffer_.get() + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = ErrnoText(errno);
            return result;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    view->data_ = view->buffer_.get();
    view->size_ = got;
    view->readChanged_ = got != size || !StillAsOpened(file.fd, view->openedSize_, view->openedTime_);
    result.view = std::move(view);
    return result;
}

FileView::~FileView()
{
    if (slot_ >= 0)
        Unmap(slot_, data_, size_);
    if (fd_ >= 0)
        ::close(fd_);
}

bool FileView::damaged() const
{
    return slot_ >= 0 && g_mappings[slot_].damaged.load();
}

bool FileView::changed() const
{
    if (fd_ < 0)
        return readChanged_;
    return damaged() || !StillAsOpened(fd_, openedSize_, openedTime_);
}

void FileView::willRead([[maybe_unused]] std::size_t offset, [[maybe_unused]] std::size_t length) const
{
#ifdef MADV_POPULATE_READ
    if (slot_ < 0 || offset >= size_)
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data_ + offset) & ~(g_pageSize - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(data_ + std::min(size_, offset + length));
    // Fails harmlessly on a system without it, and past a new end of the
    // file (which the guard then deals with when the bytes are read).
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_READ);
#endif
}

#endif

}  // namespace corvane

#pragma once
// A seam for tests: makes chosen file-system calls fail with a chosen error, so
// that failures the machine will not produce on demand (a full disk, a rename
// refused, a delete refused to root) can be exercised. Nothing is injected
// unless a test installs an injector.

#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// Map comes after a file has been mapped into memory and before its bytes are
// read: a test may change the file there, and an error makes the reader read
// the file instead. Stat is looking at what is at a path (a source's); Flush
// is writing a copy and its folder to the disk; UnnamedFile is the creation of
// a copy's file without a name (a file system that has none falls back to a
// named temporary file); ResolveBeneath is the opening of a target's folder in
// one call (a kernel without it walks the folders one by one).
enum class FileOp {
    Read, Write, Rename, CreateDirectory, Delete, List, Map, Stat, Flush, UnnamedFile, ResolveBeneath
};

// Returns an errno value to fail the call with, or 0 to let it run.
using FaultInjector = std::function<int(FileOp op, std::string_view path)>;

// Installs an injector (an empty one removes it). Not thread-safe: tests only.
void SetFaultInjector(FaultInjector injector);

// The error to fail with for this call, or 0.
int InjectedFault(FileOp op, std::string_view path);

// Installs an injector for the lifetime of a scope.
class ScopedFaultInjector {
public:
    explicit ScopedFaultInjector(FaultInjector injector) { SetFaultInjector(std::move(injector)); }
    ~ScopedFaultInjector() { SetFaultInjector({}); }
    ScopedFaultInjector(const ScopedFaultInjector&) = delete;
    ScopedFaultInjector& operator=(const ScopedFaultInjector&) = delete;
};

}  // namespace corvane

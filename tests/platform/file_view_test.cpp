#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_view.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::TempTree;

std::string Bytes(std::size_t size, char seed = 'a')
{
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(seed + i % 23);
    return text;
}

std::string_view ViewOf(const FileView& view)
{
    return std::string_view(view.data(), view.size());
}

TEST(FileView, holdsTheBytesOfARegularFileMappedWhenBig)
{
    TempTree tree;
    const std::string big = Bytes(FileView::kMapFrom);
    const std::string small = Bytes(FileView::kMapFrom - 1, 'b');
    const FileViewResult mapped = FileView::Open(tree.file("big", big));
    ASSERT_TRUE(mapped.view) << mapped.error;
    EXPECT_TRUE(mapped.view->mapped());
    EXPECT_EQ(ViewOf(*mapped.view), big);
    const FileViewResult read = FileView::Open(tree.file("small", small));
    ASSERT_TRUE(read.view) << read.error;
    EXPECT_FALSE(read.view->mapped());
    EXPECT_EQ(ViewOf(*read.view), small);
    const FileViewResult empty = FileView::Open(tree.file("empty"));
    ASSERT_TRUE(empty.view) << empty.error;
    EXPECT_EQ(empty.view->size(), 0u);
    for (const FileViewResult* result : {&mapped, &read, &empty})
        EXPECT_FALSE(result->view->changed());
}

TEST(FileView, refusesWhatIsNotARegularFileWithItsReason)
{
    TempTree tree;
    const std::string pipe = tree.path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", tree.path("zero"));
    for (const std::string& path : {pipe, tree.path("zero"), std::string("/dev/null")}) {
        const FileViewResult result = FileView::Open(path);
        EXPECT_FALSE(result.view) << path;
        EXPECT_EQ(result.error, "Not a regular file") << path;
    }
    EXPECT_EQ(FileView::Open(tree.dir("folder")).error, "Is a directory");
    EXPECT_EQ(FileView::Open(tree.path("missing")).error, "No such file or directory");
}

// The file of a mapping cut short: what has gone reads as zeros, and the
// view says so, on any thread and with many views coming and going at once.
TEST(FileView, aMappedFileCutShortReadsAsZerosOnEveryThread)
{
    TempTree tree;
    const std::size_t size = 4 * FileView::kMapFrom;
    const std::string bytes = Bytes(size);
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        const std::string path = tree.path("f" + std::to_string(t));
        threads.emplace_back([&failures, t, path, size, &bytes] {
            for (int round = 0; round < 25; ++round) {
                std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
                const FileViewResult result = FileView::Open(path);
                if (!result.view || !result.view->mapped()) {
                    ++failures[t];
                    continue;
                }
                const FileView& view = *result.view;
                const std::size_t left = 8192 * static_cast<std::size_t>(round % 5);
                std::filesystem::resize_file(path, left);
                const std::string_view seen = ViewOf(view);
                if (seen.substr(0, left) != std::string_view(bytes).substr(0, left) ||
                    seen.substr(left) != std::string(size - left, '\0') || !view.damaged() || !view.changed())
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

TEST(FileView, moreLiveMappingsThanTheGuardKeepsAreReadInstead)
{
    TempTree tree;
    const std::string bytes = Bytes(FileView::kMapFrom);
    const std::string path = tree.file("f", bytes);
    std::vector<std::shared_ptr<const FileView>> views;
    for (int i = 0; i < 300; ++i) {
        FileViewResult result = FileView::Open(path);
        ASSERT_TRUE(result.view) << result.error;
        views.push_back(std::move(result.view));
    }
    std::size_t mapped = 0;
    for (const auto& view : views) {
        mapped += view->mapped();
        EXPECT_EQ(ViewOf(*view), bytes);
    }
    EXPECT_GT(mapped, 0u);
    EXPECT_LT(mapped, views.size());
    views.clear();
    EXPECT_TRUE(FileView::Open(path).view->mapped()) << "slots are given back";
}

// A SIGBUS that is not about one of our mappings must end up where it would
// have without the guard. Each case runs in a fresh process (the guard is
// installed once per process, keeping the handler it finds), on files in
// memory that leave nothing behind.
class FileViewGuard : public ::testing::Test {
protected:
    FileViewGuard() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    // A file in memory holding `size` bytes, and its path.
    static std::string MemoryFile(std::size_t size)
    {
        const int fd = ::memfd_create("level", 0);
        const std::string bytes = Bytes(size);
        if (fd < 0 || ::write(fd, bytes.data(), size) != static_cast<ssize_t>(size))
            std::_Exit(2);
        return "/proc/self/fd/" + std::to_string(fd);
    }

    // Keeps one guarded mapping alive and returns it.
    static std::shared_ptr<const FileView> GuardedView()
    {
        FileViewResult result = FileView::Open(MemoryFile(FileView::kMapFrom));
        if (!result.view || !result.view->mapped())
            std::_Exit(3);
        return result.view;
    }

    // With a guarded mapping alive, maps another file without the guard, cuts
    // it short and reads past its end.
    [[noreturn]] static void FaultOutsideOurMappings()
    {
        const auto view = GuardedView();
        const int fd = ::memfd_create("theirs", 0);
        if (fd < 0 || ::ftruncate(fd, 65536) != 0)
            std::_Exit(4);
        const auto* bytes = static_cast<const volatile char*>(::mmap(nullptr, 65536, PROT_READ, MAP_SHARED, fd, 0));
        if (bytes == MAP_FAILED || ::ftruncate(fd, 0) != 0)
            std::_Exit(4);
        const char byte = bytes[100];
        std::_Exit(byte == 0 ? 5 : 6);  // reached only when the fault was swallowed
    }
};

void ExitWith42(int)
{
    std::_Exit(42);
}

bool DiedOfSigbus(int status)
{
#if defined(__SANITIZE_ADDRESS__)
    return !WIFEXITED(status) || WEXITSTATUS(status) != 0;  // the sanitizer's own handler reports it
#else
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS;
#endif
}

TEST_F(FileViewGuard, aFaultOutsideOurMappingsGoesToTheHandlerBefore)
{
    EXPECT_EXIT(
        {
            std::signal(SIGBUS, ExitWith42);
            FaultOutsideOurMappings();
        },
        ::testing::ExitedWithCode(42), "");
}

TEST_F(FileViewGuard, aFaultOutsideOurMappingsEndsTheProgramAsWithoutIt)
{
    EXPECT_EXIT(FaultOutsideOurMappings(), DiedOfSigbus, "");
}

TEST_F(FileViewGuard, aSignalSentIsNotSwallowed)
{
    EXPECT_EXIT(
        {
            const auto view = GuardedView();
            ::raise(SIGBUS);
            std::_Exit(0);
        },
        DiedOfSigbus, "");
}

}  // namespace
}  // namespace corvane

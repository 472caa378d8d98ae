#include "support/temp_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace corvane::test {

namespace fs = std::filesystem;

TempTree::TempTree()
{
    std::string pattern = (fs::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
}

TempTree::~TempTree()
{
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::string TempTree::path(std::string_view relative) const
{
    return root_ + "/" + std::string(relative);
}

std::string TempTree::file(std::string_view relative, std::string_view content)
{
    const std::string full = path(relative);
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempTree::dir(std::string_view relative)
{
    const std::string full = path(relative);
    fs::create_directories(full);
    return full;
}

std::string TempTree::read(std::string_view relative) const
{
    std::ifstream in(path(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FixturePath(std::string_view relative)
{
    return std::string(CORVANE_FIXTURES_DIR) + "/" + std::string(relative);
}

}  // namespace corvane::test

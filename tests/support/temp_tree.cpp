#include "support/temp_tree.h"

#include <algorithm>
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

std::vector<std::string> TempTree::entries(std::string_view relative) const
{
    const fs::path base = relative.empty() ? fs::path(root_) : fs::path(path(relative));
    std::vector<std::string> names;
    for (auto it = fs::recursive_directory_iterator(base); it != fs::recursive_directory_iterator(); ++it) {
        std::string name = fs::relative(it->path(), base).generic_string();
        if (it->is_directory() && !it->is_symlink())
            name += '/';
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
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

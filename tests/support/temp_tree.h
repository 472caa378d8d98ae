#pragma once
// A sandbox folder for one test: builds a small tree from a few calls and
// removes it again when the test ends.

#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The sandbox's full path (no trailing "/").
    const std::string& root() const { return root_; }
    // root() joined with a relative path.
    std::string path(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its full path.
    std::string file(std::string_view relative, std::string_view content = {});
    // Creates a folder (and its parents) and returns its full path.
    std::string dir(std::string_view relative);

    // The whole content of a file below the sandbox.
    std::string read(std::string_view relative) const;

    // Every entry below `relative` (the whole sandbox by default), as paths
    // relative to it in ascending order; folders end in "/". Links are listed,
    // not followed.
    std::vector<std::string> entries(std::string_view relative = {}) const;

private:
    std::string root_;
};

// The full path of a fixture file below tests/fixtures.
std::string FixturePath(std::string_view relative);

}  // namespace corvane::test

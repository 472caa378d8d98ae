// Fuzz target: the path rules and the refusal of unsafe names. The input is a
// resource name as a level may write it (and, after the first NUL, a directory).
// Whatever the name, a transfer that accepts it must put the file below its
// kind's folder; the rules themselves must not fail on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/resource_names.h"

namespace {

using corvane::PathStyle;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsSeparator(char c, PathStyle style)
{
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

// How deep below its start a relative path ends up after the file system has
// resolved "." and "..", or -1 when some ".." climbs above the start.
int ResolvedDepth(std::string_view path, PathStyle style)
{
    int depth = 0;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end], style))
            ++end;
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (--depth < 0)
                return -1;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return depth;
}

void CheckStyle(std::string_view entry, std::string_view dir, PathStyle style)
{
    using namespace corvane;
    const std::string joined = JoinPath(dir, entry, style);
    Check(joined.size() >= dir.size() + entry.size());
    Check(joined.compare(0, dir.size(), dir) == 0);
    (void)IsDriveRootTarget(dir, style);
    (void)IsFullPath(dir, style);
    const std::string root = SourceRoot(dir, style);
    Check(root.size() <= dir.size());
    Check(dir.compare(0, root.size(), root) == 0);

    const std::string relative = EntryRelativePath(entry, style);
    Check(relative.size() == entry.size() + (entry.find('/') == std::string_view::npos ? 1 : 0));

    // An accepted name stays below the folder: "textures" + separator + the
    // relative path never resolves above "textures". A drive designator or a
    // network prefix cannot reappear in the middle of the path either.
    for (ResourceKind kind : {ResourceKind::Textures, ResourceKind::Sounds}) {
        const std::string name = TransferName(kind, entry);
        if (!ResourceNameRefusal(name).empty())
            continue;
        const std::string below = EntryRelativePath(name, style);
        Check(ResolvedDepth(below, style) >= 0);
        if (style == PathStyle::Windows)
            Check(name.size() < 2 || name[1] != ':');
        // The folders the layout makes lie below the folder too.
        const std::string folder = ResourceFolder(name);
        Check(ResolvedDepth(folder, style) >= 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view entry = input.substr(0, nul);
    const std::string_view dir = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

    const bool unsafe = !ResourceNameRefusal(entry).empty();
    // Any ".." component makes a name unsafe, in either separator.
    if (ResolvedDepth(entry, PathStyle::Windows) < 0)
        Check(unsafe);

    // A name is never shown with a byte a terminal would act on.
    Check(!HasControlByte(ShownName(entry)));
    Check(ShownName(entry).size() >= entry.size());

    CheckStyle(entry, dir, PathStyle::Posix);
    CheckStyle(entry, dir, PathStyle::Windows);

    const std::string lower = AsciiLower(std::string(entry));
    const std::string upper = AsciiUpper(std::string(entry));
    Check(lower.size() == entry.size() && upper.size() == entry.size());
    Check(AsciiLower(upper) == lower);
    // A name always matches itself and "*"; a pattern of the name in the other
    // case matches too, as long as it holds no wildcard that means otherwise.
    Check(MatchesPattern(entry, "*"));
    if (entry.find_first_of("*?") == std::string_view::npos) {
        Check(MatchesPattern(entry, entry));
        Check(MatchesPattern(lower, upper));
    }
    if (!dir.empty())
        (void)MatchesPattern(entry, dir);
    (void)DriveCharacter(entry);
    return 0;
}

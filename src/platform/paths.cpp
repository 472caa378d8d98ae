#include "platform/paths.h"

namespace corvane {

namespace {

unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool IsRootDir(std::string_view dir, PathStyle style)
{
    return style == PathStyle::Windows ? dir.size() <= 3 : dir == "/";
}

std::size_t LastSeparator(std::string_view path, PathStyle style)
{
    return path.find_last_of(style == PathStyle::Windows ? std::string_view("\\/") : std::string_view("/"));
}

}  // namespace

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    return text;
}

std::string AsciiUpper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

char Separator(PathStyle style)
{
    return style == PathStyle::Windows ? '\\' : '/';
}

std::string JoinPath(std::string_view dir, std::string_view name, PathStyle style)
{
    std::string joined;
    joined.reserve(dir.size() + 1 + name.size());
    joined.append(dir);
    if (!IsRootDir(dir, style))
        joined.push_back(Separator(style));
    joined.append(name);
    return joined;
}

bool IsDriveRootTarget(std::string_view path, PathStyle style)
{
    if (style == PathStyle::Windows)
        return path.size() <= 3;
    return path.find_first_not_of('/') == std::string_view::npos;
}

bool IsFullPath(std::string_view path, PathStyle style)
{
    if (style == PathStyle::Windows)
        return path.find('\\') == 2;
    return !path.empty() && path.front() == '/';
}

std::string SourceRoot(std::string_view sourceDir, PathStyle style)
{
    const char sep = Separator(style);
    const std::size_t last = sourceDir.rfind(sep);
    if (last == std::string_view::npos)
        return {};
    const std::size_t rootSeparator = style == PathStyle::Windows ? 2 : 0;
    if (last == rootSeparator)
        return std::string(sourceDir.substr(0, last + 1));
    return std::string(sourceDir.substr(0, last));
}

std::string ParentPath(std::string_view path, PathStyle style)
{
    const std::size_t slash = LastSeparator(path, style);
    if (slash == std::string_view::npos)
        return ".";
    const std::size_t rootSeparator = style == PathStyle::Windows && path.size() > 1 && path[1] == ':' ? 2 : 0;
    if (slash == rootSeparator)
        return std::string(path.substr(0, slash + 1));
    return std::string(path.substr(0, slash));
}

std::string_view FileName(std::string_view path, PathStyle style)
{
    const std::size_t slash = LastSeparator(path, style);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FileExtension(std::string_view path, PathStyle style)
{
    const std::string_view name = FileName(path, style);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

std::string EntryRelativePath(std::string_view entry, PathStyle style)
{
    const char sep = Separator(style);
    const std::size_t slash = entry.find('/');
    if (slash == std::string_view::npos)
        return sep + std::string(entry);
    std::string relative(entry);
    relative[slash] = sep;
    return relative;
}

std::size_t MaxPathBytes(PathStyle style)
{
    return style == PathStyle::Windows ? 259 : 4095;
}

bool ExceedsPathLimits(std::string_view path, PathStyle style)
{
    if (path.size() > MaxPathBytes(style))
        return true;
    const std::string_view separators = style == PathStyle::Windows ? "\\/" : "/";
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end - start > kMaxNameBytes)
            return true;
        start = end + 1;
    }
    return false;
}

char DriveCharacter(std::string_view path)
{
    return path.empty() ? '\0' : path.front();
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one backtrack point for the last "*".
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size()
                   && (pattern[p] == '?'
                       || FoldAscii(static_cast<unsigned char>(pattern[p]))
                              == FoldAscii(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace corvane

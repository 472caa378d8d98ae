#pragma once
// Path rules. Each rule exists for both path styles so that the Windows forms
// stay testable as plain string functions on any machine; callers that do not
// name a style get the native one.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativeStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativeStyle = PathStyle::Posix;
#endif

// The separator that joins a name to a directory: "\" or "/".
char Separator(PathStyle style = kNativeStyle);

// Joins a name to a directory with one separator, except that a root directory
// gets the name appended directly: on Windows any directory of 3 characters or
// fewer ("C:\"), on Posix the directory "/". A separator the directory already
// ends in is not looked at (the rule is about roots only).
std::string JoinPath(std::string_view dir, std::string_view name, PathStyle style = kNativeStyle);

// True for a target that names a whole drive and is refused as such: on Windows
// 3 characters or fewer, on Posix an empty text or one made of "/" only.
bool IsDriveRootTarget(std::string_view path, PathStyle style = kNativeStyle);

// True for a full path: on Windows its first "\" is its third character
// ("C:\..."), on Posix it begins with "/".
bool IsFullPath(std::string_view path, PathStyle style = kNativeStyle);

// The parent of the source directory: the text before its last separator. When
// that separator is the root's own ("C:\" on Windows, the leading "/" on Posix)
// the root is returned with its separator. A text without a separator gives "".
std::string SourceRoot(std::string_view sourceDir, PathStyle style = kNativeStyle);

// The relative path of a resource list entry below its kind's folder: on
// Windows the entry's first "/" becomes "\", and an entry without "/" gets a
// "\" in front; on Posix the "/" stays, and an entry without "/" gets a "/" in
// front. Later "/" are left as they are.
std::string EntryRelativePath(std::string_view entry, PathStyle style = kNativeStyle);

// The parts of a path. The separators are "\" and "/" on Windows, "/" on Posix.
// ParentPath: the text before the last separator; the root itself ("/", or
// "C:\" on Windows) for a name directly below it; "." for a bare name.
// FileName: the text after the last separator (the whole text without one).
// FileExtension: the text after the last "." of the file name ("" without one).
std::string ParentPath(std::string_view path, PathStyle style = kNativeStyle);
std::string_view FileName(std::string_view path, PathStyle style = kNativeStyle);
std::string_view FileExtension(std::string_view path, PathStyle style = kNativeStyle);

// The longest file name the file systems we write to take, in bytes.
inline constexpr std::size_t kMaxNameBytes = 255;

// The longest path the file systems we write to take, in bytes: 4095 on
// Posix, 259 on Windows.
std::size_t MaxPathBytes(PathStyle style = kNativeStyle);

// True when a path cannot be used as it stands: one of its components is
// longer than kMaxNameBytes, or the whole is longer than MaxPathBytes.
bool ExceedsPathLimits(std::string_view path, PathStyle style = kNativeStyle);

// The drive character of a path: its first character, or NUL for "".
char DriveCharacter(std::string_view path);

// The text with ASCII letters in lower or upper case; other bytes stay as they are.
std::string AsciiLower(std::string text);
std::string AsciiUpper(std::string text);

// Matches a file name against a pattern with "*" (any run) and "?" (any one
// character); ASCII letters match without regard to case, other bytes exactly.
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace corvane

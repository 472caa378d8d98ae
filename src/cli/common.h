#pragma once
// Pieces the commands of corvane-cli share.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/loaded_level.h"
#include "map/resource_list.h"

namespace corvane::cli {

inline constexpr std::string_view kProgram = "corvane-cli";

// Writes the problem and the usage, and returns the exit status for wrong arguments.
int UsageError(std::ostream& err, std::string_view problem, std::string_view usage);

// The path made absolute against the current folder, without "." and ".."
// components or a trailing separator.
std::string Absolute(const std::string& path);

// "Heading N" and then the names, one per line.
void PrintList(std::ostream& out, std::string_view heading, const ResourceList& list);

// Loads a level as the scan does; on failure writes one line and returns false.
bool LoadLevel(const std::string& levelPath, LoadedLevel& level, std::ostream& err);

// With --base DIR (`base` set): reads the base game in DIR once, writes its
// warnings to `err`, and splits the level's lists by it (ApplyStockRule);
// `basePath` becomes DIR made absolute. A base game that cannot be read at all
// is one line on `err` and false: the command ends with status 1 rather than
// decide by the folder names what the user asked the base game to decide.
bool ApplyBaseGame(const std::optional<std::string>& base, std::string_view command, LoadedLevel& level,
                   std::string& basePath, std::ostream& err);

int Transfer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);
int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int Pool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int Size(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace corvane::cli
